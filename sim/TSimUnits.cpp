#include "TSimUnits.h"

#include <array>

namespace {

struct TUnit
{
    quint8 Code;
    TSimQuantity Quantity;
    double BasePerUnit;
    double Zero; // the value of this unit at the base unit's zero
};

// "Feet in sixteenths" is taken as a count of sixteenths of an inch.
constexpr std::array<TUnit, 8> Units{{
    {TSimUnits::Celsius, TSimQuantity::Temperature, 1.0, 0.0},
    {TSimUnits::Fahrenheit, TSimQuantity::Temperature, 5.0 / 9.0, 32.0},
    {TSimUnits::Feet, TSimQuantity::Length, 0.3048, 0.0},
    {TSimUnits::Meters, TSimQuantity::Length, 1.0, 0.0},
    {TSimUnits::Inches, TSimQuantity::Length, 0.0254, 0.0},
    {TSimUnits::Centimeters, TSimQuantity::Length, 0.01, 0.0},
    {TSimUnits::Millimeters, TSimQuantity::Length, 0.001, 0.0},
    {TSimUnits::FeetInSixteenths, TSimQuantity::Length, 0.0254 / 16.0, 0.0},
}};

constexpr TUnit Identity{0, TSimQuantity::None, 1.0, 0.0};

const TUnit& Find(quint8 code)
{
    for (const TUnit& unit : Units)
        if (unit.Code == code)
            return unit;
    return Identity;
}

} // namespace

TSimQuantity TSimUnits::QuantityOf(quint8 unit)
{
    return Find(unit).Quantity;
}

double TSimUnits::ToBase(double value, quint8 unit)
{
    return DifferenceToBase(value - Find(unit).Zero, unit);
}

double TSimUnits::FromBase(double value, quint8 unit)
{
    return DifferenceFromBase(value, unit) + Find(unit).Zero;
}

double TSimUnits::DifferenceToBase(double value, quint8 unit)
{
    return value * Find(unit).BasePerUnit;
}

double TSimUnits::DifferenceFromBase(double value, quint8 unit)
{
    return value / Find(unit).BasePerUnit;
}
