// How long the event loop is held up while the store data page exports a full
// history (65,535 records) to a workbook: a 1 ms timer ticks from the button
// press to the "Export succeeded" message, and the longest gap between two
// ticks is reported in wall time and in the CPU time this thread used. Also
// reports the whole export's wall time and how often the progress label moved.
// Exits 1 when the CPU gap reaches 50 ms.
//
//   export_stall [ROWS]     (default 65535; runs offscreen unless told otherwise)
#include "StallProbe.h"
#include "support/RecordingPrompt.h"

#include "base/widgets/Panel.h"
#include "link/Frame.h"
#include "records/OutputFiles.h"
#include "records/StoredForm.h"
#include "records/StoredRecordText.h"
#include "records/StoredRecords.h"
#include "shell/Core.h"
#include "shell/widgets/MainWindow.h"
#include "shell/widgets/PanelHost.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
constexpr double limitMs = 50;

// A record reply as a pack sends it: one record a minute back from a fixed
// moment, values wandering, now and then a status bit.
QByteArray recordReply(int number, QRandomGenerator &random)
{
    QByteArray data(50, '\0');
    auto put = [&data](int at, int value) { data[at - Frame::dataOffset] = char(value); };
    auto word = [&put](int at, int value) {
        put(at, value >> 8);
        put(at + 1, value & 0xFF);
    };
    word(9, number);
    word(11, 1 + number % 3);
    const QDateTime at = QDateTime(QDate(2024, 5, 7), QTime(9, 3)).addSecs(-60 * qint64(number));
    const int time[] = {at.date().year() - 2000, at.date().month(),  at.date().day(),
                        at.time().hour(),        at.time().minute(), at.time().second()};
    for (int i = 0; i < 6; ++i)
        put(13 + i, time[i]);
    word(19, 5000 + random.bounded(400));
    word(21, random.bounded(0x10000));
    word(23, random.bounded(1001));
    word(25, 90 + random.bounded(11));
    word(27, 3300 + random.bounded(200));
    word(29, 1 + random.bounded(16));
    word(31, 3100 + random.bounded(200));
    word(33, 1 + random.bounded(16));
    word(35, random.bounded(300));
    word(37, 200 + random.bounded(200));
    word(39, 1 + random.bounded(4));
    word(41, 0xFFFF - random.bounded(100));
    word(43, 1 + random.bounded(4));
    if (random.bounded(50) == 0)
        put(48, 1 << random.bounded(8));
    if (random.bounded(80) == 0)
        put(52, 1 << random.bounded(8));
    put(56, 0x03);
    return Frame::build(Frame::responseStart, 0xFF, 0x10, 0, 0x46, data);
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    if (!dir.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    QApplication app(argc, argv);
    const int rows = argc > 1 ? qBound(1, atoi(argv[1]), 65535) : 65535;

    OutputFiles::setProgramFolder(dir.path());
    if (!QFile::copy(
            QStringLiteral(CELLVANE_SOURCE_DIR "/src/records/templates/Storage Data Template.xls"),
            dir.filePath(StoredRecords::templateName()))) {
        std::fprintf(stderr, "export_stall: the template cannot be copied\n");
        return 2;
    }
    QFile::setPermissions(dir.filePath(StoredRecords::templateName()),
                          QFile::ReadOwner | QFile::WriteOwner);

    RecordingPrompt prompt;
    Core core{prompt, nullptr};
    MainWindow window{core};
    window.show();
    PanelHost &host = *window.host();
    host.tabBar()->setCurrentIndex(int(PanelHost::Page::Stored));

    // The rows as a read-out leaves them; the grid is not filled, so what is
    // measured is the export alone.
    QRandomGenerator random(7);
    core.state.storedRows.reserve(rows);
    for (int i = 0; i < rows; ++i)
        core.state.storedRows.append(
            StoredRecordText::rowText(StoredRecordText::columns(recordReply(rows - i, random))));

    auto *exportButton =
        host.page(PanelHost::Page::Stored)->findChild<QPushButton *>(StoredField::exportButton);
    if (!exportButton) {
        std::fprintf(stderr, "export_stall: no export button\n");
        return 2;
    }
    QStringList progressSeen;
    QObject::connect(&core.state.stored, &Form::changed, [&](const QString &control) {
        const QString text = core.state.stored.text(StoredField::exportProgress);
        if (control == StoredField::exportProgress &&
            (progressSeen.isEmpty() || progressSeen.constLast() != text))
            progressSeen << text;
    });

    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();

    StallProbe probe;
    QEventLoop loop;
    probe.setOnTick([&] {
        if (!prompt.messages.isEmpty())
            loop.quit();
    });
    QTimer::singleShot(20, exportButton, &QPushButton::click);
    QTimer::singleShot(600000, &loop, &QEventLoop::quit);
    probe.start();
    loop.exec();
    const double seconds = probe.elapsedSeconds();
    probe.stop();

    const QString outcome = prompt.texts().join(QLatin1Char('|'));
    std::printf("export of %d rows: %s after %.2f s\n", rows, qPrintable(outcome), seconds);
    std::printf("longest gap %7.2f ms wall, %7.2f ms CPU (%lld ticks)\n", probe.longestWallMs(),
                probe.longestCpuMs(), probe.ticks());
    std::printf("progress label moved %lld times, last \"%s\"\n", qint64(progressSeen.size()),
                qPrintable(progressSeen.value(progressSeen.size() - 1)));
    // The workbook's digest, to compare exports of the same rows.
    QDirIterator files(dir.filePath(StoredRecords::topFolder()), {QStringLiteral("*.xls")},
                       QDir::Files, QDirIterator::Subdirectories);
    QString digest;
    if (files.hasNext()) {
        QFile book(files.next());
        if (book.open(QIODevice::ReadOnly))
            digest = QString::fromLatin1(
                QCryptographicHash::hash(book.readAll(), QCryptographicHash::Sha256).toHex());
    }
    std::printf("workbook sha256 %s\n", qPrintable(digest));
    window.close();
    const bool exported = prompt.messages.size() == 1 &&
                          prompt.messages.first().icon == UserPrompt::Icon::None &&
                          !digest.isEmpty();
    return exported && probe.longestCpuMs() < limitMs ? 0 : 1;
}
