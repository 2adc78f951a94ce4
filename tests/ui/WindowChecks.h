#pragma once

class QPlainTextEdit;
class QRect;
class QString;
class QWidget;

// Checks that a finished window must pass, for every visible control
// (labels, buttons, check boxes, lists, edits). Report a failure through
// QTest; call QTest::currentTestFailed() afterwards.

// Every control but a scrolling text area has at least the size its text
// needs.
void VerifyNoClippedText(const QWidget* window);

// No two controls cover each other.
void VerifyNoOverlappingControls(const QWidget* window);

// The window cannot be resized.
void VerifyFixedSize(const QWidget* window);

// The X11 window system shows the caption exactly as the window sets it
// (Qt appends an application display name to other captions).
void VerifyCaptionAsShown(QWidget* window);

// A picture of the window has the window's size. It is kept as <name>.png
// in $MERIDAL_SCREENSHOT_DIR when that is set, for a person to look at.
void VerifyGrabbed(QWidget* window, const QString& name);

// A picture of a part of the screen, e.g. a window with a hint beside it,
// kept like VerifyGrabbed's.
void VerifyScreenGrabbed(const QRect& area, const QString& name);

// The number of the line a text view shows at its top.
int TopLineShown(const QPlainTextEdit* view);

// The visible top-level window with this caption, or null.
QWidget* ShownWindow(const QString& caption);
