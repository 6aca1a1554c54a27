#pragma once

#include "shell/widgets/Panel.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The "serial setting" page: port and line settings, address and protocol,
// and the open/close button. The lists are views of the link form; the link
// core decides what is enabled, the page follows.
class LinkPanel : public Panel {
    Q_OBJECT
public:
    explicit LinkPanel(Core &core, QWidget *parent = nullptr);
    void applyCaptions() override;

    QPushButton *openCloseButton() const { return m_openClose; }
    QPushButton *refreshButton() const { return m_refresh; }
    QCheckBox *reconnectBox() const { return m_reconnect; }
    QComboBox *list(const QString &control) const;

    // Shows the close caption exactly while the port is open; called whenever
    // the link may have changed state (also when it closed on its own because
    // the adapter went away).
    void syncWithLink();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    struct Row {
        QString control;
        QLabel *label = nullptr;
        QComboBox *combo = nullptr;
    };
    void updatePortTips();

    QGroupBox *m_group = nullptr;
    QList<Row> m_rows;
    QPushButton *m_openClose = nullptr;
    QPushButton *m_refresh = nullptr;
    QCheckBox *m_reconnect = nullptr;
};
