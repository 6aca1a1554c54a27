#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include <functional>

// Helpers shared by the page tests.
namespace PanelTestKit {

// The one child of `root` called `name`, or null when there is none or more.
template <typename T> T *findOne(QWidget *root, const QString &name)
{
    const auto all = root->findChildren<T *>(name);
    return all.size() == 1 ? all.first() : nullptr;
}

// What a frame, label or button shows as its caption.
inline QString captionOf(QWidget *w)
{
    if (auto *box = qobject_cast<QGroupBox *>(w))
        return box->title();
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return button->text();
    return {};
}

// Columns name / english / chinese of a table of texts in both languages.
inline void addTextColumns()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");
}

inline void addTextRow(const char *name, const char *english, const char *chinese)
{
    QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(english)
                        << QString::fromUtf8(chinese);
}

// Columns name / type of a table of controls that must each exist once.
inline void addControlColumns()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
}

inline void verifyOneControl(QWidget *root, const QString &name, const QString &type)
{
    const auto all = root->findChildren<QWidget *>(name);
    QCOMPARE(all.size(), 1);
    QCOMPARE(QString::fromLatin1(all.first()->metaObject()->className()), type);
}

// The caption of `name` is `english`, then `chinese` after switching, and
// `english` again after switching back.
inline void verifyCaptionFollowsLanguage(QWidget *root, const QString &name, const QString &english,
                                         const QString &chinese,
                                         const std::function<void(bool)> &setLanguage)
{
    QWidget *w = findOne<QWidget>(root, name);
    QVERIFY(w);
    QCOMPARE(captionOf(w), english);
    setLanguage(false);
    QCOMPARE(captionOf(w), chinese);
    setLanguage(true);
    QCOMPARE(captionOf(w), english);
}

} // namespace PanelTestKit
