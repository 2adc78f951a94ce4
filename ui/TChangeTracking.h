#pragma once

#include <QHash>
#include <QList>
#include <QVariant>

#include <functional>
#include <optional>

class QObject;
class QWidget;
struct TFormMainControls;

// Tells the user's unsaved edits of the main window apart from the device's
// values. Every tracked control remembers a baseline, the value the device
// last reported or accepted; while the shown value differs from it the
// control shows the modified colour. The colour is the state: Save, auto
// refresh, the discard question and the write jobs read it.
class TChangeTracking
{
public:
    // idle: whether no job is being prepared or running; while a job runs
    // nothing is coloured, so values written by jobs never count as edits.
    TChangeTracking(TFormMainControls& controls, std::function<bool()> idle);

    // The shown value becomes the baseline; the control gets its normal colour.
    void AcceptControlValue(QObject* control);
    // AcceptControlValue for every tracked control of the visible tab.
    void AcceptTabValues();
    // Colours the control after comparing it with its baseline, and enables
    // Save when the visible tab has an edit. Raises the conversion error for
    // a numeric text that is not a number.
    void CheckControlChange(QObject* control);
    // Whether a control of the tab (default: the visible one) shows an edit.
    bool TabModified(int page = -1) const;

private:
    enum class TKind { ItemIndex, Checked, Text, Number, Passcode, EnableBox };
    struct TTracked
    {
        TKind kind;
        QWidget* group;         // compared only while this group is visible
        QVariant baseline;
    };

    void track(QWidget* control, TKind kind, QWidget* group = nullptr);
    std::optional<bool> differsFromBaseline(QObject* control);
    QVariant shownValue(QObject* control, TKind kind) const;
    bool enableBoxesTracked() const;
    void followFloat2Enable();
    QList<QWidget*> tabAcceptList(int page) const;
    QList<QWidget*> tabModifiedList(int page) const;
    int visiblePage() const;

    TFormMainControls& c;
    std::function<bool()> idle;
    QHash<QObject*, TTracked> tracked;
};
