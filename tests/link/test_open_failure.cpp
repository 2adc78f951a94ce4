// What the user is told when a port's device node does not open.
#include "OpenFailureText.h"

#include "link/UOpenFailure.h"

#include <QtTest>

namespace {

QString Failure(QSerialPort::SerialPortError error, const TNodeAccess& node)
{
    return OpenFailureText([&] {
        ThrowOpenFailure(QStringLiteral("COM5 (/dev/ttyUSB0)"), error, QStringLiteral("Driver's reason"), node);
    });
}

} // namespace

Q_DECLARE_METATYPE(QSerialPort::SerialPortError)

class TestOpenFailure : public QObject
{
    Q_OBJECT

private slots:
    void messageForTheNodeAndTheError_data()
    {
        QTest::addColumn<QSerialPort::SerialPortError>("error");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("readableAndWritable");
        QTest::addColumn<QString>("group");
        QTest::addColumn<bool>("groupReadsAndWrites");
        QTest::addColumn<QString>("failure");

        const QString denied = QStringLiteral("access denied: COM5 (/dev/ttyUSB0): permission denied.\r\r");
        QTest::newRow("not in the group dialout")
            << QSerialPort::PermissionError << true << false << "dialout" << true
            << denied + "Add your user to the group dialout (sudo usermod -aG dialout $USER), then log out and in again.";
        QTest::newRow("the node's own group is named")
            << QSerialPort::PermissionError << true << false << "uucp" << true
            << denied + "Add your user to the group uucp (sudo usermod -aG uucp $USER), then log out and in again.";
        QTest::newRow("denied whatever the driver reports")
            << QSerialPort::OpenError << true << false << "dialout" << true
            << denied + "Add your user to the group dialout (sudo usermod -aG dialout $USER), then log out and in again.";
        QTest::newRow("the group may not use it either")
            << QSerialPort::PermissionError << true << false << "root" << false
            << denied + "Ask your administrator for read and write access to the device.";
        QTest::newRow("no group known")
            << QSerialPort::PermissionError << true << false << "" << true
            << denied + "Ask your administrator for read and write access to the device.";
        QTest::newRow("ours to use, yet refused: held by someone else")
            << QSerialPort::PermissionError << true << true << "dialout" << true
            << "already open: COM5 (/dev/ttyUSB0) is already open.";
        QTest::newRow("no such node")
            << QSerialPort::DeviceNotFoundError << false << false << "" << false
            << "Cannot open COM5 (/dev/ttyUSB0): Driver's reason";
        QTest::newRow("no such node, reported as permission")
            << QSerialPort::PermissionError << false << false << "" << false
            << "Cannot open COM5 (/dev/ttyUSB0): Driver's reason";
        QTest::newRow("ours to use, another error")
            << QSerialPort::UnsupportedOperationError << true << true << "dialout" << true
            << "Cannot open COM5 (/dev/ttyUSB0): Driver's reason";
    }

    void messageForTheNodeAndTheError()
    {
        QFETCH(QSerialPort::SerialPortError, error);
        QFETCH(bool, exists);
        QFETCH(bool, readableAndWritable);
        QFETCH(QString, group);
        QFETCH(bool, groupReadsAndWrites);
        QFETCH(QString, failure);
        QCOMPARE(Failure(error, TNodeAccess { exists, readableAndWritable, group, groupReadsAndWrites }), failure);
    }
};

QTEST_GUILESS_MAIN(TestOpenFailure)
#include "test_open_failure.moc"
