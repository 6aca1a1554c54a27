#include "base/Form.h"

#include <QSignalSpy>
#include <QTest>

class TestForm : public QObject {
    Q_OBJECT
private slots:
    // Controls refuse what they could not show, and a refusal changes nothing.
    void refusals_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("check cleared") << "check" << 0 << true;
        QTest::newRow("check grey") << "check" << 2 << true;
        QTest::newRow("check 3") << "check" << 3 << false;
        QTest::newRow("check -1") << "check" << -1 << false;
        QTest::newRow("choice last") << "choice" << 2 << true;
        QTest::newRow("choice none") << "choice" << -1 << true;
        QTest::newRow("choice past the end") << "choice" << 3 << false;
        QTest::newRow("value in range") << "value" << 100 << true;
        QTest::newRow("value above") << "value" << 101 << false;
    }

    void refusals()
    {
        QFETCH(QString, control);
        QFETCH(int, value);
        QFETCH(bool, accepted);
        Form form(QStringLiteral("f"));
        form.addCheck(QStringLiteral("check"));
        form.addChoice(QStringLiteral("choice"), {"a", "b", "c"}, 1);
        form.addValue(QStringLiteral("value"), 0, 100, 50);
        const int before = control == "check"    ? form.check(control)
                           : control == "choice" ? form.choice(control)
                                                 : form.value(control);
        QSignalSpy spy(&form, &Form::changed);
        const bool ok = control == "check"    ? form.setCheck(control, value)
                        : control == "choice" ? form.setChoice(control, value)
                                              : form.setValue(control, value);
        QCOMPARE(ok, accepted);
        const int after = control == "check"    ? form.check(control)
                          : control == "choice" ? form.choice(control)
                                                : form.value(control);
        QCOMPARE(after, accepted ? value : before);
        QCOMPARE(spy.count(), accepted && value != before ? 1 : 0);
    }

    void changesAreSignalledOnce()
    {
        Form form(QStringLiteral("f"));
        form.addText(QStringLiteral("t"));
        form.addChoice(QStringLiteral("list"), {});
        QSignalSpy spy(&form, &Form::changed);
        form.setText(QStringLiteral("t"), QStringLiteral("x"));
        form.setText(QStringLiteral("t"), QStringLiteral("x"));
        form.setEnabled(QStringLiteral("t"), false);
        form.setHighlighted(QStringLiteral("t"), true);
        form.setEntries(QStringLiteral("list"), {QStringLiteral("COM1"), QStringLiteral("COM3")},
                        1);
        QCOMPARE(spy.count(), 4);
        QCOMPARE(form.choiceText(QStringLiteral("list")), QStringLiteral("COM3"));
        form.setEntries(QStringLiteral("list"), {}, 0);
        QCOMPARE(form.choice(QStringLiteral("list")), -1);
        QCOMPARE(form.choiceText(QStringLiteral("list")), QString());
    }
};

QTEST_GUILESS_MAIN(TestForm)
#include "tst_form.moc"
