#pragma once

#include <QWidget>

class Core;

// A page of the tab strip. Pages exist from start-up to shutdown and are only
// hidden and shown; the caption routine calls applyCaptions() on every page
// when the language changes.
class Panel : public QWidget {
    Q_OBJECT
public:
    Panel(Core &core, QWidget *parent = nullptr);
    virtual void applyCaptions() = 0;

protected:
    Core &m_core;
};
