#include "commands/UUnits.h"

#include "util/Exceptions.h"

namespace {

struct Unit
{
    int code;
    const char16_t* name;
};

// The units the probes use: lengths and temperatures. The degree sign is the
// single 8-bit character 0xB0.
const Unit Units[] = {
    { 32, u"\u00B0C" },
    { 33, u"\u00B0F" },
    { 44, u"feet" },
    { 45, u"meters" },
    { 47, u"inches" },
    { 48, u"centimeters" },
    { 49, u"millimeters" },
    { 151, u"feet in sixteenths" },
};

enum Family { TivernFamily = 1, CalderosFamily = 2 };

// What the windows call device variables 0-3 of a family: the short name, the
// long name of the group boxes and the text of a dynamic variable mapped to
// it (none: the family has no such variable). The blanks belong to the texts.
struct DeviceVariableTexts
{
    const char* shortName;
    const char* longName;
    const char* mapping;
};

const DeviceVariableTexts TivernVariables[] = {
    { "Float 1", " Float 1 - Device Variable 0 ", "mapped to Float 1 - Device Variable 0 " },
    { "Float 2", " Float 2 - Device Variable 1 ", "mapped to Float 2 - Device Variable 1 " },
    { "Temperature", " Temperature - Device Variable 2 ", "mapped to Temperature - Device Variable 2 " },
    { "Interface Layer", " Interface Layer - Device Variable 3 ", "mapped to Interface Layer - Device Variable 3 " },
};

const DeviceVariableTexts CalderosVariables[] = {
    { "Level", " Level - Device Variable 0 ", "mapped to Level - Device Variable 0" },
    { "Not Used", "Not Used", nullptr },
    { "Not Used", "Not Used", nullptr },
    { "Not Used", "Not Used", nullptr },
};

constexpr int DeviceVariableCount = 4;

const QString NotUsedText = QStringLiteral("Not Used");

QString UnknownDeviceVariable(int code)
{
    return QStringLiteral("Unknown Device Variable number: %1").arg(code);
}

bool IsDeviceVariable(int code)
{
    return code >= 0 && code < DeviceVariableCount;
}

// The four device variables' texts of a family; none for families without names.
const DeviceVariableTexts* VariablesOf(int family)
{
    switch (family) {
    case TivernFamily:
        return TivernVariables;
    case CalderosFamily:
        return CalderosVariables;
    default:
        return nullptr;
    }
}

} // namespace

QString UnitName(int unitsCode)
{
    for (const Unit& unit : Units) {
        if (unit.code == unitsCode)
            return QString::fromUtf16(unit.name);
    }
    return QStringLiteral("unknown");
}

int UnitCode(const QString& unitText)
{
    for (const Unit& unit : Units) {
        if (unitText == QString::fromUtf16(unit.name))
            return unit.code;
    }
    throw Exception(QStringLiteral("Unknown unit \"") + unitText + QLatin1Char('"'));
}

QString DeviceVariableName(int family, int code, bool shortForm)
{
    const DeviceVariableTexts* variables = VariablesOf(family);
    if (!variables)
        return QString();
    if (code == NotUsedCode)
        return NotUsedText;
    if (!IsDeviceVariable(code))
        return UnknownDeviceVariable(code);
    return QString::fromLatin1(shortForm ? variables[code].shortName : variables[code].longName);
}

QString MappingText(int family, int code, bool named)
{
    const DeviceVariableTexts* variables = VariablesOf(family);
    if (named && !variables)
        return QString();
    if (code == NotUsedCode)
        return NotUsedText;
    if (!IsDeviceVariable(code))
        return UnknownDeviceVariable(code);
    if (!named)
        return QStringLiteral("DV%1").arg(code);
    if (!variables[code].mapping)
        return UnknownDeviceVariable(code);
    return QString::fromLatin1(variables[code].mapping);
}

int DeviceVariableCode(const QString& text)
{
    const QString lower = text.toLower();
    if (lower == QLatin1String("not used"))
        return NotUsedCode;
    for (int code = 0; code < DeviceVariableCount; ++code) {
        if (lower == QStringLiteral("dv%1").arg(code))
            return code;
    }
    throw Exception(QStringLiteral("Unknown Device Variable \"") + text + QLatin1Char('"'));
}
