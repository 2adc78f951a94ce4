#include "ui/TMeridalProgram.h"
#include "ui/TMessageDialog.h"
#include "util/Exceptions.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TMeridalProgram::SetUpApplication();

    TMeridalProgram::TOptions options = TMeridalProgram::DefaultOptions();
    // --demo: against a simulated probe, with settings of its own.
    options.Demo = QCoreApplication::arguments().contains(QStringLiteral("--demo"));

    std::unique_ptr<TMeridalProgram> program;
    try {
        program = std::make_unique<TMeridalProgram>(options);
    } catch (const Exception& e) {
        TMessageDialog().ShowError(e.Message());
        return 1;
    }
    program->FormMain().show();
    return QApplication::exec();
}
