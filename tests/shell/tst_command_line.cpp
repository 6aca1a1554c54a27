#include "shell/CommandLine.h"

#include <QTest>

// What `cellvane ARGS` does before any window exists.
class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after the program name
        QTest::addColumn<bool>("run");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output"); // contained in stdout
        QTest::addColumn<QString>("error");  // the whole stderr line

        QTest::newRow("nothing") << QStringList{} << true << 0 << ""
                                 << "";
        QTest::newRow("--version") << QStringList{"--version"} << false << 0 << "cellvane 1.6.0\n"
                                   << "";
        QTest::newRow("-v") << QStringList{"-v"} << false << 0 << "cellvane 1.6.0\n"
                            << "";
        QTest::newRow("--help") << QStringList{"--help"} << false << 0 << "--version"
                                << "";
        QTest::newRow("-h") << QStringList{"-h"} << false << 0 << "--help"
                            << "";
        QTest::newRow("help wins over version")
            << QStringList{"--version", "--help"} << false << 0 << "Show the version"
            << "";
        QTest::newRow("unknown option")
            << QStringList{"--frobnicate"} << false << 2 << ""
            << "cellvane: Unknown option 'frobnicate'. Try cellvane --help.";
        QTest::newRow("unknown short option")
            << QStringList{"-x"} << false << 2 << ""
            << "cellvane: Unknown option 'x'. Try cellvane --help.";
        QTest::newRow("unknown after a good one")
            << QStringList{"-platform", "offscreen", "--bad"} << false << 2 << ""
            << "cellvane: Unknown option 'bad'. Try cellvane --help.";
        QTest::newRow("stray argument")
            << QStringList{"COM1"} << false << 2 << ""
            << "cellvane: Unexpected argument \"COM1\". Try cellvane --help.";
        // The toolkit's own options reach the window untouched.
        QTest::newRow("-platform") << QStringList{"-platform", "offscreen"} << true << 0 << ""
                                   << "";
        QTest::newRow("--platform=") << QStringList{"--platform=xcb"} << true << 0 << ""
                                     << "";
        QTest::newRow("-style and -reverse")
            << QStringList{"-style", "fusion", "-reverse"} << true << 0 << ""
            << "";
        QTest::newRow("value missing")
            << QStringList{"-platform"} << false << 2 << ""
            << "cellvane: Missing value after '-platform'. Try cellvane --help.";
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, run);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, error);
        const CommandLine::Outcome o =
            CommandLine::parse(QStringList{QStringLiteral("cellvane")} + arguments);
        QCOMPARE(o.run, run);
        QCOMPARE(o.exitCode, exitCode);
        QCOMPARE(o.error, error);
        if (output.isEmpty())
            QCOMPARE(o.output, QString());
        else
            QVERIFY2(o.output.contains(output), qPrintable(o.output));
    }

    // The help lists only the program's own options.
    void helpHidesTheToolkitOptions()
    {
        const QString help =
            CommandLine::parse({QStringLiteral("cellvane"), QStringLiteral("--help")}).output;
        for (const char *hidden : {"platform", "style", "reverse", "qwindowgeometry"})
            QVERIFY2(!help.contains(QLatin1String(hidden)), hidden);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
