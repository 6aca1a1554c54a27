#include "FakeLink.h"
#include "records/DataLocations.h"
#include "records/OutputFiles.h"
#include "records/RecordForm.h"
#include "records/Recorder.h"
#include "records/StoredRecords.h"
#include "shell/Core.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QDateTime moment(QDate(2024, 5, 7), QTime(9, 3, 0));

// Every file and folder below `root` with its size and modification time.
QStringList listing(const QString &root)
{
    QStringList lines;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        lines << QStringLiteral("%1 %2 %3")
                     .arg(QDir(root).relativeFilePath(info.filePath()))
                     .arg(info.isDir() ? -1 : info.size())
                     .arg(info.lastModified().toMSecsSinceEpoch());
    }
    lines.sort();
    return lines;
}

void setReadOnly(const QString &root, bool readOnly)
{
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList paths{root};
    while (it.hasNext())
        paths << it.next();
    for (const QString &p : paths) {
        QFileDevice::Permissions perms = QFile::permissions(p);
        const auto write =
            QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
        QFile::setPermissions(p, readOnly ? perms & ~write : perms | QFile::WriteOwner);
    }
}
} // namespace

// The program installed as a package would install it, into a prefix that is
// then made read-only, and run there as the installed program runs: its
// recordings and exports go into the user's documents and the templates come
// from share/cellvane. A listing of the prefix before and after proves that
// nothing was written inside it, which permissions alone cannot show when the
// tests run as root.
class TestInstallLayout : public QObject {
    Q_OBJECT

    QTemporaryDir m_prefix;
    QTemporaryDir m_home;
    QByteArray m_savedHome, m_savedDataHome, m_savedDataDirs;
    RecordingPrompt m_prompt;
    FakePort *m_port = nullptr;
    std::unique_ptr<Core> m_core;

    QString prefix(const QString &relative) const { return m_prefix.filePath(relative); }

