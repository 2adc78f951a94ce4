#include "ui/TConfigFileDialogs.h"

#include "ui/TMessageDialog.h"
#include "ui/TRegistryTool.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

const QString FormsKey = QStringLiteral("Forms");
const QString SaveSetting = QStringLiteral("SaveConfigDialog.File");
const QString LoadSetting = QStringLiteral("LoadConfigDialog.File");
const QStringList Filters = { QStringLiteral("Configuration (*.csv)"), QStringLiteral("Textfile (*.txt)"),
                              QStringLiteral("All Files (*.*)") };

// The chosen file, or empty when the dialog was cancelled.
QString Chosen(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace

TConfigFileDialogs::TConfigFileDialogs(QWidget* parent, TRegistryTool& settings, const TMessageDialog& messages)
    : parent(parent)
    , settings(settings)
    , messages(messages)
{
}

QString TConfigFileDialogs::ChooseSaveFile(const QString& suggestedName)
{
    QFileDialog dialog(parent, QString(), storedFolder(SaveSetting));
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(Filters);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    // The program asks itself, in its own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(suggestedName);
    const QString path = Chosen(dialog);
    if (path.isEmpty())
        return QString();
    if (QFileInfo::exists(path) && !messages.AskYesNo(QStringLiteral("File already exists.\r\rOverride?")))
        return QString();
    settings.WriteSetting(FormsKey, SaveSetting, path);
    return path;
}

QString TConfigFileDialogs::ChooseLoadFile()
{
    QFileDialog dialog(parent, QString(), storedFolder(LoadSetting));
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(Filters);
    const QString path = Chosen(dialog);
    if (path.isEmpty())
        return QString();
    if (!messages.AskYesNo(QStringLiteral("HART device will be automatically adjusted by the selected configuration "
                                          "file.\r\rNOTE:\rThe current parameters of the connected HART device will be "
                                          "overwritten with the parameters of the selected configuration file!\r\r"
                                          "Do you want to continue?")))
        return QString();
    settings.WriteSetting(FormsKey, LoadSetting, path);
    return path;
}

QString TConfigFileDialogs::storedFolder(const QString& setting) const
{
    const QString stored = settings.ReadSetting(FormsKey, setting, QString());
    return stored.isEmpty() ? QString() : QFileInfo(stored).absolutePath();
}
