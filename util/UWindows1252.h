#pragma once

// Device text is 8-bit Windows-1252: one byte per character. Bytes below 0x80
// and from 0xA0 on are the characters of the same code; 0x80-0x9F are the code
// page's own signs (0x80 the euro sign, 0x8A "Š", 0x9F "Ÿ"). The five bytes the
// code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1
// controls of the same code, as in Windows, so that every byte string reads
// back unchanged.

#include <QByteArray>
#include <QString>

QString FromWindows1252(const QByteArray& bytes);

// Raises EConvertError naming the first character that has no byte.
QByteArray ToWindows1252(const QString& text);
