#include "shell/widgets/Panel.h"

Panel::Panel(Core &core, QWidget *parent) : QWidget(parent), m_core(core) {}
