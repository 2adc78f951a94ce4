#include "ui/TFormMultidropLifeList.h"

#include "commands/UResponseCodes.h"
#include "ui/TBalloonHint.h"
#include "ui/THighlightDelegate.h"
#include "ui/TMessageDialog.h"
#include "util/UPresentation.h"
#include "util/UUtilZahlensystem.h"
#include "worker/TLifeListJobs.h"
#include "worker/TThreadMeridal.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int NoRow = 255;
constexpr int AddressColumnWidth = 24;
const QColor HighlightColor(255, 255, 0);
const QString StopCaption = QStringLiteral("Stop");

constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;

// The identity and status of a row are shown only where a device answered.
QString IfDevice(const TLifeListAnswer& row, const QString& text)
{
    return row.ManufacturerID != 0 ? text : QString();
}

QString CodeText(quint16 code)
{
    return code != 0 ? DecHex(code, 2) : QString();
}

// One column of the grid after the address column: its header, width,
// alignment, whether a refresh writes it again, and its text for a row.
struct TColumn
{
    const char* Header;
    int Width;
    Qt::Alignment Alignment;
    bool Refreshed;
    QString (*Text)(const TLifeListAnswer& row);
};

enum Column { TagColumn, ManufacturerColumn, DeviceCodeColumn, DeviceIDColumn, StatusColumn, PVColumn, PercentColumn };

const TColumn Columns[] = {
    { "Tag", 78, Left, true, [](const TLifeListAnswer& row) { return row.Tag; } },
    { "Man. ID", 75, Right, false, [](const TLifeListAnswer& row) { return CodeText(row.ManufacturerID); } },
    { "Dev. Code", 89, Right, false, [](const TLifeListAnswer& row) { return CodeText(row.DeviceTypeCode); } },
    { "Dev. ID", 70, Right, false,
      [](const TLifeListAnswer& row) { return IfDevice(row, QString::number(row.DeviceID)); } },
    { "Dev. Status", 79, Right, true,
      [](const TLifeListAnswer& row) { return IfDevice(row, QStringLiteral("0x") + IntToDigits(row.Status.DeviceStatus, 16, 2)); } },
    { "PV Value", 114, Right, true, [](const TLifeListAnswer& row) { return row.PVText; } },
    { "% of Range", 79, Right, true, [](const TLifeListAnswer& row) { return row.PercentText; } },
};
constexpr int ColumnCount = int(std::size(Columns));

// The field device status bits in the order the status hint lists them.
constexpr int StatusHintBits[] = { 5, 6, 7, 0, 1, 3, 2, 4 };

QString StatusHint(quint8 deviceStatus)
{
    QStringList lines;
    for (const int bit : StatusHintBits) {
        if (deviceStatus & (1 << bit))
            lines << FieldDeviceStatusText(bit);
    }
    return lines.join(QLatin1Char('\r'));
}

// A row whose device answered malformed shows only what went wrong.
TLifeListAnswer Failed(const TLifeListAnswer& row, const QString& tag)
{
    TLifeListAnswer failed;
    failed.PollingAddress = row.PollingAddress;
    failed.Tag = tag;
    return failed;
}

