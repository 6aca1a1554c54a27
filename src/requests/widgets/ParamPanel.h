#pragma once

#include "shell/widgets/Panel.h"

class ParamPanel : public Panel {
    Q_OBJECT
public:
    explicit ParamPanel(Core &core, QWidget *parent = nullptr);
    void applyCaptions() override;
};
