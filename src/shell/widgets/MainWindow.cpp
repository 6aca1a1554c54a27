#include "shell/widgets/MainWindow.h"

#include "base/widgets/Panel.h"
#include "charts/widgets/ChartsWindow.h"
#include "i18n/SettingsRecord.h"
#include "i18n/widgets/AboutDialog.h"
#include "i18n/widgets/LanguageDialog.h"
#include "profiles/widgets/ProfileActions.h"
#include "shell/Core.h"
#include "shell/widgets/PanelHost.h"
#include "traffic/TrafficModel.h"
#include "traffic/widgets/TrafficWindow.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

MainWindow::MainWindow(Core &core, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      m_core(core)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Cellvane V1.6"));
    setWindowIcon(programIcon());
    // The stored language is in force before any page exists, so every caption
    // is in it from the first paint on.
    m_core.state.setEnglishUi(SettingsRecord::storedLanguage() == 1);

    m_host = new PanelHost(core, this);
    setCentralWidget(m_host);
    // Top-level entries without sub-items: the actions themselves sit on the bar.
    menuBar()->addAction(m_host->languageAction());
    menuBar()->addAction(m_host->aboutAction());
    connect(m_host->languageAction(), &QAction::triggered, this, &MainWindow::showLanguageDialog);
    connect(m_host->aboutAction(), &QAction::triggered, this, &MainWindow::showAboutDialog);
    // Settings profiles: a menu after those two, a Save button on the two pages
    // a profile holds, a backup offered before an upgrade.
    m_profiles = new ProfileActions(ProfileSession::partsOf(core), core.upgrade,
                                    core.prompts.target(), this);
    menuBar()->addMenu(m_profiles->menu());
    m_profiles->addSaveButton(m_host->page(PanelHost::Page::Param),
                              ProfileActions::Page::Parameters);
    m_profiles->addSaveButton(m_host->page(PanelHost::Page::System), ProfileActions::Page::System);
    m_profiles->addUpgradeBackup(m_host->page(PanelHost::Page::Upgrade));
    connect(&m_core.state, &AppState::languageChanged, this, [this] {
        if (m_aboutDialog)
            m_aboutDialog->applyCaptions();
    });

    ChartsWindow::addTo(viewMenu(), m_core.charts.store(), m_core.state, this);
    QAction *traffic = viewMenu()->addAction(TrafficWindow::title());
    traffic->setObjectName(QStringLiteral("traffic"));
    connect(traffic, &QAction::triggered, this, &MainWindow::showTrafficWindow);
    connect(&m_core.state, &AppState::languageChanged, traffic,
            [traffic] { traffic->setText(TrafficWindow::title()); });

    // The link page's reconnection choice survives a restart, as the language does.
    SettingsRecord::followReconnectChoice(m_core.state.link, m_core.state.prompt);
    // So do the packs the last bus scan found.
    m_core.scan.loadRemembered();

    setFixedSize(fixedWidth, fixedHeight);
}

QIcon MainWindow::programIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/cellvane-%1.png").arg(size), QSize(size, size));
    return icon;
}

LanguageDialog *MainWindow::languageDialog() const
{
    return m_languageDialog;
}
AboutDialog *MainWindow::aboutDialog() const
{
    return m_aboutDialog;
}

void MainWindow::applyCaptions()
{
    m_host->applyCaptions();
    if (m_aboutDialog)
        m_aboutDialog->applyCaptions();
}

void MainWindow::showLanguageDialog()
{
    if (!m_languageDialog)
        m_languageDialog = new LanguageDialog(m_core.state, this);
    m_languageDialog->present();
}

void MainWindow::showAboutDialog()
{
    if (!m_aboutDialog)
        m_aboutDialog = new AboutDialog(this);
    applyCaptions();
    m_aboutDialog->show();
    m_aboutDialog->raise();
    m_aboutDialog->activateWindow();
}

QMenu *MainWindow::viewMenu()
{
    if (!m_viewMenu) {
        m_viewMenu = menuBar()->addMenu(tr("view"));
        m_viewMenu->setObjectName(QStringLiteral("view"));
        connect(&m_core.state, &AppState::languageChanged, m_viewMenu,
                [this] { m_viewMenu->setTitle(tr("view")); });
    }
    return m_viewMenu;
}

TrafficWindow *MainWindow::trafficWindow() const
{
    return m_trafficWindow;
}

void MainWindow::showTrafficWindow()
{
    if (!m_trafficWindow) {
        if (!m_trafficModel) {
            m_trafficModel = new TrafficModel(this);
            m_trafficModel->attach(m_core.link.tap());
        }
        m_trafficWindow = new TrafficWindow(m_core.state, *m_trafficModel, this);
    }
    m_trafficWindow->present();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Traffic stops before anything is torn down, so no tick or answer reaches
    // a closed page; an upgrade or record read in progress is cut off.
    m_core.shutdown();
    QWidget *order[] = {
        m_host->page(PanelHost::Page::Link),
        m_host,
        m_host->page(PanelHost::Page::Info),
        m_host->page(PanelHost::Page::Param),
        m_host->page(PanelHost::Page::System),
        m_host->page(PanelHost::Page::Stored),
        m_host->page(PanelHost::Page::Upgrade),
        m_host->page(PanelHost::Page::Record),
        m_host->page(PanelHost::Page::Bank),
        m_aboutDialog,
        m_languageDialog,
        m_trafficWindow,
    };
    for (QWidget *w : order)
        if (w)
            w->close();
    event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange &&
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        // Deferred: changing the state from inside its own change event is
        // ignored by some window managers.
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        });
    }
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (size() != QSize(fixedWidth, fixedHeight) && !(windowState() & Qt::WindowMinimized))
        resize(fixedWidth, fixedHeight);
}
