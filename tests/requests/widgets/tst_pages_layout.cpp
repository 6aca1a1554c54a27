#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include "records/widgets/RecordPanel.h"
#include "records/widgets/StoredDataPanel.h"
#include "requests/widgets/ParamPanel.h"
#include "requests/widgets/SystemPanel.h"
#include "shell/Core.h"
#include "shell/widgets/MainWindow.h"
#include "shell/widgets/PanelHost.h"
#include "upgrade/widgets/UpgradePanel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <memory>

namespace {
// The page area below the tab strip of the fixed-size main window.
const QSize pageArea(925, 610);

using PanelFactory = std::function<Panel *(Core &)>;

QString describe(const QWidget *w)
{
    QString text;
    if (auto *label = qobject_cast<const QLabel *>(w))
        text = label->text();
    else if (auto *button = qobject_cast<const QAbstractButton *>(w))
        text = button->text();
    else if (auto *box = qobject_cast<const QGroupBox *>(w))
        text = box->title();
    return QStringLiteral("%1 '%2' \"%3\"")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), text);
}

// Width the widget needs to show its own text in full, or 0.
int neededWidth(const QWidget *w)
{
    const QFontMetrics fm = w->fontMetrics();
    if (auto *label = qobject_cast<const QLabel *>(w)) {
        if (label->wordWrap() || label->text().isEmpty())
            return 0;
        return fm.horizontalAdvance(label->text()) + 2 * label->frameWidth() + 2 * label->margin();
    }
    // A caption touching the button's frame reads as cut: some room on both
    // sides, less than the button's own hint asks for.
    if (auto *button = qobject_cast<const QPushButton *>(w))
        return fm.horizontalAdvance(button->text()) + 12;
    if (qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QComboBox *>(w))
        return w->sizeHint().width();
    if (auto *box = qobject_cast<const QGroupBox *>(w))
        return fm.horizontalAdvance(box->title()) + 12;
    return 0;
}
} // namespace

Q_DECLARE_METATYPE(PanelFactory)

class TestPagesLayout : public QObject {
    Q_OBJECT

private slots:
    void fitsThePageArea_data()
    {
        QTest::addColumn<PanelFactory>("factory");
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("controls"); // at least this many are checked
        const PanelFactory param = [](Core &core) {
            return new ParamPanel(core.state, core.paramCommands);
        };
        const PanelFactory system = [](Core &core) {
            return new SystemPanel(core.state, core.systemCommands);
        };
        const PanelFactory record = [](Core &core) {
            return new RecordPanel(core.state, core.recorder);
        };
        const PanelFactory stored = [](Core &core) {
            return new StoredDataPanel(core.state, core.stored);
        };
        const PanelFactory upgrade = [](Core &core) {
            return new UpgradePanel(core.state, core.upgrade);
        };
        QTest::newRow("parameters-en") << param << true << 100;
        QTest::newRow("parameters-zh") << param << false << 100;
        QTest::newRow("system-en") << system << true << 100;
        QTest::newRow("system-zh") << system << false << 100;
        QTest::newRow("recording-en") << record << true << 10;
        QTest::newRow("recording-zh") << record << false << 10;
        QTest::newRow("stored-en") << stored << true << 7;
        QTest::newRow("stored-zh") << stored << false << 7;
        QTest::newRow("upgrade-en") << upgrade << true << 10;
        QTest::newRow("upgrade-zh") << upgrade << false << 10;
    }

    // Everything in the page area, no caption cut off, no two controls on top
    // of each other; in both languages, as Chinese captions are wider.
    void fitsThePageArea()
    {
        QFETCH(PanelFactory, factory);
        QFETCH(bool, english);
        QFETCH(int, controls);
        RecordingPrompt prompt;
        Core core(prompt, std::make_unique<FakePort>());
        core.state.setEnglishUi(english);
        std::unique_ptr<Panel> panel(factory(core));
        panel->applyCaptions();

        const QSize minimum = panel->minimumSizeHint();
        panel->setFixedSize(pageArea.expandedTo(minimum));
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
        // CELLVANE_PAGE_SHOTS names a folder for pictures of the pages.
        const QString shots = qEnvironmentVariable("CELLVANE_PAGE_SHOTS");
        if (!shots.isEmpty()) {
            QDir().mkpath(shots);
            QVERIFY(panel->grab().save(QDir(shots).filePath(
                QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".png"))));
        }

