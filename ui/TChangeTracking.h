#pragma once

#include "ui/TFieldTracking.h"
#include "worker/TField.h"
#include "worker/TFieldTable.h"

#include <QHash>
#include <QVariant>

#include <bitset>
#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QObject;
class QPushButton;
class QTabWidget;
class QWidget;

// Tells the user's unsaved edits of the main window apart from the device's
// values, for every field the field table marks as tracked. Each remembers a
// baseline, the value the device last reported or accepted, and whether the
// shown value differs from it: that state is what Save, auto refresh, the
// discard question and the write jobs read. The modified colour paints it.
class TChangeTracking : public TFieldTracking
{
public:
    // idle: whether no job is being prepared or running; while a job runs
    // nothing is compared, so values written by jobs never count as edits.
    TChangeTracking(QWidget* window, QPushButton* save, QTabWidget* pages, std::function<bool()> idle);

    bool IsModified(QWidget* control) const override;
    void AcceptControlValue(QWidget* control) override;
    void DiscardEntry(QWidget* control) override;
    void AcceptTabValues(bool complete) override;
    // A control whose tab is cleared: not modified, its cleared value the baseline.
    void ResetControl(QWidget* control);
    // Compares the control with its baseline, paints the result, and enables
    // Save when the visible tab has an edit. Raises the conversion error for
    // a numeric text that is not a number.
    void CheckControlChange(QObject* control);
    // Whether a field of the tab (default: the visible one) is modified.
    bool TabModified(int page = -1) const;
    // Whether the tab's last read reported every value a save sends back.
    bool TabReadCompletely(int page) const { return readCompletely.test(std::size_t(page)); }
    void ForgetTabRead(int page) { readCompletely.reset(std::size_t(page)); }

private:
    struct TTracked
    {
        QWidget* control;
        TField field;
        TTracking kind;
        QWidget* group;         // compared only while this group is visible
        QVariant baseline;
        bool modified = false;
    };

    std::optional<bool> differsFromBaseline(const TTracked& entry);
    QVariant shownValue(const TTracked& entry) const;
    void setModified(TTracked& entry, bool modified);
    bool enableFlagsTracked() const;
    void followFloat2Enable();
    int visiblePage() const;

    QPushButton* save;
    QTabWidget* pages;
    std::function<bool()> idle;
    QLineEdit* firmwareRevision;
    QCheckBox* float2Enable;
    QCheckBox* interfaceLayerEnable;
    QHash<QObject*, TTracked> tracked;
    QHash<int, QWidget*> trackedControls;   // by field
    std::bitset<PageCount> readCompletely;
};
