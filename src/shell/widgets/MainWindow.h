#pragma once

#include <QIcon>
#include <QMainWindow>
#include <QPointer>

class AboutDialog;
class Core;
class LanguageDialog;
class PanelHost;
class QMenu;
class TrafficModel;
class TrafficWindow;
class ProfileActions;

// The program's one top-level window: fixed size, the tab host as its client,
// the "language" and "about" menu entries and the "profile" menu, and the
// shutdown order on close.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Outer size 14000 x 10500 twips at 15 twips per pixel.
    static constexpr int fixedWidth = 933;
    static constexpr int fixedHeight = 700;

    explicit MainWindow(Core &core, QWidget *parent = nullptr);

    // The program's icon in every size the desktop asks for (16 to 256 px).
    static QIcon programIcon();

    PanelHost *host() const { return m_host; }
    ProfileActions *profiles() const { return m_profiles; }
    // Null until first opened.
    LanguageDialog *languageDialog() const;
    AboutDialog *aboutDialog() const;

    // The caption routine of every window in the current language.
    void applyCaptions();
    void showLanguageDialog();
    void showAboutDialog();

    // The "view" menu of the extra windows, made on first use.
    QMenu *viewMenu();

    // The traffic console; null until first opened.
    TrafficWindow *trafficWindow() const;
    void showTrafficWindow();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    Core &m_core;
    PanelHost *m_host = nullptr;
    ProfileActions *m_profiles = nullptr;
    QPointer<LanguageDialog> m_languageDialog;
    QPointer<AboutDialog> m_aboutDialog;
    QPointer<QMenu> m_viewMenu;
    // The console records from its first opening on, also while hidden.
    TrafficModel *m_trafficModel = nullptr;
    QPointer<TrafficWindow> m_trafficWindow;
};
