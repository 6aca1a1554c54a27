#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "i18n/Language.h"

// Every text the program shows through the translation system must have a
// finished Chinese translation: the texts are collected from the sources with
// lupdate and looked up in the translation files the program embeds.
namespace {
struct Message {
    QString context;
    QString source;
    QString comment;
    QString translation;
    bool finished = true;
    QString key() const { return context + QChar(1) + source + QChar(1) + comment; }
};

QList<Message> readTs(const QString &path)
{
    QList<Message> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    QXmlStreamReader xml(&f);
    QString context;
    Message m;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("name"))
            context = xml.readElementText();
        else if (name == QLatin1String("message"))
            m = Message{context, {}, {}, {}, true};
        else if (name == QLatin1String("source"))
            m.source = xml.readElementText();
        else if (name == QLatin1String("comment"))
            m.comment = xml.readElementText();
        else if (name == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            m.finished = type.isEmpty();
            m.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            out.append(m);
        }
    }
    return out;
}

QString lupdate()
{
    for (const QString &p : {QStringLiteral("/usr/lib/qt6/bin/lupdate"),
                             QStringLiteral("/usr/lib/x86_64-linux-gnu/qt6/bin/lupdate")})
        if (QFile::exists(p))
            return p;
    return {};
}
} // namespace

class TestTranslationCoverage : public QObject {
    Q_OBJECT
private slots:
    void translationFilesAreFinished()
    {
        QDirIterator it(QStringLiteral(CELLVANE_SOURCE_DIR "/src/i18n"), {QStringLiteral("*.ts")});
        int files = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            ++files;
            for (const Message &m : readTs(path)) {
                QVERIFY2(m.finished, qPrintable(QStringLiteral("%1: unfinished \"%2\"")
                                                    .arg(QFileInfo(path).fileName(), m.source)));
                QVERIFY2(!m.translation.isEmpty(),
                         qPrintable(QStringLiteral("%1: empty \"%2\"")
                                        .arg(QFileInfo(path).fileName(), m.source)));
            }
        }
        QVERIFY(files > 0);
    }

    void everyShownTextHasAChineseTranslation()
    {
        const QString tool = lupdate();
        if (tool.isEmpty())
            QSKIP("lupdate (qt6-l10n-tools) is not installed");
        QSet<QString> translated;
        QDirIterator ts(QStringLiteral(CELLVANE_SOURCE_DIR "/src/i18n"), {QStringLiteral("*.ts")});
        while (ts.hasNext())
            for (const Message &m : readTs(ts.next()))
                if (m.finished && !m.translation.isEmpty())
                    translated.insert(m.key());

        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("all.ts"));
        QStringList sources;
        QDirIterator it(QStringLiteral(CELLVANE_SOURCE_DIR "/src"),
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.contains(QStringLiteral("/src/sim/")))
                sources << path;
        }
        QProcess p;
        p.start(tool, QStringList{QStringLiteral("-silent"), QStringLiteral("-locations"),
                                  QStringLiteral("none")}
                          << sources << QStringList{QStringLiteral("-ts"), out});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
        const QList<Message> found = readTs(out);
        QVERIFY2(found.size() > 50, "lupdate found too few texts");
        QStringList missing;
        for (const Message &m : found)
            if (!translated.contains(m.key()))
                missing << QStringLiteral("%1: \"%2\"%3")
                               .arg(m.context, m.source,
                                    m.comment.isEmpty() ? QString()
                                                        : QStringLiteral(" (%1)").arg(m.comment));
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("%1 texts without Chinese:\n").arg(missing.size()) +
                            missing.join(QLatin1Char('\n'))));
    }

    // Message boxes and file dialogs draw their buttons from Qt's own
    // catalogue; Chinese must reach those too, and English must leave them.
    void toolkitTextsFollowTheLanguage()
    {
        Language::install(false);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("是(&Y)"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
        Language::install(true);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
    }
};

QTEST_GUILESS_MAIN(TestTranslationCoverage)
#include "tst_translation_coverage.moc"
