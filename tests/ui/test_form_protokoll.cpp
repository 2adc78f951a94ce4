// The response log window.
#include "ui/TFormProtokoll.h"

#include "WindowChecks.h"

#include <QPlainTextEdit>
#include <QtTest>

namespace {

const QString WriteProtectLine = QStringLiteral("Cmd: 18: Write Tag/Descriptor/Date -> Code 7: In Write Protect Mode");

} // namespace

class TestFormProtokoll : public QObject
{
    Q_OBJECT

private slots:
    void aSmallFixedToolWindow()
    {
        TFormProtokoll log;
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        QCOMPARE(log.windowTitle(), QString("Response"));
        QCOMPARE(log.windowType(), Qt::Tool);
        VerifyFixedSize(&log);
        const auto* memo = log.findChild<QPlainTextEdit*>("MemoResponse");
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(memo->geometry(), log.rect());
    }

    void startsEmpty()
    {
        TFormProtokoll log;
        QVERIFY(log.IsEmpty());
        QCOMPARE(log.Lines(), QStringList());
        QVERIFY(!log.Contains("In Write Protect Mode"));
    }

    void addedLinesAreShownInOrder()
    {
        TFormProtokoll log;
        log.AddLine(WriteProtectLine);
        log.AddLine("HART device is in Wrote Protect Mode");
        QVERIFY(!log.IsEmpty());
        QCOMPARE(log.Lines(), QStringList({WriteProtectLine, "HART device is in Wrote Protect Mode"}));
        QCOMPARE(log.findChild<QPlainTextEdit*>("MemoResponse")->toPlainText(),
                 WriteProtectLine + "\nHART device is in Wrote Protect Mode");
    }

    void lineBreaksOfAMessageStartNewLines()
    {
        TFormProtokoll log;
        log.AddLine("No answer.\r\rTimeout");
        QCOMPARE(log.Lines(), QStringList({"No answer.", "", "Timeout"}));
    }

    void containsSearchesEveryLineCaseSensitively()
    {
        TFormProtokoll log;
        log.AddLine("Cmd: 35: Write PV Range -> Code 9: Lower Range Value Too High");
        log.AddLine("Cmd: 130: Change Passcode -> Code 65: Old Passcode Wrong");
        QVERIFY(log.Contains("Passcode Wrong"));
        QVERIFY(log.Contains("Lower Range Value"));
        QVERIFY(!log.Contains("passcode wrong"));
        QVERIFY(!log.Contains("In Write Protect Mode"));
    }

    void clearEmptiesWithoutClosing()
    {
        TFormProtokoll log;
        log.show();
        log.AddLine(WriteProtectLine);
        log.Clear();
        QVERIFY(log.IsEmpty());
        QVERIFY(log.isVisible());
        QVERIFY(!log.Contains("Write"));
    }

    void closingByTheUserEmptiesTheLog()
    {
        TFormProtokoll log;
        log.AddLine(WriteProtectLine);
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        QCloseEvent userClose;
        QApplication::sendEvent(log.windowHandle(), &userClose);
        QVERIFY(!log.isVisible());
        QVERIFY(log.IsEmpty());
    }

    void closingByTheProgramEmptiesTheLog()
    {
        TFormProtokoll log;
        log.AddLine(WriteProtectLine);
        QVERIFY(log.close());
        QVERIFY(log.IsEmpty());
    }

    void hidingKeepsTheLines()
    {
        // A minimised main window hides its tool windows; the log must survive that.
        TFormProtokoll log;
        log.AddLine(WriteProtectLine);
        log.show();
        log.hide();
        QVERIFY(log.Contains("In Write Protect Mode"));
    }

    void showsDirectlyBelowTheMainWindow()
    {
        QWidget mainWindow;
        mainWindow.setGeometry(200, 150, 485, 354);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        TFormProtokoll log(&mainWindow);
        log.AddLine(WriteProtectLine);
        log.ShowBelow(&mainWindow);

        QVERIFY(log.isVisible());
        const QRect mainFrame = mainWindow.frameGeometry();
        QCOMPARE(log.frameGeometry().topLeft(), QPoint(mainFrame.left(), mainFrame.top() + mainFrame.height()));
    }

    void followsTheMainWindow()
    {
        QWidget mainWindow;
        mainWindow.setGeometry(200, 150, 485, 354);
        mainWindow.show();
        TFormProtokoll log(&mainWindow);
        log.ShowBelow(&mainWindow);
        mainWindow.move(40, 60);
        log.PlaceBelow(&mainWindow);

        const QRect mainFrame = mainWindow.frameGeometry();
        QCOMPARE(log.frameGeometry().topLeft(), QPoint(mainFrame.left(), mainFrame.top() + mainFrame.height()));
    }
};

QTEST_MAIN(TestFormProtokoll)
#include "test_form_protokoll.moc"
