#include "shell/widgets/PanelHost.h"

#include "bank/widgets/BankPanel.h"
#include "link/widgets/LinkPanel.h"
#include "records/widgets/RecordPanel.h"
#include "records/widgets/StoredDataPanel.h"
#include "requests/widgets/ParamPanel.h"
#include "requests/widgets/SystemPanel.h"
#include "responses/widgets/InfoPanel.h"
#include "shell/Core.h"
#include "upgrade/widgets/UpgradePanel.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabBar>

#include <initializer_list>

namespace {
using Page = PanelHost::Page;

// What each tab shows and what it hides first. The recording page is hidden
// only by tabs 1 and 7, so it stays underneath the pages of tabs 2, 3, 4 and 6
// once shown; the shown page is raised and paints its own background, which
// keeps it from showing through.
struct TabAction {
    Page shown;
    std::initializer_list<Page> hidden;
};
const TabAction tabActions[PanelHost::pageCount] = {
    {Page::Link,
     {Page::Info, Page::Param, Page::System, Page::Stored, Page::Upgrade, Page::Record,
      Page::Bank}},
    {Page::Info, {Page::Param, Page::System, Page::Stored, Page::Upgrade, Page::Link, Page::Bank}},
    {Page::Param, {Page::Info, Page::System, Page::Stored, Page::Upgrade, Page::Link, Page::Bank}},
    {Page::System, {Page::Info, Page::Param, Page::Stored, Page::Upgrade, Page::Link, Page::Bank}},
    {Page::Record,
     {Page::Info, Page::Param, Page::System, Page::Stored, Page::Upgrade, Page::Link, Page::Bank}},
    {Page::Stored, {Page::Info, Page::Param, Page::System, Page::Upgrade, Page::Link, Page::Bank}},
    {Page::Upgrade,
     {Page::Info, Page::Param, Page::System, Page::Stored, Page::Record, Page::Link, Page::Bank}},
    // The bank page, after the seven, hides every other page.
    {Page::Bank,
     {Page::Link, Page::Info, Page::Param, Page::System, Page::Record, Page::Stored,
      Page::Upgrade}},
};

constexpr int statusRowHeight = 28;
} // namespace

PanelHost::PanelHost(Core &core, QWidget *parent) : QWidget(parent), m_core(core)
{
    setObjectName(QStringLiteral("PanelHost"));

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(true);
    for (int i = 0; i < pageCount; ++i)
        m_tabs->addTab(QString());

    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("text90"));
    m_status = new QLineEdit(this);
    m_status->setObjectName(QStringLiteral("statusLine"));
    m_status->setReadOnly(true);
    m_status->setFocusPolicy(Qt::ClickFocus);
    m_statusLabel->setBuddy(m_status);
    m_status->setText(m_core.state.statusLine());
    connect(&m_core.state, &AppState::statusLineChanged, m_status, [this](const QString &text) {
        m_status->setText(text);
        m_status->setCursorPosition(0);
    });

    m_languageAction = new QAction(QStringLiteral("language"), this);
    m_languageAction->setObjectName(QStringLiteral("language"));
    m_aboutAction = new QAction(QStringLiteral("about"), this);
    m_aboutAction->setObjectName(QStringLiteral("about"));
    addAction(m_languageAction);
    addAction(m_aboutAction);

    // Every page exists, hidden, from start-up on: the caption routine writes
    // into all of them and the link page enumerates the ports when created.
    m_pages[std::size_t(Page::Link)] = new LinkPanel(core.state, core.link, core.scan, this);
    m_pages[std::size_t(Page::Info)] = new InfoPanel(core.state, core.requests, this);
    m_pages[std::size_t(Page::Param)] = new ParamPanel(core.state, core.paramCommands, this);
    m_pages[std::size_t(Page::System)] = new SystemPanel(core.state, core.systemCommands, this);
    m_pages[std::size_t(Page::Record)] = new RecordPanel(core.state, core.recorder, this);
    m_pages[std::size_t(Page::Stored)] = new StoredDataPanel(core.state, core.stored, this);
    m_pages[std::size_t(Page::Upgrade)] = new UpgradePanel(core.state, core.upgrade, this);
    auto *bank = new BankPanel(core.state, core.bank, this);
    m_pages[std::size_t(Page::Bank)] = bank;
    // A pack chosen in the bank table opens on the information page.
    connect(bank, &BankPanel::packChosen, this, [this] { selectTab(2); });
    for (Panel *p : m_pages) {
        p->setAutoFillBackground(true);
        p->hide();
    }

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) { switchTo(index + 1); });
    connect(&m_core.state, &AppState::languageChanged, this, &PanelHost::applyCaptions);

    applyCaptions();
    selectTab(2);
}

int PanelHost::selectedTab() const
{
    return m_tabs->currentIndex() + 1;
}

void PanelHost::selectTab(int tab)
{
    if (tab < 1 || tab > pageCount)
        return;
    {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(tab - 1);
    }
    switchTo(tab);
}

void PanelHost::switchTo(int tab)
{
    if (tab < 1 || tab > pageCount)
        return;
    const TabAction &action = tabActions[tab - 1];
    for (Page hidden : action.hidden)
        page(hidden)->hide();
    Panel *shown = page(action.shown);
    shown->setGeometry(pageRect());
    shown->show();
    shown->raise();
    m_core.selectTab(tab);
}

QRect PanelHost::pageRect() const
{
    const int top = m_tabs->y() + tabStripHeight;
    return QRect(m_tabs->x(), top, width() - m_tabs->x(), height() - statusRowHeight - top);
}

void PanelHost::placeStatusRow()
{
    const int y = height() - statusRowHeight + 3;
    const int labelWidth = m_statusLabel->sizeHint().width();
    m_statusLabel->setGeometry(6, y, labelWidth, statusRowHeight - 6);
    m_status->setGeometry(12 + labelWidth, y, width() - labelWidth - 18, statusRowHeight - 6);
}

void PanelHost::resizeEvent(QResizeEvent *)
{
    m_tabs->setGeometry(0, 0, width(), tabStripHeight);
    const QRect rect = pageRect();
    for (Panel *p : m_pages)
        p->setGeometry(rect);
    placeStatusRow();
}

void PanelHost::applyCaptions()
{
    const QString captions[pageCount] = {
        tr("serial setting"),  tr("information"), tr("parameters"),  tr("system"),
        tr("other settings "), tr("store data"),  tr("BMS upgrade"), tr("packs"),
    };
    for (int i = 0; i < pageCount; ++i)
        m_tabs->setTabText(i, captions[i]);
    m_statusLabel->setText(tr("Communication :"));
    m_status->setAccessibleName(Panel::nameFromCaption(m_statusLabel->text()));
    placeStatusRow();
    for (Panel *p : m_pages)
        p->applyCaptions();
}
