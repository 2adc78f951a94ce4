#include "ui/TFormDirectCommand.h"

#include "ui/TDirectCommandRequest.h"
#include "ui/TFormDeviceStatus.h"
#include "ui/TFormMainControls.h"
#include "ui/TMessageDialog.h"
#include "ui/UControlColors.h"
#include "ui/UControlFactory.h"
#include "ui/UFormPosition.h"
#include "ui/UStatusColors.h"
#include "util/Exceptions.h"
#include "util/UConversions.h"
#include "util/UPresentation.h"
#include "util/UStringTokenizer.h"
#include "util/UUtilZahlensystem.h"
#include "worker/TDirectCommandJob.h"
#include "worker/TFieldTable.h"
#include "worker/TThreadMeridal.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString FormName = QStringLiteral("FormDirectCommand");
const QString InputTitle = QStringLiteral("Meridal");
const QString SelectionError = QStringLiteral("Error");

// A byte list as typed or shown: blanks between, in a fixed-width font so
// that the bytes line up.
QPlainTextEdit* Memo(const QString& name, bool readOnly)
{
    auto* memo = Named(new QPlainTextEdit, name);
    memo->setReadOnly(readOnly);
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memo->setFixedHeight(memo->fontMetrics().lineSpacing() * 3 + 2 * memo->frameWidth() + 8);
    return memo;
}

QLineEdit* WithHint(QLineEdit* edit, const QString& hint)
{
    edit->setToolTip(hint);
    return edit;
}

QByteArray SelectedBytes(const TStringTokenizer& tokens)
{
    QByteArray bytes;
    for (const QString& token : tokens)
        bytes.append(char(HexToUInt32(token)));
    return bytes;
}

// Exactly four bytes, the first the most significant, as an IEEE single.
QString SelectionAsFloat(const TStringTokenizer& tokens)
{
    if (tokens.size() != 4)
        return SelectionError;
    try {
        return FormatFixed(BytesToSingle(SelectedBytes(tokens)), 3);
    } catch (const EConvertError&) {
        return SelectionError;
    }
}

// Up to four bytes as one unsigned big-endian number.
QString SelectionAsInteger(const TStringTokenizer& tokens)
{
    if (tokens.size() > 4)
        return SelectionError;
    try {
        return QString::number(HexToUInt32(tokens.join(QString())));
    } catch (const EConvertError&) {
        return SelectionError;
    }
}

} // namespace

