// The device thread and its synchronized operations, with a stand-in window.
#include "HexBytes.h"
#include "PtyPair.h"
#include "ScriptedPort.h"
#include "TestDeviceWindow.h"

#include "link/TComPortNames.h"
#include "link/TSerialPort.h"
#include "worker/TThreadMeridal.h"
#include "worker/UControlColors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QtTest>

#include <atomic>

namespace {

// Device thread over a scripted port, with a stand-in window that records
// what the thread asks of it.
struct Rig
{
    Rig()
    {
        thread = std::make_unique<TThreadMeridal>(
            false,
            [this] {
                auto scripted = std::make_unique<ScriptedPort>();
                port = scripted.get();
                return std::make_unique<TComportHART>(std::move(scripted));
            },
            window, &window, [this](TThreadBasis& sender) -> QDialog* {
                errors.append(sender.LastExceptionMessage());
                return nullptr;
            });
    }

    // Runs a job and waits until the thread is idle again.
    void Run(TThreadMeridal::Job job)
    {
        QVERIFY(thread->StartJob(std::move(job)));
        QTRY_VERIFY_WITH_TIMEOUT(thread->Suspended(), 20000);
    }

    TestDeviceWindow window;
    ScriptedPort* port = nullptr;
    std::unique_ptr<TThreadMeridal> thread;
    QStringList errors;
};

const QStringList OnePass = { QStringLiteral("LockUI"), QStringLiteral("UnlockUI device=0 refresh=1") };

// Answers the next message box that opens with the given button.
void AnswerNextMessageBox(QMessageBox::StandardButton button)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, button] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            box->button(button)->click();
        }
    });
    poll->start(10);
}

} // namespace

class TestDeviceThread : public QObject
{
    Q_OBJECT

private slots:
    void startsParked()
    {
        Rig rig;
        QVERIFY(rig.thread->Suspended());
        QVERIFY(rig.window.Calls.isEmpty());
        QCOMPARE(rig.window.lifeListRow, 255);
        QVERIFY(rig.port->IsOpen());
    }

    void jobRunsOncePerResume()
    {
        Rig rig;
        std::atomic<int> runs { 0 };
        rig.Run([&runs] { ++runs; });
        QCOMPARE(runs.load(), 1);
        QCOMPARE(rig.window.statusPanel->text(), QString("Thread started"));
        QCOMPARE(rig.window.Calls, OnePass);

        rig.window.Calls.clear();
        rig.thread->Resume();                      // no job stored: an empty pass
        QTRY_VERIFY(rig.thread->Suspended());
        QCOMPARE(runs.load(), 1);
        QCOMPARE(rig.window.Calls, OnePass);
    }

    void busyThreadRefusesAnotherJob()
    {
        Rig rig;
        std::atomic<bool> release { false };
        std::atomic<int> second { 0 };
        QVERIFY(rig.thread->StartJob([&release] { while (!release) QThread::msleep(5); }));
        QVERIFY(!rig.thread->Suspended());
        QVERIFY(!rig.thread->StartJob([&second] { ++second; }));
        release = true;
        QTRY_VERIFY(rig.thread->Suspended());
        QCOMPARE(second.load(), 0);
    }

    void failedJobIsReportedAndUnlocked()
    {
        Rig rig;
        rig.Run([] { throw Exception(QStringLiteral("Final Assembly No. is less than 0")); });
        QCOMPARE(rig.errors, QStringList { "Final Assembly No. is less than 0" });
        QCOMPARE(rig.window.statusPanel->text(), QString("Exception arose"));
        QCOMPARE(rig.window.Calls, OnePass);
    }

    void abortAndTerminateShowNothing()
    {
        Rig rig;
        rig.Run([&rig] {
            rig.thread->Abort();
            rig.thread->CheckAborted();
        });
        QVERIFY(rig.errors.isEmpty());
        QCOMPARE(rig.window.statusPanel->text(), QString("Thread started"));
        QCOMPARE(rig.window.Calls, OnePass);

        // The pass cleared the request: the next job runs through.
        std::atomic<bool> ranThrough { false };
        rig.Run([&] {
            rig.thread->CheckAborted();
            ranThrough = true;
        });
        QVERIFY(ranThrough);

        rig.window.Calls.clear();
        rig.Run([] { throw ETerminateException(QStringLiteral("Thread is terminiated.")); });
        QVERIFY(rig.errors.isEmpty());
        QCOMPARE(rig.window.Calls, QStringList { "LockUI" });
    }

