#include "TSimExchange.h"

QString TSimExchange::Summary() const
{
    QString line = QStringLiteral("rx %1").arg(QString::fromLatin1(Request.toHex(' ').toUpper()));
    if (!ChecksumValid)
        return line + QStringLiteral("  (bad checksum, ignored)");
    if (!Addressed())
        return line + QStringLiteral("  (not for a device on this bus)");
    line += QStringLiteral("  cmd %1 dev %2").arg(Command).arg(PollingAddress);
    line += Answered ? QStringLiteral("  tx %1").arg(QString::fromLatin1(Answer.toHex(' ').toUpper()))
                     : QStringLiteral("  no answer");
    if (!Faults.isEmpty())
        line += QStringLiteral("  [%1]").arg(Faults.join(QStringLiteral(", ")));
    return line;
}
