#include "worker/TSynchronizedView.h"

#include "worker/TDeviceWindow.h"
#include "worker/TFieldView.h"
#include "worker/TThreadMeridal.h"

#include <QEventLoop>

#include <future>
#include <optional>
#include <memory>

TSynchronizedView::TSynchronizedView(TThreadMeridal& thread, TDeviceWindow& window)
    : thread(thread)
    , window(window)
{
}

template<typename Result, typename Body>
Result TSynchronizedView::read(Body body)
{
    Result result {};
    thread.Synchronize([&] { result = body(window.Fields()); });
    return result;
}

template<typename Body>
void TSynchronizedView::run(Body body)
{
    thread.Synchronize([&] { body(window.Fields()); });
}

QString TSynchronizedView::Text(TField field)
{
    return read<QString>([&](TFieldView& f) { return f.Text(field); });
}

void TSynchronizedView::SetText(TField field, const QString& text)
{
    run([&](TFieldView& f) { f.SetText(field, text); });
}

int TSynchronizedView::ItemIndex(TField field)
{
    return read<int>([&](TFieldView& f) { return f.ItemIndex(field); });
}

void TSynchronizedView::SetItemIndex(TField field, int index)
{
    run([&](TFieldView& f) { f.SetItemIndex(field, index); });
}

void TSynchronizedView::SelectItem(TField field, const QString& text)
{
    run([&](TFieldView& f) { f.SelectItem(field, text); });
}

void TSynchronizedView::AddMappingChoice(const QString& name)
{
    run([&](TFieldView& f) { f.AddMappingChoice(name); });
}

bool TSynchronizedView::Checked(TField field)
{
    return read<bool>([&](TFieldView& f) { return f.Checked(field); });
}

void TSynchronizedView::SetChecked(TField field, bool checked)
{
    run([&](TFieldView& f) { f.SetChecked(field, checked); });
}

bool TSynchronizedView::Visible(TField field)
{
    return read<bool>([&](TFieldView& f) { return f.Visible(field); });
}

void TSynchronizedView::SetVisible(TField field, bool visible)
{
    run([&](TFieldView& f) { f.SetVisible(field, visible); });
}

bool TSynchronizedView::Enabled(TField field)
{
    return read<bool>([&](TFieldView& f) { return f.Enabled(field); });
}

// Runs also during shutdown: the window's controls come back either way.
void TSynchronizedView::SetEnabled(TField field, bool enabled)
{
    thread.Synchronize([&] { window.Fields().SetEnabled(field, enabled); }, TThreadBasis::WhenTerminated::Run);
}

void TSynchronizedView::SetCaption(TField field, const QString& text)
{
    run([&](TFieldView& f) { f.SetCaption(field, text); });
}

void TSynchronizedView::SetHint(TField field, const QString& text)
{
    run([&](TFieldView& f) { f.SetHint(field, text); });
}

void TSynchronizedView::SetProgress(TField field, int position)
{
    run([&](TFieldView& f) { f.SetProgress(field, position); });
}

bool TSynchronizedView::Modified(TField field)
{
    return read<bool>([&](TFieldView& f) { return f.Modified(field); });
}

void TSynchronizedView::Accept(TField field)
{
    run([&](TFieldView& f) { f.Accept(field); });
}

void TSynchronizedView::Discard(TField field)
{
    run([&](TFieldView& f) { f.Discard(field); });
}

void TSynchronizedView::AcceptTab(bool complete)
{
    run([&](TFieldView& f) { f.AcceptTab(complete); });
}

void TSynchronizedView::ShowStatus(const QString& text)
{
    thread.Synchronize([&] {
        thread.StatusText = text;
        window.ShowStatus(text);
        emit thread.StatusTextShown(text);
    });
}

TAnswer TSynchronizedView::Ask(const TQuestion& question)
{
    const TAnswer cancelled { question.Kind == TQuestion::TKind::YesNo ? TAnswer::ResultNo : TAnswer::Rejected, QString() };
    if (thread.OnGuiThread())
        return askOnGuiThread(question, cancelled);

    auto answer = std::make_shared<std::promise<TAnswer>>();
    std::future<TAnswer> result = answer->get_future();
    thread.PostToGui([this, question, cancelled, answer] {
        if (thread.Terminated()) {
            answer->set_value(cancelled);
            return;
        }
        try {
            window.OpenQuestion(question, [answer](const TAnswer& given) { answer->set_value(given); });
        } catch (...) {
            answer->set_exception(std::current_exception());
        }
    });
    return result.get();
}

TAnswer TSynchronizedView::askOnGuiThread(const TQuestion& question, const TAnswer& cancelled)
{
    if (thread.Terminated())
        return cancelled;
    QEventLoop loop;
    std::optional<TAnswer> answer;
    window.OpenQuestion(question, [&](const TAnswer& given) {
        answer = given;
        loop.quit();
    });
    if (!answer)
        loop.exec();
    return *answer;
}

void TSynchronizedView::AddResponseLogLine(const QString& line)
{
    thread.Synchronize([&] { window.AddResponseLogLine(line); });
}

bool TSynchronizedView::ResponseLogContains(const QString& text)
{
    bool contains = false;
    thread.Synchronize([&] { contains = window.ResponseLogContains(text); });
    return contains;
}

QStringList TSynchronizedView::ResponseLogLines()
{
    QStringList lines;
    thread.Synchronize([&] { lines = window.ResponseLogLines(); });
    return lines;
}

void TSynchronizedView::ClearResponseLog()
{
    thread.Synchronize([&] { window.ClearResponseLog(); });
}

void TSynchronizedView::SetLifeListAddress(int row)
{
    thread.Synchronize([&] {
        thread.LifeListAddress = row;
        window.SetLifeListAddress(row);
    });
}

void TSynchronizedView::DeliverLifeListRow(const TLifeListAnswer& row)
{
    thread.Synchronize([&] {
        if (thread.LifeListRowHandler)
            thread.LifeListRowHandler(row);
    });
}
