#include "ui/TFrameTrace.h"

#include "link/TComportHARTBasis.h"
#include "link/UHartIpCapture.h"
#include "ui/TMessageDialog.h"

#include <QDateTime>
#include <QFileDialog>
#include <QSaveFile>

TFrameTrace::TFrameTrace(QWidget* window, const TMessageDialog& messages)
    : QObject(window)
    , window(window)
    , messages(messages)
{
    console.SetTitle(QStringLiteral("HART Frame Trace"));
    connect(&console, &TDebugConsole::Closed, this, [this] {
        connectSinks();
        emit TurnedOff();
    });
}

TFrameTrace::~TFrameTrace()
{
    Attach(nullptr);
}

void TFrameTrace::Attach(TComportHARTBasis* newLink)
{
    if (link) {
        link->SetTraceSink(nullptr);
        link->SetFrameSink(nullptr);
    }
    link = newLink;
    connectSinks();
}

void TFrameTrace::SetOn(bool on)
{
    if (on == IsOn())
        return;
    console.SetEnabled(on);
    connectSinks();
}

void TFrameTrace::connectSinks()
{
    if (!link)
        return;
    if (!IsOn()) {
        link->SetTraceSink(nullptr);
        link->SetFrameSink(nullptr);
        return;
    }
    link->SetTraceSink(console.Sink());
    link->SetFrameSink([recorder = &frames](const TTracedFrame& frame) { recorder->Add(frame); });
}

void TFrameTrace::SaveAs()
{
    if (frames.IsEmpty()) {
        messages.ShowInfo(QStringLiteral("No frames have been traced yet.\r\rTurn on Service > Frame Trace first."));
        return;
    }
    QFileDialog dialog(window);
    dialog.setObjectName(QStringLiteral("SaveTraceDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({ QStringLiteral("Capture Files (*.pcap)"), QStringLiteral("All Files (*.*)") });
    dialog.setDefaultSuffix(QStringLiteral("pcap"));
    dialog.selectFile(QStringLiteral("HART-Trace_%1.pcap").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd hhmmss"))));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    writeCapture(dialog.selectedFiles().first());
}

// A file chosen for overwriting is replaced only by a complete capture.
void TFrameTrace::writeCapture(const QString& path) const
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(HartIpCapture(frames.Frames())) >= 0 && file.commit())
        return;
    messages.ShowError(QStringLiteral("The trace was not written: %1\r\r%2").arg(path, file.errorString()));
}
