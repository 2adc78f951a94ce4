#pragma once

#include "worker/TFieldView.h"

#include <QHash>
#include <QList>

class QObject;
class QWidget;
class TFieldTracking;

// The fields of the windows on their controls, found by the object names the
// field table gives them. GUI thread only: the device thread reaches them
// through its synchronized calls.
class TWindowFields : public TFieldView
{
public:
    TWindowFields(const QList<QWidget*>& windows, TFieldTracking& tracking);

    // The field's control in one of the windows; raises when none has it.
    static QObject* Find(const QList<QWidget*>& windows, TField field);
    QObject* Control(TField field);
    QWidget* Widget(TField field);

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

private:
    QList<QWidget*> windows;
    QHash<int, QObject*> controls;
    TFieldTracking& tracking;
};
