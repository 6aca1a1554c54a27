#include "base/ChineseOnlyText.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTest>

// The Chinese-only texts come from one table; a message, caption or button
// text written as a Chinese literal anywhere else would escape it (and be
// missed by whoever reviews the wording). Control names are Chinese too, but
// they are identifiers, never shown.
class TestChineseOnlyText : public QObject {
    Q_OBJECT
private slots:
    void placeholdersFill_data()
    {
        QTest::addColumn<int>("text");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("port") << int(ChineseOnlyText::portInvalid) << QStringList{"3"}
                              << QStringLiteral("端口 3无效. 请设置正确.");
        QTest::newRow("timeouts") << int(ChineseOnlyText::portTimeoutsInvalid)
                                  << QStringList{"12", "5"}
                                  << QStringLiteral("端口超时设定无效 12 错误: 5");
        QTest::newRow("settings") << int(ChineseOnlyText::portSettingsInvalid)
                                  << QStringList{"9600,N,8,1", "22"}
                                  << QStringLiteral("无效设备 DCB 块 9600,N,8,1 错误: 22");
    }
    void placeholdersFill()
    {
        QFETCH(int, text);
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        QString filled = chineseOnly(ChineseOnlyText(text));
        for (const QString &a : args)
            filled = filled.arg(a);
        QCOMPARE(filled, expected);
    }

    void noShownChineseLiteralOutsideTheTable()
    {
        // A call that shows its argument, with a Chinese literal in it.
        const QRegularExpression shown(QStringLiteral(
            "(message|question|warning|information|setWindowTitle|setText|setToolTip|"
            "setPlaceholderText|QPushButton|QRadioButton|QLabel|QCheckBox|QGroupBox|addItem|"
            "setStatusLine)\\s*\\([^;]*\"[^\"]*[\\x{4e00}-\\x{9fff}]"));
        QStringList offending;
        int files = 0;
        QDirIterator it(QStringLiteral(CELLVANE_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            // The simulator is a program of its own, speaking for the pack.
            if (path.contains(QStringLiteral("/src/sim/")) ||
                path.endsWith(QStringLiteral("base/ChineseOnlyText.cpp")))
                continue;
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            ++files;
            int number = 0;
            for (const QByteArray &line : file.readAll().split('\n')) {
                ++number;
                if (shown.match(QString::fromUtf8(line)).hasMatch())
                    offending << QStringLiteral("%1:%2").arg(path).arg(number);
            }
        }
        QVERIFY(files > 100);
        QVERIFY2(offending.isEmpty(), qPrintable(offending.join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestChineseOnlyText)
#include "tst_chinese_only_text.moc"
