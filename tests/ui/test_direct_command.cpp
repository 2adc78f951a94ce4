// The direct command window as service staff use it against the simulated
// probe: a request typed field by field and the exact frame the probe
// received, the answer shown byte by byte in its colours, the helpers that
// turn numbers into bytes and back; and the frame trace saved as a capture
// that tshark decodes.
#include "Connected.h"
#include "DialogScript.h"
#include "ModalDialogDriver.h"
#include "UserInput.h"
#include "WindowChecks.h"

#include "support/HexBytes.h"
#include "support/LocalNumber.h"
#include "ui/TDebugConsole.h"
#include "ui/TFormDeviceStatus.h"
#include "ui/TFormDirectCommand.h"
#include "ui/TFrameTrace.h"
#include "worker/TThreadMeridal.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

namespace {

using Kind = TSimFault::TKind;

// The probe the requests go to: maker 227, device type 0x0A, ID 0x123456.
TSimDeviceState Probe()
{
    TSimDeviceState probe = TSimDeviceState::Tivern();
    probe.DeviceType = 0x0A;
    probe.DeviceId = 0x123456;
    // Device variable 2 reads pi in degrees Celsius: 40 49 0F DB.
    probe.Variables[2].Value = 3.14159274;
    return probe;
}

const QByteArray DevMode = "[KORVAL]\ndomain=dev\n[Settings]\nNumberOfAttempts=1\n";

const QColor Green(0, 128, 0);
const QColor Yellow(255, 255, 0);
const QColor Orange(255, 128, 0);
const QColor Red(255, 0, 0);

// The colour a field is painted in: its most frequent pixel.
QColor PaintedBackground(QWidget* field)
{
    const QImage image = field->grab().toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    }
    QRgb most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(most))
            most = it.key();
    }
    return QColor(most);
}

// Command and byte count of a frame as on the line (long or short address).
QPair<int, int> CommandAndByteCount(const QByteArray& frame)
{
    int at = 0;
    while (at < frame.size() && quint8(frame[at]) == 0xFF)
        ++at;
    const int addressLength = (quint8(frame[at]) & 0x80) ? 5 : 1;
    const int commandAt = at + 1 + addressLength;
    return { quint8(frame[commandAt]), quint8(frame[commandAt + 1]) };
}

} // namespace

class TestDirectCommand : public QObject
{
    Q_OBJECT

    std::unique_ptr<Connected> program;

    TSimBus& Bus() { return program->rig.Bus(); }
    TFormDirectCommand& Window() { return program->rig.Program().FormDirectCommand(); }
    template<typename T = QLineEdit>
    T* Field(const char* name) { return Window().findChild<T*>(QLatin1String(name)); }
    QPlainTextEdit* Memo(const char* name) { return Field<QPlainTextEdit>(name); }
    QPushButton* Button(const char* name) { return Field<QPushButton>(name); }

    // Opens the window with "Direct CMD", runs the steps while it shows and
    // closes it with "Close"; false when it did not show or close.
    bool WhileOpen(const std::function<void()>& steps)
    {
        ModalDialogDriver driver([&](QWidget* shown) {
            if (shown == &Window())
                steps();
            QTest::mouseClick(Field<QPushButton>("ButtonClose"), Qt::LeftButton);
        });
        program->Click(program->rig.C().ButtonDirectCMD);
        return driver.Acted() && !Window().isVisible();
    }

    void TypeData(const QString& text)
    {
        QPlainTextEdit* memo = Memo("MemoData");
        memo->setFocus();
        memo->selectAll();
        QTest::keyClick(memo, Qt::Key_Delete);
        QTest::keyClicks(memo, text);
    }

    // Sends and waits for the job to end; the texts of the boxes shown.
    QStringList Send(QList<DialogScript::Action> answers = {})
    {
        DialogScript boxes(answers);
        boxes.Ignore(&Window());
        QTest::mouseClick(Button("ButtonSend"), Qt::LeftButton);
        program->rig.WaitUntilIdle();
        QTest::qWait(50);
        return boxes.Texts;
    }

private slots:
    void initTestCase()
    {
        program = std::make_unique<Connected>(Probe(), DevMode);
        QVERIFY(program->identified);
        QVERIFY(!program->rig.C().ButtonDirectCMD->isHidden());
    }

