#include "cli/CliCommands.h"

#include "cli/CliSession.h"
#include "cli/ControlWords.h"
#include "cli/HistoryFile.h"
#include "cli/PackJson.h"
#include "cli/ParamNames.h"
#include "cli/WatchLoop.h"
#include "link/LinkForm.h"
#include "profiles/ProfileSession.h"
#include "records/DataLocations.h"
#include "records/RecordForm.h"
#include "records/StoredForm.h"
#include "records/StoredRecords.h"
#include "requests/ParamForm.h"
#include "requests/ParamRows.h"
#include "responses/ResultMessages.h"
#include "upgrade/UpgradeForm.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

namespace {
constexpr int linkTab = 1, infoTab = 2, paramTab = 3, recordTab = 5, storedTab = 6, upgradeTab = 7;

QString readCompleteText()
{
    return QCoreApplication::translate("StoredRecords", "Read Complete");
}

QString accessWord(PortIo::Access access)
{
    switch (access) {
    case PortIo::Access::Busy:
        return QStringLiteral("busy");
    case PortIo::Access::NoPermission:
        return QStringLiteral("no-permission");
    case PortIo::Access::Absent:
        return QStringLiteral("absent");
    case PortIo::Access::Available:
        break;
    }
    return QStringLiteral("available");
}

QJsonValue numberOrNull(const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
}

QString listText(const QJsonArray &values, const QString &none)
{
    QStringList parts;
    for (const QJsonValue &v : values)
        parts << (v.isDouble() ? QString::number(v.toDouble()) : v.toString());
    return parts.isEmpty() ? none : parts.join(QStringLiteral(", "));
}
} // namespace

CliCommands::CliCommands(CliSession &session, QObject *parent) : QObject(parent), m_session(session)
{
}

CliCommands::~CliCommands() = default;

void CliCommands::start()
{
    const QString c = m_session.options().command;
    const QString verb = m_session.options().words.value(0);
    if (c == QLatin1String("ports"))
        ports();
    else if (c == QLatin1String("scan"))
        scan();
    else if (c == QLatin1String("info"))
        info(false);
    else if (c == QLatin1String("watch"))
        info(true);
    else if (c == QLatin1String("params") && verb == QLatin1String("read"))
        paramsRead();
    else if (c == QLatin1String("params"))
        paramsWrite();
    else if (c == QLatin1String("control"))
        control();
    else if (c == QLatin1String("history"))
        history();
    else if (c == QLatin1String("record"))
        record();
    else if (c == QLatin1String("upgrade"))
        upgrade();
    else
        profile();
}

void CliCommands::interrupt()
{
    const QString c = m_session.options().command;
    if (c == QLatin1String("watch"))
        m_session.finish(CliOptions::exitOk);
    else if (c == QLatin1String("record") && m_session.core().recorder.isRecording())
        endRecording();
    else
        m_session.finish(CliOptions::exitNoAnswer, tr("Interrupted."));
}

void CliCommands::json(const QJsonValue &value, bool compact)
{
    const QJsonDocument doc =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    CliSession::out(
        QString::fromUtf8(doc.toJson(compact ? QJsonDocument::Compact : QJsonDocument::Indented)) +
        (compact ? QStringLiteral("\n") : QString()));
}

QString CliCommands::faultText() const
{
    return m_session.core().state.statusLine();
}

// ---- ports and scan --------------------------------------------------------

void CliCommands::ports()
{
    LinkController &link = m_session.core().link;
    link.load();
    const QStringList entries = m_session.core().state.link.entries(LinkField::port);
    QJsonArray list;
    QString text;
    for (const QString &entry : entries) {
        const int number = entry.mid(3).toInt();
        const QString device = LinkController::deviceOf(number);
        const PortIo::Access access = link.portAccess(number);
        list.append(QJsonObject{{QStringLiteral("port"), entry},
                                {QStringLiteral("device"), device},
                                {QStringLiteral("access"), accessWord(access)}});
        text +=
            QStringLiteral("%1\t%2%3\n").arg(entry, device, LinkController::accessSuffix(access));
    }
    if (m_session.options().json)
        json(list);
    else if (entries.isEmpty())
        CliSession::err(tr("No serial port was found."));
    else
        CliSession::out(text);
    m_session.finish(CliOptions::exitOk);
}

