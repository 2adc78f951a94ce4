#pragma once

class QWidget;

// The change tracking as the window's fields reach it: whether an entry is
// the user's, and accepting or discarding it.
class TFieldTracking
{
public:
    virtual ~TFieldTracking() = default;
    virtual bool IsModified(QWidget* control) const = 0;
    // The shown value becomes the control's baseline; it is no longer modified.
    virtual void AcceptControlValue(QWidget* control) = 0;
    // Empties the entry; it is no longer modified.
    virtual void DiscardEntry(QWidget* control) = 0;
    // AcceptControlValue for every tracked control of the visible tab, and
    // whether its read was complete.
    virtual void AcceptTabValues(bool complete) = 0;
};
