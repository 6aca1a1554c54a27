#pragma once

#include "shell/widgets/Panel.h"

class LinkPanel : public Panel {
    Q_OBJECT
public:
    explicit LinkPanel(Core &core, QWidget *parent = nullptr);
    void applyCaptions() override;
};
