#include "shell/Core.h"

#include "link/CommandCode.h"
#include "link/PortIo.h"

Core::Core(UserPrompt &prompt, std::unique_ptr<PortIo> port)
    : prompts(prompt), state(prompts), link(*this, std::move(port)), scan(*this), requests(*this),
      paramCommands(*this), systemCommands(*this), responses(*this), upgrade(*this), stored(*this),
      recorder(*this), bank(*this), charts(*this)
{
}

void Core::selectTab(int tab)
{
    if (tab < 1 || tab > 8)
        return;
    // The scan belongs to the link page and needs the line to itself.
    if (tab != 1)
        scan.cancel();
    if (tab != 8)
        bank.leave();
    state.selectedTab = tab;
    // Tabs 1, 2 and 5 watch the pack live; the others pause the traffic so that
    // their own buttons have the line to themselves.
    state.currentCommand =
        (tab == 1 || tab == 2 || tab == 5) ? CommandCode::firstLiveRead : CommandCode::pause;
    if (tab == 1 || tab == 2)
        state.readAllActive = false;
    // An exchange that ended (a read, a write, an upgrade) leaves the send timer
    // stopped; without this the live page would stay frozen after it.
    if (state.currentCommand == CommandCode::firstLiveRead && link.portOpen() &&
        !link.sendTimer().isActive())
        link.sendTimer().start();
    if (tab == 8)
        bank.enter();
}

void Core::shutdown()
{
    recorder.timer().stop();
    bank.leave();
    link.shutdown();
}
