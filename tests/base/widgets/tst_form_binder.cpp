#include "support/WindowRig.h"

#include "base/Form.h"
#include "base/widgets/FormBinder.h"
#include "base/widgets/Panel.h"
#include "link/Frame.h"
#include "records/OutputFiles.h"
#include "requests/SystemForm.h"
#include "upgrade/UpgradeForm.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {
// Changes a widget's value the ways assistive technology does: voice control
// and on-screen keyboards replace the whole text (AT-SPI SetTextContents ends
// in replaceText), screen readers toggle through the button's action.
void replaceTextAccessibly(QWidget *w, const QString &text)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    QVERIFY(iface && iface->editableTextInterface() && iface->textInterface());
    iface->editableTextInterface()->replaceText(0, iface->textInterface()->characterCount(), text);
}

void setValueAccessibly(QWidget *w, const QString &text)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    QVERIFY(iface);
    iface->setText(QAccessible::Value, text);
}

void toggleAccessibly(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    QVERIFY(iface && iface->actionInterface());
    QVERIFY(iface->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::toggleAction()));
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
}

struct Rig : WindowRig {
    Rig()
    {
        core.state.setEnglishUi(true);
        core.link.toggleOpen();
        if (!core.link.portOpen())
            qFatal("the scripted port did not open");
        port->writes.clear();
    }
    template <typename T> T *find(const QString &name)
    {
        // Pages reuse names ("项目编号" is a box on two pages), so the page
        // whose action the scenario runs is searched.
        const auto all = host.page(page)->findChildren<T *>(name);
        if (all.size() != 1)
            qFatal("%d controls %s", int(all.size()), qPrintable(name));
        return all.first();
    }
    PanelHost::Page page = PanelHost::Page::System;
    void press(const QString &button) { find<QPushButton>(button)->click(); }
    QByteArray lastFrame() const
    {
        return port->writes.isEmpty() ? QByteArray() : port->writes.last();
    }
};

// One way a value reaches a control, what the page then does, and what must
// have gone out.
struct Scenario {
    std::function<void(Rig &)> change;
    std::function<void(Rig &)> act;
    std::function<void(Rig &)> verify;
};

// A write frame of the system page: operation 1, its item, and data bytes.
void verifyWrite(Rig &rig, quint8 item, int index, const QByteArray &bytes)
{
    const QByteArray frame = rig.lastFrame();
    QVERIFY2(rig.prompt.messages.isEmpty(), qPrintable(rig.prompt.texts().join(QLatin1Char('|'))));
    QVERIFY2(frame.size() > index + bytes.size(), frame.toHex(' ').constData());
    QCOMPARE(quint8(frame.at(3)), quint8(1));
    QCOMPARE(quint8(frame.at(4)), item);
    QCOMPARE(frame.mid(index, bytes.size()).toHex(' '), bytes.toHex(' '));
}

void fillBalance(Rig &rig)
{
    Form &f = rig.core.state.system;
    f.setText(SystemField::balanceOpen, QStringLiteral("3.5"));
    f.setText(SystemField::balanceDiff, QStringLiteral("0.03"));
    f.setText(SystemField::balanceClose, QStringLiteral("3.4"));
}