    // A job that failed after its stop was requested never met the check that
    // clears the request: the next job starts without it.
    void stopOfAFailedJobDoesNotReachTheNext()
    {
        Rig rig;
        rig.Run([&rig] {
            rig.thread->Abort();
            throw Exception(QStringLiteral("Timeout: HART device does not respond"));
        });
        std::atomic<bool> stopRequested { true };
        rig.Run([&] { stopRequested = rig.thread->Aborted(); });
        QVERIFY(!stopRequested);
    }

    void failureOnTheGuiSideFailsTheJob()
    {
        Rig rig;
        rig.window.OnAccept = [](QObject*) { throw Exception(QStringLiteral("control refused")); };
        std::atomic<bool> afterAccept { false };
        rig.Run([&] {
            rig.thread->SyncAcceptValue(rig.window.editTag);
            afterAccept = true;
        });
        QVERIFY(!afterAccept);
        QCOMPARE(rig.errors, QStringList { "control refused" });
    }

    void gettersReturnWhatTheWindowShows()
    {
        Rig rig;
        rig.window.editTag->setText(QStringLiteral("TAG1"));
        rig.window.comboPollingAddress->setCurrentIndex(7);
        rig.window.checkLoopCurrentMode->setChecked(true);
        rig.window.groupDV0->hide();
        rig.window.memo->setPlainText(QStringLiteral("01 02"));
        QString tag, comboText, memoText;
        int index = -2;
        bool checked = false, groupVisible = true, tagVisible = false;
        rig.Run([&] {
            tag = rig.thread->SyncGetText(rig.window.editTag);
            comboText = rig.thread->SyncGetComboText(rig.window.comboPollingAddress);
            index = rig.thread->SyncGetItemIndex(rig.window.comboPollingAddress);
            checked = rig.thread->SyncGetChecked(rig.window.checkLoopCurrentMode);
            groupVisible = rig.thread->SyncGetVisible(rig.window.groupDV0);
            tagVisible = rig.thread->SyncGetVisible(rig.window.editTag);
            memoText = rig.thread->SyncGetText(rig.window.memo);
        });
        QCOMPARE(tag, QString("TAG1"));
        QCOMPARE(comboText, QString("7"));
        QCOMPARE(index, 7);
        QVERIFY(checked);
        QVERIFY(!groupVisible);
        QVERIFY(tagVisible);             // its own flag, though the window is not shown
        QCOMPARE(memoText, QString("01 02"));
    }

    void gettersOfOtherKindsKeepTheirLastResult()
    {
        Rig rig;
        bool first = false, fromCombo = false;
        rig.Run([&] {
            first = rig.thread->SyncGetVisible(rig.window.editTag);
            fromCombo = rig.thread->SyncGetVisible(rig.window.comboPollingAddress);
        });
        QVERIFY(first);
        QVERIFY(fromCombo);
        rig.window.editTag->hide();
        rig.Run([&] {
            first = rig.thread->SyncGetVisible(rig.window.editTag);
            fromCombo = rig.thread->SyncGetVisible(rig.window.comboPollingAddress);
        });
        QVERIFY(!first);
        QVERIFY(!fromCombo);
    }

    void settersChangeTheWindow()
    {
        Rig rig;
        rig.Run([&] {
            rig.thread->SyncSetText(rig.window.editTag, QStringLiteral("LEVEL"));
            rig.thread->SyncAppendText(rig.window.editTag, QStringLiteral("-2"));
            rig.thread->SyncSetEditText(rig.window.memo, QStringLiteral("FF"));
            rig.thread->SyncSetCaption(rig.window.groupDV0, QStringLiteral(" Float 1 - Device Variable 0 "));
            rig.thread->SyncSetHint(rig.window.editTag, QStringLiteral("Maximum: 1\rMinimum: 0"));
            rig.thread->SyncSetItemIndexAccepted(rig.window.comboPollingAddress, 20);
            rig.thread->SyncSetCheckedAccepted(rig.window.checkLoopCurrentMode, true);
            rig.thread->SyncSetProgress(rig.window.progressQuality, 50);
            rig.thread->SyncSetVisible(rig.window.groupDV0, false);
            rig.thread->SyncSetVisible(rig.window.tabDiagnostics, false);
        });
        QCOMPARE(rig.window.editTag->text(), QString("LEVEL-2"));
        QCOMPARE(rig.window.memo->toPlainText(), QString("FF"));
        QCOMPARE(rig.window.groupDV0->title(), QString(" Float 1 - Device Variable 0 "));
        QCOMPARE(rig.window.editTag->toolTip(), QString("Maximum: 1\nMinimum: 0"));
        QCOMPARE(rig.window.comboPollingAddress->currentIndex(), -1);   // no item 20
        QVERIFY(rig.window.checkLoopCurrentMode->isChecked());
        QCOMPARE(rig.window.progressQuality->value(), 50);
        QVERIFY(rig.window.groupDV0->isHidden());
        QVERIFY(!rig.window.pageControl->isTabVisible(1));
        QCOMPARE(rig.window.Calls.mid(1, 2), (QStringList { "Accept ComboBoxPollingAddress", "Accept CheckBoxLoopCurrentMode" }));
    }

