// The program's message boxes, driven through their buttons.
#include "ui/TMeridalProgram.h"
#include "ui/TMessageDialog.h"

#include "ModalDialogDriver.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

namespace {

struct TShownBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::TextFormat format = Qt::AutoText;
};

// Records what the box showed, then presses `answer`.
ModalDialogDriver Answer(TShownBox* shown, QMessageBox::StandardButton answer)
{
    return ModalDialogDriver([shown, answer](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY(box);
        *shown = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->textFormat()};
        QTest::mouseClick(qobject_cast<QPushButton*>(box->button(answer)), Qt::LeftButton);
    });
}

// Presses a key in the box instead of clicking.
ModalDialogDriver PressKey(Qt::Key key)
{
    return ModalDialogDriver([key](QWidget* dialog) { QTest::keyClick(dialog->focusWidget(), key); });
}

} // namespace

class TestMessageDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TMeridalProgram::SetUpApplication();
    }

    void titleIsTheApplicationTitle()
    {
        QCOMPARE(TMessageDialog().Title(), QString("KORVAL Meridal"));
    }

    void errorBox()
    {
        TMessageDialog messages;
        TShownBox shown;
        auto driver = Answer(&shown, QMessageBox::Ok);
        messages.ShowError("COM port is already open.\r\r"
                           "Be sure that the port is available and press Device > Rescan.");

        QVERIFY(driver.Acted());
        QCOMPARE(shown.title, QString("KORVAL Meridal"));
        QCOMPARE(shown.text,
                 QString("COM port is already open.\n\nBe sure that the port is available and press Device > Rescan."));
        QCOMPARE(shown.icon, QMessageBox::Critical);
        QCOMPARE(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void infoBoxWithTheTitleSet()
    {
        TMessageDialog messages;
        messages.SetTitle("Meridal");
        TShownBox shown;
        auto driver = Answer(&shown, QMessageBox::Ok);
        messages.ShowInfo("No COM port was selected.\r\rProgram will be terminated.");

        QVERIFY(driver.Acted());
        QCOMPARE(shown.title, QString("Meridal"));
        QCOMPARE(shown.text, QString("No COM port was selected.\n\nProgram will be terminated."));
        QCOMPARE(shown.icon, QMessageBox::Information);
        QCOMPARE(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void infoBoxWithItsOwnCaption()
    {
        TMessageDialog messages;
        TShownBox shown;
        auto driver = Answer(&shown, QMessageBox::Ok);
        messages.ShowInfoCaption(
            "\"NumberOfAttempts\" in Section \"Settings\" less than 1.\rDefault value 3 will be set.",
            "Meridal - Ini-File");

        QCOMPARE(shown.title, QString("Meridal - Ini-File"));
        QCOMPARE(shown.text,
                 QString("\"NumberOfAttempts\" in Section \"Settings\" less than 1.\nDefault value 3 will be set."));
        QCOMPARE(shown.icon, QMessageBox::Information);
        QCOMPARE(messages.Title(), QString("KORVAL Meridal"));
    }

    void textIsNeverMarkup()
    {
        TMessageDialog messages;
        TShownBox shown;
        auto driver = Answer(&shown, QMessageBox::Ok);
        messages.ShowError("<b>not bold</b>");

        QCOMPARE(shown.text, QString("<b>not bold</b>"));
        QCOMPARE(shown.format, Qt::PlainText);
    }

    void questionYes()
    {
        TMessageDialog messages;
        TShownBox shown;
        auto driver = Answer(&shown, QMessageBox::Yes);
        QVERIFY(messages.AskYesNo("This function will affect the sensor calibration done during the production "
                                  "process.\r\rDo you want to continue?"));

        QCOMPARE(shown.title, QString("KORVAL Meridal"));
        QCOMPARE(shown.icon, QMessageBox::Warning);
        QCOMPARE(shown.buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(shown.text.endsWith("process.\n\nDo you want to continue?"));
    }

    void questionNo()
    {
        TMessageDialog messages;
        TShownBox shown;
        auto driver = Answer(&shown, QMessageBox::No);
        QVERIFY(!messages.AskYesNo("Do you want to continue?"));
        QVERIFY(driver.Acted());
    }

    void enterDoesNotConfirmAQuestion()
    {
        TMessageDialog messages;
        auto driver = PressKey(Qt::Key_Return);
        QVERIFY(!messages.AskYesNo("Do you want to continue?"));
        QVERIFY(driver.Acted());
    }

    void escapeAnswersNo()
    {
        TMessageDialog messages;
        auto driver = PressKey(Qt::Key_Escape);
        QVERIFY(!messages.AskYesNo("Do you want to continue?"));
        QVERIFY(driver.Acted());
    }
};

QTEST_MAIN(TestMessageDialog)
#include "test_message_dialog.moc"
