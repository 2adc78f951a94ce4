#pragma once

#include "worker/TField.h"

#include <QString>

// The fields of the windows as the device jobs see them. Each call reads or
// changes one field; a call a field's kind does not have changes nothing and
// reads as empty.
class TFieldView
{
public:
    virtual ~TFieldView() = default;

    // Edits, labels and memos; a drop-down's selected item.
    virtual QString Text(TField field) = 0;
    virtual void SetText(TField field, const QString& text) = 0;
    virtual int ItemIndex(TField field) = 0;
    // An index past the items selects none.
    virtual void SetItemIndex(TField field, int index) = 0;
    // A text that is not one of the items changes nothing.
    virtual void SelectItem(TField field, const QString& text) = 0;
    // Adds a device variable ("DV0" ... "DV3", "Not Used") to the choices of
    // the variable mapping, once; the PV takes no "Not Used".
    virtual void AddMappingChoice(const QString& name) = 0;
    virtual bool Checked(TField field) = 0;
    virtual void SetChecked(TField field, bool checked) = 0;
    // The field's own flag, not whether its tab is showing now.
    virtual bool Visible(TField field) = 0;
    // A tab's field shows or hides the tab.
    virtual void SetVisible(TField field, bool visible) = 0;
    // Whether the user may change the field once the window is unlocked.
    virtual bool Enabled(TField field) = 0;
    // A timer runs while enabled.
    virtual void SetEnabled(TField field, bool enabled) = 0;
    // The caption of a group or a check box; a label's text.
    virtual void SetCaption(TField field, const QString& text) = 0;
    virtual void SetHint(TField field, const QString& text) = 0;
    virtual void SetProgress(TField field, int position) = 0;

    // --- Change tracking ---
    // Whether the user changed the field since the device reported it.
    virtual bool Modified(TField field) = 0;
    // The shown value becomes what the device reported: no longer modified.
    virtual void Accept(TField field) = 0;
    // Empties an entry that must not stay in the window (a passcode sent).
    virtual void Discard(TField field) = 0;
    // Accept for every tracked field of the visible tab, once it has been
    // read. `complete`: the device reported every value that a save of the
    // tab sends back unchanged beside the user's entries; without them Save
    // must not write the tab.
    virtual void AcceptTab(bool complete) = 0;
};