    // Records a few lines, converts the recording and exports three stored
    // rows. Returns the three files written.
    QStringList recordAndExport()
    {
        m_prompt.clear();
        auto port = std::make_unique<FakePort>();
        m_port = port.get();
        m_core = std::make_unique<Core>(m_prompt, std::move(port));
        m_core->state.setEnglishUi(true);
        AppState &s = m_core->state;
        if (!FakeLink::open(*m_core, *m_port))
            return {QStringLiteral("<port did not open>")};
        s.currentCommand = 0;
        s.linkCountdown = 20;
        s.record.setCheck(RecordField::recording, 2);
        for (int i = 0; i < 3; ++i)
            m_core->recorder.tick();
        const QString recording = s.recordFilePath;

        s.record.setText(RecordField::path, QDir::toNativeSeparators(recording));
        QSignalSpy done(&m_core->recorder, &Recorder::conversionFinished);
        m_core->recorder.convert();
        if (done.isEmpty() && !done.wait(60000))
            return {QStringLiteral("<conversion did not finish>")};
        const QString workbook = s.exportXlsxPath;

        for (int i = 0; i < 3; ++i) {
            QStringList pieces;
            for (int c = 0; c < 20; ++c)
                pieces << QString::number(i * 100 + c);
            s.storedRows << pieces.join(QLatin1Char('\t')) + QLatin1Char('\t');
        }
        m_core->stored.exportRows();
        // The export runs in slices on the event loop.
        QDeadlineTimer deadline(60000);
        while (m_core->stored.isExporting() && !deadline.hasExpired())
            QTest::qWait(10);
        if (m_core->stored.isExporting())
            return {QStringLiteral("<export did not finish>")};
        QString stored;
        for (const auto &m : std::as_const(m_prompt.messages))
            if (m.text.startsWith(QStringLiteral("Export succeeded\n")) &&
                m.text.endsWith(QStringLiteral("-FLA.xls")))
                stored = QDir::fromNativeSeparators(m.text.section(QLatin1Char('\n'), 1));
        m_core->link.toggleOpen();
        m_core.reset();
        return {recording, workbook, stored};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_prefix.isValid() && m_home.isValid());
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(CELLVANE_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(CELLVANE_BINARY_DIR),
                       QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY(install.waitForFinished(300000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());

        // A user of its own, and no system data folder that an installed
        // package on this machine could lend its templates from.
        m_savedHome = qgetenv("HOME");
        m_savedDataHome = qgetenv("XDG_DATA_HOME");
        m_savedDataDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("HOME", m_home.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral(".local/share")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", m_home.filePath(QStringLiteral("no-system-data")).toLocal8Bit());
        OutputFiles::setClock([] { return moment; });
    }
    void cleanupTestCase()
    {
        setReadOnly(m_prefix.path(), false);
        OutputFiles::setClock({});
        DataLocations::setPlaces({});
        qputenv("HOME", m_savedHome);
        qputenv("XDG_DATA_HOME", m_savedDataHome);
        qputenv("XDG_DATA_DIRS", m_savedDataDirs);
    }

    void layout_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("program") << "bin/cellvane";
        QTest::newRow("simulator") << "bin/cellvane-sim";
        QTest::newRow("command-line tool") << "bin/cellvane-cli";
        QTest::newRow("stored-data template") << "share/cellvane/Storage Data Template.xls";
        QTest::newRow("recording template") << "share/cellvane/Real time data template.xlsx";
        QTest::newRow("menu entry") << "share/applications/cellvane.desktop";
        QTest::newRow("metainfo") << "share/metainfo/cellvane.metainfo.xml";
        QTest::newRow("scalable icon") << "share/icons/hicolor/scalable/apps/cellvane.svg";
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QTest::newRow(qPrintable(QStringLiteral("icon %1").arg(size)))
                << QStringLiteral("share/icons/hicolor/%1x%1/apps/cellvane.png").arg(size);
        QTest::newRow("manual page") << "share/man/man1/cellvane.1.gz";
        QTest::newRow("command-line manual page") << "share/man/man1/cellvane-cli.1.gz";
    }
    void layout()
    {
        QFETCH(QString, file);
        QVERIFY2(QFileInfo(prefix(file)).isFile(), qPrintable(file));
    }

    // Templates beside the program would make it a portable copy for root,
    // who may write into the prefix.
    void nothingButProgramsBesideThem()
    {
        QCOMPARE(QDir(prefix(QStringLiteral("bin"))).entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("cellvane"), QStringLiteral("cellvane-cli"),
                              QStringLiteral("cellvane-sim")}));
    }

    // The menu entry and the metainfo as the desktop's own checkers see them.
    void desktopFilesValidate_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::newRow("desktop entry")
            << "desktop-file-validate" << QStringList{} << "share/applications/cellvane.desktop";
        QTest::newRow("metainfo") << "appstreamcli" << QStringList{"validate", "--no-net"}
                                  << "share/metainfo/cellvane.metainfo.xml";
    }
    void desktopFilesValidate()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            QSKIP(qPrintable(tool + QStringLiteral(" is not installed (tools/deps.sh)")));
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, arguments << prefix(file));
        QVERIFY(p.waitForFinished(60000));
        const QByteArray out = p.readAll();
        QVERIFY2(p.exitCode() == 0, out.constData());
        QVERIFY2(!out.contains("error") && !out.contains("warning"), out.constData());
    }

    void installedProgramAnswersOnTheTerminal_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output"); // in stdout, or all of stderr when failing
        QTest::newRow("version") << "cellvane" << QStringList{"--version"} << 0 << "cellvane 1.6.0";
        QTest::newRow("help") << "cellvane" << QStringList{"--help"} << 0 << "-v, --version";
        QTest::newRow("unknown option")
            << "cellvane" << QStringList{"--frobnicate"} << 2
            << "cellvane: Unknown option 'frobnicate'. Try cellvane --help.";
        QTest::newRow("simulator version")
            << "cellvane-sim" << QStringList{"--version"} << 0 << "cellvane-sim 1.6.0";
        QTest::newRow("command-line tool version")
            << "cellvane-cli" << QStringList{"--version"} << 0 << "cellvane-cli 1.6.0";
        QTest::newRow("command-line tool, unknown command")
            << "cellvane-cli" << QStringList{"frobnicate"} << 2
            << "cellvane-cli: unknown command \"frobnicate\". Try cellvane-cli --help.";
    }
    // Without a display: the answer must not need the window system.
    void installedProgramAnswersOnTheTerminal()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("cli")));
        p.setProcessEnvironment(env);
        p.start(prefix(QStringLiteral("bin/") + program), arguments);
        QVERIFY(p.waitForFinished(60000));
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), exitCode);
        if (exitCode == 0) {
            QVERIFY2(out.contains(output), qPrintable(out + err));
        } else {
            QCOMPARE(err, output + QLatin1Char('\n')); // one line
            QCOMPARE(out, QString());
        }
    }

    void installedProgramWritesOnlyForTheUser()
    {
        setReadOnly(m_prefix.path(), true);
        const QStringList before = listing(m_prefix.path());
        const QString bin = prefix(QStringLiteral("bin"));
        const QString documents = m_home.filePath(QStringLiteral("Documents"));
        // Exactly what the installed program decides at start, with its own
        // folder in the prefix.
        const DataLocations::Places places = DataLocations::decide(DataLocations::Inputs{
            bin, DataLocations::dataFoldersFor(bin),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)});
        QVERIFY(!places.portable);
        QCOMPARE(places.outputRoot, documents + QStringLiteral("/Cellvane"));
        QCOMPARE(places.templateFolders.value(0), prefix(QStringLiteral("share/cellvane")));
        DataLocations::setPlaces(places);

        const QStringList written = recordAndExport();
        QCOMPARE(m_prompt.messages.size(), 2); // the two "Export succeeded"
        const QString day = documents + QStringLiteral("/Cellvane/%1/2024-05-07/");
        QCOMPARE(written, (QStringList{day.arg("real-time data") + "2024-05-07 09.03.00.txt",
                                       day.arg("real-time data") + "2024-05-07 09.03.00.xlsx",
                                       day.arg("Store data") + "2024-05-07 09.03.00-FLA.xls"}));
        for (const QString &file : written)
            QVERIFY2(QFileInfo(file).size() > 0, qPrintable(file));
        QCOMPARE(listing(m_prefix.path()), before);
        setReadOnly(m_prefix.path(), false);
    }

    // The same programs copied with their templates into a folder of the
    // user's keep everything beside themselves, as a build folder does.
    void portableCopyKeepsEverythingBesideItself()
    {
        QTemporaryDir copy;
        QVERIFY(copy.isValid());
        for (const QString &f : {QStringLiteral("bin/cellvane"), QStringLiteral("bin/cellvane-sim"),
                                 QStringLiteral("share/cellvane/Storage Data Template.xls"),
                                 QStringLiteral("share/cellvane/Real time data template.xlsx")})
            QVERIFY(QFile::copy(prefix(f), copy.filePath(QFileInfo(f).fileName())));
        const QString documents = m_home.filePath(QStringLiteral("Documents"));
        QDir(documents).removeRecursively();
        const DataLocations::Places places = DataLocations::decide(DataLocations::Inputs{
            copy.path(), DataLocations::dataFoldersFor(copy.path()), documents});
        QVERIFY(places.portable);
        DataLocations::setPlaces(places);

        const QStringList written = recordAndExport();
        const QString day = copy.path() + QStringLiteral("/%1/2024-05-07/");
        QCOMPARE(written, (QStringList{day.arg("real-time data") + "2024-05-07 09.03.00.txt",
                                       day.arg("real-time data") + "2024-05-07 09.03.00.xlsx",
                                       day.arg("Store data") + "2024-05-07 09.03.00-FLA.xls"}));
        QVERIFY(!QFileInfo::exists(documents));
    }
};

QTEST_GUILESS_MAIN(TestInstallLayout)
#include "tst_install_layout.moc"
