#include "responses/widgets/InfoPanel.h"

#include "shell/Core.h"

InfoPanel::InfoPanel(Core &core, QWidget *parent) : Panel(core, parent) { setObjectName(QStringLiteral("InfoPanel")); }

void InfoPanel::applyCaptions() {}
