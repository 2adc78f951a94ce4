// The multidrop life list as a technician uses it on the real windows against
// a simulated bus: scanning the sixteen polling addresses, stopping,
// refreshing the devices found, and picking the probe the main window then
// works with. What the list shows is read from its cells and its painted
// pixels, what went over the bus from the simulator's log.
#include "DialogScript.h"
#include "LifeListRig.h"
#include "UserInput.h"
#include "WindowChecks.h"
#include "support/LocalNumber.h"

#include "ui/TFormMultidropLifeList.h"
#include "worker/TThreadMeridal.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

Q_DECLARE_METATYPE(QList<TSimDeviceState>)
Q_DECLARE_METATYPE(QList<TSimFault>)

namespace {

using Kind = TSimFault::TKind;
using Rows = QMap<int, QStringList>;

const QColor Yellow(255, 255, 0);
const QStringList EmptyRow(7);

// The seven cells of a row after the address.
QStringList RowTexts(LifeListRig& list, int address)
{
    QStringList texts;
    for (int column = LifeListRig::Tag; column <= LifeListRig::PercentOfRange; ++column)
        texts << list.Cell(address, column);
    return texts;
}

// The colour painted near the top left corner of a cell.
QColor PaintedAt(LifeListRig& list, int address, int column)
{
    const QRect cell = list.Grid()->visualRect(list.Grid()->model()->index(address, column));
    return list.Grid()->viewport()->grab().toImage().pixelColor(cell.topLeft() + QPoint(2, 2));
}

int SelectedRow(LifeListRig& list)
{
    const QModelIndexList rows = list.Grid()->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void Click(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// The polling addresses of the command-0 requests in the log.
QList<int> Polled(TSimBus& bus)
{
    QList<int> addresses;
    for (const TSimExchange& exchange : bus.Log()) {
        if (!exchange.LongFrame && exchange.Command == 0)
            addresses << (quint8(exchange.Request.at(exchange.Request.indexOf(char(0x02)) + 1)) & 0x3F);
    }
    return addresses;
}

QList<int> Commands(TSimBus& bus)
{
    QList<int> commands;
    for (const TSimExchange& exchange : bus.Log())
        commands << exchange.Command;
    return commands;
}

TSimDeviceState Tivern(int address, int universalRevision = 5)
{
    return LifeListRig::At(TSimDeviceState::Tivern(universalRevision), address, 0x000100 + address);
}

// A new probe that holds no valid date.
TSimDeviceState Undated(int address)
{
    TSimDeviceState probe = Tivern(address);
    probe.Configuration.Date = QDate();
    return probe;
}

} // namespace

class TestLifeList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TMeridalProgram::SetUpApplication();
    }

    void scanShowsEveryAddress_data()
    {
        QTest::addColumn<QList<TSimDeviceState>>("devices");
        QTest::addColumn<QList<TSimFault>>("faults");
        QTest::addColumn<Rows>("rows");          // rows not listed are empty
        QTest::addColumn<int>("hintRow");        // the one row with a status hint
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("deviceID");   // shown by the main window afterwards

        QTest::newRow("one probe at 3")
            << QList<TSimDeviceState> { Tivern(3) } << QList<TSimFault>()
            << Rows { { 3, { "TIVERN  ", "227 (0xE3)", "128 (0x80)", "259", "0x00", Local("1.250") + " meters", Local("41.667") } } } << -1
            << QString() << 3 << "259";

        const QString everyBit = "Cold Start\nConfiguration Changed\nDevice Malfunction\nPrimary Variable Out Of Limits\n"
                                 "Non-Primary Variable Out Of Limits\nLoop Current Fixed\nLoop Current Saturated\n"
                                 "More Status Available";
        QTest::newRow("every kind of device")
            << QList<TSimDeviceState> { LifeListRig::At(TSimDeviceState::Calderos(), 0, 0x0D0E0F),
                                        LifeListRig::At(TSimDeviceState::Foreign(), 2, 0x000102), Tivern(3, 7), Tivern(4),
                                        Tivern(5), Tivern(6), Tivern(7), Undated(8) }
            << QList<TSimFault> { TSimFault(Kind::NoAnswer).OnDevice(4).OnCommand(13),
                                  TSimFault(Kind::NotANumber).OnDevice(5).OnCommand(1).WithValue(1),
                                  TSimFault(Kind::WrongChecksum).OnDevice(6).OnCommand(1),
                                  TSimFault(Kind::DeviceStatus).OnDevice(7).OnCommand(2).WithValue(0xFF) }
            << Rows { { 0, { "CALDEROS", "227 (0xE3)", "129 (0x81)", "855567", "0x00", Local("2.000") + " meters", Local("66.667") } },
                      { 3, { "TIVERN  ", "227 (0xE3)", "58240 (0xE380)", "259", "0x00", Local("1.250") + " meters", Local("41.667") } },
                      { 4, { "", "227 (0xE3)", "128 (0x80)", "260", "0x00", "", "" } },
                      { 5, { "TIVERN  ", "227 (0xE3)", "128 (0x80)", "261", "0x00", "NaN", Local("41.667") } },
                      { 6, { "Inconsistent answer", "", "", "", "", "", "" } },
                      { 7, { "TIVERN  ", "227 (0xE3)", "128 (0x80)", "263", "0xFF", Local("1.250") + " meters", Local("41.667") } },
                      { 8, { "TIVERN  ", "227 (0xE3)", "128 (0x80)", "264", "0x00", Local("1.250") + " meters", Local("41.667") } } }
            << 7 << everyBit << 0 << "855567";
    }

