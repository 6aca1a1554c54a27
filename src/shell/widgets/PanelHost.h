#pragma once

#include <QWidget>

#include <array>

class Core;
class Panel;
class QAction;
class QLabel;
class QLineEdit;
class QTabBar;

// The tab strip with the eight pages below it and the communication status
// line. Every page exists from start-up to shutdown; a tab switch only hides
// and shows pages and tells the core whether live reads run on that page.
class PanelHost : public QWidget {
    Q_OBJECT
public:
    // In tab order: page i belongs to tab i + 1.
    enum class Page { Link, Info, Param, System, Record, Stored, Upgrade, Bank };
    static constexpr int pageCount = 8;
    // Where the pages sit: directly below the tab strip, 370 twips below its
    // top at 15 twips per pixel.
    static constexpr int tabStripHeight = 25;

    explicit PanelHost(Core &core, QWidget *parent = nullptr);

    // Runs the tab-switch action of tab 1..8, as a click on the tab does.
    void selectTab(int tab);
    int selectedTab() const;

    Panel *page(Page page) const { return m_pages.at(std::size_t(page)); }
    QTabBar *tabBar() const { return m_tabs; }
    QLineEdit *statusBox() const { return m_status; }
    // The "language" and "about" entries; the main window's menu shows the
    // same actions.
    QAction *languageAction() const { return m_languageAction; }
    QAction *aboutAction() const { return m_aboutAction; }

    // The caption routine for the tab strip and every page, in the current
    // language.
    void applyCaptions();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void switchTo(int tab);
    QRect pageRect() const;
    void placeStatusRow();

    Core &m_core;
    QTabBar *m_tabs = nullptr;
    QLabel *m_statusLabel = nullptr;
    QLineEdit *m_status = nullptr;
    QAction *m_languageAction = nullptr;
    QAction *m_aboutAction = nullptr;
    std::array<Panel *, pageCount> m_pages{};
};
