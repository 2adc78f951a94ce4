#include "ui/TFormDeviceStatus.h"

#include "commands/TDeviceStatus.h"
#include "ui/TCheckBoxGroupBox.h"
#include "worker/TFieldTable.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <int Bit>
bool FieldDeviceBit(const TDeviceStatus& status)
{
    return (status.DeviceStatus & (1u << Bit)) != 0;
}

void KeepSpaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

TFormDeviceStatus::TFormDeviceStatus(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Device Status"));

    auto* deviceStatus = new QGroupBox(QStringLiteral(" Device Status "), this);
    deviceStatus->setObjectName(QStringLiteral("GroupBoxDeviceStatus"));
    auto* deviceGrid = new QGridLayout(deviceStatus);
    deviceGrid->addWidget(statusBox(TField::CheckBoxSuccess, "Success",
                                    [](const TDeviceStatus& s) { return s.DeviceStatus == 0; }), 0, 0);
    deviceGrid->addWidget(statusBox(TField::CheckBoxColdStart, "Cold Start", FieldDeviceBit<5>), 1, 0);
    deviceGrid->addWidget(statusBox(TField::CheckBoxConfigurationChanged, "Configuration Changed", FieldDeviceBit<6>), 2, 0);
    deviceGrid->addWidget(statusBox(TField::CheckBoxDeviceMalfunction, "Device Malfunction", FieldDeviceBit<7>), 3, 0);
    deviceGrid->addWidget(statusBox(TField::CheckBoxPriVarOutOfLimit, "Primary Variable Out of Limits", FieldDeviceBit<0>),
                          0, 1);
    deviceGrid->addWidget(statusBox(TField::CheckBoxNonPriVarOutOfLimit, "Non-Primary Variable Out of Limits",
                                    FieldDeviceBit<1>), 1, 1);
    deviceGrid->addWidget(statusBox(TField::CheckBoxLoopCurrentFixed, "Loop Current Fixed", FieldDeviceBit<3>), 2, 1);
    deviceGrid->addWidget(statusBox(TField::CheckBoxLoopCurrentSaturated, "Loop Current Saturated", FieldDeviceBit<2>), 3, 1);

    auto* moreStatus = new TCheckBoxGroupBox(
        statusBox(TField::CheckBoxMoreStatusAvailable, "More Status Available", FieldDeviceBit<4>), this);
    moreStatus->setObjectName(QStringLiteral("GroupBoxMoreStatus"));
    moreStatus->AddWidget(statusBox(TField::CheckBoxHARTParaError, "HART Parameter Error",
                                    [](const TDeviceStatus& s) { return s.HARTParameterError; }), 0, 0);
    moreStatus->AddWidget(statusBox(TField::CheckBoxTransParaError, "Transmitter Parameter Error",
                                    [](const TDeviceStatus& s) { return s.TransmitterParameterError; }), 1, 0);
    QCheckBox* lowVoltage = statusBox(TField::CheckBoxLowVoltageError, "Low Voltage Error",
                                      [](const TDeviceStatus& s) { return s.LowVoltageError; });
    QCheckBox* dryWarning = statusBox(TField::CheckBoxDryWarning, "Dry Warning",
                                      [](const TDeviceStatus& s) { return s.DryWarning; });
    moreStatus->AddWidget(lowVoltage, 2, 0);
    moreStatus->AddWidget(dryWarning, 2, 0);
    QCheckBox* errorCounter = statusBox(TField::CheckBoxErrorCountError, "Error Counter Error",
                                        [](const TDeviceStatus& s) { return s.ErrorCounterError; });
    QCheckBox* measurement = statusBox(TField::CheckBoxMeasureError, "Measuremant Error",
                                       [](const TDeviceStatus& s) { return s.MeasurementError; });
    moreStatus->AddWidget(errorCounter, 0, 1);
    moreStatus->AddWidget(measurement, 1, 1);
    for (QCheckBox* familyBox : {lowVoltage, dryWarning, errorCounter, measurement})
        KeepSpaceWhenHidden(familyBox);
    dryWarning->hide();

    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("ButtonClose"));
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(deviceStatus);
    layout->addWidget(moreStatus);
    layout->addLayout(buttonRow);
}

void TFormDeviceStatus::ShowStatus(const TDeviceStatus& status)
{
    for (const auto& [box, condition] : conditions)
        box->setChecked(condition(status));
}

// A box the user can read but not change: mouse clicks pass through it and
// it never takes the keyboard focus.
QCheckBox* TFormDeviceStatus::statusBox(TField field, const char* caption, TCondition condition)
{
    auto* box = new QCheckBox(QString::fromLatin1(caption), this);
    box->setObjectName(FieldName(field));
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
    conditions.emplace_back(box, condition);
    return box;
}
