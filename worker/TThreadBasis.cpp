#include "worker/TThreadBasis.h"

#include "util/UPresentation.h"
#include "worker/UControlColors.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>

#include <chrono>
#include <future>
#include <memory>

namespace {

// A page of a tab control: the page widget sits in the tab widget's stack.
QTabWidget* TabWidgetOf(QObject* control)
{
    auto* page = qobject_cast<QWidget*>(control);
    auto* stack = page ? qobject_cast<QStackedWidget*>(page->parentWidget()) : nullptr;
    return stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

bool IsMemo(QObject* control)
{
    return qobject_cast<QPlainTextEdit*>(control) || qobject_cast<QTextEdit*>(control);
}

QString MemoText(QObject* control)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        return plain->toPlainText();
    return qobject_cast<QTextEdit*>(control)->toPlainText();
}

void SetMemoText(QObject* control, const QString& text)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        plain->setPlainText(text);
    else
        qobject_cast<QTextEdit*>(control)->setPlainText(text);
}

// Text of the kinds that show one: labels (and status panels), edits, memos.
bool ControlText(QObject* control, QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(control))
        text = label->text();
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        text = edit->text();
    else if (IsMemo(control))
        text = MemoText(control);
    else
        return false;
    return true;
}

void SetControlText(QObject* control, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (IsMemo(control))
        SetMemoText(control, text);
}

QWidget* DialogParent()
{
    return QApplication::activeWindow();
}

} // namespace

TThreadBasis::TThreadBasis(QObject* parent)
    : QThread(parent)
{
}

TThreadBasis::~TThreadBasis() = default;

void TThreadBasis::Resume()
{
    std::lock_guard<std::mutex> lock(parkMutex);
    if (!suspended)
        return;
    suspended = false;
    parkChanged.notify_all();
}

void TThreadBasis::Terminate()
{
    {
        std::lock_guard<std::mutex> lock(parkMutex);
        terminated = true;
    }
    parkChanged.notify_all();
}

bool TThreadBasis::AwaitResume()
{
    std::unique_lock<std::mutex> lock(parkMutex);
    parkChanged.wait(lock, [this] { return !suspended || terminated; });
    return !terminated;
}

bool TThreadBasis::Park()
{
    {
        std::lock_guard<std::mutex> lock(parkMutex);
        suspended = true;
    }
    return AwaitResume();
}

void TThreadBasis::Join()
{
    wait();
    // Taking the park lock once more orders the thread's passes ahead of what
    // the caller does next in a way race checkers can see (QThread::wait
    // hides its own ordering from them).
    std::lock_guard<std::mutex> lock(parkMutex);
}

void TThreadBasis::CheckTerminated() const
{
    if (terminated)
        throw ETerminateException(QStringLiteral("Thread is terminiated."));
}

void TThreadBasis::Wait(int ms)
{
    {
        std::unique_lock<std::mutex> lock(parkMutex);
        parkChanged.wait_for(lock, std::chrono::milliseconds(ms), [this] { return bool(terminated); });
    }
    CheckTerminated();
}

void TThreadBasis::CheckAborted() const
{
    if (aborted)
        throw EAbortException(QStringLiteral("Thread is aborted."));
}

void TThreadBasis::ReportException(std::exception_ptr error)
{
    LastException = std::move(error);
    if (OnException)
        SyncShowDialog([this] { return OnException(*this); }, 0);
}

QString TThreadBasis::LastExceptionMessage() const
{
    if (!LastException)
        return {};
    try {
        std::rethrow_exception(LastException);
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown exception");
    }
}

void TThreadBasis::Synchronize(const std::function<void()>& body, WhenTerminated rule)
{
    const auto guarded = [&] {
        if (rule == WhenTerminated::Skip && terminated)
            return;
        body();
    };
    if (OnGuiThread()) {
        guarded();
        return;
    }
    std::promise<void> done;
    guiCalls.Post([&] {
        try {
            guarded();
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    });
    done.get_future().get();
}

void TThreadBasis::SyncSetText(QObject* control, const QString& text)
{
    if (terminated)
        return;
    Synchronize([&] { SetControlText(control, text); });
}

void TThreadBasis::SyncAppendText(QObject* control, const QString& text)
{
    if (terminated)
        return;
    Synchronize([&] {
        QString current;
        if (ControlText(control, current))
            SetControlText(control, current + text);
    });
}

void TThreadBasis::SyncSetColor(QObject* control, const QColor& color, bool fontColor)
{
    Synchronize([&] {
        if (auto* label = qobject_cast<QLabel*>(control)) {
            if (fontColor)
                SetFontColor(label, color);
            else
                SetControlColor(label, color);
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            SetControlColor(edit, color);
        }
    });
}

void TThreadBasis::SyncSetEnabled(QObject* control, bool enabled)
{
    Synchronize([&] {
        if (auto* timer = qobject_cast<QTimer*>(control)) {
            if (enabled)
                timer->start();
            else
                timer->stop();
        } else if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control)
                   || IsMemo(control) || TabWidgetOf(control)) {
            qobject_cast<QWidget*>(control)->setEnabled(enabled);
        }
    }, WhenTerminated::Run);
}

void TThreadBasis::SyncSetVisible(QObject* control, bool visible)
{
    Synchronize([&] {
        if (QTabWidget* tabs = TabWidgetOf(control)) {
            tabs->setTabVisible(tabs->indexOf(qobject_cast<QWidget*>(control)), visible);
        } else if (qobject_cast<QLineEdit*>(control) || qobject_cast<QLabel*>(control) || qobject_cast<QGroupBox*>(control)
                   || qobject_cast<QComboBox*>(control) || qobject_cast<QCheckBox*>(control)
                   || qobject_cast<QProgressBar*>(control)) {
            qobject_cast<QWidget*>(control)->setVisible(visible);
        }
    });
}

