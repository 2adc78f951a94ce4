#pragma once

#include "worker/TFieldTable.h"

#include <QClipboard>
#include <QObject>

class QContextMenuEvent;
class QDropEvent;
class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;

// The characters an entry field takes. The filter judges every character
// the user types, composes, pastes or drops into the field, one at a time,
// whatever the field already holds (a device may report text that could
// not be typed): a character is taken, converted (letters to upper case for
// packed ASCII, a number's point or comma to the decimal separator) or dropped. Several "-" or separators may be typed; the save
// jobs check the numbers. Text the program itself puts into the field is
// not filtered.
class TEntryFilter : public QObject
{
    Q_OBJECT

public:
    // Filters what the user enters into the edit from now on.
    static void Install(QLineEdit* edit, TEntry kind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TEntryFilter(QLineEdit* edit, TEntry kind);

    // Whether the filter takes one (already converted) character.
    bool Accepts(QChar c) const;
    // Lower-case letters become upper case for packed ASCII; a number's
    // separator and minus sign become the program's. Others stay.
    QChar Converted(QChar c) const;
    // The characters of the text the filter takes, converted.
    QString Filtered(const QString& text) const;

    bool keyPressed(QKeyEvent* event);
    bool textComposed(QInputMethodEvent* event);
    bool textDropped(QDropEvent* event);
    bool contextMenuRequested(QContextMenuEvent* event);
    void paste(QClipboard::Mode mode);
    // Inserts the filtered text at the cursor; false when nothing needed filtering.
    bool insertFiltered(const QString& text);
    void insertTaken(const QString& taken);

    QLineEdit* edit;
    TEntry kind;
};
