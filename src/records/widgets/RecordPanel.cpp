#include "records/widgets/RecordPanel.h"

#include "shell/Core.h"

RecordPanel::RecordPanel(Core &core, QWidget *parent) : Panel(core, parent) { setObjectName(QStringLiteral("RecordPanel")); }

void RecordPanel::applyCaptions() {}
