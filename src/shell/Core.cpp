#include "shell/Core.h"

#include "link/PortIo.h"
#include "shell/PageForms.h"

Core::Core(UserPrompt &prompt, std::unique_ptr<PortIo> port)
    : prompts(prompt), state(prompts, definePageForms),
      link(state, state.link, state.prompt, std::move(port)), scan(*this), requests(state, link),
      paramCommands(*this), systemCommands(*this), responses(state, link, requests), upgrade(*this),
      stored(*this), recorder(*this), bank(*this), charts(*this), session(*this)
{
}
