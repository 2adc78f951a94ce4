// The task-style dialog with the caller's own buttons.
#include "ui/TMeridalProgram.h"
#include "ui/TTaskDialog.h"

#include "ModalDialogDriver.h"
#include "WindowChecks.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

const QString ZeroRetryContent =
    QStringLiteral("No supported HART device found on address 0! \r\rWhat do you like to do?\r");

// The polling search's question when address 0 is silent.
void SetUpZeroRetry(TTaskDialog& dialog)
{
    dialog.SetIcon(TTaskDialog::TIcon::Question);
    dialog.SetContent(ZeroRetryContent);
    dialog.AddButton("&Rescan 0", 100);
    dialog.AddButton("&Scan 1 - 15", 101);
    dialog.AddButton("&Cancel", TTaskDialog::CancelResult);
}

QString LabelText(const QWidget* dialog, const QString& name)
{
    const auto* label = dialog->findChild<QLabel*>(name);
    return label && label->isVisible() ? label->text() : QStringLiteral("<hidden>");
}

QStringList ButtonCaptions(const QWidget* dialog)
{
    QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
    std::sort(buttons.begin(), buttons.end(), [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    QStringList captions;
    for (const QPushButton* button : buttons)
        captions.append(button->text());
    return captions;
}

} // namespace

class TestTaskDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TMeridalProgram::SetUpApplication();
    }

    void eachButtonGivesItsResult_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("result");
        QTest::newRow("rescan 0") << "&Rescan 0" << 100;
        QTest::newRow("scan 1 - 15") << "&Scan 1 - 15" << 101;
        QTest::newRow("cancel") << "&Cancel" << 2;
    }

    void eachButtonGivesItsResult()
    {
        QFETCH(QString, caption);
        QFETCH(int, result);
        TTaskDialog dialog;
        SetUpZeroRetry(dialog);
        ModalDialogDriver driver([&caption](QWidget* shown) { ClickButton(shown, caption); });
        QCOMPARE(dialog.Execute(), result);
        QVERIFY(driver.Acted());
    }

    void showsTitleContentIconAndButtonsInOrder()
    {
        TTaskDialog dialog;
        SetUpZeroRetry(dialog);
        QString title, content, instruction;
        QStringList captions;
        bool iconShown = false;
        ModalDialogDriver driver([&](QWidget* shown) {
            title = shown->windowTitle();
            content = LabelText(shown, "LabelContent");
            instruction = LabelText(shown, "LabelInstruction");
            captions = ButtonCaptions(shown);
            const auto* icon = shown->findChild<QLabel*>("ImageIcon");
            iconShown = icon->isVisible() && !icon->pixmap().isNull();
            VerifyNoClippedText(shown);
            VerifyNoOverlappingControls(shown);
            VerifyFixedSize(shown);
            ClickButton(shown, "&Cancel");
        });
        dialog.Execute();

        QCOMPARE(title, QString("KORVAL Meridal"));
        QCOMPARE(content, QString("No supported HART device found on address 0! \n\nWhat do you like to do?\n"));
        QCOMPARE(instruction, QString("<hidden>"));
        QCOMPARE(captions, QStringList({"&Rescan 0", "&Scan 1 - 15", "&Cancel"}));
        QVERIFY(iconShown);
    }

    void escapeCancels()
    {
        TTaskDialog dialog;
        SetUpZeroRetry(dialog);
        ModalDialogDriver driver([](QWidget* shown) { QTest::keyClick(shown, Qt::Key_Escape); });
        QCOMPARE(dialog.Execute(), TTaskDialog::CancelResult);
        QVERIFY(driver.Acted());
    }

    void closingCancels()
    {
        TTaskDialog dialog;
        dialog.AddButton("Restore", 1);
        ModalDialogDriver driver([](QWidget* shown) { shown->close(); });
        QCOMPARE(dialog.Execute(), TTaskDialog::CancelResult);
        QVERIFY(driver.Acted());
    }

    void enterPressesTheDefaultButton()
    {
        TTaskDialog dialog;
        dialog.AddButton("Restore", 1);
        dialog.AddButton("Cancel", TTaskDialog::CancelResult);
        dialog.SetDefaultButton(TTaskDialog::CancelResult);
        ModalDialogDriver driver([](QWidget* shown) { QTest::keyClick(shown, Qt::Key_Return); });
        QCOMPARE(dialog.Execute(), TTaskDialog::CancelResult);
        QVERIFY(driver.Acted());
    }

    void instructionIsBoldAndLarger()
    {
        TTaskDialog dialog;
        dialog.SetTitle("Meridal");
        dialog.SetIcon(TTaskDialog::TIcon::Warning);
        dialog.SetInstruction("WARNING!");
        dialog.SetContent("All settings of the device will be reset.");
        dialog.AddButton("Restore", 1);
        dialog.AddButton("Cancel", TTaskDialog::CancelResult);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        const auto* instruction = dialog.findChild<QLabel*>("LabelInstruction");
        const auto* content = dialog.findChild<QLabel*>("LabelContent");
        QCOMPARE(dialog.windowTitle(), QString("Meridal"));
        QCOMPARE(LabelText(&dialog, "LabelInstruction"), QString("WARNING!"));
        QVERIFY(instruction->font().bold());
        QVERIFY(!content->font().bold());
        QVERIFY(instruction->font().pointSizeF() > content->font().pointSizeF());
        QVERIFY(instruction->y() < content->y());
        VerifyNoClippedText(&dialog);
        VerifyNoOverlappingControls(&dialog);
    }

    void theDialogCanBeAskedAgain()
    {
        TTaskDialog dialog;
        SetUpZeroRetry(dialog);
        {
            ModalDialogDriver driver([](QWidget* shown) { ClickButton(shown, "&Scan 1 - 15"); });
            QCOMPARE(dialog.Execute(), 101);
        }
        ModalDialogDriver driver([](QWidget* shown) { ClickButton(shown, "&Rescan 0"); });
        QCOMPARE(dialog.Execute(), 100);
    }
};

QTEST_MAIN(TestTaskDialog)
#include "test_task_dialog.moc"
