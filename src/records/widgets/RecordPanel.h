#pragma once

#include "shell/widgets/Panel.h"

class RecordPanel : public Panel {
    Q_OBJECT
public:
    explicit RecordPanel(Core &core, QWidget *parent = nullptr);
    void applyCaptions() override;
};