void CliCommands::scan()
{
    if (!m_session.open(linkTab))
        return;
    Core &core = m_session.core();
    connect(&core.scan, &ScanController::runningChanged, this, [this](bool running) {
        if (running)
            return;
        const BusScan *s = m_session.core().scan.lastScan();
        if (!s || !s->complete()) {
            m_session.finish(CliOptions::exitNoAnswer,
                             tr("The scan was cut short: the line failed."));
            return;
        }
        QJsonArray list;
        QString text;
        for (const BusScan::Entry &e : s->found()) {
            const bool clash = e.found == BusScan::Found::Clash;
            list.append(QJsonObject{{QStringLiteral("address"), e.address},
                                    {QStringLiteral("clash"), clash},
                                    {QStringLiteral("project_number"), e.projectNumber},
                                    {QStringLiteral("battery_id"), e.batteryId}});
            text += clash ? tr("address %1: two or more packs answer at once (address clash)\n")
                                .arg(e.address)
                          : tr("address %1: battery ID %2, project %3\n")
                                .arg(e.address)
                                .arg(e.batteryId, e.projectNumber);
        }
        if (m_session.options().json)
            json(list);
        else
            CliSession::out(text);
        m_session.finish(list.isEmpty() ? CliOptions::exitNoAnswer : CliOptions::exitOk,
                         list.isEmpty() ? tr("No pack answered on the line.") : QString());
    });
    m_session.setMessageHandler([this](const QString &text, UserPrompt::Icon) {
        m_session.finish(CliOptions::exitNoAnswer, text);
    });
    if (!core.scan.start())
        return;
    if (const BusScan *s = core.scan.lastScan())
        connect(s, &BusScan::progressChanged, this, [this](int done, int total) {
            m_session.progress(tr("Scanning address %1 of %2").arg(done).arg(total));
        });
}

// ---- info and watch --------------------------------------------------------

QString CliCommands::packText(const QJsonObject &p)
{
    const auto n = [&p](const QString &key) {
        const QJsonValue v = p.value(key);
        return v.isDouble() ? QString::number(v.toDouble()) : QStringLiteral("-");
    };
    const auto t = [&p](const QString &key) {
        const QJsonValue v = p.value(key);
        return v.isString() ? v.toString() : QStringLiteral("-");
    };
    const auto onOff = [&p](const QString &key) {
        const QJsonValue v = p.value(key);
        return v.isBool() ? (v.toBool() ? tr("on") : tr("off")) : QStringLiteral("-");
    };
    namespace K = PackJson::Key;
    const QString none = tr("none");
    QString text;
    const auto line = [&text](const QString &label, const QString &value) {
        text += QStringLiteral("%1: %2\n").arg(label, value);
    };
    line(tr("Address"), n(K::address));
    line(tr("Battery ID"), t(K::batteryId));
    line(tr("Project number"), t(K::projectNumber));
    line(tr("Model"), t(K::model));
    line(tr("Software / hardware version"),
         t(K::softwareVersion) + QStringLiteral(" / ") + t(K::hardwareVersion));
    line(tr("Total voltage"), n(K::totalVoltage) + QStringLiteral(" V"));
    line(tr("Current"), n(K::current) + QStringLiteral(" A"));
    line(tr("SOC / SOH"), n(K::soc) + QStringLiteral(" % / ") + n(K::soh) + QStringLiteral(" %"));
    line(tr("Highest cell"), tr("%1 V (cell %2)").arg(n(K::cellMaxVoltage), n(K::cellMaxIndex)));
    line(tr("Lowest cell"), tr("%1 V (cell %2)").arg(n(K::cellMinVoltage), n(K::cellMinIndex)));
    line(tr("Cell difference"), n(K::cellDiff) + QStringLiteral(" mV"));
    line(tr("Temperatures"), tr("highest %1 ℃, lowest %2 ℃").arg(n(K::tempMax), n(K::tempMin)));
    line(tr("Charge / discharge MOS"),
         onOff(K::chargeMos) + QStringLiteral(" / ") + onOff(K::dischargeMos));
    line(tr("Cycles"), n(K::cycleCount));
    line(tr("Full capacity"), n(K::fullCapacity) + QStringLiteral(" AH"));
    line(tr("Cells (V)"), listText(p.value(K::cells).toArray(), none));
    line(tr("Sensors (℃)"), listText(p.value(K::temperatures).toArray(), none));
    line(tr("Alarms"), listText(p.value(K::alarms).toArray(), none));
    line(tr("Protections"), listText(p.value(K::protections).toArray(), none));
    line(tr("Faults"), listText(p.value(K::faults).toArray(), none));
    return text;
}

