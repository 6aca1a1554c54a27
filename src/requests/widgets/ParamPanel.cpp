#include "requests/widgets/ParamPanel.h"

#include "shell/Core.h"

ParamPanel::ParamPanel(Core &core, QWidget *parent) : Panel(core, parent) { setObjectName(QStringLiteral("ParamPanel")); }

void ParamPanel::applyCaptions() {}
