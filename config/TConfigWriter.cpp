#include "config/TConfigWriter.h"

#include "config/UConfigText.h"
#include "config/UConfigValues.h"
#include "util/Exceptions.h"
#include "util/UWindows1252.h"

#include <QFileDevice>

TConfigWriter::TConfigWriter(QFileDevice& file, const QString& separator)
    : file(file)
    , separator(separator)
{
}

void TConfigWriter::Line(const QString& text)
{
    write(ConfigLineBytes(text));
}

void TConfigWriter::KeyValue(const QString& key, const QString& value)
{
    Line(key + separator + value);
}

void TConfigWriter::KeyBool(const QString& key, bool flag)
{
    KeyValue(key, BoolText(flag));
}

void TConfigWriter::Begin(const QString& text)
{
    write(ToWindows1252(text));
    if (!file.flush())
        throw Exception(file.errorString());
}

void TConfigWriter::write(const QByteArray& bytes)
{
    if (file.write(bytes) != bytes.size())
        throw Exception(file.errorString());
}
