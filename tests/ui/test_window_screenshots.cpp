// Every small window as a user sees it on a real X server: drawn, every
// text whole, no control covering another. The pictures go to
// $MERIDAL_SCREENSHOT_DIR when it is set.
#include "commands/TDeviceStatus.h"
#include "ui/TFormAbout.h"
#include "ui/TFormCOMPortChooser.h"
#include "ui/TFormDeviceStatus.h"
#include "ui/TFormProtokoll.h"
#include "ui/TMeridalProgram.h"
#include "ui/TMessageDialog.h"
#include "ui/TTaskDialog.h"
#include "ModalDialogDriver.h"
#include "WindowChecks.h"

#include <QtTest>

class TestWindowScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TMeridalProgram::SetUpApplication();
    }

    void deviceStatus()
    {
        TFormDeviceStatus form;
        TDeviceStatus status;
        status.DeviceStatus = 0x50;
        status.HARTParameterError = true;
        form.ShowStatus(status);
        inspect(&form, "device_status");
    }

    void responseLog()
    {
        TFormProtokoll log;
        log.AddLine("Cmd: 18: Write Tag/Descriptor/Date -> Code 7: In Write Protect Mode");
        log.AddLine("Cmd: 130: Change Passcode -> Code 65: Old Passcode Wrong");
        inspect(&log, "response_log");
    }

    void comPortChooser()
    {
        TFormCOMPortChooser chooser;
        chooser.SetPortTest([](int comNumber) { return comNumber == 1 || comNumber == 5; });
        ModalDialogDriver driver([](QWidget* shown) {
            inspect(shown, "com_port_chooser");
            shown->close();
        });
        chooser.Choose(20, 5);
        QVERIFY(driver.Acted());
    }

    void messageBoxes()
    {
        TMessageDialog messages;
        {
            ModalDialogDriver driver([](QWidget* shown) {
                inspect(shown, "error_box");
                shown->close();
            });
            messages.ShowError("COM port is already open.\r\r"
                               "Be sure that the port is available and press Device > Rescan.");
            QVERIFY(driver.Acted());
        }
        ModalDialogDriver driver([](QWidget* shown) {
            inspect(shown, "question_box");
            shown->close();
        });
        messages.AskYesNo("This function will affect the sensor calibration done during the production process."
                          "\r\rDo you want to continue?");
        QVERIFY(driver.Acted());
    }

    void taskDialogs()
    {
        TTaskDialog zeroRetry;
        zeroRetry.SetIcon(TTaskDialog::TIcon::Question);
        zeroRetry.SetContent("No supported HART device found on address 0! \r\rWhat do you like to do?\r");
        zeroRetry.AddButton("&Rescan 0", 100);
        zeroRetry.AddButton("&Scan 1 - 15", 101);
        zeroRetry.AddButton("&Cancel", TTaskDialog::CancelResult);
        inspectWhenExecuted(zeroRetry, "task_zero_retry");

        TTaskDialog restore;
        restore.SetIcon(TTaskDialog::TIcon::Warning);
        restore.SetInstruction("WARNING!");
        restore.SetContent("All device settings will be set back to the factory defaults.");
        restore.AddButton("Restore", 1);
        restore.AddButton("Cancel", TTaskDialog::CancelResult);
        restore.SetDefaultButton(TTaskDialog::CancelResult);
        inspectWhenExecuted(restore, "task_restore_defaults");
    }

    void about()
    {
        TFormAbout form;
        inspect(&form, "about");
    }

private:
    static void inspect(QWidget* window, const QString& name)
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        VerifyGrabbed(window, name);
        VerifyCaptionAsShown(window);
        VerifyNoClippedText(window);
        VerifyNoOverlappingControls(window);
    }

    static void inspectWhenExecuted(TTaskDialog& dialog, const QString& name)
    {
        ModalDialogDriver driver([name](QWidget* shown) {
            inspect(shown, name);
            shown->close();
        });
        QCOMPARE(dialog.Execute(), TTaskDialog::CancelResult);
        QVERIFY(driver.Acted());
    }
};

QTEST_MAIN(TestWindowScreenshots)
#include "test_window_screenshots.moc"
