// The trace console window.
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

    void destroyingClosesTheWindow()
    {
        {
            TDebugConsole console;
            console.SetEnabled(true);
            QVERIFY(ConsoleWindow());
        }
        QCOMPARE(ConsoleWindow(), nullptr);
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