void CliCommands::info(bool continuous)
{
    if (!m_session.open(infoTab))
        return;
    const CliOptions &o = m_session.options();
    m_loop = std::make_unique<WatchLoop>(m_session, o.addresses);
    auto packs = std::make_shared<QJsonArray>();
    auto silent = std::make_shared<QStringList>();
    m_session.setMessageHandler([this](const QString &text, UserPrompt::Icon) {
        // A read of the cycle that could not be decoded: the cycle goes on,
        // as on the information page.
        CliSession::err(text == QLatin1String("7") ? faultText() : text.simplified());
    });
    m_loop->setPackHandler([this, continuous, packs](int address, const Form &form) {
        const QJsonObject pack = PackJson::state(address, form);
        if (!continuous) {
            packs->append(pack);
        } else if (m_session.options().json) {
            json(pack, true);
        } else {
            CliSession::out(QDateTime::currentDateTime().toString(Qt::ISODate) + QLatin1Char('\n') +
                            packText(pack) + QLatin1Char('\n'));
        }
    });
    m_loop->setSilentHandler([this, continuous, packs, silent](int) {
        const QString text = m_session.silenceText();
        const QJsonObject entry{{PackJson::Key::address, m_loop->currentAddress()},
                                {QStringLiteral("error"), text}};
        if (!continuous) {
            packs->append(entry);
            *silent << text;
        } else if (m_session.options().json) {
            json(entry, true);
        } else {
            CliSession::err(text);
        }
    });
    m_loop->setRoundHandler([this, continuous, packs, silent] {
        if (continuous)
            return true;
        if (m_session.options().json) {
            if (packs->size() == 1)
                json(packs->first());
            else
                json(*packs);
        } else {
            QStringList blocks;
            for (const QJsonValue &p : *packs)
                if (!p.toObject().contains(QStringLiteral("error")))
                    blocks << packText(p.toObject());
            CliSession::out(blocks.join(QLatin1Char('\n')));
        }
        m_session.finish(silent->isEmpty() ? CliOptions::exitOk : CliOptions::exitNoAnswer,
                         silent->join(QLatin1Char(' ')));
        return false;
    });
    m_loop->start();
}

// ---- parameters ------------------------------------------------------------

void CliCommands::paramsRead()
{
    if (!m_session.open(paramTab))
        return;
    const QStringList words = m_session.options().words.mid(1);
    for (const QString &w : words)
        m_rows << ParamNames::row(w);
    Core &core = m_session.core();
    const bool all = m_rows.isEmpty();
    m_session.setMessageHandler([this, all](const QString &text, UserPrompt::Icon) {
        if (text ==
            ResultMessages::text(all ? ResultMessage::readAll : ResultMessage::readSucceeded)) {
            if (all || ++m_rowIndex >= m_rows.size()) {
                printRows();
                m_session.finish(CliOptions::exitOk);
            } else {
                readNextRow();
            }
            return;
        }
        m_session.finish(CliOptions::exitNoAnswer, text == QLatin1String("7") ? faultText() : text);
    });
    m_session.armWatchdog(
        [this] { m_session.finish(CliOptions::exitNoAnswer, m_session.silenceText()); });
    if (all) {
        for (int r = 0; r < ParamRows::count; ++r)
            m_rows << r;
        core.paramCommands.readAll();
    } else {
        readNextRow();
    }
}

void CliCommands::readNextRow()
{
    m_session.core().paramCommands.readRow(m_rows.at(m_rowIndex));
}

