#pragma once

#include <QDialog>

// The multidrop life list. For now it only opens and closes; scanning the
// polling addresses and selecting a device come with the life-list jobs.
class TFormMultidropLifeList : public QDialog
{
    Q_OBJECT

public:
    explicit TFormMultidropLifeList(QWidget* parent = nullptr);
};
