#include "ui/TMessageDialog.h"

#include "util/UPresentation.h"

#include <QApplication>

#include <memory>

TMessageDialog::TMessageDialog()
    : title(QApplication::applicationName())
{
}

void TMessageDialog::ShowError(const QString& text) const
{
    const std::unique_ptr<QMessageBox> box(CreateErrorBox(text));
    box->exec();
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

QMessageBox* TMessageDialog::CreateErrorBox(const QString& text) const
{
    return create(QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

QMessageBox* TMessageDialog::create(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    auto* box = new QMessageBox(icon, caption, DisplayText(text), buttons, QApplication::activeWindow());
    // Device texts and file names may hold "<"; they are never markup.
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(defaultButton);
    return box;
}

QMessageBox::StandardButton TMessageDialog::execute(QMessageBox::Icon icon, const QString& caption,
                                                    const QString& text, QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    const std::unique_ptr<QMessageBox> box(create(icon, caption, text, buttons, defaultButton));
    return static_cast<QMessageBox::StandardButton>(box->exec());
}
