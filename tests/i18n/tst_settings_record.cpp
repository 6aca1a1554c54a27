#include "i18n/SettingsRecord.h"
#include "link/LinkForm.h"
#include "shell/Form.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// Each case runs against its own configuration folder.
class TestSettingsRecord : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_home;
    QByteArray m_savedXdg;

    QString conf() const { return m_home.path() + QStringLiteral("/cellvane/cellvane.conf"); }
    void writeConf(const QByteArray &contents)
    {
        QDir().mkpath(m_home.path() + QStringLiteral("/cellvane"));
        QFile f(conf());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contents);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        m_savedXdg = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
    }
    void cleanupTestCase() { qputenv("XDG_CONFIG_HOME", m_savedXdg); }
    void init() { QDir(m_home.path() + QStringLiteral("/cellvane")).removeRecursively(); }

    void pathFollowsXdgConfigHome() { QCOMPARE(SettingsRecord::filePath(), conf()); }

    void pathDefaultsToDotConfig()
    {
        qunsetenv("XDG_CONFIG_HOME");
        const QString path = SettingsRecord::filePath();
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
        QCOMPARE(path, QDir::homePath() + QStringLiteral("/.config/cellvane/cellvane.conf"));
    }

    void storedLanguage_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file at all
        QTest::addColumn<int>("language");
        QTest::newRow("nothing stored") << QByteArray() << 0;
        QTest::newRow("english") << QByteArray("[General]\nlanguage=1\n") << 1;
        QTest::newRow("chinese") << QByteArray("[General]\nlanguage=0\n") << 0;
        QTest::newRow("other number") << QByteArray("[General]\nlanguage=7\n") << 0;
        QTest::newRow("not a number") << QByteArray("[General]\nlanguage=english\n") << 0;
        QTest::newRow("other keys only") << QByteArray("[General]\ncolour=3\n") << 0;
        QTest::newRow("garbage") << QByteArray("\x01\x02[[[=\n") << 0;
    }
    void storedLanguage()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, language);
        if (!contents.isEmpty())
            writeConf(contents);
        QCOMPARE(int(SettingsRecord::storedLanguage()), language);
    }

    void storeThenRead_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("english") << 1 << 1;
        QTest::newRow("english then chinese") << 1 << 0;
        QTest::newRow("chinese then english") << 0 << 1;
    }
    void storeThenRead()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QVERIFY(SettingsRecord::storeLanguage(quint8(first)));
        QCOMPARE(int(SettingsRecord::storedLanguage()), first);
        QVERIFY(SettingsRecord::storeLanguage(quint8(second)));
        QCOMPARE(int(SettingsRecord::storedLanguage()), second);
    }

    // The record keeps what else it holds when the language is written.
    void storeKeepsOtherKeys()
    {
        writeConf("[General]\nlanguage=0\nwindow=left\n");
        QVERIFY(SettingsRecord::storeLanguage(1));
        QFile f(conf());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY2(text.contains("window=left"), text.constData());
        QVERIFY2(text.contains("language=1"), text.constData());
    }

    void remember_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("fileAfter");
        using R = SettingsRecord::Remembered;
        QTest::newRow("chinese, nothing stored") << QByteArray() << 0 << int(R::Unchanged) << false;
        QTest::newRow("english, nothing stored") << QByteArray() << 1 << int(R::Written) << true;
        QTest::newRow("english, english stored")
            << QByteArray("[General]\nlanguage=1\n") << 1 << int(R::Unchanged) << true;
        QTest::newRow("chinese, english stored")
            << QByteArray("[General]\nlanguage=1\n") << 0 << int(R::Written) << true;
    }
    void remember()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, choice);
        QFETCH(int, result);
        QFETCH(bool, fileAfter);
        if (!contents.isEmpty())
            writeConf(contents);
        const QDateTime before = QFileInfo(conf()).lastModified();
        const QByteArray oldBytes = [&] {
            QFile f(conf());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        QCOMPARE(int(SettingsRecord::rememberLanguage(quint8(choice))), result);
        QCOMPARE(QFileInfo::exists(conf()), fileAfter);
        QCOMPARE(int(SettingsRecord::storedLanguage()), choice);
        if (result == int(SettingsRecord::Remembered::Unchanged) && fileAfter) {
            QFile f(conf());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), oldBytes);
            QCOMPARE(QFileInfo(conf()).lastModified(), before);
        }
    }

    // A configuration folder that cannot be created is reported, not ignored.
    void unwritableRecordFails()
    {
        QFile blocker(m_home.path() + QStringLiteral("/cellvane"));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder belongs
        blocker.close();
        QVERIFY(!SettingsRecord::storeLanguage(1));
        QCOMPARE(SettingsRecord::rememberLanguage(1), SettingsRecord::Remembered::Failed);
        QCOMPARE(int(SettingsRecord::storedLanguage()), 0);
        QFile::remove(blocker.fileName());
    }

    // The link page's reconnection box starts as stored and every change of it
    // is stored, beside the language.
    void reconnectChoice_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file
        QTest::addColumn<int>("ticked");
        QTest::newRow("nothing stored: off") << QByteArray() << 0;
        QTest::newRow("on") << QByteArray("[General]\nlanguage=1\nreconnect=1\n") << 1;
        QTest::newRow("off") << QByteArray("[General]\nlanguage=1\nreconnect=0\n") << 0;
        QTest::newRow("not a number") << QByteArray("[General]\nlanguage=1\nreconnect=yes\n") << 0;
    }
    void reconnectChoice()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, ticked);
        if (!contents.isEmpty())
            writeConf(contents);
        const int language = SettingsRecord::storedLanguage();
        Form link(QStringLiteral("LinkPanel"));
        defineLinkForm(link);
        RecordingPrompt prompt;
        SettingsRecord::followReconnectChoice(link, prompt);
        QCOMPARE(link.check(LinkField::reconnect), ticked);

        QVERIFY(link.setCheck(LinkField::reconnect, 1 - ticked));
        QCOMPARE(SettingsRecord::storedReconnect(), ticked == 0);
        QVERIFY(link.setCheck(LinkField::reconnect, ticked));
        QCOMPARE(SettingsRecord::storedReconnect(), ticked == 1);
        QCOMPARE(int(SettingsRecord::storedLanguage()), language);
        QVERIFY(prompt.messages.isEmpty());
    }

    void reconnectChoiceNotStoredIsReported()
    {
        QFile blocker(m_home.path() + QStringLiteral("/cellvane"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Form link(QStringLiteral("LinkPanel"));
        defineLinkForm(link);
        RecordingPrompt prompt;
        SettingsRecord::followReconnectChoice(link, prompt);
        link.setCheck(LinkField::reconnect, 1);
        QCOMPARE(prompt.messages.size(), 1);
        QVERIFY(prompt.messages.first().text.contains(SettingsRecord::filePath()));
        QCOMPARE(link.check(LinkField::reconnect), 1); // still applies in this run
        QFile::remove(blocker.fileName());
    }
};

QTEST_GUILESS_MAIN(TestSettingsRecord)
#include "tst_settings_record.moc"
