#pragma once

#include "worker/TDeviceView.h"

class TDeviceWindow;
class TThreadMeridal;

// The window's device view for the jobs on the device thread: every call
// runs on the GUI thread, through the thread's synchronized calls, and waits
// for it. Once the thread is terminated the calls do nothing (SetEnabled
// still runs), and a question answers as if cancelled without being shown,
// so that none opens while the program shuts down.
//
// A question is opened, not executed: the GUI thread keeps running its own
// event loop while it is open, so a shutdown started meanwhile never waits
// inside the dialog for the worker that waits for the dialog. Shutdown
// cancels the open question instead.
class TSynchronizedView : public TDeviceView
{
public:
    TSynchronizedView(TThreadMeridal& thread, TDeviceWindow& window);

    QString Text(TField field) override;
    void SetText(TField field, const QString& text) override;
    int ItemIndex(TField field) override;
    void SetItemIndex(TField field, int index) override;
    void SelectItem(TField field, const QString& text) override;
    void AddMappingChoice(const QString& name) override;
    bool Checked(TField field) override;
    void SetChecked(TField field, bool checked) override;
    bool Visible(TField field) override;
    void SetVisible(TField field, bool visible) override;
    bool Enabled(TField field) override;
    void SetEnabled(TField field, bool enabled) override;
    void SetCaption(TField field, const QString& text) override;
    void SetHint(TField field, const QString& text) override;
    void SetProgress(TField field, int position) override;
    bool Modified(TField field) override;
    void Accept(TField field) override;
    void Discard(TField field) override;
    void AcceptTab(bool complete) override;

    void ShowStatus(const QString& text) override;
    TAnswer Ask(const TQuestion& question) override;
    void AddResponseLogLine(const QString& line) override;
    bool ResponseLogContains(const QString& text) override;
    QStringList ResponseLogLines() override;
    void ClearResponseLog() override;
    void SetLifeListAddress(int row) override;
    void DeliverLifeListRow(const TLifeListAnswer& row) override;

private:
    // Runs body on the GUI thread and hands back what it returns.
    template<typename Result, typename Body>
    Result read(Body body);
    template<typename Body>
    void run(Body body);
    TAnswer askOnGuiThread(const TQuestion& question, const TAnswer& cancelled);

    TThreadMeridal& thread;
    TDeviceWindow& window;
};
