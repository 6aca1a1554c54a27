// Settings profiles through the real window, against simulated packs on
// pseudo-terminals.
#include "profiles/ProfileSim.h"
#include "support/RecordingPrompt.h"

#include "base/widgets/Panel.h"
#include "link/LinkForm.h"
#include "link/SerialPortIo.h"
#include "profiles/widgets/ProfileActions.h"
#include "profiles/widgets/ProfileApplyDialog.h"
#include "profiles/widgets/ProfileCompareDialog.h"
#include "profiles/widgets/ProfileReportDialog.h"
#include "records/DataLocations.h"
#include "requests/SystemForm.h"
#include "shell/Core.h"
#include "shell/widgets/MainWindow.h"
#include "shell/widgets/PanelHost.h"
#include "upgrade/UpgradeForm.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using ProfileSim::Sim;
using ProfileSim::waitUntil;

namespace {

struct Rig {
    RecordingPrompt prompt;
    Core core{prompt, std::make_unique<SerialPortIo>()};
    MainWindow window{core};
    ProfileActions &profiles = *window.profiles();

    Rig()
    {
        core.state.setEnglishUi(true);
        window.show();
    }
    ~Rig() { core.shutdown(); }

    bool connectTo(int number)
    {
        if (core.link.portOpen())
            core.link.toggleOpen();
        core.state.link.setEntries(LinkField::port, {QStringLiteral("COM%1").arg(number)}, 0);
        core.link.buildPortSettings();
        core.link.toggleOpen();
        return core.link.portOpen();
    }
    bool messaged(const QString &part)
    {
        return waitUntil([&] { return prompt.texts().join('\n').contains(part); }, 60000);
    }
};

// The siblings `w` overlaps on its page.
QStringList overlapped(const QWidget *w)
{
    QStringList names;
    for (const QObject *o : w->parentWidget()->children()) {
        const auto *sibling = qobject_cast<const QWidget *>(o);
        if (sibling && sibling != w && sibling->isVisible() &&
            sibling->geometry().intersects(w->geometry()))
            names << sibling->objectName();
    }
    return names;
}

} // namespace

class TestProfileWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void controlsFitTheirPages();
    void saveApplyCompare();
    void backupBeforeUpgrade();
    void failedBackupAsksFirst();
    void noUpgradeWhileAProfileRuns();
    void cleanupTestCase() { DataLocations::setPlaces({}); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Sim> m_a;
    std::unique_ptr<Sim> m_b;
};

void TestProfileWindow::initTestCase()
{
    DataLocations::setPlaces(DataLocations::Places::portableIn(m_dir.path()));
    m_a = std::make_unique<Sim>(95, QStringList{"--seed", "4"});
    m_b = std::make_unique<Sim>(
        96, QStringList{"--seed", "8", "--cells", "10", "--capacity", "40", "--soc", "30"});
    QTRY_VERIFY_WITH_TIMEOUT(m_a->ready() && m_b->ready(), 10000);
}

void TestProfileWindow::controlsFitTheirPages()
{
    Rig rig;
    const QList<QAction *> entries = rig.profiles.menu()->actions();
    QStringList texts;
    for (QAction *a : entries)
        if (!a->isSeparator())
            texts << a->text();
    QCOMPARE(texts, (QStringList{"Save profile...", "Open profile...", "Compare with pack...",
                                 "Apply to pack..."}));
    QCOMPARE(rig.window.menuBar()->actions().at(2)->text(), QStringLiteral("profile"));

    // In free room of the fixed pages, named for screen readers, in both
    // languages.
    for (bool english : {true, false}) {
        rig.core.state.setEnglishUi(english);
        for (PanelHost::Page page : {PanelHost::Page::Param, PanelHost::Page::System}) {
            rig.window.host()->selectTab(int(page) + 1);
            QWidget *panel = rig.window.host()->page(page);
            auto *button = panel->findChild<QPushButton *>(QStringLiteral("SaveProfile"));
            QVERIFY(button && button->isVisible());
            QVERIFY2(button->accessibleName().startsWith(english ? QStringLiteral("Save profile")
                                                                 : QStringLiteral("从")),
                     qPrintable(button->accessibleName()));
            QVERIFY(panel->rect().contains(button->geometry()));
            QVERIFY2(overlapped(button).isEmpty(), qPrintable(overlapped(button).join(", ")));
        }
        rig.window.host()->selectTab(7);
        QWidget *upgrade = rig.window.host()->page(PanelHost::Page::Upgrade);
        auto *box = upgrade->findChild<QCheckBox *>(QStringLiteral("ProfileBackup"));
        QVERIFY(box && box->isVisible() && box->isChecked());
        QVERIFY(upgrade->rect().contains(box->geometry()));
        QVERIFY2(overlapped(box).isEmpty(), qPrintable(overlapped(box).join(", ")));
    }
    QCOMPARE(rig.profiles.menu()->title(), QStringLiteral("配置文件"));
    // Every entry of the bar stays on it in Chinese too.
    QTest::qWait(50);
    for (QAction *a : rig.window.menuBar()->actions())
        QVERIFY2(!rig.window.menuBar()->actionGeometry(a).isEmpty(), qPrintable(a->text()));
}

