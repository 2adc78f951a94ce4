#include "ui/TTaskDialog.h"

#include "util/UPresentation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

const char* const ModalResultProperty = "modalResult";

QStyle::StandardPixmap StandardPixmapOf(TTaskDialog::TIcon icon)
{
    switch (icon) {
    case TTaskDialog::TIcon::Question:
        return QStyle::SP_MessageBoxQuestion;
    case TTaskDialog::TIcon::Warning:
        return QStyle::SP_MessageBoxWarning;
    case TTaskDialog::TIcon::Information:
        break;
    }
    return QStyle::SP_MessageBoxInformation;
}

} // namespace

TTaskDialog::TTaskDialog(QWidget* parent)
    : QDialog(parent)
    , iconLabel(new QLabel(this))
    , instructionLabel(new QLabel(this))
    , contentLabel(new QLabel(this))
    , buttons(new QDialogButtonBox(this))
{
    setWindowTitle(QApplication::applicationName());
    iconLabel->setObjectName(QStringLiteral("ImageIcon"));
    iconLabel->setAlignment(Qt::AlignTop);
    iconLabel->hide();
    instructionLabel->setObjectName(QStringLiteral("LabelInstruction"));
    instructionLabel->setTextFormat(Qt::PlainText);
    QFont instructionFont = instructionLabel->font();
    instructionFont.setBold(true);
    instructionFont.setPointSizeF(instructionFont.pointSizeF() * 1.25);
    instructionLabel->setFont(instructionFont);
    instructionLabel->hide();
    contentLabel->setObjectName(QStringLiteral("LabelContent"));
    contentLabel->setTextFormat(Qt::PlainText);
    contentLabel->setMinimumWidth(contentLabel->fontMetrics().averageCharWidth() * 40);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setHorizontalSpacing(style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, this) * 2);
    layout->addWidget(iconLabel, 0, 0, 2, 1);
    layout->addWidget(instructionLabel, 0, 1);
    layout->addWidget(contentLabel, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
}

void TTaskDialog::SetTitle(const QString& text)
{
    setWindowTitle(text);
}

void TTaskDialog::SetInstruction(const QString& text)
{
    instructionLabel->setText(DisplayText(text));
    instructionLabel->setVisible(!text.isEmpty());
}

void TTaskDialog::SetContent(const QString& text)
{
    contentLabel->setText(DisplayText(text));
}

void TTaskDialog::SetIcon(TIcon icon)
{
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    iconLabel->setPixmap(style()->standardIcon(StandardPixmapOf(icon), nullptr, this).pixmap(size, size));
    iconLabel->show();
}

void TTaskDialog::AddButton(const QString& caption, int modalResult)
{
    auto* button = new QPushButton(caption, this);
    button->setProperty(ModalResultProperty, modalResult);
    connect(button, &QPushButton::clicked, this, [this, modalResult] { done(modalResult); });
    // One role for all keeps the caller's order.
    buttons->addButton(button, QDialogButtonBox::ActionRole);
}

void TTaskDialog::SetDefaultButton(int modalResult)
{
    if (QPushButton* button = buttonWithResult(modalResult)) {
        button->setDefault(true);
        button->setFocus();
    }
}

int TTaskDialog::Execute()
{
    return exec();
}

void TTaskDialog::reject()
{
    done(CancelResult);
}

QPushButton* TTaskDialog::buttonWithResult(int modalResult) const
{
    for (QAbstractButton* button : buttons->buttons()) {
        if (button->property(ModalResultProperty).toInt() == modalResult)
            return qobject_cast<QPushButton*>(button);
    }
    return nullptr;
}
