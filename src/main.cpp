#include "link/SerialPortIo.h"
#include "shell/Core.h"
#include "shell/widgets/GuiPrompt.h"
#include "shell/widgets/MainWindow.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    GuiPrompt prompt;
    Core core(prompt, std::make_unique<SerialPortIo>());
    MainWindow window(core);
    prompt.setParentWidget(&window);
    window.show();
    return app.exec();
}