QString writeFirmware(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("fw.bin"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(QByteArray(300, '\x5A')) != 300)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The upgrade's first frame goes out on the send tick after the start.
void startUpgrade(Rig &rig)
{
    // The profile backup offered first has tests of its own; here the start
    // frame is the first thing sent.
    if (auto *backup = rig.host.page(PanelHost::Page::Upgrade)
                           ->findChild<QCheckBox *>(QStringLiteral("ProfileBackup")))
        backup->setChecked(false);
    rig.port->writes.clear();
    rig.press(QStringLiteral("升级"));
    rig.core.link.sendTick();
}

void verifyUpgradeStart(Rig &rig, quint16 baudWord)
{
    const QByteArray frame = rig.lastFrame();
    QVERIFY2(frame.size() == Frame::overhead + 5, frame.toHex(' ').constData());
    QCOMPARE(quint8(frame.at(Frame::dataOffset + 1)), quint8(0)); // block 0: the start
    QCOMPARE(quint8(frame.at(Frame::dataOffset + 2)), quint8(baudWord >> 8));
    QCOMPARE(quint8(frame.at(Frame::dataOffset + 3)), quint8(baudWord & 0xFF));
}

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

const QHash<QString, Scenario> &scenarios()
{
    static const QHash<QString, Scenario> table = [] {
        QHash<QString, Scenario> t;
        const QString project = SystemField::projectNumber;
        const QByteArray newPrj("NEWPRJ");
        auto writeProject = [](Rig &r) { r.press(SystemField::command(2)); };
        auto projectSent = [newPrj](Rig &r) { verifyWrite(r, 1, Frame::dataOffset, newPrj); };
        t.insert(
            QStringLiteral("text box, accessible text contents"),
            {[project](Rig &r) { replaceTextAccessibly(r.find<QLineEdit>(project), "NEWPRJ"); },
             writeProject, projectSent});
        t.insert(QStringLiteral("text box, accessible value"),
                 {[project](Rig &r) { setValueAccessibly(r.find<QLineEdit>(project), "NEWPRJ"); },
                  writeProject, projectSent});
        t.insert(QStringLiteral("text box, setText"),
                 {[project](Rig &r) { r.find<QLineEdit>(project)->setText("NEWPRJ"); },
                  writeProject, projectSent});

        const QString enable = SystemField::balanceEnable;
        auto writeBalance = [](Rig &r) { r.press(SystemField::command(12)); };
        t.insert(QStringLiteral("check box, accessible toggle"),
                 {[enable](Rig &r) {
                      fillBalance(r);
                      toggleAccessibly(r.find<QCheckBox>(enable));
                  },
                  writeBalance, [](Rig &r) { verifyWrite(r, 12, 8, QByteArray(1, 1)); }});
        t.insert(QStringLiteral("check box, setChecked"),
                 {[enable](Rig &r) {
                      fillBalance(r);
                      r.find<QCheckBox>(enable)->setChecked(true);
                  },
                  writeBalance, [](Rig &r) { verifyWrite(r, 12, 8, QByteArray(1, 1)); }});

        auto writeHandshake = [](Rig &r) { r.press(SystemField::command(31)); };
        t.insert(QStringLiteral("option, accessible toggle"),
                 {[](Rig &r) { toggleAccessibly(r.find<QRadioButton>(QStringLiteral("握手_2"))); },
                  writeHandshake, [](Rig &r) { verifyWrite(r, 21, 7, QByteArray(1, 2)); }});
        t.insert(QStringLiteral("option, setChecked"),
                 {[](Rig &r) { r.find<QRadioButton>(QStringLiteral("握手_1"))->setChecked(true); },
                  writeHandshake, [](Rig &r) { verifyWrite(r, 21, 7, QByteArray(1, 1)); }});

        t.insert(QStringLiteral("list, setCurrentIndex"),
                 {[](Rig &r) {
                      r.core.state.system.setText(SystemField::baud, QStringLiteral("9600"));
                      r.find<QComboBox>(SystemField::parity)->setCurrentIndex(2);
                  },
                  [](Rig &r) { r.press(SystemField::command(30)); },
                  [](Rig &r) { verifyWrite(r, 20, 10, QByteArray(1, 2)); }});

        // The upgrade page: its file path, its target options and its baud list.
        auto firmware = [](Rig &r) {
            r.page = PanelHost::Page::Upgrade;
            r.core.state.upgrade.setText(UpgradeField::path, writeFirmware(scratch()));
        };
        t.insert(QStringLiteral("upgrade file, accessible text contents"),
                 {[](Rig &r) {
                      r.page = PanelHost::Page::Upgrade;
                      replaceTextAccessibly(r.find<QLineEdit>(UpgradeField::path),
                                            writeFirmware(scratch()));
                  },
                  startUpgrade, [](Rig &r) { verifyUpgradeStart(r, 11520); }});
        t.insert(QStringLiteral("upgrade baud list, setCurrentIndex"),
                 {[firmware](Rig &r) {
                      firmware(r);
                      r.find<QComboBox>(UpgradeField::baud)->setCurrentIndex(0);
                  },
                  startUpgrade, [](Rig &r) { verifyUpgradeStart(r, 960); }});
        t.insert(QStringLiteral("upgrade target, accessible toggle"),
                 {[firmware](Rig &r) {
                      firmware(r);
                      toggleAccessibly(r.find<QRadioButton>(QStringLiteral("升级app_boot_1")));
                      // Choosing BOOT greys the baud list at once, however it was chosen.
                      QVERIFY(!r.find<QComboBox>(UpgradeField::baud)->isEnabled());
                  },
                  startUpgrade,
                  [](Rig &r) {
                      // BOOT asks first and then sends its start without a restart
                      // of the line.
                      QCOMPARE(r.prompt.questions.size(), 1);
                      QCOMPARE(r.core.state.currentCommand, quint8(255));
                      QCOMPARE(r.port->closes, 0);
                      verifyUpgradeStart(r, 11520);
                  }});

        // The recording check box: ticked, the next recording tick writes a line.
        t.insert(QStringLiteral("recording box, accessible toggle"),
                 {[](Rig &r) {
                      r.page = PanelHost::Page::Record;
                      toggleAccessibly(r.find<QCheckBox>(QStringLiteral("实时数据")));
                  },
                  [](Rig &r) {
                      r.core.state.currentCommand = 0;
                      r.core.state.linkCountdown = 20;
                      r.core.recorder.tick();
                  },
                  [](Rig &r) {
                      QVERIFY(!r.core.state.recordFilePath.isEmpty());
                      QFile file(r.core.state.recordFilePath);
                      QVERIFY(file.open(QIODevice::ReadOnly));
                      QCOMPARE(file.readAll().count("\r\n"), 1);
                  }});
        return t;
    }();
    return table;
}

// One standalone control of each kind bound to its own form: how the test
// changes it, and what it shows.
struct Bound {
    std::function<void(QWidget *)> setOnWidget; // a programmatic change
    std::function<void(Form &)> setOnForm;
    std::function<bool(QWidget *)> widgetShowsFormValue;
    std::function<bool(Form &)> formHoldsWidgetValue;
};
} // namespace