        QVERIFY2(
            minimum.width() <= pageArea.width() && minimum.height() <= pageArea.height(),
            qPrintable(QStringLiteral("needs %1 x %2").arg(minimum.width()).arg(minimum.height())));

        const QRect area(QPoint(0, 0), pageArea);
        const auto widgets = panel->findChildren<QWidget *>();
        int checked = 0;
        for (QWidget *w : widgets) {
            if (!w->isVisibleTo(panel.get()) || w->inherits("QComboBoxPrivateContainer") ||
                !w->parentWidget() || w->parentWidget()->inherits("QComboBox") ||
                w->parentWidget()->inherits("QLineEdit") || w->inherits("QAbstractScrollArea"))
                continue;
            const QRect onPage(w->mapTo(panel.get(), QPoint(0, 0)), w->size());
            QVERIFY2(area.contains(onPage),
                     qPrintable(describe(w) + QStringLiteral(" leaves the page")));
            QVERIFY2(
                neededWidth(w) <= w->width(),
                qPrintable(describe(w) +
                           QStringLiteral(" is cut: %1 < %2").arg(w->width()).arg(neededWidth(w))));
            // A wrapping label needs the height of its lines at its width.
            const int height =
                w->hasHeightForWidth() ? w->heightForWidth(w->width()) : w->sizeHint().height();
            QVERIFY2(height <= w->height() || qobject_cast<QGroupBox *>(w) ||
                         !w->sizeHint().isValid(),
                     qPrintable(describe(w) + QStringLiteral(" is too low")));
            ++checked;
        }
        QVERIFY(checked >= controls);

        // Siblings never overlap.
        for (QWidget *parent : QList<QWidget *>{panel.get()} + widgets) {
            QList<QWidget *> kids;
            for (QObject *o : parent->children()) {
                auto *w = qobject_cast<QWidget *>(o);
                if (w && w->isVisibleTo(panel.get()) && !w->isWindow())
                    kids << w;
            }
            for (int i = 0; i < kids.size(); ++i)
                for (int j = i + 1; j < kids.size(); ++j)
                    QVERIFY2(!kids[i]->geometry().intersects(kids[j]->geometry()),
                             qPrintable(describe(kids[i]) + QStringLiteral(" overlaps ") +
                                        describe(kids[j])));
        }
    }
    void fitsTheRealWindow_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("english");
        QTest::newRow("parameters-en") << 3 << true;
        QTest::newRow("parameters-zh") << 3 << false;
        QTest::newRow("system-en") << 4 << true;
        QTest::newRow("system-zh") << 4 << false;
    }

    // In the fixed-size main window the page gets at least the room it needs.
    void fitsTheRealWindow()
    {
        QFETCH(int, tab);
        QFETCH(bool, english);
        RecordingPrompt prompt;
        Core core(prompt, std::make_unique<FakePort>());
        MainWindow window(core);
        // The window starts in the stored language; switch as the language
        // dialog does.
        core.state.setEnglishUi(english);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.host()->selectTab(tab);
        Panel *panel =
            window.host()->page(tab == 3 ? PanelHost::Page::Param : PanelHost::Page::System);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->findChild<QPushButton *>(QStringLiteral("Command2"))->text(),
                 english ? QStringLiteral("Write") : QStringLiteral("设置"));
        const QSize need = panel->minimumSizeHint();
        QVERIFY2(need.width() <= panel->width() && need.height() <= panel->height(),
                 qPrintable(QStringLiteral("needs %1 x %2, has %3 x %4")
                                .arg(need.width())
                                .arg(need.height())
                                .arg(panel->width())
                                .arg(panel->height())));
        const QString shots = qEnvironmentVariable("CELLVANE_PAGE_SHOTS");
        if (!shots.isEmpty())
            QVERIFY(window.grab().save(QDir(shots).filePath(QStringLiteral("window-") +
                                                            QLatin1String(QTest::currentDataTag()) +
                                                            QStringLiteral(".png"))));
    }
};

QTEST_MAIN(TestPagesLayout)
#include "tst_pages_layout.moc"
