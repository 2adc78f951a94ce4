// The device status window: one read-only check box per status bit.
#include "ui/TFormDeviceStatus.h"

#include "commands/TDeviceStatus.h"
#include "WindowChecks.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QtTest>

namespace {

const QStringList BoxNames = {
    "CheckBoxSuccess", "CheckBoxColdStart", "CheckBoxConfigurationChanged", "CheckBoxDeviceMalfunction",
    "CheckBoxPriVarOutOfLimit", "CheckBoxNonPriVarOutOfLimit", "CheckBoxLoopCurrentFixed",
    "CheckBoxLoopCurrentSaturated", "CheckBoxMoreStatusAvailable", "CheckBoxHARTParaError",
    "CheckBoxTransParaError", "CheckBoxLowVoltageError", "CheckBoxErrorCountError", "CheckBoxMeasureError",
    "CheckBoxDryWarning",
};

TDeviceStatus FieldDeviceStatus(quint8 bits)
{
    TDeviceStatus status;
    status.DeviceStatus = bits;
    return status;
}

} // namespace

class TestFormDeviceStatus : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        form = std::make_unique<TFormDeviceStatus>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void cleanup()
    {
        form.reset();
    }

    void captionsAndGroups_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("column");
        const QString device = "GroupBoxDeviceStatus";
        const QString more = "GroupBoxMoreStatus";
        QTest::newRow("success") << "CheckBoxSuccess" << "Success" << device << 0;
        QTest::newRow("cold start") << "CheckBoxColdStart" << "Cold Start" << device << 0;
        QTest::newRow("config changed") << "CheckBoxConfigurationChanged" << "Configuration Changed" << device << 0;
        QTest::newRow("malfunction") << "CheckBoxDeviceMalfunction" << "Device Malfunction" << device << 0;
        QTest::newRow("PV limits") << "CheckBoxPriVarOutOfLimit" << "Primary Variable Out of Limits" << device << 1;
        QTest::newRow("non-PV limits") << "CheckBoxNonPriVarOutOfLimit" << "Non-Primary Variable Out of Limits"
                                       << device << 1;
        QTest::newRow("fixed") << "CheckBoxLoopCurrentFixed" << "Loop Current Fixed" << device << 1;
        QTest::newRow("saturated") << "CheckBoxLoopCurrentSaturated" << "Loop Current Saturated" << device << 1;
        QTest::newRow("HART parameter") << "CheckBoxHARTParaError" << "HART Parameter Error" << more << 0;
        QTest::newRow("transmitter") << "CheckBoxTransParaError" << "Transmitter Parameter Error" << more << 0;
        QTest::newRow("low voltage") << "CheckBoxLowVoltageError" << "Low Voltage Error" << more << 0;
        QTest::newRow("error counter") << "CheckBoxErrorCountError" << "Error Counter Error" << more << 1;
        QTest::newRow("measurement") << "CheckBoxMeasureError" << "Measuremant Error" << more << 1;
    }

    void captionsAndGroups()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, group);
        QFETCH(int, column);
        const QCheckBox* box = form->findChild<QCheckBox*>(name);
        QVERIFY(box);
        QCOMPARE(box->text(), caption);
        QCOMPARE(box->parentWidget()->objectName(), group);
        // The left column's boxes all start further left than the right column's.
        const QCheckBox* leftColumnBox = form->findChild<QCheckBox*>(group == "GroupBoxDeviceStatus"
                                                                         ? "CheckBoxSuccess"
                                                                         : "CheckBoxHARTParaError");
        QCOMPARE(box->x() == leftColumnBox->x(), column == 0);
        QVERIFY(box->isVisible());
    }

    void windowLooksFinished()
    {
        QCOMPARE(form->windowTitle(), QString("Device Status"));
        QCOMPARE(form->findChild<QGroupBox*>("GroupBoxDeviceStatus")->title(), QString(" Device Status "));
        QCOMPARE(form->findChild<QGroupBox*>("GroupBoxMoreStatus")->title(), QString());
        QVERIFY(!form->isModal());
        VerifyFixedSize(form.get());
        VerifyNoClippedText(form.get());
        VerifyNoOverlappingControls(form.get());
    }

    void moreStatusAvailableIsTheSecondGroupsTitleLine()
    {
        auto* group = form->findChild<QGroupBox*>("GroupBoxMoreStatus");
        const auto* title = form->findChild<QCheckBox*>("CheckBoxMoreStatusAvailable");
        QCOMPARE(title->text(), QString("More Status Available"));
        QCOMPARE(title->parentWidget(), group);
        QVERIFY(!group->isCheckable());
        for (const char* name : {"CheckBoxHARTParaError", "CheckBoxTransParaError", "CheckBoxLowVoltageError",
                                    "CheckBoxErrorCountError", "CheckBoxMeasureError"}) {
            QVERIFY2(title->geometry().bottom() < form->findChild<QCheckBox*>(name)->y(), name);
        }
        // It stands where a group's title stands: at the group's top left.
        const QCheckBox* firstContent = form->findChild<QCheckBox*>("CheckBoxHARTParaError");
        QVERIFY(title->x() <= firstContent->x());
        QVERIFY(title->y() < group->height() / 4);
    }

    void dryWarningSharesThePlaceOfLowVoltageError()
    {
        const QCheckBox* dryWarning = form->findChild<QCheckBox*>("CheckBoxDryWarning");
        QVERIFY(dryWarning);
        QCOMPARE(dryWarning->text(), QString("Dry Warning"));
        QVERIFY(!dryWarning->isVisible());
        QCOMPARE(dryWarning->pos(), form->findChild<QCheckBox*>("CheckBoxLowVoltageError")->pos());
    }

    void familyAdaptationKeepsTheWindowSize()
    {
        const QSize before = form->size();
        for (const char* name : {"CheckBoxLowVoltageError", "CheckBoxMeasureError", "CheckBoxErrorCountError"})
            form->findChild<QCheckBox*>(name)->hide();
        form->findChild<QCheckBox*>("CheckBoxDryWarning")->show();
        QCoreApplication::processEvents();
        QCOMPARE(form->size(), before);
        QVERIFY(form->findChild<QCheckBox*>("CheckBoxDryWarning")->isVisible());
    }

    void statusZeroIsSuccessOnly()
    {
        form->ShowStatus(FieldDeviceStatus(0x40));
        form->ShowStatus(FieldDeviceStatus(0x00));
        QCOMPARE(CheckedBoxes(), QStringList({"CheckBoxSuccess"}));
    }

    void configurationChangedWithMoreStatus()
    {
        form->ShowStatus(FieldDeviceStatus(0x50));
        QCOMPARE(CheckedBoxes(), QStringList({"CheckBoxConfigurationChanged", "CheckBoxMoreStatusAvailable"}));
    }

    void eachFieldDeviceBit_data()
    {
        QTest::addColumn<int>("bit");
        QTest::addColumn<QString>("name");
        QTest::newRow("bit 0") << 0 << "CheckBoxPriVarOutOfLimit";
        QTest::newRow("bit 1") << 1 << "CheckBoxNonPriVarOutOfLimit";
        QTest::newRow("bit 2") << 2 << "CheckBoxLoopCurrentSaturated";
        QTest::newRow("bit 3") << 3 << "CheckBoxLoopCurrentFixed";
        QTest::newRow("bit 4") << 4 << "CheckBoxMoreStatusAvailable";
        QTest::newRow("bit 5") << 5 << "CheckBoxColdStart";
        QTest::newRow("bit 6") << 6 << "CheckBoxConfigurationChanged";
        QTest::newRow("bit 7") << 7 << "CheckBoxDeviceMalfunction";
    }

    void eachFieldDeviceBit()
    {
        QFETCH(int, bit);
        QFETCH(QString, name);
        form->ShowStatus(FieldDeviceStatus(quint8(1u << bit)));
        QCOMPARE(CheckedBoxes(), QStringList({name}));
    }

    void eachAdditionalFlag_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("name");
        QTest::newRow("HART parameter") << 0 << "CheckBoxHARTParaError";
        QTest::newRow("transmitter parameter") << 1 << "CheckBoxTransParaError";
        QTest::newRow("measurement") << 2 << "CheckBoxMeasureError";
        QTest::newRow("error counter") << 3 << "CheckBoxErrorCountError";
        QTest::newRow("low voltage") << 4 << "CheckBoxLowVoltageError";
        QTest::newRow("dry warning") << 5 << "CheckBoxDryWarning";
    }

    void eachAdditionalFlag()
    {
        QFETCH(int, flag);
        QFETCH(QString, name);
        TDeviceStatus status = FieldDeviceStatus(0x10);
        bool* flags[] = {&status.HARTParameterError, &status.TransmitterParameterError, &status.MeasurementError,
                         &status.ErrorCounterError,  &status.LowVoltageError,           &status.DryWarning};
        *flags[flag] = true;
        form->ShowStatus(status);
        QCOMPARE(CheckedBoxes(), QStringList({"CheckBoxMoreStatusAvailable", name}));
    }

    void additionalFlagsStayEnabledWithoutMoreStatus()
    {
        TDeviceStatus status;
        status.HARTParameterError = true;
        form->ShowStatus(status);
        QCOMPARE(CheckedBoxes(), QStringList({"CheckBoxSuccess", "CheckBoxHARTParaError"}));
        QVERIFY(form->findChild<QCheckBox*>("CheckBoxHARTParaError")->isEnabled());
    }

    void boxesLookNormal()
    {
        for (const QString& name : BoxNames)
            QVERIFY2(form->findChild<QCheckBox*>(name)->isEnabled(), qPrintable(name));
    }

    void clicksDoNotChangeTheBoxes()
    {
        form->ShowStatus(FieldDeviceStatus(0x00));
        for (const char* name : {"CheckBoxSuccess", "CheckBoxColdStart", "CheckBoxMoreStatusAvailable",
                                    "CheckBoxHARTParaError"}) {
            QCheckBox* box = form->findChild<QCheckBox*>(name);
            const bool before = box->isChecked();
            // Through the window, as a user's click arrives.
            const QPoint onTheIndicator = box->mapTo(form.get(), QPoint(6, box->height() / 2));
            QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, onTheIndicator);
            QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, onTheIndicator);
            QCOMPARE(box->isChecked(), before);
        }
    }

    void keysNeverReachTheBoxes()
    {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        for (int press = 0; press < BoxNames.size() + 2; ++press) {
            QTest::keyClick(form.get(), Qt::Key_Tab);
            QVERIFY(!qobject_cast<QCheckBox*>(QApplication::focusWidget()));
        }
        for (const QString& name : BoxNames)
            QCOMPARE(form->findChild<QCheckBox*>(name)->focusPolicy(), Qt::NoFocus);
    }

    void closeHidesTheWindow()
    {
        QPushButton* close = form->findChild<QPushButton*>("ButtonClose");
        QCOMPARE(close->text(), QString("Close"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!form->isVisible());
        form->show();
        QVERIFY(form->isVisible());
    }

private:
    QStringList CheckedBoxes() const
    {
        QStringList checked;
        for (const QString& name : BoxNames) {
            if (form->findChild<QCheckBox*>(name)->isChecked())
                checked.append(name);
        }
        return checked;
    }

    std::unique_ptr<TFormDeviceStatus> form;
};

QTEST_MAIN(TestFormDeviceStatus)
#include "test_form_device_status.moc"
