#pragma once

#include <QMessageBox>
#include <QString>

// The program's message boxes: errors, information and the warning question
// before a step that cannot be undone. Every box is modal over the active
// window and titled with the title set here (initially the application's).
class TMessageDialog
{
public:
    TMessageDialog();

    const QString& Title() const { return title; }
    void SetTitle(const QString& text) { title = text; }

    void ShowError(const QString& text) const;
    // The error box, for a caller that shows it itself.
    QMessageBox* CreateErrorBox(const QString& text) const;
    void ShowInfo(const QString& text) const;
    void ShowInfoCaption(const QString& text, const QString& caption) const;

    // Yes/No with a warning icon; true only for Yes. No is the default
    // button, so that a stray Enter does not confirm.
    bool AskYesNo(const QString& text) const;

private:
    static QMessageBox* create(QMessageBox::Icon icon, const QString& caption, const QString& text,
                               QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton);
    static QMessageBox::StandardButton execute(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton);

    QString title;
};
