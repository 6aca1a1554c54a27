#pragma once

#include "shell/widgets/Panel.h"

class SystemPanel : public Panel {
    Q_OBJECT
public:
    explicit SystemPanel(Core &core, QWidget *parent = nullptr);
    void applyCaptions() override;
};
