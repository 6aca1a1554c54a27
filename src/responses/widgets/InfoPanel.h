#pragma once

#include "shell/widgets/Panel.h"

class InfoPanel : public Panel {
    Q_OBJECT
public:
    explicit InfoPanel(Core &core, QWidget *parent = nullptr);
    void applyCaptions() override;
};