void CliCommands::printRows()
{
    const Form &page = m_session.core().state.param;
    QJsonArray list;
    QString text;
    for (int r : m_rows) {
        QJsonObject row{{QStringLiteral("row"), ParamNames::rowName(r)},
                        {QStringLiteral("index"), r},
                        {QStringLiteral("unit"), ParamRows::unit(r)}};
        QStringList parts;
        for (const ParamNames::Column &c : ParamNames::columns()) {
            const QString control = ParamNames::control(c, r);
            const QString name = QLatin1String(c.name);
            if (c.check) {
                row.insert(name, page.check(control) != 0);
                parts << QStringLiteral("%1=%2").arg(name).arg(page.check(control) != 0 ? 1 : 0);
            } else {
                row.insert(name, numberOrNull(page.text(control)));
                parts << QStringLiteral("%1=%2").arg(name, page.text(control));
            }
        }
        list.append(row);
        // The caption as the page shows it, where the language has its own.
        const QString caption =
            ParamRows::caption(r) == ParamNames::rowName(r)
                ? ParamRows::unit(r)
                : ParamRows::caption(r) + QStringLiteral(", ") + ParamRows::unit(r);
        text += QStringLiteral("%1 (%2)\t%3\n")
                    .arg(ParamNames::rowName(r), caption, parts.join(QLatin1Char(' ')));
    }
    if (m_session.options().json)
        json(QJsonObject{{QStringLiteral("rows"), list}});
    else
        CliSession::out(text);
}

void CliCommands::paramsWrite()
{
    if (!m_session.open(paramTab))
        return;
    const QStringList words = m_session.options().words;
    const int row = ParamNames::row(words.at(1));
    m_rows = {row};
    Core &core = m_session.core();
    auto written = std::make_shared<bool>(false);
    m_session.setMessageHandler([this, row, words, written](const QString &text, UserPrompt::Icon) {
        Core &core = m_session.core();
        if (m_synchronous) {
            // Refused before anything was sent: a value the row cannot take.
            m_session.finish(CliOptions::exitUsage, text);
            return;
        }
        if (!*written && text == ResultMessages::text(ResultMessage::readSucceeded)) {
            // The row as the pack has it, with the given fields replaced:
            // the write sends the whole row.
            Form &page = core.state.param;
            for (const QString &assignment : words.mid(2)) {
                const int eq = int(assignment.indexOf(QLatin1Char('=')));
                const ParamNames::Column *c = ParamNames::column(assignment.left(eq));
                const QString value = assignment.mid(eq + 1);
                if (c->check)
                    page.setCheck(ParamNames::control(*c, row),
                                  value == QLatin1String("1") ? 1 : 0);
                else
                    page.setText(ParamNames::control(*c, row), value);
            }
            *written = true;
            m_synchronous = true;
            core.paramCommands.writeRow(row);
            m_synchronous = false;
            return;
        }
        if (*written && text == ResultMessages::text(ResultMessage::rowWritten)) {
            printRows();
            m_session.finish(CliOptions::exitOk);
            return;
        }
        m_session.finish(CliOptions::exitNoAnswer, text == QLatin1String("7") ? faultText() : text);
    });
    m_session.armWatchdog(
        [this] { m_session.finish(CliOptions::exitNoAnswer, m_session.silenceText()); });
    core.paramCommands.readRow(row);
}

// ---- controls --------------------------------------------------------------

void CliCommands::control()
{
    const int code = ControlWords::code(m_session.options().words);
    if (!m_session.open(paramTab))
        return;
    m_session.setMessageHandler([this](const QString &text, UserPrompt::Icon) {
        const bool ok = text == ResultMessages::text(ResultMessage::controlSucceeded);
        if (ok && !m_session.options().json)
            CliSession::out(text + QLatin1Char('\n'));
        if (ok && m_session.options().json)
            json(QJsonObject{
                {QStringLiteral("control"), m_session.options().words.join(QLatin1Char(' '))},
                {QStringLiteral("result"), text}});
        m_session.finish(ok ? CliOptions::exitOk : CliOptions::exitNoAnswer, ok ? QString() : text);
    });
    m_session.armWatchdog(
        [this] { m_session.finish(CliOptions::exitNoAnswer, m_session.silenceText()); });
    m_session.core().requests.send(quint8(code));
}