    // The first device found is selected; "Select Device" identifies it and
    // the main window reads its Identification tab.
    void scanShowsEveryAddress()
    {
        QFETCH(QList<TSimDeviceState>, devices);
        QFETCH(QList<TSimFault>, faults);
        QFETCH(Rows, rows);
        QFETCH(int, hintRow);
        QFETCH(QString, hint);
        QFETCH(int, selected);
        QFETCH(QString, deviceID);
        LifeListRig list;
        for (const TSimDeviceState& device : devices)
            list.Bus().AddDevice(device);
        for (const TSimFault& fault : faults)
            list.Bus().AddFault(fault);
        QVERIFY(list.AtStart([&] {
            QVERIFY(list.WaitUntilIdle());
            for (int address = 0; address < 16; ++address) {
                QCOMPARE(RowTexts(list, address), rows.value(address, EmptyRow));
                const QStringList balloon = address == hintRow ? QStringList { "Device Status", hint } : QStringList();
                QCOMPARE(list.HintAt(address, LifeListRig::Status), balloon);
                QCOMPARE(list.HintAt(address, LifeListRig::Tag), QStringList());
            }
            QCOMPARE(SelectedRow(list), selected);
            Click(list.Button("ButtonSelectDevice"));
        }));
        QCOMPARE(list.LifeList().result(), int(QDialog::Accepted));
        QVERIFY(list.rig.WaitUntilIdentified());
        QCOMPARE(list.rig.C().EditDeviceID->text(), deviceID);
    }

    // Stop takes effect once the address being worked on is complete; the
    // rows after it keep what the last scan found, also a device gone since.
    void stopEndsTheScanAfterTheAddressWorkedOn()
    {
        LifeListRig list;
        list.Bus().AddDevice(Tivern(6));
        list.Bus().AddDevice(LifeListRig::At(TSimDeviceState::Calderos(), 9, 0x000109));
        QVERIFY(list.AtStart([&] {
            QVERIFY(list.WaitUntilIdle());
            list.Bus().RemoveDevice(9);
            list.Bus().ClearLog();
            Click(list.Button("ButtonRescan"));
            QVERIFY(list.WaitUntilWorkingOn(6));
            QCOMPARE(PaintedAt(list, 6, LifeListRig::PVValue), Yellow);
            QCOMPARE(PaintedAt(list, 5, LifeListRig::PVValue), list.Grid()->palette().color(QPalette::Base));
            QCOMPARE(list.Button("ButtonRescan")->text(), QString("Stop"));
            QVERIFY(!list.Button("ButtonClose")->isEnabled());
            QVERIFY(!list.Button("ButtonSelectDevice")->isEnabled());
            QVERIFY(FocusIn(&list.LifeList()));
            PressKey(Qt::Key_Escape);
            QVERIFY(list.LifeList().isVisible());

            Click(list.Button("ButtonRescan"));
            QVERIFY(list.WaitUntilIdle(10000));
            QCOMPARE(Polled(list.Bus()), (QList<int> { 0, 1, 2, 3, 4, 5, 6 }));
            QCOMPARE(list.Cell(6, LifeListRig::DeviceID), QString("262"));
            QCOMPARE(list.Cell(9, LifeListRig::Tag), QString("CALDEROS"));
            QVERIFY(PaintedAt(list, 6, LifeListRig::PVValue) != Yellow);
        }));
    }

