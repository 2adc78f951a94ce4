#include "config/UConfigText.h"

#include "util/UWindows1252.h"

namespace {

// A-Z only: the keys are ASCII, and other letters stay as the file has them.
QString AsciiLower(const QString& text)
{
    QString lower = text;
    for (QChar& c : lower) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return lower;
}

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= ' ';
}

} // namespace

QByteArray ConfigLineBytes(const QString& line)
{
    return ToWindows1252(line) + "\r\n";
}

QStringList ConfigFileLines(const QByteArray& content)
{
    QStringList lines = FromWindows1252(content).split(QLatin1Char('\n'));
    // The line end of the last line leaves an empty piece behind it.
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

QString ConfigTrimmed(const QString& text)
{
    int begin = 0;
    int end = text.size();
    while (begin < end && IsBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && IsBlankOrControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

TConfigEntry ConfigEntry(const QString& line, const QString& separator)
{
    const int at = separator.isEmpty() ? -1 : line.indexOf(separator);
    if (at < 0)
        return { AsciiLower(ConfigTrimmed(line)), QString() };
    return { AsciiLower(ConfigTrimmed(line.left(at))), ConfigTrimmed(line.mid(at + separator.size())) };
}
