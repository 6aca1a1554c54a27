#include "link/PortIo.h"
#include "shell/Core.h"
#include "shell/widgets/GuiPrompt.h"
#include "shell/widgets/MainWindow.h"

#include <QApplication>

#include <memory>

namespace {
// Stands in for the serial port until the QSerialPort implementation is in:
// every open fails with the invalid-port result.
class UnavailablePort : public PortIo {
public:
    OpenResult open(const QString &, const Settings &, int *errorCode) override
    {
        if (errorCode)
            *errorCode = 2;
        return OpenResult::InvalidPort;
    }
    bool isOpen() const override { return false; }
    QByteArray read(int) override { return {}; }
    qint64 write(const QByteArray &) override { return -1; }
    void flush() override {}
    void close() override {}
    qintptr handleValue() const override { return -1; }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    GuiPrompt prompt;
    Core core(prompt, std::make_unique<UnavailablePort>());
    MainWindow window(core);
    prompt.setParentWidget(&window);
    window.show();
    return app.exec();
}
