#include "util/StringTools.h"

namespace {

// An empty separator or pattern never occurs: searching for it would match
// everywhere and make the callers' loops run forever.
int IndexOf(const QString& text, const QString& pattern, int from)
{
    return pattern.isEmpty() ? -1 : int(text.indexOf(pattern, from));
}

} // namespace

QString RightStr(const QString& text, int n)
{
    return n < 1 ? QString() : text.right(n);
}

int PosAfter(const QString& pattern, const QString& text, int offset)
{
    // A negative start would make the search count from the end of the text.
    return IndexOf(text, pattern, qMax(offset, 0)) + 1;
}

QString FieldByChar(const QString& text, int n, QChar separator)
{
    return FieldByString(n, text, QString(separator));
}

QString FieldByString(int n, const QString& text, const QString& separator)
{
    if (n <= 0)
        return {};
    int start = 0;
    for (int field = 1; field < n; ++field) {
        const int found = IndexOf(text, separator, start);
        if (found < 0)
            return {};
        start = found + separator.size();
    }
    const int end = IndexOf(text, separator, start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

bool StartsTextCI(const QString& text, const QString& prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

QString CollapseRepeats(const QString& text, const QString& separator)
{
    if (separator.isEmpty())
        return text;
    const QString doubled = separator + separator;
    QString collapsed = text;
    while (collapsed.contains(doubled))
        collapsed.replace(doubled, separator);
    return collapsed;
}

int CountOccurrences(const QString& pattern, const QString& text)
{
    int count = 0;
    for (int found = IndexOf(text, pattern, 0); found >= 0;
         found = IndexOf(text, pattern, found + pattern.size()))
        ++count;
    return count;
}

QString IfThenStr(bool condition, const QString& whenTrue, const QString& whenFalse)
{
    return condition ? whenTrue : whenFalse;
}

QString QuotedCharacter(char32_t code)
{
    const QString hex = QString::number(quint32(code), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return QLatin1Char('"') + QString::fromUcs4(&code, 1) + QStringLiteral("\" (U+") + hex + QLatin1Char(')');
}