class TestFormBinder : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(scratch().isValid());
        OutputFiles::setProgramFolder(scratch().path());
    }
    void cleanupTestCase() { OutputFiles::setProgramFolder({}); }

    // Whatever way a value reaches a control, the page's write or action
    // sends that value.
    void shownValueIsSent_data()
    {
        QTest::addColumn<QString>("scenario");
        QStringList names = scenarios().keys();
        names.sort();
        for (const QString &name : std::as_const(names))
            QTest::newRow(qPrintable(name)) << name;
    }
    void shownValueIsSent()
    {
        QFETCH(QString, scenario);
        const Scenario &s = scenarios().value(scenario);
        Rig rig;
        s.change(rig);
        if (QTest::currentTestFailed())
            return;
        s.act(rig);
        s.verify(rig);
    }

    // Each kind of control follows a change made on it by code and shows the
    // form's own changes, each change reaching the other side exactly once.
    void bothWaysWithoutEcho_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind :
             {"line edit", "multi-line box", "check box", "options", "list", "editable list"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void bothWaysWithoutEcho()
    {
        QFETCH(QString, kind);
        Form form(QStringLiteral("f"));
        const QString c = QStringLiteral("c");
        QWidget root;
        QWidget *w = nullptr;
        Bound b;
        if (kind == QLatin1String("line edit") || kind == QLatin1String("multi-line box") ||
            kind == QLatin1String("editable list")) {
            form.addText(c, {QStringLiteral("a"), QStringLiteral("b")});
            b.setOnForm = [c](Form &f) { f.setText(c, QStringLiteral("from form")); };
            b.formHoldsWidgetValue = [c](Form &f) { return f.text(c) == QLatin1String("typed"); };
            if (kind == QLatin1String("line edit")) {
                auto *e = new QLineEdit(&root);
                FormBinder::bindLineEdit(e, form, c);
                w = e;
                b.setOnWidget = [](QWidget *x) { static_cast<QLineEdit *>(x)->setText("typed"); };
                b.widgetShowsFormValue = [](QWidget *x) {
                    return static_cast<QLineEdit *>(x)->text() == QLatin1String("from form");
                };
            } else if (kind == QLatin1String("multi-line box")) {
                auto *e = new QPlainTextEdit(&root);
                FormBinder::bindPlainText(e, form, c);
                w = e;
                b.setOnWidget = [](QWidget *x) {
                    static_cast<QPlainTextEdit *>(x)->setPlainText("typed");
                };
                b.widgetShowsFormValue = [](QWidget *x) {
                    return static_cast<QPlainTextEdit *>(x)->toPlainText() ==
                           QLatin1String("from form");
                };
            } else {
                auto *e = new QComboBox(&root);
                FormBinder::bindEditableCombo(e, form, c);
                w = e;
                b.setOnWidget = [](QWidget *x) {
                    static_cast<QComboBox *>(x)->setEditText("typed");
                };
                b.widgetShowsFormValue = [](QWidget *x) {
                    return static_cast<QComboBox *>(x)->currentText() == QLatin1String("from form");
                };
            }
        } else if (kind == QLatin1String("check box")) {
            form.addCheck(c);
            auto *box = new QCheckBox(&root);
            FormBinder::bindCheckBox(box, form, c);
            w = box;
            b.setOnWidget = [](QWidget *x) {
                static_cast<QCheckBox *>(x)->setCheckState(Qt::PartiallyChecked);
            };
            b.formHoldsWidgetValue = [c](Form &f) { return f.check(c) == 2; };
            b.setOnForm = [c](Form &f) { f.setCheck(c, 1); };
            b.widgetShowsFormValue = [](QWidget *x) {
                return static_cast<QCheckBox *>(x)->checkState() == Qt::Checked;
            };
        } else if (kind == QLatin1String("options")) {
            form.addChoice(c, {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}, 0);
            auto *group = new QButtonGroup(&root);
            for (int i = 0; i < 3; ++i)
                group->addButton(new QRadioButton(&root), i);
            FormBinder::bindOptions(group, form, c);
            w = &root;
            b.setOnWidget = [group](QWidget *) { group->button(2)->setChecked(true); };
            b.formHoldsWidgetValue = [c](Form &f) { return f.choice(c) == 2; };
            b.setOnForm = [c](Form &f) { f.setChoice(c, 1); };
            b.widgetShowsFormValue = [group](QWidget *) {
                return group->checkedId() == 1 && !group->button(2)->isChecked();
            };
        } else {
            form.addChoice(c, {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}, 0);
            auto *combo = new QComboBox(&root);
            FormBinder::bindCombo(combo, form, c);
            w = combo;
            b.setOnWidget = [](QWidget *x) { static_cast<QComboBox *>(x)->setCurrentIndex(2); };
            b.formHoldsWidgetValue = [c](Form &f) { return f.choice(c) == 2; };
            b.setOnForm = [c](Form &f) { f.setChoice(c, 1); };
            b.widgetShowsFormValue = [](QWidget *x) {
                return static_cast<QComboBox *>(x)->currentIndex() == 1;
            };
        }

        QSignalSpy changes(&form, &Form::changed);
        b.setOnWidget(w);
        QVERIFY(b.formHoldsWidgetValue(form));
        QCOMPARE(changes.size(), 1);
        b.setOnForm(form);
        QVERIFY(b.widgetShowsFormValue(w));
        QCOMPARE(changes.size(), 2);
    }

    // A read-only box shows what the pack sent; a text that reaches it another
    // way (assistive technology ignores read-only) is undone, the form kept.
    void readOnlyBoxKeepsShowingItsForm_data()
    {
        QTest::addColumn<bool>("multiLine");
        QTest::addColumn<bool>("accessibly");
        QTest::newRow("line, accessible value") << false << true;
        QTest::newRow("line, setText") << false << false;
        QTest::newRow("multi-line, accessible value") << true << true;
        QTest::newRow("multi-line, setPlainText") << true << false;
    }
    void readOnlyBoxKeepsShowingItsForm()
    {
        QFETCH(bool, multiLine);
        QFETCH(bool, accessibly);
        Form form(QStringLiteral("f"));
        const QString c = QStringLiteral("c");
        form.addText(c);
        form.setText(c, QStringLiteral("3.301"));
        QLineEdit line;
        QPlainTextEdit lines;
        QWidget *box = &line;
        if (multiLine) {
            lines.setReadOnly(true);
            FormBinder::bindPlainText(&lines, form, c);
            box = &lines;
        } else {
            line.setReadOnly(true);
            FormBinder::bindLineEdit(&line, form, c);
        }
        const auto shown = [&] { return multiLine ? lines.toPlainText() : line.text(); };
        if (accessibly)
            setValueAccessibly(box, QStringLiteral("9.999"));
        else if (multiLine)
            lines.setPlainText(QStringLiteral("9.999"));
        else
            line.setText(QStringLiteral("9.999"));
        QCOMPARE(form.text(c), QStringLiteral("3.301"));
        QCOMPARE(shown(), QStringLiteral("3.301"));
        form.setText(c, QStringLiteral("3.302"));
        QCOMPARE(shown(), QStringLiteral("3.302"));
    }

    // A box that takes fewer characters than the form holds shows them cut;
    // the form then holds the cut text, so a write sends what is seen.
    void lengthLimitedBoxKeepsFormToWhatItShows()
    {
        Form form(QStringLiteral("f"));
        form.addText(QStringLiteral("c"));
        QLineEdit edit;
        edit.setMaxLength(3);
        FormBinder::bindLineEdit(&edit, form, QStringLiteral("c"));
        form.setText(QStringLiteral("c"), QStringLiteral("12345"));
        QCOMPARE(edit.text(), QStringLiteral("123"));
        QCOMPARE(form.text(QStringLiteral("c")), QStringLiteral("123"));
    }
};

QTEST_MAIN(TestFormBinder)
#include "tst_form_binder.moc"
