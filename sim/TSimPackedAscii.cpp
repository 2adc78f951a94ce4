#include "TSimPackedAscii.h"

QByteArray TSimPackedAscii::Pack(const QByteArray& text, int characters)
{
    const QByteArray fitted = text.left(characters).leftJustified(characters, ' ');
    QByteArray packed;
    for (int i = 0; i + 4 <= fitted.size(); i += 4) {
        quint32 group = 0;
        for (int k = 0; k < 4; ++k)
            group = (group << 6) | (quint8(fitted[i + k]) & 0x3F);
        packed.append(char(group >> 16));
        packed.append(char(group >> 8));
        packed.append(char(group));
    }
    return packed;
}

QByteArray TSimPackedAscii::Unpack(const QByteArray& packed)
{
    QByteArray text;
    for (int i = 0; i + 3 <= packed.size(); i += 3) {
        const quint32 group = quint32(quint8(packed[i])) << 16 | quint32(quint8(packed[i + 1])) << 8
                              | quint8(packed[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6) {
            const quint8 code = (group >> shift) & 0x3F;
            text.append(char(code < 0x20 ? code + 0x40 : code));
        }
    }
    return text;
}
