#include "ui/UStatusColors.h"

#include "commands/UResponseCodes.h"
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
    constexpr quint32 LastResponseCode = 127;
    quint32 code = 0;
    try {
        code = HexToUInt32(hexText);
    } catch (const EConvertError&) {
        return Qt::white;
    }
    if (code > LastResponseCode)
        return Qt::white;
    switch (ResponseCodeClass(quint8(code))) {
    case TResponseClass::Success: return Green;
    case TResponseClass::Warning: return Yellow;
    case TResponseClass::Error: return Red;
    }
    return Qt::white;
}