    // A rescan finds the chosen probe gone: the first device found becomes
    // the selected row. Left without a choice (Escape), the list leaves no
    // device addressed: the tabs stay disabled, so that nothing is written
    // to the last probe scanned while the window shows the one before.
    void rescanWithoutChoiceLeavesNoDeviceAddressed()
    {
        LifeListRig list("[KORVAL]\ndomain=dev\n[Settings]\nNumberOfAttempts=1\n");
        list.Bus().AddDevice(Tivern(2));
        list.Bus().AddDevice(Tivern(5));
        QVERIFY(list.AtStart([&] {
            QVERIFY(list.WaitUntilIdle());
            QCOMPARE(SelectedRow(list), 2);
            Click(list.Button("ButtonSelectDevice"));
        }));
        QVERIFY(list.rig.WaitUntilIdentified());
        QVERIFY(list.rig.C().PageControl->isEnabled());

        list.Bus().RemoveDevice(2);
        list.rig.C().MenuFrameTrace->trigger();
        auto* console = qobject_cast<QPlainTextEdit*>(ShownWindow(QStringLiteral("HART Frame Trace")));
        QVERIFY(console);
        QVERIFY(list.FromMenu([&] {
            Click(list.Button("ButtonRescan"));
            QVERIFY(list.WaitUntilIdle());
            // The trace of the scan can be read beside the list: it scrolls.
            QTRY_VERIFY(TopLineShown(console) > 0);
            QTest::keyClick(console->windowHandle(), Qt::Key_Home);
            QCOMPARE(TopLineShown(console), 0);
            QCOMPARE(list.Cell(2, LifeListRig::DeviceID), QString());
            QCOMPARE(SelectedRow(list), 5);
            QVERIFY(list.Button("ButtonSelectDevice")->isEnabled());
            QVERIFY(FocusIn(&list.LifeList()));
            PressKey(Qt::Key_Escape);
            QVERIFY(!list.LifeList().isVisible());
        }));
        QVERIFY(!list.rig.C().PageControl->isEnabled());
        QVERIFY(!list.rig.C().ButtonSave->isEnabled());

        // A refresh left without a choice leaves no device addressed either.
        QVERIFY(list.FromMenu([&] { Click(list.Button("ButtonSelectDevice")); }));
        QVERIFY(list.rig.WaitUntilIdentified());
        QVERIFY(list.rig.C().PageControl->isEnabled());
        QVERIFY(list.FromMenu([&] {
            Click(list.Button("ButtonRefresh"));
            QVERIFY(list.WaitUntilIdle());
            QVERIFY(FocusIn(&list.LifeList()));
            PressKey(Qt::Key_Escape);
        }));
        QVERIFY(!list.rig.C().PageControl->isEnabled());
    }

    void refreshOfAnEmptyListSendsNothing()
    {
        LifeListRig list;
        QVERIFY(list.AtStart([&] {
            Click(list.Button("ButtonRescan"));                 // "Stop" at address 0
            QVERIFY(list.WaitUntilIdle());
            list.Bus().ClearLog();
            Click(list.Button("ButtonRefresh"));
            QCOMPARE(list.Button("ButtonRefresh")->text(), QString("Stop"));
            QVERIFY(!list.Button("ButtonRescan")->isEnabled());
            QVERIFY(list.WaitUntilIdle());
            QCOMPARE(list.Bus().Log().size(), 0);
        }));
    }

