#include "ui/UStatusColors.h"

#include "util/Exceptions.h"
#include "util/UConversions.h"

namespace {

const QColor Green(0, 128, 0);
const QColor Yellow(255, 255, 0);
const QColor Orange(255, 128, 0);
const QColor Red(255, 0, 0);

} // namespace

QColor DeviceStatusColor(quint8 deviceStatus)
{
    struct Rule
    {
        quint8 Bits;
        QColor Color;
    };
    // A later rule overrides an earlier one.
    static const Rule rules[] = { { 0x60, Yellow }, { 0x0F, Orange }, { 0x90, Red } };
    QColor color = Green;
    for (const Rule& rule : rules) {
        if (deviceStatus & rule.Bits)
            color = rule.Color;
    }
    return color;
}

QColor ResponseCodeColor(const QString& hexText)
{
    struct Range
    {
        quint32 First;
        quint32 Last;
        QColor Color;
    };
    // Red for the errors, yellow for the warnings.
    static const Range ranges[] = {
        { 0, 0, Green }, { 1, 7, Red }, { 8, 8, Yellow }, { 9, 13, Red }, { 14, 14, Yellow }, { 15, 23, Red },
        { 24, 27, Yellow }, { 28, 29, Red }, { 30, 31, Yellow }, { 32, 95, Red }, { 96, 127, Yellow },
    };
    quint32 code = 0;
    try {
        code = HexToUInt32(hexText);
    } catch (const EConvertError&) {
        return Qt::white;
    }
    for (const Range& range : ranges) {
        if (code >= range.First && code <= range.Last)
            return range.Color;
    }
    return Qt::white;
}