QPushButton* Button(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    // Enter presses no button by itself: a scan is started on purpose.
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFormMultidropLifeList::TFormMultidropLifeList(TMessageDialog& messages, QWidget* parent)
    : QDialog(parent)
    , messages(messages)
    , grid(new QTableWidget(LifeListSize, ColumnCount))
    , rescan(Button(QStringLiteral("ButtonRescan"), QStringLiteral("Rescan")))
    , refresh(Button(QStringLiteral("ButtonRefresh"), QStringLiteral("Refresh")))
    , selectDevice(Button(QStringLiteral("ButtonSelectDevice"), QStringLiteral("Select Device")))
    , close(Button(QStringLiteral("ButtonClose"), QStringLiteral("Close")))
    , balloon(new TBalloonHint(this))
{
    setObjectName(QStringLiteral("FormMultidropLifeList"));
    setWindowTitle(QStringLiteral("Multidrop - Life List"));
    // Modal to the main window only: the trace console beside it stays usable.
    setWindowModality(Qt::WindowModal);
    for (int address = 0; address < LifeListSize; ++address)
        answers[address].PollingAddress = address;
    buildGrid();
    selectDevice->setEnabled(false);

    connect(rescan, &QPushButton::clicked, this, &TFormMultidropLifeList::ButtonRescanClick);
    connect(refresh, &QPushButton::clicked, this, &TFormMultidropLifeList::ButtonRefreshClick);
    connect(selectDevice, &QPushButton::clicked, this, &TFormMultidropLifeList::ButtonSelectDeviceClick);
    connect(close, &QPushButton::clicked, this, &TFormMultidropLifeList::reject);
    connect(grid, &QTableWidget::cellDoubleClicked, this, &TFormMultidropLifeList::ButtonSelectDeviceClick);
    connect(grid, &QTableWidget::itemSelectionChanged, this, &TFormMultidropLifeList::updateButtons);
    connect(this, &QDialog::finished, balloon, &QWidget::hide);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : { rescan, refresh, selectDevice })
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(grid);
    layout->addLayout(buttons);
}

void TFormMultidropLifeList::buildGrid()
{
    grid->setObjectName(QStringLiteral("StringGridLifeList"));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setMouseTracking(true);
    // The row being worked on is marked also when it is the selected one.
    grid->setItemDelegate(new THighlightDelegate(grid));
    grid->viewport()->installEventFilter(this);

    int width = AddressColumnWidth;
    for (int column = 0; column < ColumnCount; ++column) {
        auto* header = new QTableWidgetItem(QString::fromLatin1(Columns[column].Header));
        header->setTextAlignment(Columns[column].Alignment);
        grid->setHorizontalHeaderItem(column, header);
        grid->setColumnWidth(column, Columns[column].Width);
        width += Columns[column].Width;
    }
    for (int address = 0; address < LifeListSize; ++address) {
        auto* header = new QTableWidgetItem(QString::number(address));
        header->setTextAlignment(Right);
        grid->setVerticalHeaderItem(address, header);
        for (int column = 0; column < ColumnCount; ++column) {
            auto* cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            cell->setTextAlignment(Columns[column].Alignment);
            grid->setItem(address, column, cell);
        }
    }
    QHeaderView* addresses = grid->verticalHeader();
    addresses->setSectionResizeMode(QHeaderView::Fixed);
    addresses->setFixedWidth(AddressColumnWidth);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int frame = 2 * grid->frameWidth();
    grid->setFixedSize(width + frame,
                       grid->horizontalHeader()->sizeHint().height() + LifeListSize * addresses->defaultSectionSize() + frame);
}

void TFormMultidropLifeList::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    SetHighlightedRow(NoRow);
    if (!DeviceSelected)
        ButtonRescanClick();
}

// --- Buttons ---

void TFormMultidropLifeList::ButtonRescanClick()
{
    startOrStop(TState::Scanning);
}

void TFormMultidropLifeList::ButtonRefreshClick()
{
    startOrStop(TState::Refreshing);
}

void TFormMultidropLifeList::startOrStop(TState job)
{
    TThreadMeridal* thread = DeviceThread;
    if (!thread)
        return;
    if (state == job) {
        thread->Abort();
        return;
    }
    // The job reads what it is handed while it runs: it is handed over only
    // while the thread is idle (it may still be ending the last job).
    if (state != TState::Idle || !thread->Suspended())
        return;
    bool started = false;
    if (job == TState::Scanning) {
        thread->LifeListRowHandler = [this](const TLifeListAnswer& row) { ScanRowHandler(row); };
        started = thread->StartJob([thread] { TLifeListJobs(*thread).JobLifeListScan(); });
    } else {
        thread->LifeListRowHandler = [this](const TLifeListAnswer& row) { RefreshRowHandler(row); };
        thread->LifeListAnswers = answers;
        started = thread->StartJob([thread] { TLifeListJobs(*thread).JobLifeListRefresh(); });
    }
    if (started)
        enterState(job);
}

