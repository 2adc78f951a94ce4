// Command 0: the polling search, identification at a known address, the
// life-list scan and re-identification over the long address.
#include "CommandFixture.h"
#include "util/ErrorMessage.h"

#include <QtTest>

using namespace fixture;

namespace {

// The maker's CALDEROS probe: universal revision 6, device revision 2,
// software 4, hardware byte 0x2C (revision 5), device ID 0A 0B 0C.
const char* const Calderos = "00 00 FE E3 81 05 06 02 04 2C 00 0A 0B 0C";
// A device of manufacturer 0x26 with device type 0x80 and ID 01 23 45.
const char* const Foreign = "00 00 FE 26 80 05 05 01 03 08 00 01 23 45";

const QString ZeroQuestion = QStringLiteral("No supported HART device found on address 0! \r\rWhat do you like to do?\r");
const QString NothingFound = QStringLiteral("No supported HART device was found.\r\rNOTE\rConnect a supported HART device to your HART Modem and\rthe HART Modem to the selected COM port.");

// The device thread's side of the search, answering the address-0 question
// with the choices given.
struct Worker : TSearchWorker
{
    explicit Worker(QList<int> choices = {}) : Choices(std::move(choices)) {}
    void SetStatusText(const QString& text) override { Texts << text; }
    int AskZeroRetry(const QString& content) override
    {
        Questions << content;
        return Choices.takeFirst();
    }

    QList<int> Choices;
    QStringList Texts;
    QStringList Questions;
};

QStringList ProgressUpTo(int last)
{
    QStringList texts;
    for (int address = 0; address <= last; ++address)
        texts << QStringLiteral("Search HART device (Polling Address %1)").arg(address);
    return texts;
}

QByteArray Poll(int address)
{
    const QByteArray frame = QByteArray(1, char(0x02)) + char(0x80 | address) + char(0) + char(0);
    return Preambles + frame + XorOf(frame);
}

QList<QByteArray> PollsUpTo(int last)
{
    QList<QByteArray> frames;
    for (int address = 0; address <= last; ++address)
        frames << Poll(address);
    return frames;
}

// A device without identity yet, as after construction.
struct Unidentified : Device
{
    Unidentified()
    {
        hart->ForgetDevice();
        hart->DeviceFamily = 0;
        hart->UniversalRevision = 0;
    }
};

void VerifyCalderosIdentity(const TComportHART& hart)
{
    QCOMPARE(hart.ManufacturerID, quint16(0xE3));
    QCOMPARE(hart.DeviceTypeCode, quint16(0x81));
    QCOMPARE(hart.DeviceFamily, quint8(2));
    QCOMPARE(hart.UniversalRevision, 6);
    QCOMPARE(hart.DeviceRevision, 2);
    QCOMPARE(hart.SoftwareRevision, 4);
    QCOMPARE(hart.HardwareRevision, 5);
    QCOMPARE(hart.DeviceID, 0x0A0B0C);
    QCOMPARE(hart.LongAddressPrefix, Preambles + Hex("82 A3 81 0A 0B 0C"));
}

} // namespace

class TestIdentification : public QObject
{
    Q_OBJECT

private slots:
    void deviceAtAddressZeroIsFoundWithoutQuestion()
    {
        Guarded([] {
            Unidentified device;
            Worker worker;
            device.port->QueueAnswer(ShortAnswer(0, Calderos));
            QVERIFY(device.hart->SearchDevice(&worker));

            QCOMPARE(device.port->Written, QList<QByteArray> { Hex("FF FF FF FF FF 02 80 00 00 82") });
            QVERIFY(worker.Questions.isEmpty());
            QCOMPARE(worker.Texts, ProgressUpTo(0));
            QCOMPARE(device.hart->PollingAddress, quint8(0));
            VerifyCalderosIdentity(*device.hart);
            QCOMPARE(device.Events, QStringList { "status 0" });
            QCOMPARE(device.LastStatus().OperationName, QString("Search HART device (polling)"));
        });
    }

    void foreignDeviceIsAcceptedWhileTheCheckIsOff()
    {
        Guarded([] {
            Unidentified device;
            device.port->QueueAnswer(ShortAnswer(0, Foreign));
            QVERIFY(device.hart->SearchDevice(nullptr));
            QCOMPARE(device.hart->ManufacturerID, quint16(0x26));
            QCOMPARE(device.hart->DeviceFamily, quint8(1));

            float value = 0;
            QString unit;
            device.port->QueueAnswer(Hex("FF FF FF FF FF 86 A6 80 01 23 45 01 07 00 00 2D 41 20 00 00 8D"));
            device.hart->ReadPrimaryValue(value, unit);
            QCOMPARE(Spaced(device.port->Written.last()), QString("FF FF FF FF FF 82 A6 80 01 23 45 01 00 C2"));
            QCOMPARE(value, 10.0f);
            QCOMPARE(unit, QString("meters"));
        });
    }