// ---- history ---------------------------------------------------------------

void CliCommands::history()
{
    const CliOptions &o = m_session.options();
    const QFileInfo out(o.out);
    if (!out.absoluteDir().exists()) {
        m_session.finish(
            CliOptions::exitFile,
            tr("The folder of \"%1\" does not exist.").arg(QDir::toNativeSeparators(o.out)));
        return;
    }
    if (!m_session.open(storedTab))
        return;
    Core &core = m_session.core();
    connect(&core.state, &AppState::storedRowsChanged, this, [this] {
        Core &core = m_session.core();
        const int rows = core.state.storedRowCount();
        const int wanted = m_session.options().fromNewest;
        m_session.progress(
            tr("Records read: %1").arg(core.state.stored.text(StoredField::readCount)));
        if (wanted > 0 && rows >= wanted && core.stored.isReading()) {
            // The newest come first: the rest is not asked for.
            core.stored.stopReading();
            QTimer::singleShot(0, this, [this] { exportHistory(true, {}); });
        }
    });
    m_session.setMessageHandler([this](const QString &text, UserPrompt::Icon) {
        if (text == readCompleteText())
            exportHistory(true, {});
        else if (text == QLatin1String("7"))
            CliSession::err(faultText()); // asked again by the send timer
        else
            exportHistory(false, text);
    });
    m_session.armWatchdog([this] { exportHistory(false, m_session.silenceText()); });
    core.stored.getData();
}

void CliCommands::exportHistory(bool complete, const QString &failure)
{
    if (m_session.isFinished())
        return;
    m_session.stopWatchdog();
    Core &core = m_session.core();
    core.stored.stopReading();
    const QStringList rows = core.state.storedRows;
    const QString path = m_session.options().out;
    // What was read before a failure is kept, too.
    if (!complete && rows.isEmpty()) {
        m_session.finish(CliOptions::exitNoAnswer, failure);
        return;
    }
    if (const Result<void> written = HistoryFile::write(path, rows); !written) {
        m_session.finish(CliOptions::exitFile, written.error().message);
        return;
    }
    if (m_session.options().json)
        json(QJsonObject{{QStringLiteral("file"), path},
                         {QStringLiteral("records"), int(rows.size())},
                         {QStringLiteral("complete"), complete}});
    else
        CliSession::out(
            tr("%1 records written to %2\n").arg(rows.size()).arg(QDir::toNativeSeparators(path)));
    if (complete)
        m_session.finish(CliOptions::exitOk);
    else
        m_session.finish(
            CliOptions::exitNoAnswer,
            failure + QLatin1Char(' ') +
                tr("Only the %1 records read until then were written.").arg(rows.size()));
}

// ---- live recording --------------------------------------------------------

void CliCommands::record()
{
    const CliOptions &o = m_session.options();
    const QString dir = QFileInfo(o.out).absoluteFilePath();
    if (!QDir().mkpath(dir) || !QFileInfo(dir).isWritable()) {
        m_session.finish(
            CliOptions::exitFile,
            tr("Cannot record into the folder \"%1\".").arg(QDir::toNativeSeparators(dir)));
        return;
    }
    // The recordings go below the folder named, the templates come from
    // wherever the program finds them.
    DataLocations::Places places = DataLocations::current();
    places.portable = false;
    places.outputRoot = dir;
    DataLocations::setPlaces(places);
    if (!m_session.open(recordTab))
        return;
    m_session.setMessageHandler([this](const QString &text, UserPrompt::Icon icon) {
        if (text == QLatin1String("7")) {
            CliSession::err(faultText());
            return;
        }
        // The recording's or the conversion's file could not be written.
        if (icon == UserPrompt::Icon::Warning)
            m_session.finish(CliOptions::exitFile, text);
    });
    m_session.armWatchdog(
        [this] { m_session.finish(CliOptions::exitNoAnswer, m_session.silenceText()); });
    // The first line is recorded once a whole cycle has been read, so that
    // no line holds values of nothing.
    auto started = std::make_shared<bool>(false);
    connect(&m_session, &CliSession::cycleCompleted, this, [this, started] {
        if (*started)
            return;
        *started = true;
        startRecording();
    });
}

