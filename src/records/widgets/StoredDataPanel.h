#pragma once

#include "shell/widgets/Panel.h"

class StoredDataPanel : public Panel {
    Q_OBJECT
public:
    explicit StoredDataPanel(Core &core, QWidget *parent = nullptr);
    void applyCaptions() override;
};
