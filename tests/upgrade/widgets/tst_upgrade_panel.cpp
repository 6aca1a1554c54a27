#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include "link/LinkForm.h"
#include "shell/Core.h"
#include "upgrade/UpgradeForm.h"
#include "upgrade/widgets/UpgradePanel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
struct Rig {
    RecordingPrompt prompt;
    FakePort *port = new FakePort;
    Core core{prompt, std::unique_ptr<PortIo>(port)};
    UpgradePanel panel{core.state, core.upgrade};

    Rig()
    {
        core.state.setEnglishUi(true);
        panel.applyCaptions();
        core.state.link.setEntries(LinkField::port, {QStringLiteral("COM1")}, 0);
        core.link.buildPortSettings();
        core.link.toggleOpen();
    }
    template <typename T> T *find(const QString &name)
    {
        T *w = panel.findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    // The visible caption of a control, whatever kind it is.
    QString caption(const QString &name)
    {
        QWidget *w = find<QWidget>(name);
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            return b->text();
        if (auto *l = qobject_cast<QLabel *>(w))
            return l->text();
        if (auto *g = qobject_cast<QGroupBox *>(w))
            return g->title();
        return {};
    }
};
} // namespace

class TestUpgradePanel : public QObject {
    Q_OBJECT
private slots:
    void captions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::newRow("frame") << "Frame1"
                               << "Upgrade module"
                               << "升级模块";
        QTest::newRow("file label") << "Text3"
                                    << "File directory:"
                                    << "     文件目录:";
        QTest::newRow("file button") << "Command1"
                                     << "Upgrade Files"
                                     << "升级文件";
        QTest::newRow("target label") << "Label1"
                                      << "Upgrade Object:"
                                      << "      升级对象:";
        QTest::newRow("APP") << "升级app_boot_0"
                             << "Upgrade APP"
                             << "升级APP";
        QTest::newRow("BOOT") << "升级app_boot_1"
                              << "Upgrade BOOT"
                              << "升级BOOT";
        QTest::newRow("baud label") << "升级波特率"
                                    << "Change baud upgrade:"
                                    << "     变波特率升级：";
        QTest::newRow("upgrade button") << "升级"
                                        << "BMS Upgrade"
                                        << "BMS升级";
        QTest::newRow("progress label") << "Label2"
                                        << "     Progress:"
                                        << "    升级进度:";
        QTest::newRow("percent") << "jingdu"
                                 << "0%"
                                 << "0%";
    }
    void captions()
    {
        QFETCH(QString, control);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        Rig rig;
        QCOMPARE(rig.caption(control), english);
        rig.core.state.setEnglishUi(false);
        rig.panel.applyCaptions();
        QCOMPARE(rig.caption(control), chinese);
        rig.core.state.setEnglishUi(true);
        rig.panel.applyCaptions();
        QCOMPARE(rig.caption(control), english);
    }

    void accessibleNames_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("path") << "Text5"
                              << "File directory";
        QTest::newRow("baud") << "升级波特率选择"
                              << "Change baud upgrade";
        QTest::newRow("bar") << "progress"
                             << "Progress";
        QTest::newRow("start") << "升级"
                               << "BMS Upgrade";
    }
    void accessibleNames()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        Rig rig;
        QCOMPARE(rig.find<QWidget>(control)->accessibleName(), name);
    }

    void baudSelector()
    {
        Rig rig;
        auto *baud = rig.find<QComboBox>("升级波特率选择");
        QStringList entries;
        for (int i = 0; i < baud->count(); ++i)
            entries << baud->itemText(i);
        QCOMPARE(entries,
                 QStringList({"9600", "14400", "19200", "38400", "56000", "115200", "1200"}));
        QCOMPARE(baud->currentText(), QStringLiteral("115200"));
        QVERIFY(rig.find<QRadioButton>("升级app_boot_0")->isChecked());
    }

    void targetClicks_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("baudEnabled");
        QTest::newRow("BOOT") << QStringList{"升级app_boot_1"} << 1 << false;
        QTest::newRow("BOOT, then APP")
            << QStringList{"升级app_boot_1", "升级app_boot_0"} << 0 << true;
    }
    void targetClicks()
    {
        QFETCH(QStringList, clicks);
        QFETCH(int, target);
        QFETCH(bool, baudEnabled);
        Rig rig;
        for (const QString &name : clicks)
            rig.find<QRadioButton>(name)->click();
        QCOMPARE(rig.core.state.upgrade.choice(UpgradeField::target), target);
        QCOMPARE(rig.find<QComboBox>("升级波特率选择")->isEnabled(), baudEnabled);
    }

    void fileButton_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("shown");
        QTest::newRow("picked") << "/data/fw 2.bin"
                                << "/data/fw 2.bin";
        QTest::newRow("cancelled") << ""
                                   << "/typed/by/hand.bin";
    }
    void fileButton()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, shown);
        Rig rig;
        auto *path = rig.find<QLineEdit>("Text5");
        QTest::keyClicks(path, "/typed/by/hand.bin");
        QCOMPARE(rig.core.state.upgrade.text(UpgradeField::path),
                 QStringLiteral("/typed/by/hand.bin"));
        rig.prompt.nextFile = chosen;
        rig.find<QPushButton>("Command1")->click();
        QCOMPARE(rig.prompt.fileFilters, QStringList{"Batch Files (*.bin)"});
        QCOMPARE(path->text(), shown);
        QCOMPARE(rig.core.state.upgrade.text(UpgradeField::path), shown);
    }

    // Running: button and options off, baud selector as it was; the progress
    // shows whole percentages in the label and on the bar.
    void runningUpgrade()
    {
        Rig rig;
        QTemporaryDir dir;
        const QString file = dir.filePath("fw.bin");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(300, 'a'));
        f.close();
        rig.find<QLineEdit>("Text5")->setText(file);
        rig.core.state.upgrade.setText(UpgradeField::path, file);
        rig.find<QPushButton>("升级")->click();
        QVERIFY(rig.prompt.messages.isEmpty());
        QVERIFY(!rig.find<QPushButton>("升级")->isEnabled());
        QVERIFY(!rig.find<QRadioButton>("升级app_boot_0")->isEnabled());
        QVERIFY(!rig.find<QRadioButton>("升级app_boot_1")->isEnabled());
        QVERIFY(rig.find<QComboBox>("升级波特率选择")->isEnabled());

        rig.core.upgrade.showProgress(33);
        auto *bar = rig.find<QProgressBar>("progress");
        QCOMPARE(bar->value(), 33);
        QCOMPARE(bar->text(), QStringLiteral("33%"));
        QCOMPARE(rig.find<QLabel>("jingdu")->text(), QStringLiteral("33%"));

        rig.core.upgrade.enableControls();
        QVERIFY(rig.find<QPushButton>("升级")->isEnabled());
        QVERIFY(rig.find<QRadioButton>("升级app_boot_1")->isEnabled());
    }
};

QTEST_MAIN(TestUpgradePanel)
#include "tst_upgrade_panel.moc"
