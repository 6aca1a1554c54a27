#include "records/DataLocations.h"
#include "records/OutputFiles.h"
#include "support/ResultCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using DataLocations::Inputs;
using DataLocations::Places;

namespace {
void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}
} // namespace

// The one decision of where templates are read and outputs written, on
// folders laid out as a build folder, a portable copy or an installation.
class TestDataLocations : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }
    void cleanup() { DataLocations::setPlaces({}); }

    void decide_data()
    {
        QTest::addColumn<QStringList>("files"); // below the temporary folder
        QTest::addColumn<bool>("portable");
        QTest::addColumn<QString>("outputRoot");
        QTest::addColumn<QStringList>("templateFolders");
        const QString xls = QStringLiteral("Storage Data Template.xls");
        const QString xlsx = QStringLiteral("Real time data template.xlsx");
        const QStringList installedTemplates{"share/cellvane/" + xls, "share/cellvane/" + xlsx};
        const QStringList searched{"share/cellvane", "data2/cellvane", "bin"};

        QTest::newRow("build folder") << QStringList{"bin/cellvane", "bin/" + xls, "bin/" + xlsx}
                                      << true << "bin" << QStringList{"bin"};
        QTest::newRow("installed") << (QStringList{"bin/cellvane"} + installedTemplates) << false
                                   << "docs/Cellvane" << searched;
        // One template beside the program is a damaged copy, not a portable one.
        QTest::newRow("only the xls beside")
            << QStringList{"bin/cellvane", "bin/" + xls} << false << "docs/Cellvane" << searched;
        QTest::newRow("only the xlsx beside")
            << QStringList{"bin/cellvane", "bin/" + xlsx} << false << "docs/Cellvane" << searched;
        QTest::newRow("nothing anywhere")
            << QStringList{"bin/cellvane"} << false << "docs/Cellvane" << searched;
        // A folder named like a template is not one.
        QTest::newRow("folders named like templates")
            << QStringList{"bin/" + xls + "/x", "bin/" + xlsx + "/x"} << false << "docs/Cellvane"
            << searched;
    }
    void decide()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, portable);
        QFETCH(QString, outputRoot);
        QFETCH(QStringList, templateFolders);
        for (const QString &f : files)
            touch(path(f));
        const Places p = DataLocations::decide(
            Inputs{path("bin"),
                   {path("share/cellvane"), path("data2/cellvane"), path("bin/../share/cellvane")},
                   path("docs")});
        QCOMPARE(p.portable, portable);
        QCOMPARE(p.outputRoot, path(outputRoot));
        QStringList expected;
        for (const QString &f : templateFolders)
            expected << path(f);
        QCOMPARE(p.templateFolders, expected);
        QCOMPARE(p.programFolder, path("bin"));
    }

    // Root may write everywhere, so only a non-root run can see a read-only
    // copy; the templates beside the program still keep an installation apart.
    void readOnlyCopyIsNotPortable()
    {
        for (const QString &name : DataLocations::templateNames())
            touch(path("bin/" + name));
        QFile::setPermissions(path("bin"), QFile::ReadOwner | QFile::ExeOwner);
        const bool stillWritable = QFileInfo(path("bin")).isWritable();
        const Places p = DataLocations::decide(Inputs{path("bin"), {}, path("docs")});
        QFile::setPermissions(path("bin"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (stillWritable)
            QSKIP("running as root: every folder is writable");
        QVERIFY(!p.portable);
        QCOMPARE(p.outputRoot, path("docs/Cellvane"));
        // The copy's own templates are still found, after the installed ones.
        QCOMPARE(p.templateFolders, QStringList{path("bin")});
    }

    void noDocumentsFolder()
    {
        DataLocations::setPlaces(DataLocations::decide(Inputs{path("bin"), {}, QString()}));
        QCOMPARE(DataLocations::outputFolder(QStringLiteral("Store data")), QString());
        const Result<QString> day =
            OutputFiles::dayFolder(QStringLiteral("Store data"), QDate(2024, 5, 7));
        QVERIFY(!day);
        QVERIFY2(day.error().message.contains(QStringLiteral("Store data")),
                 qPrintable(day.error().message));
        // Nothing was made relative to the working folder instead.
        QVERIFY(!QFileInfo::exists(QStringLiteral("Store data")));
    }

    void outputsOfAnInstallation()
    {
        DataLocations::setPlaces(DataLocations::decide(Inputs{path("bin"), {}, path("docs")}));
        const Result<QString> day =
            OutputFiles::dayFolder(QStringLiteral("real-time data"), QDate(2024, 5, 7));
        QVERIFY_OK(day);
        QCOMPARE(*day, path("docs/Cellvane/real-time data/2024-05-07"));
        QVERIFY(QFileInfo(*day).isDir());
        QVERIFY(!QFileInfo::exists(path("bin")));
    }

    void findTemplate_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("found"); // "" = none
        QTest::newRow("first data folder") << QStringList{"a", "b"} << "a";
        QTest::newRow("second data folder") << QStringList{"b"} << "b";
        QTest::newRow("beside a read-only copy") << QStringList{"bin"} << "bin";
        QTest::newRow("installed wins over beside") << QStringList{"bin", "b"} << "b";
        QTest::newRow("nowhere") << QStringList{} << "";
    }
    void findTemplate()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, found);
        const QString name = QStringLiteral("Storage Data Template.xls");
        for (const QString &folder : present)
            touch(path(folder + "/" + name));
        QDir().mkpath(path("bin"));
        DataLocations::setPlaces(
            DataLocations::decide(Inputs{path("bin"), {path("a"), path("b")}, path("docs")}));
        const Result<QString> result = DataLocations::findTemplate(name);
        QCOMPARE(result.ok(), !found.isEmpty());
        if (found.isEmpty()) {
            // The message names every folder searched.
            const QString error = result.error().message;
            for (const char *folder : {"a", "b", "bin"})
                QVERIFY2(error.contains(QDir::toNativeSeparators(path(QLatin1String(folder)))),
                         qPrintable(error));
        } else {
            QCOMPARE(*result, path(found + "/" + name));
        }
    }

    // A portable copy keeps today's message, naming the file beside the program.
    void missingBesideAPortableCopy()
    {
        OutputFiles::setProgramFolder(path("copy"));
        const Result<QString> found =
            DataLocations::findTemplate(QStringLiteral("Storage Data Template.xls"));
        QVERIFY(!found);
        QCOMPARE(found.error().message,
                 QStringLiteral("The template \"%1\" is missing. Put it beside the program "
                                "and export again.")
                     .arg(QDir::toNativeSeparators(path("copy/Storage Data Template.xls"))));
    }

    // The data folder of an installation is found from the program's folder
    // first, then through the system's data folders.
    void dataFoldersOfTheSystem()
    {
        const QByteArray home = qgetenv("XDG_DATA_HOME"), dirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_HOME", path("home-data").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", (path("sys1") + ":" + path("sys2")).toLocal8Bit());
        const QStringList folders = DataLocations::dataFoldersFor(path("prefix/bin"));
        qputenv("XDG_DATA_HOME", home);
        qputenv("XDG_DATA_DIRS", dirs);
        QCOMPARE(folders, (QStringList{path("prefix/share/cellvane"), path("home-data/cellvane"),
                                       path("sys1/cellvane"), path("sys2/cellvane")}));
    }
};

QTEST_GUILESS_MAIN(TestDataLocations)
#include "tst_data_locations.moc"