    void silenceAtZeroThenCancel()
    {
        Guarded([] {
            Unidentified device;
            Worker worker({ TSearchWorker::ZeroRetryCancel });
            QCOMPARE(ErrorMessage<Exception>([&] { device.hart->SearchDevice(&worker); }), NothingFound);
            QCOMPARE(worker.Questions, QStringList { ZeroQuestion });
            QCOMPARE(device.port->Written.size(), 1);
        });
    }

    // Closing the dialog answers neither button.
    void closedQuestionCancels()
    {
        Guarded([] {
            Unidentified device;
            Worker worker({ -1 });
            QCOMPARE(ErrorMessage<Exception>([&] { device.hart->SearchDevice(&worker); }), NothingFound);
            QCOMPARE(device.port->Written.size(), 1);
        });
    }

    void silenceAtZeroThenRescan()
    {
        Guarded([] {
            Unidentified device;
            Worker worker({ TSearchWorker::ZeroRetryRescanZero });
            device.port->QueueSilence();
            device.port->QueueAnswer(ShortAnswer(0, Calderos));
            QVERIFY(device.hart->SearchDevice(&worker));
            QCOMPARE(device.port->Written, (QList<QByteArray> { Poll(0), Poll(0) }));
            QCOMPARE(worker.Questions.size(), 1);
            QCOMPARE(worker.Texts, ProgressUpTo(0) + ProgressUpTo(0));
            QCOMPARE(device.hart->PollingAddress, quint8(0));
        });
    }

    // The answer at 5 comes late, yet within the one second of a poll.
    void silenceAtZeroThenScanSkipsTheForeignDevice()
    {
        Guarded([] {
            Unidentified device;
            device.hart->CheckManufacturer = true;
            Worker worker({ TSearchWorker::ZeroRetryScanOthers });
            device.port->QueueSilence();
            device.port->QueueSilence();
            device.port->QueueSilence();
            device.port->QueueAnswer(ShortAnswer(3, Foreign));
            device.port->QueueSilence();
            device.port->QueueAnswer(ShortAnswer(5, Calderos), 600);
            QVERIFY(device.hart->SearchDevice(&worker));

            QCOMPARE(device.port->Written, PollsUpTo(5));
            QCOMPARE(Spaced(device.port->Written.last()), QString("FF FF FF FF FF 02 85 00 00 87"));
            QCOMPARE(worker.Texts, ProgressUpTo(5));
            QCOMPARE(worker.Questions.size(), 1);
            QCOMPARE(device.hart->PollingAddress, quint8(5));
            VerifyCalderosIdentity(*device.hart);
            QCOMPARE(device.Events, QStringList { "status 0" });     // the foreign device is not reported
        });
    }

    void withoutWorkerSilenceAtZeroGoesOn()
    {
        Guarded([] {
            Unidentified device;
            device.port->QueueSilence();
            device.port->QueueAnswer(ShortAnswer(1, Calderos));
            QVERIFY(device.hart->SearchDevice(nullptr));
            QCOMPARE(device.hart->PollingAddress, quint8(1));
        });
    }

    void nothingAnywhere()
    {
        Guarded([] {
            Unidentified device;
            Worker worker({ TSearchWorker::ZeroRetryScanOthers });
            QCOMPARE(ErrorMessage<Exception>([&] { device.hart->SearchDevice(&worker); }), NothingFound);
            QCOMPARE(device.port->Written, PollsUpTo(15));
            QCOMPARE(worker.Texts, ProgressUpTo(15));
            QVERIFY(device.hart->HasNoDevice());
        });
    }

    void onlyForeignDevicesEndWithInconsistency()
    {
        Guarded([] {
            Unidentified device;
            device.hart->CheckManufacturer = true;
            Worker worker;
            for (int address = 0; address <= 15; ++address)
                device.port->QueueAnswer(ShortAnswer(address, Foreign));
            QCOMPARE(ErrorMessage<EInconsistentException>([&] { device.hart->SearchDevice(&worker); }),
                     QString("No supported HART device was found."));
            QCOMPARE(device.port->Written, PollsUpTo(15));
            QVERIFY(device.Events.isEmpty());
        });
    }

    void malformedIdentityEndsTheSearch()
    {
        Guarded([] {
            Unidentified device;
            device.port->QueueAnswer(ShortAnswer(0, "00 00 FD E3 80 05 05 01 03 08 00 01 23 45"));
            QCOMPARE(ErrorMessage<EInconsistentException>([&] { device.hart->SearchDevice(nullptr); }),
                     QString("answer inconsistent"));
            QCOMPARE(device.port->Written.size(), 1);
        });
    }

