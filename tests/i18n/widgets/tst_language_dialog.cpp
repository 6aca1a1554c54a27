#include "support/WindowRig.h"

#include "i18n/SettingsRecord.h"
#include "i18n/widgets/LanguageDialog.h"
#include "link/widgets/LinkPanel.h"
#include "shell/Core.h"
#include "shell/widgets/MainWindow.h"
#include "shell/widgets/PanelHost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Rig : WindowRig {
    LanguageDialog *openDialog()
    {
        window.showLanguageDialog();
        LanguageDialog *d = window.languageDialog();
        if (!QTest::qWaitForWindowExposed(d))
            qWarning("language dialog not exposed");
        return d;
    }
    void choose(bool english)
    {
        LanguageDialog *d = openDialog();
        // On the indicator: a radio button takes clicks on its indicator and
        // text only, not on the empty rest of its row.
        QRadioButton *option = english ? d->englishOption() : d->chineseOption();
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    }
    QString infoGroupTitle() const
    {
        return host.page(PanelHost::Page::Info)
            ->findChild<QGroupBox *>(QStringLiteral("版本信息"))
            ->title();
    }
    QString openCloseText() const
    {
        return static_cast<LinkPanel *>(host.page(PanelHost::Page::Link))
            ->openCloseButton()
            ->text();
    }
};