    // A refresh reads tag and values again, not the identity; one that was
    // stopped leaves the next to run to its end. A malformed answer empties
    // the row, and the next refresh passes it over.
    void refreshReadsTheValuesOfTheDevicesFound()
    {
        LifeListRig list;
        list.Bus().AddDevice(Tivern(0));
        list.Bus().AddDevice(Tivern(1));
        QVERIFY(list.AtStart([&] {
            QVERIFY(list.WaitUntilWorkingOn(1));
            Click(list.Button("ButtonRescan"));
            QVERIFY(list.WaitUntilIdle());
            list.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.Variables[0].Value = 2.5; });
            list.Bus().ClearLog();
            Click(list.Button("ButtonRefresh"));
            QVERIFY(list.WaitUntilWorkingOn(0));
            Click(list.Button("ButtonRefresh"));                // "Stop"
            QVERIFY(list.WaitUntilIdle());
            QCOMPARE(Commands(list.Bus()), (QList<int> { 13, 1, 2 }));
            QCOMPARE(RowTexts(list, 0), (QStringList { "TIVERN  ", "227 (0xE3)", "128 (0x80)", "256", "0x00", Local("2.500") + " meters", Local("83.333") }));

            Click(list.Button("ButtonRefresh"));
            QVERIFY(list.WaitUntilWorkingOn(1));
            QCOMPARE(list.Button("ButtonRefresh")->text(), QString("Stop"));
            QVERIFY(list.WaitUntilIdle());

            list.Bus().AddFault(TSimFault(Kind::WrongChecksum).OnDevice(0).OnCommand(1));
            Click(list.Button("ButtonRefresh"));
            QVERIFY(list.WaitUntilIdle());
            QCOMPARE(RowTexts(list, 0), (QStringList { "General Error", "227 (0xE3)", "128 (0x80)", "256", "", "", "" }));
            list.Bus().ClearLog();
            Click(list.Button("ButtonRefresh"));
            QVERIFY(list.WaitUntilIdle());
            QCOMPARE(Commands(list.Bus()), (QList<int> { 13, 1, 2 }));
            QCOMPARE(list.Bus().Log().first().PollingAddress, 1);
        }));
    }

    // No row marks the end of a job that failed: the list is idle all the same.
    void scanEndedByAnErrorLeavesTheListIdle()
    {
        LifeListRig list;
        list.Bus().AddDevice(Tivern(0));
        list.Bus().AddFault(TSimFault(Kind::CommunicationError).OnCommand(13));
        QVERIFY(list.AtStart([&] {
            DialogScript error({ Answer(QMessageBox::Ok) });
            error.Ignore(&list.LifeList());
            QVERIFY(list.WaitUntilIdle());
            QCOMPARE(error.Texts, QStringList { "The following communication error(s) occurred:\n  0x40 Vertical Parity Error\n  0x10 Framing Error" });
            QCOMPARE(list.Cell(0, LifeListRig::ManufacturerID), QString());
        }));
    }

    // The chosen probe is the one every tab reads; the list shows again as it
    // was, without a scan.
    void everyTabReadsTheSelectedDevice()
    {
        LifeListRig list;
        list.Bus().AddDevice(Tivern(0));
        list.Bus().AddDevice(LifeListRig::At(TSimDeviceState::Calderos(), 1, 0x000101));
        QVERIFY(list.AtStart([&] {
            QVERIFY(list.WaitUntilWorkingOn(1));
            Click(list.Button("ButtonRescan"));
            QVERIFY(list.WaitUntilIdle());
            list.Bus().ClearLog();
            // As the platform reports a double click: press, release, double click, release.
            QWidget* viewport = list.Grid()->viewport();
            const QPoint cell = list.Grid()->visualRect(list.Grid()->model()->index(1, LifeListRig::Tag)).center();
            QTest::mouseClick(viewport, Qt::LeftButton, {}, cell);
            QTest::mouseDClick(viewport, Qt::LeftButton, {}, cell);
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, cell);
        }));
        QCOMPARE(list.LifeList().result(), int(QDialog::Accepted));
        QVERIFY(list.rig.WaitUntilIdentified());
        QTabBar* tabs = list.rig.C().PageControl->tabBar();
        for (int page = 1; page < tabs->count(); ++page) {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
            QVERIFY(list.rig.WaitUntilIdle());
        }
        QCOMPARE(list.rig.C().EditDeviceCode->text(), QString("129 (0x81)"));
        QSet<int> answeredBy;
        for (const TSimExchange& exchange : list.Bus().Log())
            answeredBy << exchange.PollingAddress;
        QCOMPARE(answeredBy, QSet<int> { 1 });
        QVERIFY(Commands(list.Bus()).contains(33));              // the Device Variables tab was read

        const int requests = list.Bus().Log().size();
        QVERIFY(list.FromMenu([&] {
            QVERIFY(DeviceThread->Suspended());
            QCOMPARE(list.Bus().Log().size(), requests);
            QCOMPARE(list.Cell(1, LifeListRig::Tag), QString("CALDEROS"));
            Click(list.Button("ButtonClose"));
        }));
        QCOMPARE(list.LifeList().result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestLifeList)
#include "test_life_list.moc"