TFormDirectCommand::TFormDirectCommand(const TFormMainControls& mainControls, TFormDeviceStatus& deviceStatus,
                                       TRegistryTool& settings, TMessageDialog& messages, QWidget* parent)
    : QDialog(parent)
    , mainControls(mainControls)
    , deviceStatus(deviceStatus)
    , settings(settings)
    , messages(messages)
{
    setObjectName(FormName);
    setWindowTitle(QStringLiteral("Direct Command"));
    // Modal to the main window only: the trace console beside it stays usable.
    setWindowModality(Qt::WindowModal);

    auto* close = Button(QStringLiteral("ButtonClose"), QStringLiteral("Close"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(buildRequestGroup());
    layout->addWidget(buildAnswerGroup());
    layout->addLayout(buttons);
}

QWidget* TFormDirectCommand::buildRequestGroup()
{
    command = NumericEdit(QStringLiteral("EditCommand"), QStringLiteral("1"));
    data = Memo(QStringLiteral("MemoData"), false);
    preambles = NumericEdit(QStringLiteral("EditPreambles"), QStringLiteral("5"));
    secondaryMaster = Check(QStringLiteral("CheckBoxSecondaryMaster"), QStringLiteral("Secondary Master"));
    QLineEdit* delimiter = ReadOnlyEdit(QStringLiteral("EditDelimiter"));
    delimiter->setText(BytesToHex(QByteArray(1, char(TDirectCommandRequest::Delimiter))));
    checksum = ReadOnlyEdit(QStringLiteral("EditCheckSum"));

    auto* send = Button(QStringLiteral("ButtonSend"), QStringLiteral("Send"));
    auto* getFloat = Button(QStringLiteral("ButtonGetIEEE754"), QStringLiteral("Get IEEE 754"));
    auto* getInteger = Button(QStringLiteral("ButtonGetUnsignedInt"), QStringLiteral("Get Unsigned Int"));
    // Enter sends from the command edit only; it never presses a button.
    for (QPushButton* button : { send, getFloat, getInteger })
        button->setAutoDefault(false);
    connect(send, &QPushButton::clicked, this, &TFormDirectCommand::ButtonSendClick);
    connect(getFloat, &QPushButton::clicked, this, &TFormDirectCommand::ButtonGetIEEE754Click);
    connect(getInteger, &QPushButton::clicked, this, &TFormDirectCommand::ButtonGetUnsignedIntClick);
    connect(command, &QLineEdit::returnPressed, this, &TFormDirectCommand::ButtonSendClick);
    for (QLineEdit* edit : { command, preambles })
        connect(edit, &QLineEdit::textChanged, this, &TFormDirectCommand::updateChecksum);
    connect(data, &QPlainTextEdit::textChanged, this, &TFormDirectCommand::updateChecksum);
    connect(secondaryMaster, &QCheckBox::clicked, this, &TFormDirectCommand::updateChecksum);
    // The memo stays one line.
    data->installEventFilter(this);

    auto* group = Group(QStringLiteral("GroupBoxRequest"), QStringLiteral("Request"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(Caption(QStringLiteral("Command")), 0, 0);
    grid->addWidget(command, 0, 1);
    grid->addWidget(Caption(QStringLiteral("Preambles")), 0, 2);
    grid->addWidget(preambles, 0, 3);
    grid->addWidget(secondaryMaster, 0, 4, 1, 2);
    grid->addWidget(Caption(QStringLiteral("Data")), 1, 0);
    grid->addWidget(data, 1, 1, 1, 5);
    grid->addWidget(getFloat, 2, 1);
    grid->addWidget(getInteger, 2, 2, 1, 2);
    grid->addWidget(Caption(QStringLiteral("Delimiter")), 3, 0);
    grid->addWidget(delimiter, 3, 1);
    grid->addWidget(Caption(QStringLiteral("CheckSum")), 3, 2);
    grid->addWidget(checksum, 3, 3);
    grid->addWidget(send, 3, 5);
    return group;
}

QWidget* TFormDirectCommand::buildAnswerGroup()
{
    QLineEdit* answerCommand = ReadOnlyEdit(FieldName(TField::EditAnswerCommand));
    QLineEdit* address = ReadOnlyEdit(FieldName(TField::EditAnswerAddress));
    QLineEdit* answerChecksum = ReadOnlyEdit(FieldName(TField::EditAnswerCheckSum));
    answerData = Memo(FieldName(TField::MemoAnswerData), true);
    // Bytes are picked with the mouse or with Shift and the arrow keys.
    answerData->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    responseCode = WithHint(ReadOnlyEdit(FieldName(TField::EditResponseCode)), QStringLiteral("Response Code"));
    deviceStatusCode = WithHint(ReadOnlyEdit(FieldName(TField::EditDeviceStatus)),
                                QStringLiteral("Device Status - double click for more information"));
    selectionAsFloat = WithHint(ReadOnlyEdit(QStringLiteral("EditIEEE754")), QStringLiteral("floating-point number (IEEE 754)"));
    selectionAsInteger = WithHint(ReadOnlyEdit(QStringLiteral("EditUnsignedInt")), QStringLiteral("Unsigned Integer"));

    connect(responseCode, &QLineEdit::textChanged, this, [this](const QString& text) {
        SetControlColor(responseCode, ResponseCodeColor(text));
    });
    connect(deviceStatusCode, &QLineEdit::textChanged, this, [this](const QString& text) {
        try {
            SetControlColor(deviceStatusCode, DeviceStatusColor(quint8(HexToUInt32(text))));
        } catch (const EConvertError&) {
            SetControlColor(deviceStatusCode, Qt::white);
        }
    });
    connect(answerData, &QPlainTextEdit::selectionChanged, this, &TFormDirectCommand::interpretSelection);
    deviceStatusCode->installEventFilter(this);

    auto* group = Group(QStringLiteral("GroupBoxAnswer"), QStringLiteral("Answer"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(Caption(QStringLiteral("Command")), 0, 0);
    grid->addWidget(answerCommand, 0, 1);
    grid->addWidget(Caption(QStringLiteral("Address")), 0, 2);
    grid->addWidget(address, 0, 3, 1, 3);
    grid->addWidget(Caption(QStringLiteral("Response Code")), 1, 0);
    grid->addWidget(responseCode, 1, 1);
    grid->addWidget(Caption(QStringLiteral("Device Status")), 1, 2);
    grid->addWidget(deviceStatusCode, 1, 3);
    grid->addWidget(Caption(QStringLiteral("CheckSum")), 1, 4);
    grid->addWidget(answerChecksum, 1, 5);
    grid->addWidget(Caption(QStringLiteral("Data")), 2, 0);
    grid->addWidget(answerData, 2, 1, 1, 5);
    grid->addWidget(Caption(QStringLiteral("IEEE 754")), 3, 0);
    grid->addWidget(selectionAsFloat, 3, 1);
    grid->addWidget(Caption(QStringLiteral("Unsigned Int")), 3, 2);
    grid->addWidget(selectionAsInteger, 3, 3);
    return group;
}

// The preview is built from the device identified now, which may be
// another than when the window was last shown, or none at its creation.
void TFormDirectCommand::showEvent(QShowEvent* event)
{
    updateChecksum();
    deviceStatus.hide();
    RestoreFormPosition(*this, settings, FormName, QPoint(150, 100));
    QDialog::showEvent(event);
    command->setFocus(Qt::OtherFocusReason);
}

void TFormDirectCommand::done(int result)
{
    StoreFormPosition(*this, settings, FormName);
    QDialog::done(result);
}

bool TFormDirectCommand::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == data && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    if (watched == deviceStatusCode && event->type() == QEvent::MouseButtonDblClick) {
        deviceStatus.show();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

TDirectCommandRequest TFormDirectCommand::request() const
{
    TDirectCommandRequest request;
    request.ManufacturerID = mainControls.EditManufacturerID->text();
    request.DeviceCode = mainControls.EditDeviceCode->text();
    request.DeviceID = mainControls.EditDeviceID->text();
    request.Command = command->text();
    request.Data = data->toPlainText();
    request.Preambles = preambles->text();
    request.SecondaryMaster = secondaryMaster->isChecked();
    return request;
}

void TFormDirectCommand::updateChecksum()
{
    checksum->setText(request().ChecksumText());
}

void TFormDirectCommand::ButtonSendClick()
{
    TThreadMeridal* thread = DeviceThread;
    if (!thread) {
        messages.ShowInfo(QStringLiteral("Thread not assigned."));
        return;
    }
    if (!thread->Suspended()) {
        messages.ShowInfo(QStringLiteral("Thread not ready."));
        return;
    }
    updateChecksum();
    try {
        thread->DirectCommandRequest = request().Frame();
    } catch (const Exception& e) {
        messages.ShowError(e.Message());
        return;
    }
    thread->StartJob([thread] { TDirectCommandJob(*thread).JobDirectCommand(); });
}

void TFormDirectCommand::ButtonGetIEEE754Click()
{
    appendTypedNumber(QStringLiteral("Enter floating-point number"), QString(),
                      [](const QString& text) { return SingleToBytes(StrToFloat(text)); });
}

void TFormDirectCommand::ButtonGetUnsignedIntClick()
{
    appendTypedNumber(QStringLiteral("Enter unsigned integer number"), QStringLiteral("0"), [](const QString& text) {
        const int value = StrToInt(text);
        if (value < 0)
            throw Exception(QStringLiteral("Input less than 0."));
        return IntToBytes(value, 4);
    });
}

// Asks for a number; Cancel changes nothing, a text that is no such number
// is shown in the error box.
void TFormDirectCommand::appendTypedNumber(const QString& prompt, const QString& preset,
                                           const std::function<QByteArray(const QString&)>& bytesOf)
{
    bool ok = false;
    const QString text = QInputDialog::getText(this, InputTitle, prompt, QLineEdit::Normal, preset, &ok);
    if (!ok)
        return;
    try {
        appendDataBytes(bytesOf(text));
    } catch (const Exception& e) {
        messages.ShowError(e.Message());
    }
}

void TFormDirectCommand::appendDataBytes(const QByteArray& bytes)
{
    QStringList lines = data->toPlainText().split(QLatin1Char('\n'));
    lines[0] += HexByteList(bytes);
    data->setPlainText(lines.join(QLatin1Char('\n')));
}

void TFormDirectCommand::interpretSelection()
{
    const TStringTokenizer tokens(answerData->textCursor().selectedText(), QStringLiteral(" "));
    selectionAsFloat->setText(SelectionAsFloat(tokens));
    selectionAsInteger->setText(SelectionAsInteger(tokens));
}
