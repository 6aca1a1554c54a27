#include "base/Version.h"
#include "base/widgets/GuiPrompt.h"
#include "i18n/Language.h"
#include "i18n/SettingsRecord.h"
#include "link/SerialPortIo.h"
#include "shell/CommandLine.h"
#include "shell/Core.h"
#include "shell/widgets/MainWindow.h"

#include <QApplication>

#include <cstdio>
#include <memory>

namespace {
QStringList argumentsOf(int argc, char *argv[])
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

// --help, --version and refusals: answered on the terminal, without a window
// system, in the language the window would use.
int answerOnTerminal(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Language::install(SettingsRecord::storedLanguage() == 1);
    const CommandLine::Outcome outcome = CommandLine::parse(QCoreApplication::arguments());
    if (!outcome.output.isEmpty())
        std::fputs(outcome.output.toLocal8Bit().constData(), stdout);
    if (!outcome.error.isEmpty())
        std::fprintf(stderr, "%s\n", outcome.error.toLocal8Bit().constData());
    return outcome.exitCode;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("cellvane"));
    QCoreApplication::setApplicationVersion(Version::text());
    if (!CommandLine::parse(argumentsOf(argc, argv)).run)
        return answerOnTerminal(argc, argv);

    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("cellvane"));
    QApplication::setWindowIcon(MainWindow::programIcon());
    GuiPrompt prompt;
    Core core(prompt, std::make_unique<SerialPortIo>());
    MainWindow window(core);
    prompt.setParentWidget(&window);
    window.show();
    return app.exec();
}
