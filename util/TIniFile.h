#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// A read-only INI file as technicians write it by hand on Windows: sections
// and keys ignore letter case, a value is everything after the first "=" up
// to the line end, trimmed, with one pair of enclosing quotes removed. A
// ";" or "," inside a value is part of it (the configuration-file separator
// is usually ";"), and a backslash is an ordinary character. Lines starting
// with ";" or "#" are comments. Text is 8-bit (Windows-1252). A missing file
// reads as empty.
class TIniFile
{
public:
    explicit TIniFile(const QString& path);

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // The default also when the value is not a decimal integer.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    bool ValueExists(const QString& section, const QString& key) const;
    // The keys of a section as written, in file order.
    QStringList Keys(const QString& section) const;

private:
    static QString id(const QString& section, const QString& key);

    QHash<QString, QString> values;
    QHash<QString, QStringList> keysBySection;
};
