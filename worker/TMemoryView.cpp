#include "worker/TMemoryView.h"

#include "worker/TFieldTable.h"

TMemoryView::TState& TMemoryView::state(TField field)
{
    const auto found = fields.find(int(field));
    if (found != fields.end())
        return *found;
    TState fresh;
    fresh.Items = FieldChoices(field);
    fresh.Index = fresh.Items.isEmpty() ? -1 : 0;
    return *fields.insert(int(field), fresh);
}

void TMemoryView::Enter(TField field, const QString& text)
{
    state(field).Text = text;
    state(field).Modified = true;
}

void TMemoryView::Choose(TField field, int index)
{
    SetItemIndex(field, index);
    state(field).Modified = true;
}

void TMemoryView::Tick(TField field, bool checked)
{
    state(field).Checked = checked;
    state(field).Modified = true;
}

QString TMemoryView::Text(TField field)
{
    const TState& s = state(field);
    if (FieldSpec(field).Kind == TFieldKind::DropDown)
        return s.Index >= 0 && s.Index < s.Items.size() ? s.Items[s.Index] : QString();
    return s.Text;
}

void TMemoryView::SetText(TField field, const QString& text)
{
    state(field).Text = text;
}

int TMemoryView::ItemIndex(TField field)
{
    return state(field).Index;
}

void TMemoryView::SetItemIndex(TField field, int index)
{
    TState& s = state(field);
    s.Index = index >= 0 && index < s.Items.size() ? index : -1;
}

void TMemoryView::SelectItem(TField field, const QString& text)
{
    TState& s = state(field);
    const int index = s.Items.indexOf(text);
    if (index >= 0)
        s.Index = index;
}

void TMemoryView::AddMappingChoice(const QString& name)
{
    for (TField field : { TField::ComboBoxDynDevPV, TField::ComboBoxDynDevSV, TField::ComboBoxDynDevTV, TField::ComboBoxDynDevQV }) {
        TState& s = state(field);
        if (s.Items.contains(name) || (field == TField::ComboBoxDynDevPV && name == QLatin1String("Not Used")))
            continue;
        s.Items << name;
        if (s.Index < 0)
            s.Index = 0;
    }
}

bool TMemoryView::Checked(TField field)
{
    return state(field).Checked;
}

void TMemoryView::SetChecked(TField field, bool checked)
{
    state(field).Checked = checked;
}

bool TMemoryView::Visible(TField field)
{
    return state(field).Visible;
}

void TMemoryView::SetVisible(TField field, bool visible)
{
    state(field).Visible = visible;
}

bool TMemoryView::Enabled(TField field)
{
    return state(field).Enabled;
}

void TMemoryView::SetEnabled(TField field, bool enabled)
{
    state(field).Enabled = enabled;
}

bool TMemoryView::Modified(TField field)
{
    return state(field).Modified;
}

void TMemoryView::Accept(TField field)
{
    state(field).Modified = false;
}

void TMemoryView::Discard(TField field)
{
    state(field).Text.clear();
    state(field).Modified = false;
}

void TMemoryView::AcceptTab(bool complete)
{
    for (TField field : FieldsOf(ShownPage)) {
        const TTracking tracking = FieldSpec(field).Tracking;
        if (tracking != TTracking::None && tracking != TTracking::Passcode)
            Accept(field);
    }
    TabsReadCompletely[int(ShownPage)] = complete;
}

void TMemoryView::ShowStatus(const QString& text)
{
    Statuses << text;
}

TAnswer TMemoryView::Ask(const TQuestion& question)
{
    Questions << question;
    if (Answers.empty())
        return { question.Kind == TQuestion::TKind::YesNo ? TAnswer::ResultNo : TAnswer::Rejected, QString() };
    const TAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
}

void TMemoryView::AddResponseLogLine(const QString& line)
{
    ResponseLog << line;
}

bool TMemoryView::ResponseLogContains(const QString& text)
{
    for (const QString& line : ResponseLog) {
        if (line.contains(text))
            return true;
    }
    return false;
}

QStringList TMemoryView::ResponseLogLines()
{
    return ResponseLog;
}

void TMemoryView::ClearResponseLog()
{
    ResponseLog.clear();
}

void TMemoryView::SetLifeListAddress(int row)
{
    LifeListAddress = row;
}

void TMemoryView::DeliverLifeListRow(const TLifeListAnswer& row)
{
    LifeListRows << row;
}

QStringList TMemoryView::Choices(TField field)
{
    return state(field).Items;
}
