#pragma once

#include <QString>

class QWidget;
class TMessageDialog;
class TRegistryTool;

// What the user confirms before a configuration file is saved or loaded:
// the file, chosen in a file dialog that opens in the folder used last, and
// the question that guards what would be overwritten. A confirmed path is
// remembered for the next dialog.
class TConfigFileDialogs
{
public:
    TConfigFileDialogs(QWidget* parent, TRegistryTool& settings, const TMessageDialog& messages);

    // The file to save to, or empty when the user cancelled or kept an
    // existing file.
    QString ChooseSaveFile(const QString& suggestedName);
    // The file to load into the device, or empty when the user cancelled.
    QString ChooseLoadFile();

private:
    QString storedFolder(const QString& setting) const;

    QWidget* parent;
    TRegistryTool& settings;
    const TMessageDialog& messages;
};
