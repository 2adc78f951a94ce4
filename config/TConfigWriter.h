#pragma once

#include <QString>

class QFileDevice;

// Writes the lines of a configuration file (or of the production test's
// protocol) to an open file. A failed write raises the platform's I/O error.
class TConfigWriter
{
public:
    TConfigWriter(QFileDevice& file, const QString& separator);

    void Line(const QString& text = QString());
    void KeyValue(const QString& key, const QString& value);
    void KeyBool(const QString& key, bool flag);

    // The beginning of a line, on the disk at once; `Line` ends it. A step
    // that is interrupted leaves its line visibly unfinished.
    void Begin(const QString& text);

private:
    void write(const QByteArray& bytes);

    QFileDevice& file;
    QString separator;
};
