// Pictures of every small window for a person to look at: written to
// $MERIDAL_SCREENSHOT_DIR when it is set, skipped otherwise.
#include "commands/TDeviceStatus.h"
#include "ui/TFormAbout.h"
#include "ui/TFormCOMPortChooser.h"
#include "ui/TFormDeviceStatus.h"
#include "ui/TFormProtokoll.h"
#include "ui/TMessageDialog.h"
#include "ui/TTaskDialog.h"
#include "ModalDialogDriver.h"

#include <QDir>
#include <QtTest>

class TestWindowScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        directory = qEnvironmentVariable("MERIDAL_SCREENSHOT_DIR");
        if (directory.isEmpty())
            QSKIP("MERIDAL_SCREENSHOT_DIR is not set");
        QVERIFY(QDir().mkpath(directory));
        QApplication::setApplicationDisplayName(QStringLiteral("KORVAL Meridal"));
    }

    void deviceStatus()
    {
        TFormDeviceStatus form;
        TDeviceStatus status;
        status.DeviceStatus = 0x50;
        status.HARTParameterError = true;
        form.ShowStatus(status);
        save(&form, "device_status");
    }

    void responseLog()
    {
        TFormProtokoll log;
        log.AddLine("Cmd: 18: Write Tag/Descriptor/Date -> Code 7: In Write Protect Mode");
        log.AddLine("Cmd: 130: Change Passcode -> Code 65: Old Passcode Wrong");
        save(&log, "response_log");
    }

    void comPortChooser()
    {
        TFormCOMPortChooser chooser;
        chooser.SetPortTest([](int comNumber) { return comNumber == 1 || comNumber == 5; });
        ModalDialogDriver driver([this](QWidget* shown) {
            save(shown, "com_port_chooser");
            shown->close();
        });
        chooser.Choose(20, 5);
    }

    void messageBoxes()
    {
        TMessageDialog messages;
        {
            ModalDialogDriver driver([this](QWidget* shown) {
                save(shown, "error_box");
                shown->close();
            });
            messages.ShowError("COM port is already open.\r\r"
                               "Be sure that the port is available and press Device > Rescan.");
        }
        ModalDialogDriver driver([this](QWidget* shown) {
            save(shown, "question_box");
            shown->close();
        });
        messages.AskYesNo("This function will affect the sensor calibration done during the production process."
                          "\r\rDo you want to continue?");
    }

    void taskDialogs()
    {
        TTaskDialog zeroRetry;
        zeroRetry.SetIcon(TTaskDialog::TIcon::Question);
        zeroRetry.SetContent("No supported HART device found on address 0! \r\rWhat do you like to do?\r");
        zeroRetry.AddButton("&Rescan 0", 100);
        zeroRetry.AddButton("&Scan 1 - 15", 101);
        zeroRetry.AddButton("&Cancel", TTaskDialog::CancelResult);
        saveWhenExecuted(zeroRetry, "task_zero_retry");

        TTaskDialog restore;
        restore.SetIcon(TTaskDialog::TIcon::Warning);
        restore.SetInstruction("WARNING!");
        restore.SetContent("All device settings will be set back to the factory defaults.");
        restore.AddButton("Restore", 1);
        restore.AddButton("Cancel", TTaskDialog::CancelResult);
        restore.SetDefaultButton(TTaskDialog::CancelResult);
        saveWhenExecuted(restore, "task_restore_defaults");
    }

    void about()
    {
        TFormAbout form;
        save(&form, "about");
    }

private:
    void save(QWidget* window, const QString& name)
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QString path = QDir(directory).filePath(name + ".png");
        QVERIFY2(window->grab().save(path), qPrintable(path));
    }

    void saveWhenExecuted(TTaskDialog& dialog, const QString& name)
    {
        ModalDialogDriver driver([this, name](QWidget* shown) {
            save(shown, name);
            shown->close();
        });
        QCOMPARE(dialog.Execute(), TTaskDialog::CancelResult);
    }

    QString directory;
};

QTEST_MAIN(TestWindowScreenshots)
#include "test_window_screenshots.moc"
