#include "records/Recorder.h"

#include "shell/Core.h"

Recorder::Recorder(Core &core) : m_core(core) { m_timer.setInterval(1000); }

void Recorder::tick() {}
void Recorder::stop() { m_timer.stop(); }
