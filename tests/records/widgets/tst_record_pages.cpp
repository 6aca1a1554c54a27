#include "records/FakeLink.h"
#include "records/OutputFiles.h"
#include "records/RecordForm.h"
#include "records/StoredForm.h"
#include "records/widgets/RecordPanel.h"
#include "records/widgets/StoredDataPanel.h"
#include "shell/Core.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>

namespace {
QString caption(QWidget *w)
{
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->title();
    return QStringLiteral("<no caption>");
}
} // namespace

class TestRecordPages : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    RecordingPrompt m_prompt;
    FakePort *m_port = nullptr;
    std::unique_ptr<Core> m_core;
    std::unique_ptr<RecordPanel> m_record;
    std::unique_ptr<StoredDataPanel> m_stored;

    void setLanguage(bool english)
    {
        m_core->state.setEnglishUi(english);
        m_record->applyCaptions();
        m_stored->applyCaptions();
    }
    QTableWidget *grid()
    {
        return m_stored->findChild<QTableWidget *>(QStringLiteral("MSHFlexGrid1"));
    }

private slots:
    void init()
    {
        OutputFiles::setProgramFolder(m_dir.path());
        m_prompt.clear();
        auto port = std::make_unique<FakePort>();
        m_port = port.get();
        m_core = std::make_unique<Core>(m_prompt, std::move(port));
        m_record = std::make_unique<RecordPanel>(m_core->state, m_core->recorder);
        m_stored = std::make_unique<StoredDataPanel>(m_core->state, m_core->stored);
    }
    void cleanup()
    {
        m_stored.reset();
        m_record.reset();
        m_core.reset();
        OutputFiles::setProgramFolder({});
    }

    void captions_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::newRow("frame") << "record"
                               << "Frame2"
                               << "Real time recording"
                               << "实时记录";
        QTest::newRow("check box") << "record"
                                   << "实时数据"
                                   << "Real-time data storage"
                                   << "实时数据保存";
        QTest::newRow("hint")
            << "record"
            << "Label2"
            << "Note: The communication status should jump normally, indicating "
               "that it is in communication, otherwise it may not be able to "
               "record real-time data."
            << "注意:通迅状态要正常跳动，说明在通迅，否则有可能记录不到实时的数据。";
        QTest::newRow("path label") << "record"
                                    << "Label1"
                                    << "File Directory:"
                                    << "转换文件目录：";
        QTest::newRow("select") << "record"
                                << "选择文件"
                                << "Select File"
                                << "选择文件";
        QTest::newRow("latest") << "record"
                                << "最新文件"
                                << "Latest Files"
                                << "最新文件";
        QTest::newRow("convert") << "record"
                                 << "Command2"
                                 << "Export to Excel"
                                 << "导出Excel";
        QTest::newRow("open") << "record"
                              << "打开"
                              << "Open Export File"
                              << "打开导出文件";
        QTest::newRow("progress") << "record"
                                  << "Label4"
                                  << "Progress:"
                                  << "转换进度：";
        QTest::newRow("count button") << "stored"
                                      << "存储数量"
                                      << "Number of stored data"
                                      << "存储数量";
        QTest::newRow("get data") << "stored"
                                  << "获取数据"
                                  << "get data"
                                  << "获取数据";
        QTest::newRow("export") << "stored"
                                << "导出"
                                << "Export to Excel"
                                << "导出Excel";
        for (const char *page : {"record", "stored"}) {
            QTest::addRow("%s folder label", page) << page << "folderLabel"
                                                   << "Output folder:"
                                                   << "输出文件夹：";
            QTest::addRow("%s open folder", page) << page << "openFolder"
                                                  << "Open folder"
                                                  << "打开文件夹";
        }
        QTest::newRow("stop") << "stored"
                              << "停止"
                              << "Stop"
                              << "停止";
        QTest::newRow("read caption") << "stored"
                                      << "readCaption"
                                      << "Records read:"
                                      << "已读记录：";
    }
    void captions()
    {
        QFETCH(QString, page);
        QFETCH(QString, control);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        QWidget *panel = page == QLatin1String("record") ? static_cast<QWidget *>(m_record.get())
                                                         : m_stored.get();
        auto *w = panel->findChild<QWidget *>(control);
        QVERIFY2(w, qPrintable(control));
        setLanguage(true);
        QCOMPARE(caption(w), english);
        setLanguage(false);
        QCOMPARE(caption(w), chinese);
    }

    void valueControlsAreNamed()
    {
        for (const char *name : {"转换文件目录", "进度值", "progress"})
            QVERIFY2(m_record->findChild<QWidget *>(QString::fromUtf8(name)), name);
        for (const char *name :
             {"数量", "导出进度", "MSHFlexGrid1", "读取数量", "读取进度", "读取时间"})
            QVERIFY2(m_stored->findChild<QWidget *>(QString::fromUtf8(name)), name);
        setLanguage(true);
        QCOMPARE(m_record->findChild<QLineEdit *>(QStringLiteral("转换文件目录"))->accessibleName(),
                 QStringLiteral("File Directory"));
        QVERIFY(!grid()->accessibleName().isEmpty());
    }

    // Each page shows where its files go, and opens that folder.
    void outputFolder_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("opens");
        QTest::newRow("recordings") << "record"
                                    << "real-time data" << true;
        QTest::newRow("stored data") << "stored"
                                     << "Store data" << true;
        QTest::newRow("recordings, nothing opens") << "record"
                                                   << "real-time data" << false;
        QTest::newRow("stored data, nothing opens") << "stored"
                                                    << "Store data" << false;
    }
    void outputFolder()
    {
        QFETCH(QString, page);
        QFETCH(QString, folder);
        QFETCH(bool, opens);
        QStringList opened;
        auto opener = [&opened, opens](const QString &path) {
            opened << path;
            return opens;
        };
        m_core->recorder.setOpener(opener);
        m_core->stored.setOpener(opener);
        QWidget *panel = page == QLatin1String("record") ? static_cast<QWidget *>(m_record.get())
                                                         : m_stored.get();
        const QString expected = QDir(m_dir.path()).filePath(folder);
        QDir(expected).removeRecursively();
        auto *shown = panel->findChild<QLineEdit *>(QStringLiteral("outputFolder"));
        QVERIFY(shown);
        QCOMPARE(shown->text(), QDir::toNativeSeparators(expected));
        QVERIFY(shown->isReadOnly());
        setLanguage(true);
        QCOMPARE(shown->accessibleName(), QStringLiteral("Output folder"));

        auto *button = panel->findChild<QPushButton *>(QStringLiteral("openFolder"));
        QVERIFY(button);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(opened, QStringList{expected});
        // Made on first use, so there is something to open.
        QVERIFY(QFileInfo(expected).isDir());
        if (opens)
            QCOMPARE(m_prompt.texts(), QStringList());
        else
            QCOMPARE(m_prompt.texts(), QStringList{QStringLiteral("No program could open \"%1\".")
                                                       .arg(QDir::toNativeSeparators(expected))});
    }

    void gridHeader_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("width");
        QTest::newRow("EN number") << true << 0 << "NO." << 33;
        QTest::newRow("EN time") << true << 2 << "storage time" << 133;
        QTest::newRow("EN voltage") << true << 3 << "total voltage (V)" << 46;
        QTest::newRow("EN SOC") << true << 5 << "SOC(%)" << 46;
        QTest::newRow("EN difference") << true << 11 << "Voltage difference (v)" << 66;
        QTest::newRow("EN hottest") << true << 13 << "NO.of Max temperature" << 73;
        QTest::newRow("EN state") << true << 19 << "system state" << 333;
        QTest::newRow("CN number") << false << 0 << "编号" << 33;
        QTest::newRow("CN difference") << false << 11 << "压差(v)" << 46;
        QTest::newRow("CN hottest") << false << 13 << "最高温度序号" << 53;
        QTest::newRow("CN SOH") << false << 6 << "SOH(%)" << 46;
        QTest::newRow("CN state") << false << 19 << "MOS状态" << 333;
    }
    void gridHeader()
    {
        QFETCH(bool, english);
        QFETCH(int, column);
        QFETCH(QString, title);
        QFETCH(int, width);
        setLanguage(english);
        QTableWidget *g = grid();
        QCOMPARE(g->columnCount(), 20);
        QCOMPARE(g->horizontalHeaderItem(column)->text(), title);
        // The width in twips at least, more where the header, wrapped as the
        // header view wraps it, would be cut.
        QVERIFY(g->columnWidth(column) >= width);
        QHeaderView *header = g->horizontalHeader();
        QCOMPARE(header->height(), english ? 60 : 40);
        QVERIFY(header->defaultAlignment() & Qt::AlignHCenter);
        QVERIFY(header->defaultAlignment() & Qt::AlignVCenter);
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin);
        for (int c = 0; c < g->columnCount(); ++c) {
            const QString text = g->horizontalHeaderItem(c)->text();
            const qreal room = g->columnWidth(c) - 2 * margin;
            QTextLayout layout(text, header->font());
            QTextOption option(Qt::AlignCenter);
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            qreal height = 0;
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(room);
                QVERIFY2(line.naturalTextWidth() <= room,
                         qPrintable(QStringLiteral("\"%1\" cut at %2 px")
                                        .arg(text.mid(line.textStart(), line.textLength()))
                                        .arg(room)));
                height += line.height();
            }
            layout.endLayout();
            QVERIFY2(height <= header->height(), qPrintable(text));
        }
    }

    void gridShowsRowsUnderAnEmptyRow()
    {
        AppState &s = m_core->state;
        s.storedRows << QStringLiteral("3\t1\t2024-05-07 09:03:00\t52.8\t") +
                            QStringLiteral("x\t").repeated(15) + QStringLiteral("\t");
        s.notifyStoredRowsChanged();
        s.storedRows << QStringLiteral("2\t1\t");
        s.notifyStoredRowsChanged();
        QTableWidget *g = grid();
        QCOMPARE(g->rowCount(), 3);
        QVERIFY(!g->item(0, 0) || g->item(0, 0)->text().isEmpty());
        QCOMPARE(g->item(1, 0)->text(), QStringLiteral("3"));
        QCOMPARE(g->item(1, 3)->text(), QStringLiteral("52.8"));
        QCOMPARE(g->item(2, 0)->text(), QStringLiteral("2"));
        QCOMPARE(g->editTriggers(), QAbstractItemView::NoEditTriggers);

        setLanguage(false); // a new header: the grid starts again, the rows stay
        QCOMPARE(g->rowCount(), 1);
        QCOMPARE(s.storedRowCount(), 2);
        QCOMPARE(g->horizontalHeaderItem(0)->text(), QStringLiteral("编号"));
    }

    void getDataWithThePortClosedClearsTheGrid()
    {
        setLanguage(true);
        m_core->state.storedRows = {QStringLiteral("1\t")};
        m_core->state.notifyStoredRowsChanged();
        QCOMPARE(grid()->rowCount(), 2);
        m_stored->findChild<QPushButton *>(QStringLiteral("获取数据"))->click();
        QCOMPARE(m_prompt.texts(),
                 QStringList{QStringLiteral("Please open the serial port first")});
        QCOMPARE(grid()->rowCount(), 1);
    }

    // The read-out's progress and its "Stop" button follow the page's form,
    // and "Stop" is reachable by keyboard and named for a screen reader.
    void readOutControlsFollowTheForm()
    {
        setLanguage(true);
        auto *stop = m_stored->findChild<QPushButton *>(QStringLiteral("停止"));
        auto *bar = m_stored->findChild<QProgressBar *>(QStringLiteral("读取进度"));
        auto *count = m_stored->findChild<QLabel *>(QStringLiteral("读取数量"));
        auto *time = m_stored->findChild<QLabel *>(QStringLiteral("读取时间"));
        QVERIFY(stop && bar && count && time);
        QVERIFY(!stop->isEnabled());
        QVERIFY(stop->focusPolicy() & Qt::TabFocus);
        QCOMPARE(stop->accessibleName(), QStringLiteral("Stop reading stored data"));
        QCOMPARE(bar->accessibleName(), QStringLiteral("Reading progress"));
        setLanguage(false);
        QCOMPARE(stop->accessibleName(), QStringLiteral("停止读取存储数据"));

        QVERIFY(FakeLink::open(*m_core, *m_port));
        m_stored->findChild<QPushButton *>(QStringLiteral("获取数据"))->click();
        QVERIFY(stop->isEnabled());
        Form &f = m_core->state.stored;
        f.setText(StoredField::readCount, QStringLiteral("12 / 48"));
        f.setValue(StoredField::readBar, 25);
        f.setText(StoredField::readTime, QStringLiteral("x"));
        QCOMPARE(count->text(), QStringLiteral("12 / 48"));
        QCOMPARE(bar->value(), 25);
        QCOMPARE(time->text(), QStringLiteral("x"));
        stop->click();
        QVERIFY(!m_core->stored.isReading());
        QCOMPARE(m_core->state.currentCommand, quint8(16));
        QVERIFY(!stop->isEnabled());
    }

    void recordPageFollowsItsForm()
    {
        auto *box = m_record->findChild<QCheckBox *>(QStringLiteral("实时数据"));
        box->click();
        QVERIFY(m_core->recorder.isRecording());
        QVERIFY(!m_core->state.recordFilePath.isEmpty());
        auto *path = m_record->findChild<QLineEdit *>(QStringLiteral("转换文件目录"));
        QCOMPARE(QDir::fromNativeSeparators(path->text()), m_core->state.recordFilePath);
        box->click();
        QVERIFY(!m_core->recorder.isRecording());

        m_prompt.nextFile = QStringLiteral("/tmp/x.txt");
        m_record->findChild<QPushButton *>(QStringLiteral("选择文件"))->click();
        QCOMPARE(m_prompt.fileFilters, QStringList{QStringLiteral("Batch Files (*.txt)")});
        QCOMPARE(path->text(), QDir::toNativeSeparators(QStringLiteral("/tmp/x.txt")));

        m_core->state.record.setValue(RecordField::progress, 42);
        m_core->state.record.setText(RecordField::progressText, QStringLiteral("42%"));
        QCOMPARE(m_record->findChild<QProgressBar *>(QStringLiteral("progress"))->value(), 42);
        QCOMPARE(m_record->findChild<QLabel *>(QStringLiteral("进度值"))->text(),
                 QStringLiteral("42%"));
        m_core->state.record.setEnabled(RecordField::convert, false);
        QVERIFY(!m_record->findChild<QPushButton *>(QStringLiteral("Command2"))->isEnabled());
    }
};

QTEST_MAIN(TestRecordPages)
#include "tst_record_pages.moc"
