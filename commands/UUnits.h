#pragma once

#include <QString>

// HART units codes of the probes and the names of their device variables,
// which depend on the probe family (1 TIVERN, 2 CALDEROS, 0 any other).

// Units code 250 and device-variable code 250 mean "not used".
constexpr int NotUsedCode = 250;

// The name of a units code, "unknown" for codes outside the table.
QString UnitName(int unitsCode);
// The units code of a name; exact and case-sensitive. Raises for other texts.
int UnitCode(const QString& unitText);

QString DeviceVariableName(int family, int code, bool shortForm);
QString MappingText(int family, int code, bool named);
// "DV0".."DV3" (any case) and "Not Used"; raises for other texts.
int DeviceVariableCode(const QString& text);