    void identityAnswerMustFit_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("mark not 254") << ShortAnswer(2, "00 00 FD E3 80 05 05 01 03 08 00 01 23 45");
        QTest::newRow("13 data bytes") << ShortAnswer(2, "00 00 FE E3 80 05 05 01 03 08 00 01 23");
        QByteArray command1 = ShortAnswer(2, Calderos);
        command1[7] = 1;                        // command byte
        command1[command1.size() - 1] = char(command1.back() ^ 1);
        QTest::newRow("answer to command 1") << command1;
    }

    void identityAnswerMustFit()
    {
        Guarded([] {
            QFETCH(QByteArray, answer);
            Unidentified device;
            device.port->QueueAnswer(answer);
            TDeviceIdentity identity;
            QCOMPARE(ErrorMessage<EInconsistentException>([&] { device.hart->ScanAddress(2, identity); }),
                     QString("answer inconsistent"));
            QVERIFY(device.hart->HasNoDevice());
        });
    }

    void deviceTypeAndFamily_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("deviceTypeCode");
        QTest::addColumn<int>("family");
        QTest::newRow("revision 5, type 128") << "00 00 FE E3 80 05 05 01 03 08 00 01 23 45" << 0x80 << 1;
        QTest::newRow("revision 6, type 129") << "00 00 FE E3 81 05 06 01 03 08 00 01 23 45" << 0x81 << 2;
        QTest::newRow("revision 6, type 130") << "00 00 FE E3 82 05 06 01 03 08 00 01 23 45" << 0x82 << 0;
        QTest::newRow("revision 7, expanded type") << "00 00 FE E3 80 05 07 01 03 08 00 01 23 45" << 0xE380 << 0;
    }

    void deviceTypeAndFamily()
    {
        Guarded([] {
            QFETCH(QString, answer);
            QFETCH(int, deviceTypeCode);
            QFETCH(int, family);
            Unidentified device;
            device.hart->PollingAddress = 4;
            device.port->QueueAnswer(ShortAnswer(4, answer.toLatin1().constData()));
            QVERIFY(device.hart->ConnectAtPollingAddress(nullptr));
            QCOMPARE(int(device.hart->DeviceTypeCode), deviceTypeCode);
            QCOMPARE(int(device.hart->DeviceFamily), family);
            // The long address carries the low byte of the device type.
            QCOMPARE(device.hart->LongAddressPrefix, Preambles + Hex("82 A3") + char(deviceTypeCode & 0xFF) + Hex("01 23 45"));
        });
    }

    void connectAtPollingAddress()
    {
        Guarded([] {
            Unidentified device;
            device.hart->PollingAddress = 4;
            Worker worker;
            device.port->QueueAnswer(ShortAnswer(4, Calderos));
            QVERIFY(device.hart->ConnectAtPollingAddress(&worker));
            QCOMPARE(device.port->Written, QList<QByteArray> { Hex("FF FF FF FF FF 02 84 00 00 86") });
            QCOMPARE(worker.Texts, QStringList { "Search HART device (Polling Address 4)" });
            VerifyCalderosIdentity(*device.hart);
            QCOMPARE(device.LastStatus().OperationName, QString("Search HART device (polling)"));
        });
    }

    void connectAtPollingAddressFailures()
    {
        Guarded([] {
            Unidentified device;
            device.hart->PollingAddress = 4;
            QCOMPARE(ErrorMessage<Exception>([&] { device.hart->ConnectAtPollingAddress(nullptr); }),
                     QStringLiteral("The HART device does not respond.\r\rNOTE\rConnect a supported HART device to your HART Modem and\rthe HART Modem to the selected COM port."));

            device.hart->CheckManufacturer = true;
            device.port->QueueAnswer(ShortAnswer(4, Foreign));
            QCOMPARE(ErrorMessage<EInconsistentException>([&] { device.hart->ConnectAtPollingAddress(nullptr); }),
                     QString("No supported HART device was found."));
            QVERIFY(device.hart->HasNoDevice());
            QVERIFY(device.Events.isEmpty());
        });
    }

    // The life list keeps the revisions in its row; the object takes only
    // what addresses the device, and nothing is reported.
    void scanAddressFillsTheRow()
    {
        Guarded([] {
            Device device;
            device.port->QueueAnswer(ShortAnswer(9, Calderos));
            TDeviceIdentity identity;
            device.hart->ScanAddress(9, identity);

            QCOMPARE(device.port->Written, QList<QByteArray> { Poll(9) });
            QCOMPARE(identity.ManufacturerID, quint16(0xE3));
            QCOMPARE(identity.DeviceTypeCode, quint16(0x81));
            QCOMPARE(identity.UniversalRevision, quint8(6));
            QCOMPARE(identity.DeviceRevision, quint8(2));
            QCOMPARE(identity.SoftwareRevision, quint8(4));
            QCOMPARE(identity.HardwareRevision, quint8(5));
            QCOMPARE(identity.DeviceID, 0x0A0B0C);

            QCOMPARE(device.hart->DeviceTypeCode, quint16(0x81));
            QCOMPARE(device.hart->DeviceFamily, quint8(2));
            QCOMPARE(device.hart->DeviceID, 0x0A0B0C);
            QCOMPARE(device.hart->LongAddressPrefix, Preambles + Hex("82 A3 81 0A 0B 0C"));
            QCOMPARE(device.hart->UniversalRevision, 5);
            QCOMPARE(device.hart->HardwareRevision, 0);
            QVERIFY(device.Events.isEmpty());
        });
    }

    void scanAddressIgnoresForeignDevices()
    {
        Guarded([] {
            Device device;
            device.hart->CheckManufacturer = true;
            device.port->QueueAnswer(ShortAnswer(9, Foreign));
            TDeviceIdentity identity;
            identity.DeviceID = 77;
            QCOMPARE(ErrorMessage<ENoKORVALDeviceException>([&] { device.hart->ScanAddress(9, identity); }),
                     QString("Not a supported HART Device - Ignoring"));
            QCOMPARE(identity.DeviceID, 77);
            QCOMPARE(device.hart->ManufacturerID, quint16(0xE3));
            QCOMPARE(device.hart->UniversalRevision, 5);

            QCOMPARE(ErrorMessage<ETimeoutException>([&] { device.hart->ScanAddress(10, identity); }),
                     QString("Timeout: HART device does not respond"));
        });
    }

    // The jobs may have set the family; re-reading keeps it.
    void readUniqueIdentifierRefreshesTheIdentity()
    {
        Guarded([] {
            Device device;
            device.hart->DeviceFamily = 2;
            device.Answers(0, "00 00 FE E3 80 05 06 03 07 48 00 01 23 45");
            device.hart->ReadUniqueIdentifier();
            QCOMPARE(device.port->Written, QList<QByteArray> { Request("00 00") });
            QCOMPARE(device.hart->UniversalRevision, 6);
            QCOMPARE(device.hart->DeviceRevision, 3);
            QCOMPARE(device.hart->SoftwareRevision, 7);
            QCOMPARE(device.hart->HardwareRevision, 9);
            QCOMPARE(device.hart->DeviceFamily, quint8(2));
            QCOMPARE(device.LastStatus().OperationName, QString("Read Unique Identifier"));

            device.hart->CheckManufacturer = true;
            device.Answers(0, Foreign);
            QCOMPARE(ErrorMessage<EInconsistentException>([&] { device.hart->ReadUniqueIdentifier(); }),
                     QString("No supported HART device was found."));
        });
    }

    void configChangeCounter()
    {
        Guarded([] {
            Device device;
            quint16 counter = 0;
            device.Answers(0, "00 00 FE E3 80 05 07 09 09 48 00 01 23 45 00 00 12 34");
            device.hart->ReadConfigChangeCounter(counter);
            QCOMPARE(device.port->Written, QList<QByteArray> { Request("00 00") });
            QCOMPARE(counter, quint16(0x1234));
            QCOMPARE(device.hart->UniversalRevision, 5);          // the identity stays
            QCOMPARE(device.hart->DeviceTypeCode, quint16(0x80));
            QCOMPARE(device.LastStatus().OperationName, QString("Read Unique Identifier"));

            device.Answers(0, "00 00 FE E3 80 05 05 01 03 08 00 01 23 45");
            device.hart->ReadConfigChangeCounter(counter);
            QCOMPARE(counter, quint16(0x1234));
            QCOMPARE(device.Events.size(), 2);
        });
    }

    void forgottenDeviceIsNotAddressed()
    {
        Guarded([] {
            Device device;
            device.hart->ForgetDevice();
            float value = 0;
            QString unit;
            QCOMPARE(ErrorMessage<Exception>([&] { device.hart->ReadPrimaryValue(value, unit); }),
                     QStringLiteral("No HART device was found.\r\rNOTE\rConnect a supported HART device to your HART Modem and\rthe HART Modem to the selected COM port."));
            QVERIFY(device.port->Written.isEmpty());
        });
    }
};

QTEST_GUILESS_MAIN(TestIdentification)
#include "test_identification.moc"