void CliCommands::startRecording()
{
    Core &core = m_session.core();
    const CliOptions &o = m_session.options();
    core.state.record.setCheck(RecordField::recording, 1);
    if (!core.recorder.isRecording())
        return; // the message has ended the run
    // After the recorder's own tick: each new line is printed as it is written.
    connect(&core.recorder.timer(), &QTimer::timeout, this, [this] {
        Core &core = m_session.core();
        if (core.state.recordLineCount == m_lastRecordedLine)
            return;
        m_lastRecordedLine = core.state.recordLineCount;
        if (m_session.options().json)
            json(PackJson::state(core.state.deviceAddress, core.state.info), true);
        m_session.progress(tr("%1 lines recorded").arg(m_lastRecordedLine));
        if (m_lastRecordedLine >= m_session.options().seconds)
            endRecording();
    });
    Q_UNUSED(o);
}

void CliCommands::endRecording()
{
    Core &core = m_session.core();
    core.recorder.stop();
    m_session.stopWatchdog();
    const QString recording = core.state.recordFilePath;
    const auto report = [this, recording](const QString &workbook) {
        const int lines = m_session.core().state.recordLineCount;
        if (m_session.options().json) {
            QJsonObject o{{QStringLiteral("recording"), recording},
                          {QStringLiteral("lines"), lines}};
            if (!workbook.isEmpty())
                o.insert(QStringLiteral("workbook"), workbook);
            json(o, true);
        } else {
            CliSession::out(tr("%1 lines recorded in %2\n")
                                .arg(lines)
                                .arg(QDir::toNativeSeparators(recording)));
            if (!workbook.isEmpty())
                CliSession::out(tr("Workbook: %1\n").arg(QDir::toNativeSeparators(workbook)));
        }
    };
    if (!m_session.options().xlsx) {
        report({});
        m_session.finish(CliOptions::exitOk);
        return;
    }
    connect(&core.recorder, &Recorder::conversionFinished, this, [this, report](bool ok) {
        if (!ok)
            return; // the message has ended the run
        report(m_session.core().state.exportXlsxPath);
        m_session.finish(CliOptions::exitOk);
    });
    core.state.record.setText(RecordField::path, QDir::toNativeSeparators(recording));
    core.recorder.convert();
}

// ---- firmware upgrade ------------------------------------------------------

void CliCommands::upgrade()
{
    const CliOptions &o = m_session.options();
    const QString file = o.words.at(1);
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable()) {
        m_session.finish(
            CliOptions::exitFile,
            tr("Cannot read the firmware file \"%1\".").arg(QDir::toNativeSeparators(file)));
        return;
    }
    if (!file.endsWith(QLatin1String(".bin"))) {
        m_session.finish(CliOptions::exitFile,
                         tr("\"%1\" is not a firmware image: choose a .bin file.")
                             .arg(QDir::toNativeSeparators(file)));
        return;
    }
    if (!m_session.open(upgradeTab))
        return;
    Core &core = m_session.core();
    Form &form = core.state.upgrade;
    const bool boot = o.words.at(0) == QLatin1String("boot");
    form.setText(UpgradeField::path, info.absoluteFilePath());
    core.upgrade.selectTarget(boot ? UpgradeField::boot : UpgradeField::app);
    form.setChoice(UpgradeField::baud, o.upgradeBaudIndex);
    connect(&form, &Form::changed, this, [this](const QString &control) {
        if (control == UpgradeField::progressText)
            m_session.progress(
                tr("Upgrade %1")
                    .arg(m_session.core().state.upgrade.text(UpgradeField::progressText)));
    });
    m_session.setMessageHandler([this](const QString &text, UserPrompt::Icon icon) {
        if (text == UpgradeController::succeededText()) {
            CliSession::out(text + QLatin1Char('\n'));
            m_session.finish(CliOptions::exitOk);
        } else if (text == UpgradeController::binOnlyText() || icon == UserPrompt::Icon::Warning) {
            m_session.finish(CliOptions::exitFile, text);
        } else if (text != QLatin1String("7")) {
            m_session.finish(CliOptions::exitNoAnswer, text);
        }
    });
    core.upgrade.start();
    if (!m_session.isFinished() && !m_session.prompt().refusedQuestions().isEmpty())
        m_session.finish(
            CliOptions::exitUsage,
            tr("A boot loader upgrade cannot be undone if it fails; confirm it with --yes."));
}