void TestProfileWindow::saveApplyCompare()
{
    Rig rig;
    QVERIFY(rig.connectTo(95));
    rig.window.host()->selectTab(3);
    const QString path = m_dir.filePath("batch.cvprofile.json");
    rig.prompt.nextSaveFile = path;
    rig.prompt.nextFile = path; // the profile that apply and compare open
    rig.window.host()
        ->page(PanelHost::Page::Param)
        ->findChild<QPushButton *>(QStringLiteral("SaveProfile"))
        ->click();
    QVERIFY(rig.messaged("Profile saved to " + path));
    // The dialog offered the data folder's profiles folder first.
    QVERIFY2(rig.prompt.saveSuggestions.value(0).startsWith(ProfileActions::profilesFolder() + '/'),
             qPrintable(rig.prompt.saveSuggestions.value(0)));

    // The second pack, set up differently, gets the first one's settings and
    // identity.
    QVERIFY(rig.connectTo(96));
    rig.prompt.clear();
    rig.profiles.applyAction()->trigger();
    ProfileApplyDialog *options = rig.profiles.applyDialog();
    QVERIFY(options && options->isVisible());
    QVERIFY(options->differingOption()->isChecked());
    QVERIFY(!options->identityBox()->isChecked());
    QTest::keyClick(options->identityBox(), Qt::Key_Space);
    QVERIFY(options->identityBox()->isChecked());
    options->accept();
    QVERIFY(waitUntil(
        [&] { return rig.profiles.reportDialog() && rig.profiles.reportDialog()->isVisible(); },
        60000));
    QCOMPARE(rig.prompt.questions.size(), 1);
    QVERIFY2(rig.prompt.questions[0].text.startsWith("Items that will change on the pack: "),
             qPrintable(rig.prompt.questions[0].text));
    const QString report = rig.profiles.reportDialog()->text();
    QVERIFY2(report.contains("written items verified") && !report.contains("returned") &&
                 !report.contains("not written"),
             qPrintable(report));
    QVERIFY(report.contains("system.counts.cells: verified"));
    QVERIFY(rig.prompt.messages.isEmpty());

    rig.prompt.nextFile = path;
    rig.profiles.compareAction()->trigger();
    QVERIFY(waitUntil(
        [&] { return rig.profiles.compareDialog() && rig.profiles.compareDialog()->isVisible(); },
        60000));
    ProfileCompareDialog *compare = rig.profiles.compareDialog();
    QCOMPARE(compare->result().differing, 0);
    QCOMPARE(compare->countLabel()->text(),
             QStringLiteral("Items that differ between the pack and the profile: 0"));
    QCOMPARE(compare->table()->rowCount(), int(compare->result().rows.size()));

    const QString csv = m_dir.filePath("compare.csv");
    rig.prompt.nextSaveFile = csv;
    QVERIFY(compare->exportCsv());
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readLine(), QByteArray("\xEF\xBB\xBFItem,Value in the pack,Value in the file,Unit,"
                                      "Differs\r\n"));
}

