// The trace console window.
#include "WindowChecks.h"

#include "ui/TDebugConsole.h"

#include <QPlainTextEdit>
#include <QtTest>

#include <thread>

namespace {

QPlainTextEdit* ConsoleWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(w))
            return edit;
    }
    return nullptr;
}

void Write(const std::function<void(const QString&)>& sink, int first, int count)
{
    for (int line = first; line < first + count; ++line)
        sink(QStringLiteral("line %1\r\n").arg(line));
    QCoreApplication::processEvents();
}

} // namespace

class TestDebugConsole : public QObject
{
    Q_OBJECT

private slots:
    void closedUntilEnabled()
    {
        TDebugConsole console;
        console.SetTitle(QStringLiteral("HART trace"));
        QVERIFY(!console.Enabled());
        QCOMPARE(ConsoleWindow(), nullptr);

        console.SetEnabled(true);
        QPlainTextEdit* window = ConsoleWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QString("HART trace"));

        console.SetTitle(QStringLiteral("COM5"));
        QCOMPARE(window->windowTitle(), QString("COM5"));

        console.SetEnabled(false);
        QCOMPARE(ConsoleWindow(), nullptr);
    }

    // Only the user's close reports Closed; one by the program does not.
    void destroyingClosesTheWindow()
    {
        int closedByUser = 0;
        {
            TDebugConsole console;
            connect(&console, &TDebugConsole::Closed, [&] { ++closedByUser; });
            console.SetEnabled(true);
            QVERIFY(ConsoleWindow());
        }
        QCOMPARE(ConsoleWindow(), nullptr);
        QCOMPARE(closedByUser, 0);
    }

    void traceFromAnotherThreadArrivesInOrder()
    {
        TDebugConsole console;
        console.SetEnabled(true);
        auto sink = console.Sink();
        std::thread writer([&sink] {
            sink(QStringLiteral("############################ Tx Length: 2\r\n"));
            sink(QStringLiteral("FF 02 "));
            sink(QStringLiteral("\r\n"));
        });
        writer.join();
        QTRY_COMPARE(console.Text(), QString("############################ Tx Length: 2\nFF 02 \n"));
    }

    // The view follows the frames while it shows the end; scrolled up by the
    // user, it stays where the user reads.
    void viewFollowsTheEndOnly()
    {
        TDebugConsole console;
        console.SetEnabled(true);
        QPlainTextEdit* window = ConsoleWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const auto sink = console.Sink();
        Write(sink, 0, 200);
        QVERIFY2(TopLineShown(window) > 150, qPrintable(QString::number(TopLineShown(window))));
        QTest::keyClick(window->windowHandle(), Qt::Key_Home);
        QCOMPARE(TopLineShown(window), 0);
        Write(sink, 200, 200);
        QCOMPARE(TopLineShown(window), 0);
        QTest::keyClick(window->windowHandle(), Qt::Key_End);
        Write(sink, 400, 200);
        QVERIFY2(TopLineShown(window) > 550, qPrintable(QString::number(TopLineShown(window))));
    }

    void disabledConsoleDropsTrace()
    {
        TDebugConsole console;
        auto sink = console.Sink();
        sink(QStringLiteral("lost"));
        QCoreApplication::processEvents();
        QCOMPARE(console.Text(), QString());
    }
};

QTEST_MAIN(TestDebugConsole)
#include "test_debug_console.moc"
