#include "PanelTestKit.h"
#include "requests/RequestRig.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include "requests/ParamForm.h"
#include "requests/ParamRows.h"
#include "requests/widgets/ParamPanel.h"
#include "shell/Core.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {
// Column header of each of a row's five texts and two check boxes.
const char *const textColumns[5] = {"AlaVal", "AlaDelay", "ProtVal", "ProtRecVal", "ProtDelay"};
const char *const checkColumns[2] = {"AlarmEnable", "ProtEnable"};
} // namespace

using namespace PanelTestKit;

class TestParamPanel : public QObject {
    Q_OBJECT

    RecordingPrompt m_prompt;
    std::unique_ptr<Core> m_core;
    std::unique_ptr<ParamPanel> m_panel;

    void setLanguage(bool english)
    {
        m_core->state.setEnglishUi(english);
        m_panel->applyCaptions();
    }

    template <typename T> T *find(const QString &name)
    {
        return PanelTestKit::findOne<T>(m_panel.get(), name);
    }

    QGridLayout *grid()
    {
        auto *frame = find<QGroupBox>(QStringLiteral("告警设置"));
        return frame ? qobject_cast<QGridLayout *>(frame->layout()) : nullptr;
    }

    // Row and column of `w` in the alarm grid, or (-1, -1).
    QPoint cellOf(QWidget *w)
    {
        QGridLayout *g = grid();
        const int index = g && w ? g->indexOf(w) : -1;
        if (index < 0)
            return {-1, -1};
        int row, column, rowSpan, columnSpan;
        g->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        return {column, row};
    }

    int headerColumn(const QString &englishHeader)
    {
        QGridLayout *g = grid();
        for (int c = 0; c < g->columnCount(); ++c) {
            QLayoutItem *item = g->itemAtPosition(0, c);
            auto *label = item ? qobject_cast<QLabel *>(item->widget()) : nullptr;
            if (label && label->text() == englishHeader)
                return c;
        }
        return -1;
    }

private slots:
    void init()
    {
        m_prompt.clear();
        m_core = std::make_unique<Core>(m_prompt, std::make_unique<FakePort>());
        m_panel = std::make_unique<ParamPanel>(m_core->state, m_core->paramCommands);
        setLanguage(true);
    }

    void cleanup()
    {
        m_panel.reset();
        m_core.reset();
    }

    void everyControlIsThereOnce_data()
    {
        addControlColumns();
        for (int i = 0; i < ParamField::texts; ++i)
            QTest::addRow("CS%d", i) << ParamField::cs(i) << "QLineEdit";
        for (int i = 0; i < ParamField::checks; ++i)
            QTest::addRow("FX%d", i) << ParamField::fx(i) << "QCheckBox";
        for (int r = 0; r < ParamField::rows; ++r) {
            QTest::addRow("DT%d", r) << ParamField::readButton(r) << "QPushButton";
            QTest::addRow("SZ%d", r) << ParamField::writeButton(r) << "QPushButton";
        }
        for (const QString &b : {ParamField::readAll, ParamField::writeAll, ParamField::clear,
                                 ParamField::shortRead, ParamField::shortWrite})
            QTest::newRow(qPrintable(b)) << b << "QPushButton";
        QTest::newRow("voltage level") << ParamField::shortVoltageLevel << "QLineEdit";
        QTest::newRow("delay level") << ParamField::shortDelayLevel << "QLineEdit";
        QTest::newRow("alarm frame") << QStringLiteral("告警设置") << "QGroupBox";
        QTest::newRow("short frame") << QStringLiteral("短路保护") << "QGroupBox";
    }

