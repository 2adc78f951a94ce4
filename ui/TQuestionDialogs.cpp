#include "ui/TQuestionDialogs.h"

#include "ui/TMessageDialog.h"
#include "ui/TTaskDialog.h"
#include "util/UPresentation.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

#include <memory>

TQuestionDialogs::TQuestionDialogs(QWidget* owner, const TMessageDialog& messages)
    : owner(owner)
    , messages(messages)
{
}

// A dialog closed twice (a button, then a cancel before it is gone) answers once.
void TQuestionDialogs::Open(const TQuestion& question, std::function<void(const TAnswer&)> answered)
{
    QDialog* dialog = create(question);
    open = dialog;
    auto closing = std::make_shared<QMetaObject::Connection>();
    *closing = QObject::connect(dialog, &QDialog::finished, dialog, [dialog, question, answered, closing](int code) {
        QObject::disconnect(*closing);
        TAnswer answer { code, QString() };
        if (question.Kind == TQuestion::TKind::YesNo)
            answer.Result = code == QMessageBox::Yes ? TAnswer::ResultYes : TAnswer::ResultNo;
        if (question.Kind == TQuestion::TKind::Input)
            answer.Text = static_cast<QInputDialog*>(dialog)->textValue();
        dialog->deleteLater();
        answered(answer);
    });
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->open();
}

void TQuestionDialogs::Cancel()
{
    if (open)
        open->reject();
}

QDialog* TQuestionDialogs::create(const TQuestion& question)
{
    QWidget* parent = QApplication::activeWindow();
    switch (question.Kind) {
    case TQuestion::TKind::YesNo: {
        auto* box = new QMessageBox(QMessageBox::Warning, QApplication::applicationName(), DisplayText(question.Text),
                                    QMessageBox::Yes | QMessageBox::No, parent);
        box->setTextFormat(Qt::PlainText);
        box->setDefaultButton(QMessageBox::No);
        return box;
    }
    case TQuestion::TKind::Input: {
        auto* input = new QInputDialog(parent);
        input->setWindowTitle(QStringLiteral("Meridal"));
        input->setLabelText(DisplayText(question.Text));
        input->setTextValue(question.Preset);
        return input;
    }
    case TQuestion::TKind::ZeroRetry: {
        auto* dialog = new TTaskDialog(owner);
        dialog->SetTitle(QApplication::applicationName());
        dialog->SetContent(question.Text);
        dialog->SetIcon(TTaskDialog::TIcon::Question);
        dialog->AddButton(QStringLiteral("&Rescan 0"), TAnswer::RescanZero);
        dialog->AddButton(QStringLiteral("&Scan 1 - 15"), TAnswer::ScanOthers);
        dialog->AddButton(QStringLiteral("&Cancel"), TTaskDialog::CancelResult);
        return dialog;
    }
    case TQuestion::TKind::Error:
        break;
    }
    return messages.CreateErrorBox(question.Text);
}
