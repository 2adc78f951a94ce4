#include "link/UOpenFailure.h"

#include "link/TComPort.h"

#include <QFileInfo>

namespace {

QString AccessDeniedMessage(const QString& portName, const TNodeAccess& node)
{
    const QString denied = QStringLiteral("%1: permission denied.\r\r").arg(portName);
    // Joining a group that may not use the node either would not help.
    if (node.Group.isEmpty() || !node.GroupReadsAndWrites)
        return denied + QStringLiteral("Ask your administrator for read and write access to the device.");
    return denied
        + QStringLiteral("Add your user to the group %1 (sudo usermod -aG %1 $USER), then log out and in again.")
              .arg(node.Group);
}

} // namespace

TNodeAccess TNodeAccess::Of(const QString& path)
{
    const QFileInfo info(path);
    TNodeAccess node;
    node.Exists = info.exists();
    node.ReadableAndWritable = info.isReadable() && info.isWritable();
    node.Group = info.group();
    node.GroupReadsAndWrites = info.permission(QFile::ReadGroup | QFile::WriteGroup);
    return node;
}

void ThrowOpenFailure(const QString& portName, QSerialPort::SerialPortError error, const QString& reason,
                      const TNodeAccess& node)
{
    if (node.Exists && !node.ReadableAndWritable)
        throw EAccessDenied(AccessDeniedMessage(portName, node));
    // The driver reports a busy node, or a lock file that someone else holds,
    // as a permission error.
    if (node.Exists && error == QSerialPort::PermissionError)
        throw EAlreadyOpen(QStringLiteral("%1 is already open.").arg(portName));
    throw Exception(QStringLiteral("Cannot open %1: %2").arg(portName, reason));
}