bool TThreadBasis::SyncGetVisible(QObject* control)
{
    Synchronize([&] {
        // A control's own visible flag, not whether its tab is showing now.
        if (qobject_cast<QLineEdit*>(control) || qobject_cast<QLabel*>(control) || qobject_cast<QGroupBox*>(control)
            || qobject_cast<QCheckBox*>(control))
            BoolValue = !qobject_cast<QWidget*>(control)->isHidden();
    });
    return BoolValue;
}

void TThreadBasis::SyncSetCaption(QObject* control, const QString& text)
{
    Synchronize([&] {
        auto* widget = qobject_cast<QWidget*>(control);
        if (widget && widget->isWindow())
            widget->setWindowTitle(text);
        else if (auto* group = qobject_cast<QGroupBox*>(control))
            group->setTitle(text);
        else if (auto* check = qobject_cast<QCheckBox*>(control))
            check->setText(text);
        else if (auto* label = qobject_cast<QLabel*>(control))
            label->setText(text);
    });
}

void TThreadBasis::SyncSetHint(QObject* control, const QString& text)
{
    Synchronize([&] {
        if (auto* widget = qobject_cast<QWidget*>(control))
            widget->setToolTip(DisplayText(text));
    });
}

QString TThreadBasis::SyncGetComboText(QObject* control)
{
    Synchronize([&] {
        if (auto* combo = qobject_cast<QComboBox*>(control))
            TextValue = combo->currentText();
    });
    return TextValue;
}

int TThreadBasis::SyncGetItemIndex(QObject* control)
{
    Synchronize([&] {
        if (auto* combo = qobject_cast<QComboBox*>(control))
            IntValue = combo->currentIndex();
    });
    return IntValue;
}

void TThreadBasis::SyncSetItemIndex(QObject* control, int index)
{
    Synchronize([&] {
        if (auto* combo = qobject_cast<QComboBox*>(control))
            combo->setCurrentIndex(index < combo->count() ? index : -1);
    });
}

void TThreadBasis::SyncSetChecked(QObject* control, bool checked)
{
    Synchronize([&] {
        if (auto* check = qobject_cast<QCheckBox*>(control))
            check->setChecked(checked);
    });
}

void TThreadBasis::SyncSelectComboItem(QObject* control, const QString& text)
{
    Synchronize([&] {
        auto* combo = qobject_cast<QComboBox*>(control);
        if (!combo)
            return;
        for (int i = 0; i < combo->count(); ++i) {
            if (combo->itemText(i) == text) {
                combo->setCurrentIndex(i);
                return;
            }
        }
    });
}

int TThreadBasis::SyncAskYesNo(const QString& question)
{
    const int answer = SyncShowDialog(
        [&] {
            auto* box = new QMessageBox(QMessageBox::Warning, QApplication::applicationName(), DisplayText(question),
                                        QMessageBox::Yes | QMessageBox::No, DialogParent());
            box->setTextFormat(Qt::PlainText);
            box->setDefaultButton(QMessageBox::No);
            return box;
        },
        QMessageBox::No);
    DialogResult = answer == QMessageBox::Yes ? ResultYes : ResultNo;
    return DialogResult;
}

bool TThreadBasis::SyncInputQuery(const QString& prompt, const QString& defaultText)
{
    const int result = SyncShowDialog(
        [&] {
            auto* input = new QInputDialog(DialogParent());
            input->setWindowTitle(QStringLiteral("Meridal"));
            input->setLabelText(DisplayText(prompt));
            input->setTextValue(defaultText);
            return input;
        },
        QDialog::Rejected,
        [this](QDialog& dialog) {
            if (dialog.result() == QDialog::Accepted)
                TextValue = static_cast<QInputDialog&>(dialog).textValue();
        });
    BoolValue = result == QDialog::Accepted;
    return BoolValue;
}

int TThreadBasis::SyncShowDialog(const std::function<QDialog*()>& create, int cancelled,
                                 const std::function<void(QDialog&)>& read)
{
    if (OnGuiThread()) {
        const std::unique_ptr<QDialog> dialog(terminated ? nullptr : create());
        if (!dialog)
            return cancelled;
        const int result = dialog->exec();
        if (read)
            read(*dialog);
        return result;
    }

    auto answer = std::make_shared<std::promise<int>>();
    std::future<int> result = answer->get_future();
    guiCalls.Post([this, &create, &read, cancelled, answer] {
        QDialog* dialog = nullptr;
        try {
            dialog = terminated ? nullptr : create();
        } catch (...) {
            answer->set_exception(std::current_exception());
            return;
        }
        if (!dialog) {
            answer->set_value(cancelled);
            return;
        }
        openDialog = dialog;
        // A dialog closed twice (a button, then a cancel before it is gone)
        // answers once.
        auto closing = std::make_shared<QMetaObject::Connection>();
        *closing = connect(dialog, &QDialog::finished, dialog, [dialog, &read, answer, closing](int code) {
            QObject::disconnect(*closing);
            if (read)
                read(*dialog);
            dialog->deleteLater();
            answer->set_value(code);
        });
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->open();
    });
    return result.get();
}

void TThreadBasis::CancelOpenDialog()
{
    if (openDialog)
        openDialog->reject();
}
