#pragma once

#include "bank/BankController.h"
#include "bank/ScanController.h"
#include "charts/ChartFeed.h"
#include "link/LinkController.h"
#include "records/Recorder.h"
#include "records/StoredRecords.h"
#include "requests/ParamCommands.h"
#include "requests/RequestBuilder.h"
#include "requests/SystemCommands.h"
#include "responses/ResponseDispatcher.h"
#include "shell/PromptRelay.h"
#include "shell/Session.h"
#include "state/AppState.h"
#include "upgrade/UpgradeController.h"

#include <memory>

class PortIo;
class UserPrompt;

// Everything the program does apart from drawing: the shared state and the
// parts that act on it. The window and the tests each make one. Parts reach
// each other through it; constructors only store the reference.
class Core {
public:
    Core(UserPrompt &prompt, std::unique_ptr<PortIo> port);
    Core(const Core &) = delete;
    Core &operator=(const Core &) = delete;

    // Between the parts and the program's prompt (declared first: the state
    // holds it).
    PromptRelay prompts;
    AppState state;
    LinkController link;
    ScanController scan;
    RequestBuilder requests;
    ParamCommands paramCommands;
    SystemCommands systemCommands;
    ResponseDispatcher responses;
    UpgradeController upgrade;
    StoredRecords stored;
    Recorder recorder;
    BankController bank;
    ChartFeed charts; // the trends and cell bars, fed by the polling
    // How the parts react to the line; made last, when all of them exist.
    Session session;

    void selectTab(int tab) { session.selectTab(tab); }
    void shutdown() { session.shutdown(); }
};
