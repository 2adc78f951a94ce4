#include "util/URangeCheck.h"

#include "util/Exceptions.h"
#include "util/UPresentation.h"

void CheckRange(const QString& name, float value, float lowerLimit, float upperLimit)
{
    // Written so that a value that is not a number fails the first test.
    if (!(value >= lowerLimit))
        throw Exception(name + QStringLiteral(" is less than minimum (") + FormatFixed(lowerLimit, 3) + QLatin1Char(')'));
    if (value > upperLimit)
        throw Exception(name + QStringLiteral(" is greater than maximum (") + FormatFixed(upperLimit, 3) + QLatin1Char(')'));
}
