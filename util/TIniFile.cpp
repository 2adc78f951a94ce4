#include "util/TIniFile.h"

#include <QFile>

namespace {

QString Unquoted(const QString& value)
{
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

TIniFile::TIniFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QString section;
    for (const QByteArray& rawLine : file.readAll().split('\n')) {
        const QString line = QString::fromLatin1(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        // The first occurrence of a key counts, as on Windows.
        if (values.contains(id(section, key)))
            continue;
        values.insert(id(section, key), Unquoted(line.mid(equals + 1).trimmed()));
        keysBySection[section.toLower()].append(key);
    }
}

QString TIniFile::id(const QString& section, const QString& key)
{
    return section.toLower() + QLatin1Char('\n') + key.toLower();
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    return values.value(id(section, key), defaultValue);
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    bool ok = false;
    const int value = ReadString(section, key, QString()).toInt(&ok);
    return ok ? value : defaultValue;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return values.contains(id(section, key));
}

QStringList TIniFile::Keys(const QString& section) const
{
    return keysBySection.value(section.toLower());
}