    void everyControlIsThereOnce()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        verifyOneControl(m_panel.get(), name, type);
    }

    // Each text and check box sits in its row, under its column's header, and
    // its accessible name says both.
    void boxesSitInTheirRowAndColumn_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("header");
        for (int r = 0; r < ParamField::rows; ++r) {
            for (int k = 0; k < 5; ++k)
                QTest::addRow("CS%d", 5 * r + k)
                    << ParamField::cs(5 * r + k) << r << QString::fromLatin1(textColumns[k]);
            for (int k = 0; k < 2; ++k)
                QTest::addRow("FX%d", 2 * r + k)
                    << ParamField::fx(2 * r + k) << r << QString::fromLatin1(checkColumns[k]);
        }
    }

    void boxesSitInTheirRowAndColumn()
    {
        QFETCH(QString, control);
        QFETCH(int, row);
        QFETCH(QString, header);
        QWidget *box = find<QWidget>(control);
        QVERIFY(box);
        const QPoint cell = cellOf(box);
        QCOMPARE(cell.x(), headerColumn(header));
        QGridLayout *g = grid();
        auto *caption = qobject_cast<QLabel *>(g->itemAtPosition(cell.y(), 0)->widget());
        QVERIFY(caption);
        QCOMPARE(caption->text(), ParamRows::caption(row));
        QCOMPARE(box->accessibleName(), ParamRows::caption(row) + QLatin1Char(' ') + header);
    }

    void captionsInBothLanguages_data()
    {
        addTextColumns();
        addTextRow("告警设置", "Alarm settings", "告警设置");
        addTextRow("Label_01", "Name", "参数名称");
        addTextRow("Label_02", "AlarmEnable", "  告警使能");
        addTextRow("Label_03", "AlaVal", "告警值");
        addTextRow("Label_04", "Unit", "单位");
        addTextRow("Label_07", "ProtEnable", "保护使能");
        addTextRow("Label_10", "ProtRecVal", "保护恢复值");
        addTextRow("Label_12", "ProtDelay", "保护延时");
        addTextRow("Label14", "Cell_OV", "单体过压");
        addTextRow("Label15", "Cell_UV", "单体欠压");
        addTextRow("Label2", "Total_OV", "总体过压");
        addTextRow("Label16", "Discharge_OC1", "放电过流1");
        addTextRow("Label4", "Charge_UT", "充电低温");
        addTextRow("Label7", "SOC_UC", "SOC过低");
        addTextRow("Label11", "Cell_DIFV", "压差过大");
        addTextRow("DT0", "Read", "读取");
        addTextRow("SZ0", "Write", "设置");
        addTextRow("DT16", "Read", "读取");
        addTextRow("DTff", "Read All", "全部读取");
        addTextRow("SZff", "Write All", "全部写入");
        addTextRow("清空", "clear", "清空");
        addTextRow("短路保护", "Short circuit protection", "短路保护");
        addTextRow("Label12", "Short circuit voltage level", "      短路电压等级(0-15)");
        addTextRow("Label13", "Short circuit delay level", "短路延时等级(0-15)");
        addTextRow("Command1", "Read", "读取");
        addTextRow("Command2", "Write", "设置");
    }

    void captionsInBothLanguages()
    {
        QFETCH(QString, name);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        verifyCaptionFollowsLanguage(m_panel.get(), name, english, chinese,
                                     [this](bool english) { setLanguage(english); });
    }

    void accessibleNamesFollowTheLanguage_data()
    {
        addTextColumns();
        addTextRow("DT0", "Read Cell_OV", "读取单节过压");
        addTextRow("DT1", "Read Cell_UV", "读取单节欠压");
        addTextRow("DT3", "Read Total_UV", "读取总压欠压");
        addTextRow("DT12", "Read SOC_UC", "读取SOC过低");
        addTextRow("SZ0", "Write Cell_OV", "设置单体过压");
        addTextRow("SZ16", "Write Cell_DIFV", "设置压差过大");
        addTextRow("CS0", "Cell_OV AlaVal", "单体过压 告警值");
        addTextRow("FX0", "Cell_OV AlarmEnable", "单体过压 告警使能");
        addTextRow("CS84", "Cell_DIFV ProtDelay", "压差过大 保护延时");
        addTextRow("短路电压等级", "Short circuit voltage level", "短路电压等级(0-15)");
        addTextRow("短路延时等级", "Short circuit delay level", "短路延时等级(0-15)");
        addTextRow("Command1", "Read short circuit protection", "读取短路保护");
        addTextRow("Command2", "Write short circuit protection", "设置短路保护");
    }

    void accessibleNamesFollowTheLanguage()
    {
        QFETCH(QString, name);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        QWidget *w = find<QWidget>(name);
        QVERIFY(w);
        QCOMPARE(w->accessibleName(), english);
        setLanguage(false);
        QCOMPARE(w->accessibleName(), chinese);
    }

    // What the decoders write shows at once; what the user types or ticks is
    // what the request builder reads.
    void textsFollowTheFormBothWays_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("decoded");
        QTest::addColumn<QString>("typed");
        QTest::newRow("Cell_OV ProtVal") << ParamField::cs(2) << "4.2"
                                         << "4.25";
        QTest::newRow("Charge_OT AlaVal") << ParamField::cs(35) << "-10"
                                          << "-12.5";
        QTest::newRow("Cell_DIFV ProtDelay") << ParamField::cs(84) << "1"
                                             << "2.5";
        QTest::newRow("voltage level") << ParamField::shortVoltageLevel << "7"
                                       << "15";
        QTest::newRow("delay level") << ParamField::shortDelayLevel << "0"
                                     << "3";
    }

    void textsFollowTheFormBothWays()
    {
        QFETCH(QString, control);
        QFETCH(QString, decoded);
        QFETCH(QString, typed);
        Form &form = m_core->state.param;
        auto *edit = find<QLineEdit>(control);
        QVERIFY(edit);
        form.setText(control, decoded);
        QCOMPARE(edit->text(), decoded);
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QCOMPARE(form.text(control), typed);
        form.setText(control, QString());
        QCOMPARE(edit->text(), QString());
    }

    void checkBoxesFollowTheFormBothWays_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("Cell_OV AlarmEnable") << 0;
        QTest::newRow("Cell_OV ProtEnable") << 1;
        QTest::newRow("MOS_OT ProtEnable") << 23;
        QTest::newRow("Cell_DIFV ProtEnable") << 33;
    }

    void checkBoxesFollowTheFormBothWays()
    {
        QFETCH(int, index);
        Form &form = m_core->state.param;
        const QString control = ParamField::fx(index);
        auto *box = find<QCheckBox>(control);
        QVERIFY(box);
        QVERIFY(form.setCheck(control, 1));
        QVERIFY(box->isChecked());
        box->click();
        QCOMPARE(form.check(control), 0);
        box->click();
        QCOMPARE(form.check(control), 1);
        QVERIFY(form.setCheck(control, 0));
        QVERIFY(!box->isChecked());
        // Neighbours are untouched.
        for (int i = 0; i < ParamField::checks; ++i)
            if (i != index)
                QCOMPARE(form.check(ParamField::fx(i)), 0);
    }
    // Each button sends its own request: one frame with the operation and item
    // byte of its row, and the chain flags of its kind.
    void buttonsSendTheirRequest_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("readAll");
        QTest::addColumn<bool>("writeAll");
        for (int r = 0; r < ParamField::rows; ++r) {
            QTest::addRow("DT%d", r) << ParamField::readButton(r) << 0 << 40 + r << false << false;
            QTest::addRow("SZ%d", r) << ParamField::writeButton(r) << 1 << 40 + r << false << false;
        }
        QTest::newRow("Read All") << ParamField::readAll << 0 << 40 << true << false;
        QTest::newRow("Write All") << ParamField::writeAll << 1 << 40 << false << true;
        QTest::newRow("short read") << ParamField::shortRead << 0 << 113 << false << false;
        QTest::newRow("short write") << ParamField::shortWrite << 1 << 113 << false << false;
    }

    void buttonsSendTheirRequest()
    {
        QFETCH(QString, button);
        QFETCH(int, operation);
        QFETCH(int, item);
        QFETCH(bool, readAll);
        QFETCH(bool, writeAll);
        RequestRig rig;
        rig.fillPages();
        // A chain left over from before is ended by any button.
        rig.state().readAllActive = !readAll;
        rig.state().writeAllActive = !writeAll;
        ParamPanel panel(rig.core.state, rig.core.paramCommands);
        auto *b = panel.findChild<QPushButton *>(button);
        QVERIFY(b);
        b->click();
        QCOMPARE(rig.prompt.texts(), QStringList());
        QCOMPARE(rig.port().writes.size(), 1);
        const QByteArray frame = rig.port().writes.first();
        QCOMPARE(int(quint8(frame[3])), operation);
        QCOMPARE(int(quint8(frame[4])), item);
        QCOMPARE(rig.state().readAllActive, readAll);
        QCOMPARE(rig.state().writeAllActive, writeAll);
    }

    // Read All empties the whole grid before the first answer; clear empties it
    // and sends nothing.
    void readAllAndClearEmptyTheGrid_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("frames");
        QTest::newRow("Read All") << ParamField::readAll << 1;
        QTest::newRow("clear") << ParamField::clear << 0;
    }

    void readAllAndClearEmptyTheGrid()
    {
        QFETCH(QString, button);
        QFETCH(int, frames);
        RequestRig rig;
        rig.fillPages();
        rig.state().currentCommand = 16;
        ParamPanel panel(rig.core.state, rig.core.paramCommands);
        panel.findChild<QPushButton *>(button)->click();
        QCOMPARE(rig.port().writes.size(), frames);
        for (int i = 0; i < ParamField::texts; ++i) {
            QCOMPARE(panel.findChild<QLineEdit *>(ParamField::cs(i))->text(), QString());
            QCOMPARE(rig.state().param.text(ParamField::cs(i)), QString());
        }
        for (int i = 0; i < ParamField::checks; ++i)
            QVERIFY(!panel.findChild<QCheckBox *>(ParamField::fx(i))->isChecked());
        if (frames == 0)
            QCOMPARE(rig.state().currentCommand, quint8(16));
    }
};

QTEST_MAIN(TestParamPanel)
#include "tst_param_panel.moc"
