#include "requests/widgets/SystemPanel.h"

#include "shell/Core.h"

SystemPanel::SystemPanel(Core &core, QWidget *parent) : Panel(core, parent) { setObjectName(QStringLiteral("SystemPanel")); }

void SystemPanel::applyCaptions() {}
