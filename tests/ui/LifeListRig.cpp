#include "LifeListRig.h"

#include "ModalDialogDriver.h"

#include "ui/TFormMultidropLifeList.h"
#include "worker/TThreadMeridal.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

LifeListRig::LifeListRig(const QByteArray& ini)
    : rig(ini)
{
    rig.Store(QStringLiteral("Settings"), QStringLiteral("Multidrop"), QStringLiteral("1"));
    rig.Store(QStringLiteral("Settings"), QStringLiteral("COM"), QString::number(ProgramRig::ComNumber));
}

TSimDeviceState LifeListRig::At(TSimDeviceState device, int pollingAddress, quint32 deviceId)
{
    device.PollingAddress = pollingAddress;
    device.DeviceId = deviceId;
    return device;
}

bool LifeListRig::AtStart(const std::function<void()>& steps)
{
    return whileShown([this] { rig.Start(); }, steps);
}

bool LifeListRig::FromMenu(const std::function<void()>& steps)
{
    return whileShown([this] { rig.C().MenuRescan->trigger(); }, steps);
}

bool LifeListRig::whileShown(const std::function<void()>& open, const std::function<void()>& steps)
{
    ModalDialogDriver driver([this, &steps](QWidget* shown) {
        if (shown != &LifeList()) {
            QTest::qFail("another dialog than the life list", __FILE__, __LINE__);
            shown->close();
            return;
        }
        steps();
        // done() closes also while a job runs, where the list itself refuses.
        if (LifeList().isVisible())
            LifeList().done(QDialog::Rejected);
    });
    open();
    return QTest::qWaitFor([&] { return driver.Acted(); }, 30000) && QTest::qWaitFor([this] { return !LifeList().isVisible(); });
}

bool LifeListRig::WaitUntilIdle(int timeoutMs)
{
    return QTest::qWaitFor(
        [this] {
            return Button("ButtonRescan")->text() == QLatin1String("Rescan") && Button("ButtonRefresh")->text() == QLatin1String("Refresh")
                   && Button("ButtonClose")->isEnabled() && DeviceThread && DeviceThread->Suspended();
        },
        timeoutMs);
}

bool LifeListRig::WaitUntilWorkingOn(int address)
{
    return QTest::qWaitFor([this, address] { return Grid()->item(address, 0)->background().color() == QColor(255, 255, 0); },
                           30000);
}

QString LifeListRig::Cell(int address, int column)
{
    return Grid()->item(address, column)->text();
}

QStringList LifeListRig::HintAt(int address, int column)
{
    QWidget* viewport = Grid()->viewport();
    const QPoint inside = Grid()->visualRect(Grid()->model()->index(address, column)).center();
    QHelpEvent rest(QEvent::ToolTip, inside, viewport->mapToGlobal(inside));
    QApplication::sendEvent(viewport, &rest);
    if (!Balloon()->isVisible())
        return {};
    return { Balloon()->findChild<QLabel*>(QStringLiteral("LabelBalloonTitle"))->text(),
             Balloon()->findChild<QLabel*>(QStringLiteral("LabelBalloonText"))->text() };
}

QWidget* LifeListRig::Balloon()
{
    return LifeList().findChild<QWidget*>(QStringLiteral("BalloonHint"));
}

QPushButton* LifeListRig::Button(const char* name)
{
    return LifeList().findChild<QPushButton*>(QString::fromLatin1(name));
}

QTableWidget* LifeListRig::Grid()
{
    return LifeList().findChild<QTableWidget*>(QStringLiteral("StringGridLifeList"));
}

TFormMultidropLifeList& LifeListRig::LifeList()
{
    return rig.Program().FormMultidropLifeList();
}
