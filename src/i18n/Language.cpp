#include "i18n/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>
#include <vector>

namespace {
std::vector<std::unique_ptr<QTranslator>> &translators()
{
    static std::vector<std::unique_ptr<QTranslator>> list;
    return list;
}
bool g_english = true;
} // namespace

namespace Language {

void install(bool english)
{
    auto &list = translators();
    if (!english && list.empty()) {
        const QDir dir(QStringLiteral(":/i18n"));
        for (const QString &file : dir.entryList({QStringLiteral("*.qm")}, QDir::Files, QDir::Name)) {
            auto t = std::make_unique<QTranslator>();
            if (t->load(dir.filePath(file)))
                list.push_back(std::move(t));
        }
        // The toolkit's own texts (the OK, Yes and No of message boxes, the
        // file dialog) where the Qt installation carries them.
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            list.push_back(std::move(qt));
        for (auto &t : list)
            QCoreApplication::installTranslator(t.get());
    } else if (english && !list.empty()) {
        for (auto &t : list)
            QCoreApplication::removeTranslator(t.get());
        list.clear();
    }
    g_english = english;
}

bool englishInstalled() { return g_english; }

} // namespace Language
