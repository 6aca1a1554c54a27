#include "link/widgets/LinkPanel.h"

#include "shell/Core.h"

LinkPanel::LinkPanel(Core &core, QWidget *parent) : Panel(core, parent) { setObjectName(QStringLiteral("LinkPanel")); }

void LinkPanel::applyCaptions() {}