void TestProfileWindow::backupBeforeUpgrade()
{
    Rig rig;
    QVERIFY(rig.connectTo(95));
    rig.window.host()->selectTab(7);
    const QString image = m_dir.filePath("small.bin");
    {
        QFile f(image);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(3 * 128, '\x5a'));
    }
    rig.core.upgrade.selectTarget(UpgradeField::boot);
    rig.core.state.upgrade.setText(UpgradeField::path, image);
    rig.prompt.answer = true; // the BOOT warning, then the offer to compare
    rig.core.upgrade.start();
    QVERIFY(rig.messaged("Upgrade succeeded"));
    QVERIFY(waitUntil(
        [&] { return rig.profiles.compareDialog() && rig.profiles.compareDialog()->isVisible(); },
        60000));
    QCOMPARE(rig.profiles.compareDialog()->result().differing, 0);

    const QStringList saved =
        QDir(ProfileActions::profilesFolder()).entryList({"*.cvprofile.json"}, QDir::Files);
    QCOMPARE(saved.size(), 1);
    // Named after the battery ID just read, with the time of the save.
    const QString id = rig.core.state.system.text(SystemField::batteryId);
    QVERIFY(!id.isEmpty());
    QVERIFY2(QRegularExpression("^" + QRegularExpression::escape(id) +
                                "_\\d{8}-\\d{6}\\.cvprofile\\.json$")
                 .match(saved[0])
                 .hasMatch(),
             qPrintable(saved[0] + " / " + id));
    QStringList asked;
    for (const auto &q : rig.prompt.questions)
        asked << q.text;
    QVERIFY2(asked.last().startsWith("Compare the pack with the profile saved before the upgrade"),
             qPrintable(asked.join(" | ")));
}

void TestProfileWindow::failedBackupAsksFirst()
{
    // Something that is not a folder where the profiles folder belongs.
    QDir(ProfileActions::profilesFolder()).removeRecursively();
    {
        QFile blocker(ProfileActions::profilesFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    Rig rig;
    QVERIFY(rig.connectTo(95));
    rig.window.host()->selectTab(7);
    const QString image = m_dir.filePath("small.bin");
    rig.core.upgrade.selectTarget(UpgradeField::boot);
    rig.core.state.upgrade.setText(UpgradeField::path, image);
    rig.prompt.answer = false;
    rig.core.upgrade.start();
    QVERIFY(waitUntil([&] { return !rig.prompt.questions.isEmpty(); }, 60000));
    QCOMPARE(rig.prompt.questions[0].title, QStringLiteral("Backup failed"));
    QVERIFY2(rig.prompt.questions[0].text.endsWith("Upgrade anyway?"),
             qPrintable(rig.prompt.questions[0].text));
    // Declined: no upgrade, and the page's button works again.
    QTest::qWait(300);
    QVERIFY(rig.core.state.currentCommand != 255);
    QCOMPARE(rig.prompt.questions.size(), 1);
    QVERIFY(rig.core.state.upgrade.isEnabled(UpgradeField::start));
    QFile::remove(ProfileActions::profilesFolder());
}

void TestProfileWindow::noUpgradeWhileAProfileRuns()
{
    Rig rig;
    QVERIFY(rig.connectTo(95));
    rig.window.host()->selectTab(7);
    rig.prompt.nextFile = m_dir.filePath("batch.cvprofile.json");
    rig.profiles.compareAction()->trigger();
    QVERIFY(rig.profiles.session().busy());
    rig.core.upgrade.selectTarget(UpgradeField::boot);
    rig.core.state.upgrade.setText(UpgradeField::path, m_dir.filePath("small.bin"));
    rig.core.upgrade.start();
    QVERIFY(rig.prompt.texts().join('\n').contains("A profile is being read or written"));
    QVERIFY(rig.prompt.questions.isEmpty()); // not even the BOOT warning
    // The comparison finishes undisturbed.
    QVERIFY(waitUntil(
        [&] { return rig.profiles.compareDialog() && rig.profiles.compareDialog()->isVisible(); },
        60000));
    QCOMPARE(rig.profiles.compareDialog()->result().differing, 0);
    QVERIFY(rig.core.state.currentCommand != 255);
}

QTEST_MAIN(TestProfileWindow)
#include "tst_profile_window.moc"