    void colours()
    {
        Rig rig;
        rig.Run([&] {
            rig.thread->SyncSetColor(rig.window.labelUnplugWarning, Qt::red, true);
            rig.thread->SyncSetColor(rig.window.statusPanel, Qt::green, false);
            rig.thread->SyncSetColor(rig.window.editTag, ModifiedColor, true);
        });
        QCOMPARE(rig.window.labelUnplugWarning->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(rig.window.labelUnplugWarning->palette().color(QPalette::Window) != QColor(Qt::red));
        QCOMPARE(ControlColor(rig.window.statusPanel), QColor(Qt::green));
        QCOMPARE(ControlColor(rig.window.editTag), ModifiedColor);   // edits take the background

        bool tagModified = false, checkModified = true;
        rig.Run([&] {
            tagModified = rig.thread->SyncIsModified(rig.window.editTag);
            checkModified = rig.thread->SyncIsModified(rig.window.checkLoopCurrentMode);
        });
        QVERIFY(tagModified);
        QVERIFY(!checkModified);
    }

    void enablingTimersAndTabPages()
    {
        Rig rig;
        rig.Run([&] {
            rig.thread->SyncSetEnabled(rig.window.timerDiagnostics, true);
            rig.thread->SyncSetEnabled(rig.window.tabDiagnostics, false);
        });
        QVERIFY(rig.window.timerDiagnostics->isActive());
        QVERIFY(!rig.window.tabDiagnostics->isEnabled());
        QVERIFY(rig.window.pageControl->isTabEnabled(1));   // still selectable
        rig.Run([&] { rig.thread->SyncSetEnabled(rig.window.timerDiagnostics, false); });
        QVERIFY(!rig.window.timerDiagnostics->isActive());
    }

    void selectComboItem()
    {
        Rig rig;
        QComboBox* combo = rig.window.dynSV;
        combo->addItems({ "DV0", "DV1", "DV1", "Not Used" });
        combo->setCurrentIndex(3);
        rig.Run([&] { rig.thread->SyncSelectComboItem(combo, QStringLiteral("DV7")); });
        QCOMPARE(combo->currentIndex(), 3);                 // no such item: unchanged
        rig.Run([&] { rig.thread->SyncSelectComboItem(combo, QStringLiteral("dv1")); });
        QCOMPARE(combo->currentIndex(), 3);                 // letter case counts
        rig.Run([&] { rig.thread->SyncSelectComboItem(combo, QStringLiteral("DV1")); });
        QCOMPARE(combo->currentIndex(), 1);                 // the first of two equal items
        combo->clear();
        rig.Run([&] { rig.thread->SyncSelectComboItem(combo, QStringLiteral("DV1")); });
        QCOMPARE(combo->currentIndex(), -1);
        QVERIFY(rig.errors.isEmpty());
    }

    void dynamicVariableChoices()
    {
        Rig rig;
        rig.Run([&] {
            for (const char* name : { "DV0", "DV1", "DV0", "Not Used" })
                rig.thread->AddDynamicVariableChoice(QString::fromLatin1(name));
        });
        auto items = [](QComboBox* combo) {
            QStringList texts;
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
            return texts;
        };
        QCOMPARE(items(rig.window.dynPV), (QStringList { "DV0", "DV1" }));
        QCOMPARE(items(rig.window.dynSV), (QStringList { "DV0", "DV1", "Not Used" }));
        QCOMPARE(items(rig.window.dynQV), (QStringList { "DV0", "DV1", "Not Used" }));
    }

    void questions()
    {
        Rig rig;
        int yes = 0, no = 0;
        AnswerNextMessageBox(QMessageBox::Yes);
        rig.Run([&] { yes = rig.thread->AskContinue(QStringLiteral("Analog signaling will be disabled")); });
        AnswerNextMessageBox(QMessageBox::No);
        rig.Run([&] { no = rig.thread->SyncAskYesNo(QStringLiteral("Really?")); });
        QCOMPARE(yes, 6);
        QCOMPARE(no, 7);
    }

    void shutdownCancelsAnOpenQuestion()
    {
        Rig rig;
        int answer = 0;
        QVERIFY(rig.thread->StartJob([&] {
            answer = rig.thread->SyncAskYesNo(QStringLiteral("Really?"));
            rig.thread->CheckTerminated();
        }));
        QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
        // The window closes while the question is open, as when the program
        // is ended from code: the shutdown must not wait for the question.
        bool shutDown = false;
        QTimer::singleShot(0, [&] {
            rig.thread->Shutdown();
            shutDown = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(shutDown, 20000);
        QVERIFY(rig.thread->isFinished());
        QCOMPARE(answer, 7);
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }

    void zeroRetryAnswers()
    {
        Rig rig;
        rig.window.ZeroRetryAnswers = { 100, 101, 2 };
        QList<int> results;
        rig.Run([&] {
            for (int i = 0; i < 3; ++i)
                results.append(rig.thread->AskZeroRetry(QStringLiteral("No supported HART device found on address 0! ")));
        });
        QCOMPARE(results, (QList<int> { 1, 2, 0 }));
        QCOMPARE(rig.window.ZeroRetryQuestions.size(), 3);
    }

    void responseLog()
    {
        Rig rig;
        bool before = true, after = false, other = true;
        rig.Run([&] {
            before = rig.thread->ResponseLogContains(QStringLiteral("In Write Protect Mode"));
            rig.thread->AddResponseLogLine(QStringLiteral("Cmd: 18: Write Tag/Descriptor/Date -> Code 7: In Write Protect Mode"));
            after = rig.thread->ResponseLogContains(QStringLiteral("In Write Protect Mode"));
            other = rig.thread->ResponseLogContains(QStringLiteral("in write protect mode"));
        });
        QVERIFY(!before);
        QVERIFY(after);
        QVERIFY(!other);
    }

    void unplugWarningStaysUntil14sAfterTheLastWrite()
    {
        Rig rig;
        QTimer& timer = rig.thread->UnplugTimer();
        rig.Run([&] { rig.thread->HandleWriteCommand(nullptr); });
        QVERIFY(!rig.window.labelUnplugWarning->isHidden());
        QVERIFY(timer.isActive());
        QCOMPARE(timer.interval(), 14000);

        QTest::qWait(500);
        const int remainingBefore = timer.remainingTime();
        rig.Run([&] { rig.thread->HandleWriteCommand(nullptr); });
        QVERIFY2(timer.remainingTime() > remainingBefore,      // a second write starts the 14 s again
                 qPrintable(QStringLiteral("%1 -> %2").arg(remainingBefore).arg(timer.remainingTime())));

        rig.thread->UnplugTimerTimer();                       // the timer's expiry
        QVERIFY(rig.window.labelUnplugWarning->isHidden());
        QVERIFY(!timer.isActive());
    }

    void comNumberIsStoredOnceIdentified()
    {
        Rig rig;
        rig.Run([] {});
        QVERIFY(rig.window.Settings.isEmpty());
        rig.Run([&] { rig.thread->Identified = true; });
        QCOMPARE(rig.window.Settings, QStringList { "Settings/COM=1" });
        rig.Run([] { throw Exception(QStringLiteral("later failure")); });
        QCOMPARE(rig.window.Settings.size(), 2);              // also after a failed job
    }

    void changeComPortReopens()
    {
        Rig rig;
        rig.thread->ChangeComPort(7);
        QCOMPARE(rig.port->PortNumber(), 7);
        QCOMPARE(rig.port->CloseCount, 1);
        QCOMPARE(rig.port->OpenCount, 2);
        QVERIFY(rig.port->IsOpen());
    }

    void synchronizedCallsAfterTerminateDoNothing()
    {
        Rig rig;
        rig.thread->Terminate();
        rig.thread->SyncSetText(rig.window.editTag, QStringLiteral("changed"));
        QCOMPARE(rig.window.editTag->text(), QString());
        QCOMPARE(rig.thread->SyncAskYesNo(QStringLiteral("shown during shutdown?")), 7);
        QVERIFY_THROWS_EXCEPTION(ETerminateException, rig.thread->CheckTerminated());
    }

    void shutdownEndsAJobWaitingForTheDevice()
    {
        Rig rig;
        std::atomic<int> transactions { 0 };
        rig.port->QueueSilence();
        QVERIFY(rig.thread->StartJob([&] {
            rig.thread->Device->DeviceID = 1;
            rig.thread->Device->BuildLongAddress();
            for (;;) {
                rig.thread->CheckTerminated();
                THARTFrame answer;
                try {
                    rig.thread->Device->SendRequest(rig.thread->Device->BuildLongFrame(Hex("00 00")), 60000, answer);
                } catch (const ETimeoutException&) {
                }
                ++transactions;
            }
        }));
        QTRY_COMPARE(rig.port->Written.size(), 1);          // waiting for an answer now
        rig.thread->Shutdown();
        QVERIFY(rig.thread->isFinished());
        QVERIFY(!rig.thread->Device);
        QCOMPARE(transactions.load(), 0);
        QVERIFY(rig.errors.isEmpty());
    }

    void shutdownServesAJobThatTalksToTheWindow()
    {
        Rig rig;
        QVERIFY(rig.thread->StartJob([&] {
            for (;;) {
                rig.thread->CheckTerminated();
                rig.thread->SetStatusText(QStringLiteral("Read Device Variables"));
                rig.thread->SyncGetText(rig.window.editTag);
            }
        }));
        QTRY_COMPARE(rig.window.statusPanel->text(), QString("Read Device Variables"));
        rig.thread->Shutdown();
        QVERIFY(rig.thread->isFinished());
        QVERIFY(rig.errors.isEmpty());
    }

    void closingDuringAPollingSearchOfASilentBus()
    {
        PtyPair pty(QDir::temp().filePath(QStringLiteral("meridal-test-silent-%1").arg(QCoreApplication::applicationPid())));
        TComPortNames::SetOverride(41, pty.LinkPath());
        TestDeviceWindow window;
        window.ZeroRetryAnswers = { 101 };                  // "Scan 1 - 15"
        QStringList errors;
        auto thread = std::make_unique<TThreadMeridal>(false, 41, window, &window,
                                                       [&errors](TThreadBasis& sender) -> QDialog* {
                                                           errors << sender.LastExceptionMessage();
                                                           return nullptr;
                                                       });
        TThreadMeridal* device = thread.get();
        QVERIFY(thread->StartJob([device] { device->Device->SearchDevice(device); }));
        QTRY_VERIFY_WITH_TIMEOUT(window.statusPanel->text().contains(QStringLiteral("(Polling Address 1)")), 20000);

        thread->Shutdown();
        QVERIFY(thread->isFinished());
        QVERIFY(!thread->Device);
        QVERIFY(errors.isEmpty());                           // the search ended silently
        TSerialPort again(41, 1200, QSerialPort::OddParity);
        again.Open();                                        // the port was released
    }

    void portBusyAtStart()
    {
        PtyPair pty(QDir::temp().filePath(QStringLiteral("meridal-test-busy-%1").arg(QCoreApplication::applicationPid())));
        TComPortNames::SetOverride(40, pty.LinkPath());
        TSerialPort holder(40, 1200, QSerialPort::OddParity);
        holder.Open();

        TestDeviceWindow window;
        int attempts = 0;
        const auto createDevice = [&attempts] {
            ++attempts;
            return std::make_unique<TComportHART>(40);
        };
        QVERIFY_THROWS_EXCEPTION(EAlreadyOpen, TThreadMeridal(false, createDevice, window, &window, {}));
        QCOMPARE(attempts, 4);

        holder.Close();
        TThreadMeridal thread(false, createDevice, window, &window, {});
        QVERIFY(thread.Device->AComPort().IsOpen());
    }
};

QTEST_MAIN(TestDeviceThread)
#include "test_device_thread.moc"
