#pragma once

#include <QtGlobal>

// What a device variable measures; None marks a slot the device does not use.
enum class TSimQuantity { None, Length, Temperature };

// The HART units codes of the probes. The device keeps every value in a base
// unit (meters, degrees Celsius) and converts at the edges, so a change of
// units never loses precision.
class TSimUnits
{
public:
    static constexpr quint8 NotUsed = 250;
    static constexpr quint8 Celsius = 32;
    static constexpr quint8 Fahrenheit = 33;
    static constexpr quint8 Feet = 44;
    static constexpr quint8 Meters = 45;
    static constexpr quint8 Inches = 47;
    static constexpr quint8 Centimeters = 48;
    static constexpr quint8 Millimeters = 49;
    static constexpr quint8 FeetInSixteenths = 151;

    // None for codes outside the table.
    static TSimQuantity QuantityOf(quint8 unit);

    // Absolute values (a temperature of 50 °F).
    static double ToBase(double value, quint8 unit);
    static double FromBase(double value, quint8 unit);

    // Differences (spans, offsets): no zero shift.
    static double DifferenceToBase(double value, quint8 unit);
    static double DifferenceFromBase(double value, quint8 unit);
};
