#include "responses/ResponseDispatcher.h"

#include "shell/Core.h"

ResponseDispatcher::ResponseDispatcher(Core &core) : m_core(core) {}

void ResponseDispatcher::dispatchResponse() {}
