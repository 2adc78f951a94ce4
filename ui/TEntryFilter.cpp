#include "ui/TEntryFilter.h"

#include "util/UPresentation.h"

TEntryFilter::TEntryFilter(TKind kind, QObject* parent)
    : QValidator(parent)
    , kind(kind)
{
}

QChar TEntryFilter::Converted(QChar c) const
{
    if (kind == TKind::PackedAscii && c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        return c.toUpper();
    return c;
}

bool TEntryFilter::Accepts(QChar c) const
{
    const ushort code = c.unicode();
    switch (kind) {
    case TKind::PackedAscii:
        return code >= 0x20 && code <= 0x5F && code != 0x27;
    case TKind::Latin:
        return (code >= 0x20 && code <= 0x7E) || (code >= 0xA0 && code <= 0xFF);
    case TKind::IntPositiv:
        return c.isDigit() && code < 0x80;
    case TKind::Float:
        return FloatKeyChars().contains(c) && c != QLatin1Char('\b');
    }
    return false;
}

QValidator::State TEntryFilter::validate(QString& input, int&) const
{
    for (QChar& c : input) {
        c = Converted(c);
        if (!Accepts(c))
            return Invalid;
    }
    return Acceptable;
}