QByteArray readRecord()
{
    QFile f(SettingsRecord::filePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestLanguageDialog : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_config;
    void writeRecord(const QByteArray &contents)
    {
        QDir().mkpath(QFileInfo(SettingsRecord::filePath()).absolutePath());
        QFile f(SettingsRecord::filePath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contents);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }
    void init() { QDir(m_config.path() + QStringLiteral("/cellvane")).removeRecursively(); }

    void fixedTexts()
    {
        Rig rig;
        for (bool english : {false, true}) {
            rig.core.state.setEnglishUi(english);
            LanguageDialog *d = rig.openDialog();
            QCOMPARE(d->windowTitle(), QStringLiteral("语言选择Language selection"));
            QCOMPARE(d->chineseOption()->text(), QStringLiteral("中文"));
            QCOMPARE(d->englishOption()->text(), QStringLiteral("English"));
            QCOMPARE(d->okButton()->text(), QStringLiteral("确认(OK)"));
            QCOMPARE(d->okButton()->objectName(), QStringLiteral("Command1"));
            QVERIFY(!d->isModal());
        }
    }

    void opensWithLanguageInForce_data()
    {
        QTest::addColumn<bool>("english");
        QTest::newRow("chinese") << false;
        QTest::newRow("english") << true;
    }
    void opensWithLanguageInForce()
    {
        QFETCH(bool, english);
        Rig rig;
        rig.core.state.setEnglishUi(english);
        LanguageDialog *d = rig.openDialog();
        QCOMPARE(d->englishOption()->isChecked(), english);
        QCOMPARE(d->chineseOption()->isChecked(), !english);
    }

    // OK with the language in force writes nothing but still re-captions.
    void okWithoutChange_data()
    {
        QTest::addColumn<QByteArray>("stored"); // empty: no record yet
        QTest::addColumn<bool>("english");
        QTest::newRow("nothing stored, chinese") << QByteArray() << false;
        QTest::newRow("english stored, english") << QByteArray("[General]\nlanguage=1\n") << true;
        QTest::newRow("chinese stored, chinese") << QByteArray("[General]\nlanguage=0\n") << false;
    }
    void okWithoutChange()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, english);
        if (!stored.isEmpty())
            writeRecord(stored);
        const QDateTime before = QFileInfo(SettingsRecord::filePath()).lastModified();
        Rig rig;
        QCOMPARE(bool(rig.core.state.englishUi()), english);
        rig.host.tabBar()->setTabText(0, QStringLiteral("stale"));
        rig.choose(english);
        QCOMPARE(readRecord(), stored);
        QCOMPARE(QFileInfo::exists(SettingsRecord::filePath()), !stored.isEmpty());
        QCOMPARE(QFileInfo(SettingsRecord::filePath()).lastModified(), before);
        QCOMPARE(rig.host.tabBar()->tabText(0),
                 english ? QStringLiteral("serial setting") : QStringLiteral(" 串口设置"));
        QVERIFY(rig.window.languageDialog()->isVisible());
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    void switchingChangesEveryCaptionAtOnce()
    {
        Rig rig;
        QCOMPARE(rig.host.tabBar()->tabText(1), QStringLiteral(" 状态信息"));
        QCOMPARE(rig.infoGroupTitle(), QStringLiteral("版本信息"));
        QCOMPARE(rig.openCloseText(), QStringLiteral("打开串口"));

        rig.choose(true);
        QCOMPARE(int(rig.core.state.englishUi()), 1);
        QCOMPARE(int(SettingsRecord::storedLanguage()), 1);
        QCOMPARE(rig.host.tabBar()->tabText(1), QStringLiteral("information"));
        QCOMPARE(rig.infoGroupTitle(), QStringLiteral("Version Information"));
        QCOMPARE(rig.openCloseText(), QStringLiteral("Open serial port"));
        QVERIFY(rig.window.languageDialog()->isVisible());

        rig.choose(false);
        QCOMPARE(int(rig.core.state.englishUi()), 0);
        QCOMPARE(int(SettingsRecord::storedLanguage()), 0);
        QVERIFY(readRecord().contains("language=0"));
        QCOMPARE(rig.host.tabBar()->tabText(1), QStringLiteral(" 状态信息"));
        QCOMPARE(rig.infoGroupTitle(), QStringLiteral("版本信息"));
    }

    // Without a stored choice the first start speaks the system's language;
    // once a choice is stored it wins over the system's.
    void firstStartFollowsTheSystem_data()
    {
        QTest::addColumn<QByteArray>("stored"); // empty: no record yet
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<bool>("english");
        QTest::newRow("zh_CN") << QByteArray() << QStringList{"zh-CN"} << false;
        QTest::newRow("zh_TW") << QByteArray() << QStringList{"zh-TW"} << false;
        QTest::newRow("en_US") << QByteArray() << QStringList{"en-US"} << true;
        QTest::newRow("de_DE, then zh") << QByteArray() << QStringList{"de-DE", "zh-CN"} << true;
        QTest::newRow("chinese stored, en_US")
            << QByteArray("[General]\nlanguage=0\n") << QStringList{"en-US"} << false;
        QTest::newRow("english stored, zh_CN")
            << QByteArray("[General]\nlanguage=1\n") << QStringList{"zh-CN"} << true;
    }
    void firstStartFollowsTheSystem()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QStringList, system);
        QFETCH(bool, english);
        if (!stored.isEmpty())
            writeRecord(stored);
        SettingsRecord::setPreferredLanguages(system);
        bool shown = false;
        QString tab;
        {
            Rig rig;
            shown = rig.core.state.englishUi() != 0;
            tab = rig.host.tabBar()->tabText(1);
        }
        SettingsRecord::setPreferredLanguages({});
        QCOMPARE(shown, english);
        QCOMPARE(tab, english ? QStringLiteral("information") : QStringLiteral(" 状态信息"));
        // Starting writes nothing: the record stays as it was.
        QCOMPARE(readRecord(), stored);
    }

    void choiceRestoredAtNextStart_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("tab");
        QTest::newRow("english") << true << QStringLiteral("information");
        QTest::newRow("chinese") << false << QStringLiteral(" 状态信息");
    }
    void choiceRestoredAtNextStart()
    {
        QFETCH(bool, english);
        QFETCH(QString, tab);
        {
            Rig first;
            first.choose(!english);
            first.choose(english);
        }
        Rig second;
        QCOMPARE(bool(second.core.state.englishUi()), english);
        // Already in that language before the window is first shown.
        QVERIFY(!second.window.isVisible());
        QCOMPARE(second.host.tabBar()->tabText(1), tab);
    }

    void englishWithPortOpenReadsClose()
    {
        Rig rig;
        QTest::mouseClick(
            static_cast<LinkPanel *>(rig.host.page(PanelHost::Page::Link))->openCloseButton(),
            Qt::LeftButton);
        QVERIFY(rig.core.link.portOpen());
        QCOMPARE(rig.openCloseText(), QStringLiteral("关闭串口"));
        rig.choose(true);
        QCOMPARE(rig.openCloseText(), QStringLiteral("Close serial port"));
        rig.choose(false);
        QCOMPARE(rig.openCloseText(), QStringLiteral("关闭串口"));
    }

    // A record that cannot be written is reported once; the language applies
    // for the run all the same.
    void unwritableRecord()
    {
        QFile blocker(m_config.path() + QStringLiteral("/cellvane"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Rig rig;
        rig.choose(true);
        QCOMPARE(int(rig.core.state.englishUi()), 1);
        QCOMPARE(rig.host.tabBar()->tabText(1), QStringLiteral("information"));
        QCOMPARE(rig.prompt.messages.size(), 1);
        QVERIFY(rig.prompt.messages.first().text.contains(QStringLiteral("could not be saved")));
        QCOMPARE(rig.prompt.messages.first().icon, UserPrompt::Icon::Warning);
        QFile::remove(blocker.fileName());
    }
};

QTEST_MAIN(TestLanguageDialog)
#include "tst_language_dialog.moc"
