#pragma once

// The whole window over a scripted port, as main() builds it, with messages
// recorded instead of shown. For test programs that link the window library.
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include "shell/Core.h"
#include "shell/widgets/MainWindow.h"
#include "shell/widgets/PanelHost.h"

#include <memory>

struct WindowRig {
    RecordingPrompt prompt;
    FakePort *port = new FakePort;
    Core core{prompt, std::unique_ptr<PortIo>(port)};
    MainWindow window{core};
    PanelHost &host = *window.host();
};
