#include "ui/TFormMain.h"

#include <QApplication>
#include <QLabel>

TFormMain::TFormMain(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QApplication::applicationDisplayName() + QStringLiteral(" V") + QStringLiteral(MERIDAL_VERSION));
    setCentralWidget(new QLabel(QStringLiteral("KORVAL Meridal"), this));
    resize(485, 354);
}