    void cleanupTestCase() { program.reset(); }

    // The window was made before the probe was identified; opened, it shows
    // the checksum of the request to that probe: 82 A3 0A 12 34 56 01 00;
    // opened after another probe (ID 0x123457) was identified, that one's.
    void checksumIsCurrentWhenShown()
    {
        QVERIFY(WhileOpen([&] { QCOMPARE(Field("EditCheckSum")->text(), QString("5A")); }));
        const auto identify = [this](quint32 deviceId) {
            TSimDeviceState probe = Probe();
            probe.DeviceId = deviceId;
            Bus().RemoveDevice(0);
            Bus().AddDevice(probe);
            program->rig.C().MenuRescan->trigger();
            return program->rig.WaitUntilIdentified();
        };
        QVERIFY(identify(0x123457));
        QVERIFY(WhileOpen([&] { QCOMPARE(Field("EditCheckSum")->text(), QString("5B")); }));
        QVERIFY(identify(0x123456));
    }

    // What was typed becomes the frame the probe received, or a refusal
    // with nothing sent; the checksum field follows every keystroke.
    void requestAsTyped_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("preambles");
        QTest::addColumn<bool>("secondaryMaster");
        QTest::addColumn<QString>("checksum");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("refusal");
        // 82 ^ A3 ^ 0A ^ 12 ^ 34 ^ 56 ^ 00 ^ 00 = 5B
        QTest::newRow("command 0") << "0" << "" << "5" << false << "5B" << "FF FF FF FF FF 82 A3 0A 12 34 56 00 00 5B" << "";
        QTest::newRow("secondary master") << "0" << "" << "5" << true << "DB" << "FF FF FF FF FF 82 23 0A 12 34 56 00 00 DB" << "";
        QTest::newRow("one- and two-digit bytes") << "0" << "1 02 A" << "5" << false << "51"
                                                  << "FF FF FF FF FF 82 A3 0A 12 34 56 00 03 01 02 0A 51" << "";
        QTest::newRow("trailing blank") << "0" << "01 02 0a " << "5" << false << "51"
                                        << "FF FF FF FF FF 82 A3 0A 12 34 56 00 03 01 02 0A 51" << "";
        QTest::newRow("twenty preambles") << "0" << "" << "20" << false << "5B"
                                          << QString("FF ").repeated(20) + "82 A3 0A 12 34 56 00 00 5B" << "";
        QTest::newRow("three digits") << "0" << "123" << "5" << false << "E" << "" << "Data: Trible chars not allowed.";
        QTest::newRow("no hex digit") << "0" << "0G" << "5" << false << "E" << "" << "'0G' is not a valid integer value";
        QTest::newRow("256 bytes") << "0" << QString("00 ").repeated(256) << "5" << false << "E" << ""
                                   << "Data: More than 255 bytes not allowed.";
        QTest::newRow("command 256") << "256" << "" << "5" << false << "E" << "" << "Command number greater than 255";
        QTest::newRow("command -1") << "-1" << "" << "5" << false << "E" << "" << "Command number less than 0";
        QTest::newRow("command empty") << "" << "" << "5" << false << "E" << "" << "'' is not a valid integer value";
        QTest::newRow("preambles -1") << "0" << "" << "-1" << false << "5B" << "" << "Preambles Count less than 0";
        QTest::newRow("preambles 21") << "0" << "" << "21" << false << "5B" << "" << "Preambles Count greater than 20";
    }
    void requestAsTyped()
    {
        QFETCH(QString, command);
        QFETCH(QString, data);
        QFETCH(QString, preambles);
        QFETCH(bool, secondaryMaster);
        QFETCH(QString, checksum);
        QFETCH(QString, frame);
        QFETCH(QString, refusal);
        QVERIFY(WhileOpen([&] {
            program->Type(Field("EditCommand"), command);
            TypeData(data);
            program->Type(Field("EditPreambles"), preambles);
            QCheckBox* secondary = Field<QCheckBox>("CheckBoxSecondaryMaster");
            if (secondary->isChecked() != secondaryMaster)
                program->Click(secondary);
            QCOMPARE(Field("EditCheckSum")->text(), checksum);

            Bus().ClearLog();
            const QStringList boxes = Send({ Answer(QMessageBox::Ok) });
            if (refusal.isEmpty()) {
                QCOMPARE(boxes, QStringList());
                QCOMPARE(Bus().Log().size(), 1);
                QCOMPARE(Spaced(Bus().Log().first().Request), frame);
            } else {
                QCOMPARE(boxes, QStringList { refusal });
                QVERIFY(Bus().Log().isEmpty());
            }
            if (secondaryMaster)
                program->Click(secondary);
        }));
    }

    // Each answer field, and the colours of response code and device status
    // as painted.
    void answerShown_data()
    {
        QTest::addColumn<int>("faultKind");
        QTest::addColumn<int>("faultValue");
        QTest::addColumn<QString>("responseCode");
        QTest::addColumn<QColor>("responseColor");
        QTest::addColumn<QString>("deviceStatus");
        QTest::addColumn<QColor>("statusColor");
        const int none = -1;
        QTest::newRow("success") << none << 0 << "00" << Green << "00" << Green;
        QTest::newRow("device busy") << int(Kind::ResponseCode) << 0x20 << "20" << Red << "00" << Green;
        QTest::newRow("warning 96") << int(Kind::ResponseCode) << 0x60 << "60" << Yellow << "00" << Green;
        QTest::newRow("configuration changed") << int(Kind::DeviceStatus) << 0x40 << "00" << Green << "40" << Yellow;
        QTest::newRow("loop current fixed") << int(Kind::DeviceStatus) << 0x48 << "00" << Green << "48" << Orange;
        QTest::newRow("malfunction") << int(Kind::DeviceStatus) << 0xC8 << "00" << Green << "C8" << Red;
    }
    void answerShown()
    {
        QFETCH(int, faultKind);
        QFETCH(int, faultValue);
        QFETCH(QString, responseCode);
        QFETCH(QColor, responseColor);
        QFETCH(QString, deviceStatus);
        QFETCH(QColor, statusColor);
        Bus().ClearFaults();
        if (faultKind >= 0)
            Bus().AddFault(TSimFault(Kind(faultKind)).OnCommand(33).WithValue(faultValue));
        QVERIFY(WhileOpen([&] {
            program->Type(Field("EditCommand"), QStringLiteral("33"));
            TypeData(QStringLiteral("02"));
            program->Type(Field("EditPreambles"), QStringLiteral("5"));
            Bus().ClearLog();
            QCOMPARE(Send(), QStringList());
            QCOMPARE(Bus().Log().size(), 1);
            const QByteArray answer = Bus().Log().first().Answer;
            const auto [command, byteCount] = CommandAndByteCount(answer);
            QCOMPARE(Field("EditAnswerCommand")->text(), QStringLiteral("33"));
            QCOMPARE(command, 33);
            QCOMPARE(Field("EditAnswerAddress")->text(), QStringLiteral("A3 0A 12 34 56 "));
            QCOMPARE(Field("EditAnswerCheckSum")->text(), Spaced(answer.right(1)));
            QCOMPARE(Memo("MemoAnswerData")->toPlainText(), byteCount == 2 ? QString() : QStringLiteral("02 20 40 49 0F DB "));
            QCOMPARE(Field("EditResponseCode")->text(), responseCode);
            QCOMPARE(PaintedBackground(Field("EditResponseCode")), responseColor);
            QCOMPARE(Field("EditDeviceStatus")->text(), deviceStatus);
            QCOMPARE(PaintedBackground(Field("EditDeviceStatus")), statusColor);
        }));
        Bus().ClearFaults();
    }

    // The first and last code of every range of response codes, and every
    // rule of the device status, as the fields are painted once the answer
    // has set their text. A later status rule wins over an earlier one.
    void everyColourRule()
    {
        const QColor white(Qt::white);
        const struct
        {
            const char* field;
            const char* text;
            QColor color;
        } rows[] = {
            { "EditResponseCode", "00", Green },   { "EditResponseCode", "01", Red },     { "EditResponseCode", "07", Red },
            { "EditResponseCode", "08", Yellow },  { "EditResponseCode", "09", Red },     { "EditResponseCode", "0D", Red },
            { "EditResponseCode", "0E", Yellow },  { "EditResponseCode", "0F", Red },     { "EditResponseCode", "17", Red },
            { "EditResponseCode", "18", Yellow },  { "EditResponseCode", "1B", Yellow },  { "EditResponseCode", "1C", Red },
            { "EditResponseCode", "1D", Red },     { "EditResponseCode", "1E", Yellow },  { "EditResponseCode", "1F", Yellow },
            { "EditResponseCode", "20", Red },     { "EditResponseCode", "5F", Red },     { "EditResponseCode", "60", Yellow },
            { "EditResponseCode", "7F", Yellow },  { "EditResponseCode", "80", white },   { "EditResponseCode", "", white },
            { "EditDeviceStatus", "00", Green },   { "EditDeviceStatus", "20", Yellow },  { "EditDeviceStatus", "40", Yellow },
            { "EditDeviceStatus", "01", Orange },  { "EditDeviceStatus", "02", Orange },  { "EditDeviceStatus", "04", Orange },
            { "EditDeviceStatus", "08", Orange },  { "EditDeviceStatus", "61", Orange },  { "EditDeviceStatus", "10", Red },
            { "EditDeviceStatus", "80", Red },     { "EditDeviceStatus", "7F", Red },     { "EditDeviceStatus", "", white },
        };
        QVERIFY(WhileOpen([&] {
            for (const auto& row : rows) {
                Field(row.field)->setText(QString::fromLatin1(row.text));
                const QColor painted = PaintedBackground(Field(row.field));
                QVERIFY2(painted == row.color, qPrintable(QStringLiteral("%1 %2: %3").arg(row.field, row.text, painted.name())));
            }
        }));
    }

    // A device reporting a communication error is asked again; the error is
    // shown and the answer fields keep the last answer. No answer can carry
    // response code 82, which would paint the field white.
    void communicationErrorKeepsTheLastAnswer()
    {
        QVERIFY(WhileOpen([&] {
            program->Type(Field("EditCommand"), QStringLiteral("33"));
            TypeData(QStringLiteral("02"));
            QCOMPARE(Send(), QStringList());
            const QString lastAnswer = Memo("MemoAnswerData")->toPlainText();

            Bus().AddFault(TSimFault(Kind::CommunicationError).OnCommand(33).WithValue(0x82));
            QCOMPARE(Send({ Answer(QMessageBox::Ok) }),
                     QStringList { "The following communication error(s) occurred:\n  0x02 Buffer Overflow" });
            QCOMPARE(Memo("MemoAnswerData")->toPlainText(), lastAnswer);
            QCOMPARE(Field("EditResponseCode")->text(), QStringLiteral("00"));

            Field("EditResponseCode")->setText(QStringLiteral("82"));
            QCOMPARE(PaintedBackground(Field("EditResponseCode")), QColor(Qt::white));
        }));
        Bus().ClearFaults();
    }

    // Answer bytes selected with the keyboard, read as a float and as an
    // unsigned integer.
    void selectionInterpreted_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("asFloat");
        QTest::addColumn<QString>("asInteger");
        // The memo reads "02 20 40 49 0F DB ".
        QTest::newRow("four bytes") << 6 << 11 << Local("3.142") << "1078530011";
        QTest::newRow("with the blank after") << 6 << 12 << "Error" << "Error";
        QTest::newRow("two bytes") << 6 << 5 << "Error" << "16457";
        QTest::newRow("five bytes") << 3 << 14 << "Error" << "Error";
    }
    void selectionInterpreted()
    {
        QFETCH(int, from);
        QFETCH(int, length);
        QFETCH(QString, asFloat);
        QFETCH(QString, asInteger);
        QVERIFY(WhileOpen([&] {
            program->Type(Field("EditCommand"), QStringLiteral("33"));
            TypeData(QStringLiteral("02"));
            QCOMPARE(Send(), QStringList());
            QPlainTextEdit* memo = Memo("MemoAnswerData");
            QCOMPARE(memo->toPlainText(), QStringLiteral("02 20 40 49 0F DB "));
            memo->setFocus();
            QTest::keyClick(memo, Qt::Key_Home);
            for (int i = 0; i < from; ++i)
                QTest::keyClick(memo, Qt::Key_Right);
            for (int i = 0; i < length; ++i)
                QTest::keyClick(memo, Qt::Key_Right, Qt::ShiftModifier);
            QCOMPARE(Field("EditIEEE754")->text(), asFloat);
            QCOMPARE(Field("EditUnsignedInt")->text(), asInteger);
        }));
    }

    // The helpers append four bytes to the data memo's first line.
    void numbersAsBytes_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("error");
        QTest::newRow("IEEE 754 1.5") << "ButtonGetIEEE754" << Local("1.5") << "21 3F C0 00 00 " << "";
        QTest::newRow("IEEE 754 no number") << "ButtonGetIEEE754" << "x" << "21 " << "'x' is not a valid floating point value";
        QTest::newRow("unsigned 258") << "ButtonGetUnsignedInt" << "258" << "21 00 00 01 02 " << "";
        QTest::newRow("unsigned -1") << "ButtonGetUnsignedInt" << "-1" << "21 " << "Input less than 0.";
    }
    void numbersAsBytes()
    {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, memo);
        QFETCH(QString, error);
        QVERIFY(WhileOpen([&] {
            TypeData(QStringLiteral("21 "));
            DialogScript boxes({ Enter(typed), Answer(QMessageBox::Ok) });
            boxes.Ignore(&Window());
            QTest::mouseClick(Button(qPrintable(button)), Qt::LeftButton);
            QCOMPARE(Memo("MemoData")->toPlainText(), memo);
            QCOMPARE(boxes.Texts.mid(1), error.isEmpty() ? QStringList() : QStringList { error });
        }));
    }

    // Enter sends from the command edit and is swallowed by the data memo;
    // Send is refused while a job runs; the window stands where it was left
    // and hides the device status window when it opens, which a double
    // click on the device status brings back.
    void keysJobsAndPlace()
    {
        program->rig.Program().FormDeviceStatus().show();
        QPoint placeLeft;
        QVERIFY(WhileOpen([&] {
            QVERIFY(!program->rig.Program().FormDeviceStatus().isVisible());
            QTest::mouseDClick(Field("EditDeviceStatus"), Qt::LeftButton);
            QVERIFY(program->rig.Program().FormDeviceStatus().isVisible());
            QVERIFY(FocusIn(&Window()));
            QTest::mouseClick(Field("EditCommand"), Qt::LeftButton);
            QCOMPARE(QApplication::focusWidget(), Field("EditCommand"));
            TypeText(QStringLiteral("0"));
            QTest::mouseClick(Memo("MemoData")->viewport(), Qt::LeftButton);
            QCOMPARE(QApplication::focusWidget(), Memo("MemoData"));
            TypeText(QStringLiteral("01"));
            PressKey(Qt::Key_Return);
            QCOMPARE(Memo("MemoData")->toPlainText(), QStringLiteral("01"));

            Bus().AddFault(TSimFault(Kind::Delay).OnCommand(0).WithValue(600));
            Bus().ClearLog();
            DialogScript busy({ Answer(QMessageBox::Ok) });
            busy.Ignore(&Window());
            QTest::mouseClick(Field("EditCommand"), Qt::LeftButton);
            PressKey(Qt::Key_Return);
            QTest::mouseClick(Button("ButtonSend"), Qt::LeftButton);
            QCOMPARE(busy.Texts, QStringList { "Thread not ready." });
            QVERIFY(program->rig.WaitUntilIdle());
            QCOMPARE(Commands(Bus()), QList<int> { 0 });
            Window().move(Window().pos() + QPoint(40, 30));
            placeLeft = Window().geometry().topLeft();
        }));
        Bus().ClearFaults();
        QCOMPARE(program->rig.Stored("Forms", "FormDirectCommand.Left"), QString::number(placeLeft.x()));
        QCOMPARE(program->rig.Stored("Forms", "FormDirectCommand.Top"), QString::number(placeLeft.y()));
        QVERIFY(WhileOpen([&] { QCOMPARE(Window().geometry().topLeft(), placeLeft); }));
    }

    // Nothing is kept while the trace is off; once on, every request and
    // answer shows in the console and goes into the capture, which tshark
    // decodes frame by frame as sent and received.
    void traceSavedAsCapture()
    {
        const qint64 testStarted = QDateTime::currentMSecsSinceEpoch();
        QAction* traceOn = program->rig.C().MenuFrameTrace;
        QVERIFY(program->rig.C().MenuService->menuAction()->isVisible());
        DialogScript nothingYet({ Answer(QMessageBox::Ok) });
        program->rig.C().MenuSaveTraceAs->trigger();
        QCOMPARE(nothingYet.Texts, QStringList { "No frames have been traced yet.\n\nTurn on Service > Frame Trace first." });

        traceOn->trigger();
        TDebugConsole& console = program->rig.Main().FrameTrace().Console();
        QVERIFY(console.Enabled());
        auto* consoleWindow = qobject_cast<QPlainTextEdit*>(ShownWindow(QStringLiteral("HART Frame Trace")));
        QVERIFY(consoleWindow);
        const auto sink = console.Sink();
        for (int line = 0; line < 200; ++line)
            sink(QStringLiteral("earlier line %1\r\n").arg(line));
        QTRY_VERIFY(TopLineShown(consoleWindow) > 150);
        Bus().ClearLog();
        QVERIFY(WhileOpen([&] {
            // The console stays usable beside the window: it scrolls.
            QTest::keyClick(consoleWindow->windowHandle(), Qt::Key_Home);
            QCOMPARE(TopLineShown(consoleWindow), 0);
            QTest::keyClick(consoleWindow->windowHandle(), Qt::Key_End);
            program->Type(Field("EditCommand"), QStringLiteral("33"));
            TypeData(QStringLiteral("02"));
            QCOMPARE(Send(), QStringList());
        }));
        QVERIFY(program->ClickAndWait(program->rig.C().ButtonRefresh));
        QTRY_VERIFY(console.Text().contains(QLatin1String("############################ Tx Length: 15\nFF FF FF FF FF 82 A3 0A 12 34 56 21 01 02 ")));

        const QString path = QDir(program->rig.Folder()).filePath(QStringLiteral("session.pcap"));
        DialogScript save({ ChooseFile(path) });
        program->rig.C().MenuSaveTraceAs->trigger();
        QVERIFY(QFileInfo::exists(path));

        // Without preambles the frame starts with the delimiter, and the
        // probe cannot hear it.
        QVERIFY(WhileOpen([&] {
            program->Type(Field("EditCommand"), QStringLiteral("0"));
            TypeData(QString());
            program->Type(Field("EditPreambles"), QStringLiteral("0"));
            QCOMPARE(Send({ Answer(QMessageBox::Ok) }), QStringList { "Timeout: HART device does not respond" });
            program->Type(Field("EditPreambles"), QStringLiteral("5"));
        }));
        QVERIFY(console.Text().endsWith(QLatin1String("############################ Tx Length: 9\n82 A3 0A 12 34 56 00 00 5B \n")));

        // Closing the console turns the trace off.
        consoleWindow->close();
        QVERIFY(!traceOn->isChecked());
        QVERIFY(!console.Enabled());

        const QString tshark = QStandardPaths::findExecutable(QStringLiteral("tshark"));
        if (tshark.isEmpty())
            QSKIP("tshark is not installed: the capture cannot be decoded here");
        QProcess decode;
        decode.start(tshark, { "-r", path, "-T", "fields", "-E", "separator=,", "-e", "frame.time_epoch",
                               "-e", "hart_ip.message_type", "-e", "hart_ip.pt.command", "-e", "hart_ip.pt.length" });
        QVERIFY(decode.waitForFinished(60000));
        QCOMPARE(decode.exitCode(), 0);

        QStringList expected;
        for (const TSimExchange& exchange : Bus().Log()) {
            expected << QStringLiteral("0,%1,%2").arg(exchange.Command).arg(exchange.Data.size());
            if (exchange.Answered) {
                const auto [command, byteCount] = CommandAndByteCount(exchange.Answer);
                expected << QStringLiteral("1,%1,%2").arg(command).arg(byteCount);
            }
        }
        QVERIFY(expected.size() > 10);
        QStringList decoded;
        double previousTime = double(testStarted) / 1000;
        for (const QString& line : QString::fromLatin1(decode.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            // Each frame at the time it crossed the line, in order.
            const double time = line.section(QLatin1Char(','), 0, 0).toDouble();
            QVERIFY2(time >= previousTime && time <= QDateTime::currentMSecsSinceEpoch() / 1000.0, qPrintable(line));
            previousTime = time;
            decoded << line.section(QLatin1Char(','), 1);
        }
        QCOMPARE(decoded, expected);
    }
};

QTEST_MAIN(TestDirectCommand)
#include "test_direct_command.moc"
