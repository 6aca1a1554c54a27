#pragma once

#include "base/widgets/Panel.h"

class AppState;
class LinkController;
class ScanController;

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The "serial setting" page: port and line settings, address and protocol,
// and the open/close button. The lists are views of the link form; the link
// core decides what is enabled, the page follows.
class LinkPanel : public Panel {
    Q_OBJECT
public:
    LinkPanel(AppState &appState, LinkController &link, ScanController &scanner,
              QWidget *parent = nullptr);
    void applyCaptions() override;

    QPushButton *openCloseButton() const { return m_openClose; }
    QPushButton *refreshButton() const { return m_refresh; }
    QCheckBox *reconnectBox() const { return m_reconnect; }
    QPushButton *scanButton() const { return m_scan; }
    QProgressBar *scanProgress() const { return m_scanProgress; }
    QLabel *scanStatus() const { return m_scanStatus; }
    QPlainTextEdit *scanResults() const { return m_scanResults; }
    QComboBox *list(const QString &control) const;

    // Shows the close caption exactly while the port is open; called whenever
    // the link may have changed state (also when it closed on its own because
    // the adapter went away).
    void syncWithLink();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    AppState &m_state;
    LinkController &m_link;
    ScanController &m_scanControl;
    struct Row {
        QString control;
        QLabel *label = nullptr;
        QComboBox *combo = nullptr;
    };
    void updatePortTips();
    void syncScanCaption();

    QGroupBox *m_group = nullptr;
    QList<Row> m_rows;
    QPushButton *m_openClose = nullptr;
    QPushButton *m_refresh = nullptr;
    QCheckBox *m_reconnect = nullptr;
    // The bus scan, beside the port settings.
    QGroupBox *m_scanGroup = nullptr;
    QPushButton *m_scan = nullptr;
    QProgressBar *m_scanProgress = nullptr;
    QLabel *m_scanStatus = nullptr;
    QPlainTextEdit *m_scanResults = nullptr;
};
