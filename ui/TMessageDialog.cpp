#include "ui/TMessageDialog.h"

#include "util/UPresentation.h"

#include <QApplication>

TMessageDialog::TMessageDialog()
    : title(QApplication::applicationDisplayName())
{
}

void TMessageDialog::ShowError(const QString& text) const
{
    execute(QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void TMessageDialog::ShowInfo(const QString& text) const
{
    ShowInfoCaption(text, title);
}

void TMessageDialog::ShowInfoCaption(const QString& text, const QString& caption) const
{
    execute(QMessageBox::Information, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool TMessageDialog::AskYesNo(const QString& text) const
{
    return execute(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

QMessageBox::StandardButton TMessageDialog::execute(QMessageBox::Icon icon, const QString& caption,
                                                    const QString& text, QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, caption, DisplayText(text), buttons, QApplication::activeWindow());
    // Device texts and file names may hold "<"; they are never markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
