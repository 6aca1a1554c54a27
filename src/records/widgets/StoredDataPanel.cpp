#include "records/widgets/StoredDataPanel.h"

#include "shell/Core.h"

StoredDataPanel::StoredDataPanel(Core &core, QWidget *parent) : Panel(core, parent) { setObjectName(QStringLiteral("StoredDataPanel")); }

void StoredDataPanel::applyCaptions() {}
