#include "requests/RequestBuilder.h"

#include "shell/Core.h"

RequestBuilder::RequestBuilder(Core &core) : m_core(core) {}

void RequestBuilder::buildRequest() {}

void RequestBuilder::send(quint8 code)
{
    m_core.state.currentCommand = code;
    buildRequest();
}
