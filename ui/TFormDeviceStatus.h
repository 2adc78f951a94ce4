#pragma once

#include "worker/TField.h"

#include <QDialog>

#include <utility>
#include <vector>

class QCheckBox;
struct TDeviceStatus;

// The device status window: one check box per status bit and per additional
// status flag of the last answer. The boxes only mirror the device, so the
// user cannot change them; they still look like ordinary check boxes.
//
// "Dry Warning" shares its place with "Low Voltage Error" and is hidden at
// first; the device-family adaptation shows either it or the three boxes
// "Low Voltage Error", "Measuremant Error" and "Error Counter Error". Hidden
// boxes keep their space, so the window never changes its size.
class TFormDeviceStatus : public QDialog
{
    Q_OBJECT

public:
    explicit TFormDeviceStatus(QWidget* parent = nullptr);

    // Sets every box from the status of an answer.
    void ShowStatus(const TDeviceStatus& status);

private:
    using TCondition = bool (*)(const TDeviceStatus&);

    QCheckBox* statusBox(TField field, const char* caption, TCondition condition);

    std::vector<std::pair<QCheckBox*, TCondition>> conditions;
};
