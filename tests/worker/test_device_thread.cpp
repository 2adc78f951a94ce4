// The device thread and its synchronized operations, with a stand-in window.
#include "HexBytes.h"
#include "PtyPair.h"
#include "ScriptedPort.h"
#include "TestDeviceWindow.h"

#include "link/TComPortNames.h"
#include "link/TSerialPort.h"
#include "worker/TDeviceView.h"
#include "worker/TThreadMeridal.h"

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
            window, &window);
    }

    TDeviceView& view() { return thread->View(); }

    // Runs a job and waits until the thread is idle again.
    void Run(TThreadMeridal::Job job)
    {
        QVERIFY(thread->StartJob(std::move(job)));
        QTRY_VERIFY_WITH_TIMEOUT(thread->Suspended(), 20000);
    }

    TestDeviceWindow window;
    ScriptedPort* port = nullptr;
    std::unique_ptr<TThreadMeridal> thread;
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
        QCOMPARE(rig.window.Errors, QStringList { "Final Assembly No. is less than 0" });
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
        QVERIFY(rig.window.Errors.isEmpty());
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
        QVERIFY(rig.window.Errors.isEmpty());
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
        rig.window.OnAccept = [](QWidget*) { throw Exception(QStringLiteral("control refused")); };
        std::atomic<bool> afterAccept { false };
        rig.Run([&] {
            rig.view().Accept(TField::EditTag);
            afterAccept = true;
        });
        QVERIFY(!afterAccept);
        QCOMPARE(rig.window.Errors, QStringList { "control refused" });
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
            tag = rig.view().Text(TField::EditTag);
            comboText = rig.view().Text(TField::ComboBoxPollingAddress);
            index = rig.view().ItemIndex(TField::ComboBoxPollingAddress);
            checked = rig.view().Checked(TField::CheckBoxLoopCurrentMode);
            groupVisible = rig.view().Visible(TField::GroupBoxDV0);
            tagVisible = rig.view().Visible(TField::EditTag);
            memoText = rig.view().Text(TField::MemoAnswerData);
        });
        QCOMPARE(tag, QString("TAG1"));
        QCOMPARE(comboText, QString("7"));
        QCOMPARE(index, 7);
        QVERIFY(checked);
        QVERIFY(!groupVisible);
        QVERIFY(tagVisible);             // its own flag, though the window is not shown
        QCOMPARE(memoText, QString("01 02"));
    }

    void callsAFieldsKindDoesNotHaveReadEmpty()
    {
        Rig rig;
        rig.window.editTag->setText(QStringLiteral("TAG1"));
        bool checked = true;
        int index = 0;
        QString groupText = QStringLiteral("?");
        rig.Run([&] {
            checked = rig.view().Checked(TField::EditTag);
            index = rig.view().ItemIndex(TField::EditTag);
            groupText = rig.view().Text(TField::GroupBoxDV0);
            rig.view().SetChecked(TField::EditTag, true);
        });
        QVERIFY(!checked);
        QCOMPARE(index, -1);
        QCOMPARE(groupText, QString());
        QCOMPARE(rig.window.editTag->text(), QString("TAG1"));
        QVERIFY(rig.window.Errors.isEmpty());
    }

    void settersChangeTheWindow()
    {
        Rig rig;
        rig.Run([&] {
            rig.view().SetText(TField::EditTag, QStringLiteral("LEVEL-2"));
            rig.view().SetText(TField::MemoAnswerData, QStringLiteral("FF"));
            rig.view().SetCaption(TField::GroupBoxDV0, QStringLiteral(" Float 1 - Device Variable 0 "));
            rig.view().SetHint(TField::EditTag, QStringLiteral("Maximum: 1\rMinimum: 0"));
            rig.view().SetItemIndex(TField::ComboBoxPollingAddress, 20);
            rig.view().Accept(TField::ComboBoxPollingAddress);
            rig.view().SetChecked(TField::CheckBoxLoopCurrentMode, true);
            rig.view().Accept(TField::CheckBoxLoopCurrentMode);
            rig.view().SetProgress(TField::AdvProgressBarQualityQuotient, 50);
            rig.view().SetVisible(TField::GroupBoxDV0, false);
            rig.view().SetVisible(TField::TabDiagnostics, false);
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

    void modifiedAndDiscarded()
    {
        Rig rig;
        rig.window.editTag->setText(QStringLiteral("4711"));
        rig.window.Modified.insert(rig.window.editTag);
        bool tagModified = false, checkModified = true, afterDiscard = true;
        rig.Run([&] {
            tagModified = rig.view().Modified(TField::EditTag);
            checkModified = rig.view().Modified(TField::CheckBoxLoopCurrentMode);
            rig.view().Discard(TField::EditTag);
            afterDiscard = rig.view().Modified(TField::EditTag);
        });
        QVERIFY(tagModified);
        QVERIFY(!checkModified);
        QVERIFY(!afterDiscard);
        QCOMPARE(rig.window.editTag->text(), QString());
    }

    void enablingTimersAndTabPages()
    {
        Rig rig;
        rig.Run([&] {
            rig.view().SetEnabled(TField::TimerDiagnostics, true);
            rig.view().SetEnabled(TField::TabDiagnostics, false);
        });
        QVERIFY(rig.window.timerDiagnostics->isActive());
        QVERIFY(!rig.window.tabDiagnostics->isEnabled());
        QVERIFY(rig.window.pageControl->isTabEnabled(1));   // still selectable
        rig.Run([&] { rig.view().SetEnabled(TField::TimerDiagnostics, false); });
        QVERIFY(!rig.window.timerDiagnostics->isActive());
    }

    void selectComboItem()
    {
        Rig rig;
        QComboBox* combo = rig.window.dynSV;
        combo->addItems({ "DV0", "DV1", "DV1", "Not Used" });
        combo->setCurrentIndex(3);
        rig.Run([&] { rig.view().SelectItem(TField::ComboBoxDynDevSV, QStringLiteral("DV7")); });
        QCOMPARE(combo->currentIndex(), 3);                 // no such item: unchanged
        rig.Run([&] { rig.view().SelectItem(TField::ComboBoxDynDevSV, QStringLiteral("dv1")); });
        QCOMPARE(combo->currentIndex(), 3);                 // letter case counts
        rig.Run([&] { rig.view().SelectItem(TField::ComboBoxDynDevSV, QStringLiteral("DV1")); });
        QCOMPARE(combo->currentIndex(), 1);                 // the first of two equal items
        combo->clear();
        rig.Run([&] { rig.view().SelectItem(TField::ComboBoxDynDevSV, QStringLiteral("DV1")); });
        QCOMPARE(combo->currentIndex(), -1);
        QVERIFY(rig.window.Errors.isEmpty());
    }

    void dynamicVariableChoices()
    {
        Rig rig;
        rig.Run([&] {
            for (const char* name : { "DV0", "DV1", "DV0", "Not Used" })
                rig.view().AddMappingChoice(QString::fromLatin1(name));
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
        bool yes = false;
        int no = 0;
        AnswerNextMessageBox(QMessageBox::Yes);
        rig.Run([&] { yes = rig.view().AskContinue(QStringLiteral("Analog signaling will be disabled")); });
        AnswerNextMessageBox(QMessageBox::No);
        rig.Run([&] { no = rig.view().Ask({ TQuestion::TKind::YesNo, QStringLiteral("Really?"), QString() }).Result; });
        QVERIFY(yes);
        QCOMPARE(no, 7);
    }

    void shutdownCancelsAnOpenQuestion()
    {
        Rig rig;
        int answer = 0;
        QVERIFY(rig.thread->StartJob([&] {
            answer = rig.view().Ask({ TQuestion::TKind::YesNo, QStringLiteral("Really?"), QString() }).Result;
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

    // A job that asks once the program is ending gets No, and nothing opens.
    void questionAfterTerminateOpensNothing()
    {
        Rig rig;
        std::atomic<bool> started { false };
        std::atomic<bool> terminated { false };
        std::atomic<int> answer { 0 };
        QVERIFY(rig.thread->StartJob([&] {
            started = true;
            while (!terminated)
                QThread::msleep(5);
            answer = rig.view().Ask({ TQuestion::TKind::YesNo, QStringLiteral("Really?"), QString() }).Result;
        }));
        QTRY_VERIFY(started);
        rig.thread->Terminate();
        terminated = true;
        QTRY_COMPARE(answer.load(), 7);
        QVERIFY(!QApplication::activeModalWidget());
        rig.thread->Shutdown();
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
            before = rig.view().ResponseLogContains(QStringLiteral("In Write Protect Mode"));
            rig.view().AddResponseLogLine(QStringLiteral("Cmd: 18: Write Tag/Descriptor/Date -> Code 7: In Write Protect Mode"));
            after = rig.view().ResponseLogContains(QStringLiteral("In Write Protect Mode"));
            other = rig.view().ResponseLogContains(QStringLiteral("in write protect mode"));
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
        rig.view().SetText(TField::EditTag, QStringLiteral("changed"));
        QCOMPARE(rig.window.editTag->text(), QString());
        rig.view().SetEnabled(TField::TabDiagnostics, false);        // the window's controls still come back
        QVERIFY(!rig.window.tabDiagnostics->isEnabled());
        QCOMPARE(rig.view().Ask({ TQuestion::TKind::YesNo, QStringLiteral("shown during shutdown?"), QString() }).Result, 7);
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
        QVERIFY(rig.window.Errors.isEmpty());
    }

    void shutdownServesAJobThatTalksToTheWindow()
    {
        Rig rig;
        QVERIFY(rig.thread->StartJob([&] {
            for (;;) {
                rig.thread->CheckTerminated();
                rig.thread->SetStatusText(QStringLiteral("Read Device Variables"));
                rig.view().Text(TField::EditTag);
            }
        }));
        QTRY_COMPARE(rig.window.statusPanel->text(), QString("Read Device Variables"));
        rig.thread->Shutdown();
        QVERIFY(rig.thread->isFinished());
        QVERIFY(rig.window.Errors.isEmpty());
    }

    void closingDuringAPollingSearchOfASilentBus()
    {
        PtyPair pty(QDir::temp().filePath(QStringLiteral("meridal-test-silent-%1").arg(QCoreApplication::applicationPid())));
        TComPortNames::SetOverride(41, pty.LinkPath());
        TestDeviceWindow window;
        window.ZeroRetryAnswers = { 101 };                  // "Scan 1 - 15"
        auto thread = std::make_unique<TThreadMeridal>(false, 41, window, &window);
        TThreadMeridal* device = thread.get();
        QVERIFY(thread->StartJob([device] { device->Device->SearchDevice(device); }));
        QTRY_VERIFY_WITH_TIMEOUT(window.statusPanel->text().contains(QStringLiteral("(Polling Address 1)")), 20000);

        thread->Shutdown();
        QVERIFY(thread->isFinished());
        QVERIFY(!thread->Device);
        QVERIFY(window.Errors.isEmpty());                    // the search ended silently
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
        QVERIFY_THROWS_EXCEPTION(EAlreadyOpen, TThreadMeridal(false, createDevice, window, &window));
        QCOMPARE(attempts, 4);

        holder.Close();
        TThreadMeridal thread(false, createDevice, window, &window, {});
        QVERIFY(thread.Device->AComPort().IsOpen());
    }
};

QTEST_MAIN(TestDeviceThread)
#include "test_device_thread.moc"
