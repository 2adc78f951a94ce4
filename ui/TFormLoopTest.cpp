#include "ui/TFormLoopTest.h"

#include "ui/TFormProtokoll.h"
#include "ui/TMessageDialog.h"
#include "ui/UControlFactory.h"
#include "ui/UFormPosition.h"
#include "worker/TFieldTable.h"
#include "worker/TMaintenanceJobs.h"
#include "worker/TThreadMeridal.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormLoopTest::TFormLoopTest(TRegistryTool& settings, TFormProtokoll& responseLog, TMessageDialog& messages,
                             QWidget* parent)
    : QDialog(parent)
    , settings(settings)
    , responseLog(responseLog)
    , messages(messages)
    , loopValue(Named(new QComboBox, FieldName(TField::ComboBoxLoopTest)))
    , fixedAt(Named(new QLineEdit, FieldName(TField::EditFixedAt)))
    , stillFixed(Named(new QWidget, QStringLiteral("PanelStillFixed")))
{
    setObjectName(QStringLiteral("FormLoopTest"));
    setWindowTitle(QStringLiteral("Loop Test"));
    loopValue->setEditable(true);
    // Typed values are sent, not collected as new items.
    loopValue->setInsertPolicy(QComboBox::NoInsert);
    loopValue->addItems({ QStringLiteral("4"), QStringLiteral("20") });
    // Enter starts. The combo box has the focus and hands the key to its line
    // edit itself, past any event filter: the line edit's signal tells of it.
    // Escape reaches the dialog, which closes as by "Close".
    connect(loopValue->lineEdit(), &QLineEdit::returnPressed, this, &TFormLoopTest::ButtonStartClick);
    fixedAt->setReadOnly(true);
    fixedAt->setAlignment(Qt::AlignRight);

    auto* start = Button(QStringLiteral("ButtonStart"), QStringLiteral("Start"));
    auto* close = Button(QStringLiteral("ButtonClose"), QStringLiteral("Close"));
    // Enter belongs to the combo box (Start); it never closes the dialog.
    for (QPushButton* button : { start, close })
        button->setAutoDefault(false);
    connect(start, &QPushButton::clicked, this, &TFormLoopTest::ButtonStartClick);
    connect(close, &QPushButton::clicked, this, &TFormLoopTest::reject);

    // A device that never confirms the release must not hold the program:
    // closing it makes the last release attempt.
    auto* exitProgram = Button(QStringLiteral("ButtonExitProgram"), QStringLiteral("Exit Program"));
    exitProgram->setAutoDefault(false);
    connect(exitProgram, &QPushButton::clicked, this, [this] { parentWidget()->close(); });
    auto* stillFixedLayout = new QHBoxLayout(stillFixed);
    stillFixedLayout->setContentsMargins(0, 0, 0, 0);
    stillFixedLayout->addWidget(Named(new QLabel(TMaintenanceJobs::StillFixedText() + QStringLiteral("\nClose tries again.")),
                                      QStringLiteral("LabelStillFixed")));
    stillFixedLayout->addWidget(exitProgram);
    stillFixed->hide();

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Choose analog output level:")), 0, 0, 1, 3);
    grid->addWidget(loopValue, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("mA")), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Fixed at")), 2, 0);
    grid->addWidget(fixedAt, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("mA")), 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(grid);
    layout->addWidget(stillFixed);
    layout->addLayout(buttons);
}

void TFormLoopTest::showEvent(QShowEvent* event)
{
    if (loopValue->currentText().isEmpty())
        loopValue->setCurrentIndex(0);
    fixedAt->clear();
    stillFixed->hide();
    restorePosition();
    QDialog::showEvent(event);
    loopValue->setFocus(Qt::OtherFocusReason);
}

void TFormLoopTest::ButtonStartClick()
{
    TThreadMeridal* thread = DeviceThread;
    if (!thread || !thread->Suspended())
        return;
    responseLog.Clear();
    thread->StartJob([thread] { TMaintenanceJobs(*thread).JobLoopTestSet(); });
}

void TFormLoopTest::reject()
{
    if (leaveLoopTest())
        closeDialog();
}

void TFormLoopTest::closeDialog()
{
    storePosition();
    QDialog::reject();
}

bool TFormLoopTest::leaveLoopTest()
{
    TThreadMeridal* thread = DeviceThread;
    if (!thread)
        return true;
    if (!thread->Suspended()) {
        messages.ShowInfo(QStringLiteral("The last command is still in progress. Please try again later."));
        return false;
    }
    releasing = thread->StartJob([thread] { TMaintenanceJobs(*thread).JobLoopTestExit(); });
    return !releasing;
}

void TFormLoopTest::JobEnded()
{
    if (!releasing)
        return;
    releasing = false;
    TThreadMeridal* thread = DeviceThread;
    if (thread && thread->Device && thread->Device->CurrentFixed()) {
        stillFixed->show();
        return;
    }
    closeDialog();
}

void TFormLoopTest::restorePosition()
{
    RestoreFormPosition(*this, settings, objectName(), QPoint(150, 100));
}

void TFormLoopTest::storePosition()
{
    StoreFormPosition(*this, settings, objectName());
}
