#include "upgrade/UpgradeController.h"

#include "shell/Core.h"

UpgradeController::UpgradeController(Core &core) : m_core(core) {}

void UpgradeController::start() {}
void UpgradeController::buildRequest() {}
void UpgradeController::handleReply() {}
void UpgradeController::abandon() {}
void UpgradeController::enableControls() {}
