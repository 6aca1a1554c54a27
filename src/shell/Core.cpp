#include "shell/Core.h"

#include "link/PortIo.h"
#include "shell/PageForms.h"

Core::Core(UserPrompt &prompt, std::unique_ptr<PortIo> port)
    : prompts(prompt), state(prompts, definePageForms),
      link(state, state.link, state.prompt, std::move(port)), scan(state, link),
      requests(state, link), paramCommands(state, requests), systemCommands(state, requests),
      responses(state, link, requests), upgrade(state, link, requests),
      stored(state, link, requests), recorder(state, link), bank(state, link, scan),
      charts(state, bank), session(*this)
{
}
