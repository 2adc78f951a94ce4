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

void RestoreFormPosition(QWidget& form, const TRegistryTool& settings, const QString& formName, const QPoint& defaultPlace)
{
    const QSize screen = form.screen() ? form.screen()->geometry().size() : QSize(1024, 768);
    form.move(StoredCoordinate(settings, formName + QStringLiteral(".Left"), screen.width(), defaultPlace.x()),
              StoredCoordinate(settings, formName + QStringLiteral(".Top"), screen.height(), defaultPlace.y()));
}

void StoreFormPosition(const QWidget& form, TRegistryTool& settings, const QString& formName)
{
    settings.WriteIntSetting(FormsKey, formName + QStringLiteral(".Top"), form.y());
    settings.WriteIntSetting(FormsKey, formName + QStringLiteral(".Left"), form.x());
}
