#pragma once

#include "worker/TDeviceView.h"
#include "worker/TLifeListAnswer.h"

#include <QHash>
#include <QList>

#include <deque>

// The device view without a window: every field is a record of its state,
// the questions are answered from a script. Tests run jobs against it, and
// so does the command-line tool. A field starts as the main window's control
// does: empty, with its fixed choices, visible, enabled, not modified.
class TMemoryView : public TDeviceView
{
public:
    // What the user does: the field shows the entry and counts as modified.
    void Enter(TField field, const QString& text);
    void Choose(TField field, int index);
    void Tick(TField field, bool checked);

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
    // Captions, hints and bars only picture a value: without a window they are dropped.
    void SetCaption(TField, const QString&) override {}
    void SetHint(TField, const QString&) override {}
    void SetProgress(TField, int) override {}
    bool Modified(TField field) override;
    void Accept(TField field) override;
    void Discard(TField field) override;
    void AcceptTab(bool complete) override;

    void ShowStatus(const QString& text) override;
    // The next scripted answer; a question without one is cancelled.
    TAnswer Ask(const TQuestion& question) override;
    void AddResponseLogLine(const QString& line) override;
    bool ResponseLogContains(const QString& text) override;
    QStringList ResponseLogLines() override;
    void ClearResponseLog() override;
    void SetLifeListAddress(int row) override;
    void DeliverLifeListRow(const TLifeListAnswer& row) override;

    QStringList Choices(TField field);

    // The tab AcceptTab applies to, and whether its last read was complete.
    TPage ShownPage = TPage::Identification;
    QHash<int, bool> TabsReadCompletely;
    QStringList Statuses;
    QList<TQuestion> Questions;
    std::deque<TAnswer> Answers;
    QStringList ResponseLog;
    QList<TLifeListAnswer> LifeListRows;
    int LifeListAddress = 255;

private:
    struct TState
    {
        QString Text;
        QStringList Items;
        int Index = -1;
        bool Checked = false;
        bool Visible = true;
        bool Enabled = true;
        bool Modified = false;
    };

    TState& state(TField field);

    QHash<int, TState> fields;
};
