#include "ui/TFormMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("KORVAL Meridal"));

    TFormMain formMain;
    formMain.show();
    return app.exec();
}
