#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class TFormDeviceStatus;
class TFormMainControls;
class TMessageDialog;
class TRegistryTool;
struct TDirectCommandRequest;

// The service window for raw HART commands. A technician types a command
// number and data bytes; the window builds the whole long frame (preambles
// to checksum) addressed to the device identified in the main window, the
// device thread sends it unchanged, and the answer comes back field by
// field. Helpers turn typed numbers into data bytes and selected answer
// bytes back into numbers. The window keeps its fields between showings.
class TFormDirectCommand : public QDialog
{
    Q_OBJECT

public:
    TFormDirectCommand(const TFormMainControls& mainControls, TFormDeviceStatus& deviceStatus, TRegistryTool& settings,
                       TMessageDialog& messages, QWidget* parent = nullptr);

    // "Send" and Enter in the command edit: builds the request and starts
    // the job, when the device thread is idle.
    void ButtonSendClick();
    // Append the bytes of a typed number to the data memo's first line.
    void ButtonGetIEEE754Click();
    void ButtonGetUnsignedIntClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildRequestGroup();
    QWidget* buildAnswerGroup();
    TDirectCommandRequest request() const;
    void updateChecksum();
    void appendTypedNumber(const QString& prompt, const QString& preset,
                           const std::function<QByteArray(const QString&)>& bytesOf);
    void appendDataBytes(const QByteArray& bytes);
    // Shows the answer bytes selected as an IEEE single and as an integer.
    void interpretSelection();

    const TFormMainControls& mainControls;
    TFormDeviceStatus& deviceStatus;
    TRegistryTool& settings;
    TMessageDialog& messages;

    QLineEdit* command;
    QPlainTextEdit* data;
    QLineEdit* preambles;
    QCheckBox* secondaryMaster;
    QLineEdit* checksum;

    QPlainTextEdit* answerData;
    QLineEdit* responseCode;
    QLineEdit* deviceStatusCode;
    QLineEdit* selectionAsFloat;
    QLineEdit* selectionAsInteger;
};
