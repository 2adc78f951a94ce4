#include "ui/TFormCOMPortChooser.h"

#include "link/TComPortNames.h"
#include "link/TSerialPort.h"
#include "util/Exceptions.h"
#include "util/UPresentation.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormCOMPortChooser::TFormCOMPortChooser(QWidget* parent)
    : QDialog(parent)
    , portTest(&TSerialPort::IsPresent)
    , portList(new QComboBox(this))
{
    setWindowTitle(QApplication::applicationName());

    const QString hintText = QStringLiteral("Select the serial communication port (COM port):\r\n\r\n"
                                            "NOTE\r\nConnect the (USB-)HART modem to the selected COM port.");
    auto* hint = new QLabel(DisplayText(hintText), this);
    hint->setObjectName(QStringLiteral("LabelHint"));
    portList->setObjectName(QStringLiteral("ComboBoxCOMPort"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ButtonOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("ButtonCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(hint);
    layout->addWidget(portList);
    layout->addWidget(buttons);
}

void TFormCOMPortChooser::SetPortTest(TPortTest test)
{
    portTest = std::move(test);
}

bool TFormCOMPortChooser::PortPresent(int comNumber) const
{
    return portTest(comNumber);
}

int TFormCOMPortChooser::Choose(int count, int preselect)
{
    listPresentPorts(count);
    if (portList->count() == 0)
        throw Exception(QStringLiteral("No COM port was found."));
    selectPort(preselect);
    if (exec() != QDialog::Accepted)
        return -1;
    return portList->currentData().toInt();
}

void TFormCOMPortChooser::listPresentPorts(int count)
{
    portList->clear();
    for (int comNumber = 1; comNumber <= count; ++comNumber) {
        if (PortPresent(comNumber))
            portList->addItem(TComPortNames::DisplayName(comNumber), comNumber);
    }
}

void TFormCOMPortChooser::selectPort(int comNumber)
{
    portList->setCurrentIndex(qMax(0, portList->findData(comNumber)));
}
