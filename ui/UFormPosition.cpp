#include "ui/UFormPosition.h"

#include "ui/TRegistryTool.h"

#include <QScreen>
#include <QWidget>

namespace {

const QString FormsKey = QStringLiteral("Forms");

int StoredCoordinate(const TRegistryTool& settings, const QString& name, int screenExtent, int fallback)
{
    const int stored = settings.ReadIntSetting(FormsKey, name, fallback);
    return stored >= screenExtent ? fallback : stored;
}

} // namespace

QPoint WindowPlace(const QWidget& window)
{
    return window.geometry().topLeft();
}

void PlaceWindow(QWidget& window, const QPoint& place)
{
    window.setGeometry(QRect(place, window.size()));
}

void RestoreFormPosition(QWidget& form, const TRegistryTool& settings, const QString& formName, const QPoint& defaultPlace)
{
    const QSize screen = form.screen() ? form.screen()->geometry().size() : QSize(1024, 768);
    PlaceWindow(form, QPoint(StoredCoordinate(settings, formName + QStringLiteral(".Left"), screen.width(), defaultPlace.x()),
                             StoredCoordinate(settings, formName + QStringLiteral(".Top"), screen.height(), defaultPlace.y())));
}

void StoreFormPosition(const QWidget& form, TRegistryTool& settings, const QString& formName)
{
    const QPoint place = WindowPlace(form);
    settings.WriteIntSetting(FormsKey, formName + QStringLiteral(".Top"), place.y());
    settings.WriteIntSetting(FormsKey, formName + QStringLiteral(".Left"), place.x());
}