void TFormMultidropLifeList::ButtonSelectDeviceClick()
{
    TThreadMeridal* thread = DeviceThread;
    // Identification runs here, on the GUI thread, so the device thread must
    // have ended the job that delivered the list.
    if (!selectDevice->isEnabled() || !thread || !thread->Suspended())
        return;
    try {
        thread->SelectDevice(selectedAddress());
    } catch (const Exception& e) {
        messages.ShowError(e.Message());
    }
    accept();
}

void TFormMultidropLifeList::reject()
{
    if (state == TState::Idle)
        QDialog::reject();
}

void TFormMultidropLifeList::enterState(TState newState)
{
    state = newState;
    SetHighlightedRow(NoRow);
    updateButtons();
}

void TFormMultidropLifeList::updateButtons()
{
    rescan->setText(state == TState::Scanning ? StopCaption : QStringLiteral("Rescan"));
    refresh->setText(state == TState::Refreshing ? StopCaption : QStringLiteral("Refresh"));
    rescan->setEnabled(state != TState::Refreshing);
    refresh->setEnabled(state != TState::Scanning);
    close->setEnabled(state == TState::Idle);
    const int selected = selectedAddress();
    selectDevice->setEnabled(state == TState::Idle && selected >= 0 && !cellText(selected, DeviceIDColumn).isEmpty());
}

// --- Rows from the jobs ---

// The first device found becomes the selected row; a device row the user
// chose stays selected.
void TFormMultidropLifeList::ScanRowHandler(const TLifeListAnswer& row)
{
    showRow(row.Inconsistent ? Failed(row, QStringLiteral("Inconsistent answer")) : row, false);
    const int selected = selectedAddress();
    if ((selected < 0 || cellText(selected, ManufacturerColumn).isEmpty())
        && !cellText(row.PollingAddress, ManufacturerColumn).isEmpty())
        grid->selectRow(row.PollingAddress);
    if (row.IsLast)
        enterState(TState::Idle);
}

void TFormMultidropLifeList::RefreshRowHandler(const TLifeListAnswer& row)
{
    showRow(row.Inconsistent ? Failed(row, QStringLiteral("General Error")) : row, true);
    if (row.IsLast)
        enterState(TState::Idle);
}

void TFormMultidropLifeList::showRow(const TLifeListAnswer& row, bool refreshed)
{
    answers[row.PollingAddress] = row;
    for (int column = 0; column < ColumnCount; ++column) {
        if (!refreshed || Columns[column].Refreshed)
            grid->item(row.PollingAddress, column)->setText(Columns[column].Text(row));
    }
}

void TFormMultidropLifeList::SetHighlightedRow(int row)
{
    const auto paint = [this](int gridRow, const QBrush& brush) {
        if (gridRow < 1 || gridRow > LifeListSize)
            return;
        for (int column = 0; column < ColumnCount; ++column)
            grid->item(gridRow - 1, column)->setBackground(brush);
    };
    paint(highlightedRow, QBrush());
    highlightedRow = row;
    paint(highlightedRow, HighlightColor);
}

void TFormMultidropLifeList::JobEnded()
{
    if (state != TState::Idle)
        enterState(TState::Idle);
}

// --- Grid ---

int TFormMultidropLifeList::selectedAddress() const
{
    const QModelIndexList rows = grid->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString TFormMultidropLifeList::cellText(int address, int column) const
{
    return grid->item(address, column)->text();
}

bool TFormMultidropLifeList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid->viewport() && event->type() == QEvent::ToolTip) {
        showStatusHint(static_cast<QHelpEvent*>(event)->pos());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormMultidropLifeList::showStatusHint(const QPoint& position)
{
    const QModelIndex cell = grid->indexAt(position);
    const QString hint = cell.isValid() && cell.column() == StatusColumn
                             ? StatusHint(answers[cell.row()].Status.DeviceStatus)
                             : QString();
    QWidget* viewport = grid->viewport();
    const QRect area = grid->visualRect(cell);
    balloon->ShowAt(viewport->mapToGlobal(position), QRect(viewport->mapToGlobal(area.topLeft()), area.size()),
                    QStringLiteral("Device Status"), hint);
}
