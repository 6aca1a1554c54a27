#include "upgrade/widgets/UpgradePanel.h"

#include "shell/Core.h"

UpgradePanel::UpgradePanel(Core &core, QWidget *parent) : Panel(core, parent) { setObjectName(QStringLiteral("UpgradePanel")); }

void UpgradePanel::applyCaptions() {}
