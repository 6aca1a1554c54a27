#include "base/Result.h"

#include <QStringList>
#include <QTest>

#include <optional>
#include <variant>

namespace {
// A value of `text`, or a failure with `text` as its message.
Result<QString> outcome(bool fails, const QString &text)
{
    if (fails)
        return Error{text};
    return text;
}

Result<void> done(bool fails, const QString &text)
{
    if (fails)
        return Error{text};
    return {};
}
} // namespace

class TestResult : public QObject {
    Q_OBJECT
private slots:
    // An empty value is a success and an empty message still a failure: the
    // two conventions the type replaces ("" for a failure, "" for no error)
    // each confused one of these.
    void outcomes_data()
    {
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QString>("text");
        QTest::newRow("value") << false << QStringLiteral("/tmp/template.xlsx");
        QTest::newRow("empty value") << false << QString();
        QTest::newRow("failure") << true << QStringLiteral("Cannot create the folder.");
        QTest::newRow("failure without a text") << true << QString();
    }

    void outcomes()
    {
        QFETCH(bool, fails);
        QFETCH(QString, text);
        const Result<QString> r = outcome(fails, text);
        QCOMPARE(r.ok(), !fails);
        QCOMPARE(bool(r), !fails);
        if (fails) {
            QCOMPARE(r.error().message, text);
            QVERIFY_THROWS_EXCEPTION(std::bad_variant_access, (void)r.value());
        } else {
            QCOMPARE(r.value(), text);
            QCOMPARE(*r, text);
            QVERIFY_THROWS_EXCEPTION(std::bad_variant_access, (void)r.error());
        }

        const Result<void> v = done(fails, text);
        QCOMPARE(v.ok(), !fails);
        QCOMPARE(bool(v), !fails);
        if (fails)
            QCOMPARE(v.error().message, text);
        else
            QVERIFY_THROWS_EXCEPTION(std::bad_optional_access, (void)v.error());
    }

    // A value can be taken out without a copy and the failure passed on.
    void passingOn()
    {
        Result<QStringList> list = QStringList{QStringLiteral("a"), QStringLiteral("b")};
        const QStringList taken = std::move(list).value();
        QCOMPARE(taken, QStringList({QStringLiteral("a"), QStringLiteral("b")}));

        auto forward = [](const Result<QString> &r) -> Result<void> {
            if (!r)
                return r.error();
            return {};
        };
        const Result<void> passed = forward(outcome(true, QStringLiteral("disk full")));
        QVERIFY(!passed);
        QCOMPARE(passed.error().message, QStringLiteral("disk full"));
        QVERIFY(forward(outcome(false, QString())));
    }
};

QTEST_GUILESS_MAIN(TestResult)
#include "tst_result.moc"
