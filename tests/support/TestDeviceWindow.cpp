#include "TestDeviceWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

template<typename T>
T* Named(QWidget* parent, const char* name)
{
    auto* control = new T(parent);
    control->setObjectName(QString::fromLatin1(name));
    if (parent && parent->layout())
        parent->layout()->addWidget(control);
    return control;
}

} // namespace

TestDeviceWindow::TestDeviceWindow()
    : fields({ this }, *this)
    , dialogs(this, messages)
{
    setObjectName(QStringLiteral("FormMain"));
    auto* layout = new QVBoxLayout(this);
    statusPanel = Named<QLabel>(this, "StatusPanel");
    labelUnplugWarning = Named<QLabel>(this, "LabelUnplugWarning");
    labelUnplugWarning->hide();
    pageControl = Named<QTabWidget>(this, "PageControl");
    tabIdentification = new QWidget;
    tabIdentification->setObjectName(QStringLiteral("TabIdentification"));
    tabIdentification->setLayout(new QVBoxLayout);
    tabDiagnostics = new QWidget;
    tabDiagnostics->setObjectName(QStringLiteral("TabDiagnostics"));
    pageControl->addTab(tabIdentification, QStringLiteral("Identification"));
    pageControl->addTab(tabDiagnostics, QStringLiteral("Diagnostics"));
    editTag = Named<QLineEdit>(tabIdentification, "EditTag");
    comboPollingAddress = Named<QComboBox>(tabIdentification, "ComboBoxPollingAddress");
    for (int address = 0; address <= 15; ++address)
        comboPollingAddress->addItem(QString::number(address));
    checkLoopCurrentMode = Named<QCheckBox>(tabIdentification, "CheckBoxLoopCurrentMode");
    groupDV0 = Named<QGroupBox>(tabIdentification, "GroupBoxDV0");
    progressQuality = Named<QProgressBar>(tabIdentification, "AdvProgressBarQualityQuotient");
    memo = Named<QPlainTextEdit>(tabIdentification, "MemoAnswerData");
    dynPV = Named<QComboBox>(tabIdentification, "ComboBoxDynDevPV");
    dynSV = Named<QComboBox>(tabIdentification, "ComboBoxDynDevSV");
    dynTV = Named<QComboBox>(tabIdentification, "ComboBoxDynDevTV");
    dynQV = Named<QComboBox>(tabIdentification, "ComboBoxDynDevQV");
    timerDiagnostics = new QTimer(this);
    timerDiagnostics->setObjectName(QStringLiteral("TimerDiagnostics"));
    timerDiagnostics->setInterval(2000);
    layout->addStretch();
}

void TestDeviceWindow::LockUI()
{
    Calls.append(QStringLiteral("LockUI"));
}

void TestDeviceWindow::UnlockUI(bool deviceKnown, bool refreshAllowed)
{
    Calls.append(QStringLiteral("UnlockUI device=%1 refresh=%2").arg(int(deviceKnown)).arg(int(refreshAllowed)));
}

void TestDeviceWindow::ShowAnswerStatus(TComportHART*, const TDeviceStatus& status)
{
    Statuses.append(status);
}

void TestDeviceWindow::ShowStatus(const QString& text)
{
    statusPanel->setText(text);
}

void TestDeviceWindow::AcceptControlValue(QWidget* control)
{
    Calls.append(QStringLiteral("Accept ") + control->objectName());
    Modified.remove(control);
    if (OnAccept)
        OnAccept(control);
}

void TestDeviceWindow::DiscardEntry(QWidget* control)
{
    Calls.append(QStringLiteral("Discard ") + control->objectName());
    Modified.remove(control);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->clear();
}

void TestDeviceWindow::AcceptTabValues(bool)
{
    Calls.append(QStringLiteral("AcceptTab"));
}

bool TestDeviceWindow::ResponseLogContains(const QString& text)
{
    for (const QString& line : responseLog) {
        if (line.contains(text))
            return true;
    }
    return false;
}

// The scripted answers arrive from the event loop, as a closed dialog's would.
void TestDeviceWindow::OpenQuestion(const TQuestion& question, std::function<void(const TAnswer&)> answered)
{
    switch (question.Kind) {
    case TQuestion::TKind::ZeroRetry: {
        ZeroRetryQuestions.append(question.Text);
        const int answer = ZeroRetryAnswers.isEmpty() ? 0 : ZeroRetryAnswers.takeFirst();
        QTimer::singleShot(0, this, [answered, answer] { answered({ answer, QString() }); });
        return;
    }
    case TQuestion::TKind::Error:
        Errors.append(question.Text);
        QTimer::singleShot(0, this, [answered] { answered({}); });
        return;
    default:
        dialogs.Open(question, std::move(answered));
    }
}

void TestDeviceWindow::WriteSetting(const QString& subkey, const QString& valueName, const QString& text)
{
    Settings.append(QStringLiteral("%1/%2=%3").arg(subkey, valueName, text));
}
