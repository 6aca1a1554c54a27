#pragma once

#include "shell/widgets/Panel.h"

class UpgradePanel : public Panel {
    Q_OBJECT
public:
    explicit UpgradePanel(Core &core, QWidget *parent = nullptr);
    void applyCaptions() override;
};