// ---- profiles --------------------------------------------------------------

void CliCommands::profile()
{
    const CliOptions &o = m_session.options();
    const QString action = o.words.at(0);
    const QString path = o.words.at(1);
    if (action != QLatin1String("save") && !QFileInfo(path).isReadable()) {
        m_session.finish(CliOptions::exitFile,
                         tr("Cannot read the profile \"%1\".").arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!m_session.open(paramTab))
        return;
    m_profile = std::make_unique<ProfileSession>(ProfileSession::partsOf(m_session.core()),
                                                 m_session.prompt());
    m_profile->setStepTimeout(qMax(o.timeoutMs, 1000));
    connect(m_profile.get(), &ProfileSession::progress, this,
            [this](int done, int total, const QString &step) {
                m_session.progress(QStringLiteral("%1/%2 %3").arg(done).arg(total).arg(step));
            });
    connect(m_profile.get(), &ProfileSession::finished, this,
            [this](const ProfileSession::Result &r) { profileFinished(r); });
    bool started = false;
    if (action == QLatin1String("save"))
        started = m_profile->startSave(path);
    else if (action == QLatin1String("compare"))
        started = m_profile->startCompare(path);
    else
        started = m_profile->startApply(path, {o.identity, o.all});
    if (!started)
        m_session.finish(CliOptions::exitNoAnswer, tr("A profile run is already busy."));
}

void CliCommands::profileFinished(const ProfileSession::Result &r)
{
    const CliOptions &o = m_session.options();
    const bool compare = r.action == ProfileSession::Action::Compare;
    if (o.json) {
        QJsonArray rows;
        for (const ProfileCompare::Row &row : r.comparison.rows)
            rows.append(QJsonObject{{QStringLiteral("key"), row.key},
                                    {QStringLiteral("pack"), row.packValue},
                                    {QStringLiteral("file"), row.fileValue},
                                    {QStringLiteral("unit"), row.unit},
                                    {QStringLiteral("differs"), row.differs}});
        QJsonArray items;
        for (const ProfileSession::ItemOutcome &item : r.items)
            items.append(QJsonObject{{QStringLiteral("key"), item.key},
                                     {QStringLiteral("file"), item.fileValue},
                                     {QStringLiteral("pack"), item.packValue},
                                     {QStringLiteral("result"), item.text()}});
        json(QJsonObject{{QStringLiteral("ok"), r.ok},
                         {QStringLiteral("path"), r.path},
                         {QStringLiteral("error"), r.error},
                         {QStringLiteral("differing"), r.comparison.differing},
                         {QStringLiteral("comparison"), rows},
                         {QStringLiteral("items"), items},
                         {QStringLiteral("writes_done"), r.writesDone},
                         {QStringLiteral("writes_planned"), r.writesPlanned}});
    } else if (compare && r.ok) {
        CliSession::out(r.comparison.csv());
    } else if (r.ok) {
        CliSession::out(r.report() + QLatin1Char('\n'));
    }
    if (r.cancelled) {
        m_session.finish(
            CliOptions::exitUsage,
            tr("Applying a profile changes the pack's settings; confirm it with --yes."));
    } else if (!r.ok) {
        // A failure before any step ran is the file's; one of a step is the pack's.
        m_session.finish(r.failedStep.isEmpty() ? CliOptions::exitFile : CliOptions::exitNoAnswer,
                         r.error.isEmpty() ? r.report() : r.error);
    } else if (compare && r.comparison.differing > 0) {
        m_session.finish(CliOptions::exitNoAnswer, tr("%n item(s) differ from the profile.",
                                                      nullptr, r.comparison.differing));
    } else {
        m_session.finish(CliOptions::exitOk);
    }
}
