#include "profiles/ProfileSession.h"

#include "base/UserPrompt.h"
#include "link/CommandCode.h"
#include "profiles/ProfileCodec.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileItems.h"
#include "requests/ParamRows.h"
#include "requests/RequestTable.h"
#include "requests/SystemCommands.h"
#include "requests/SystemForm.h"
#include "shell/Core.h"

#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr int settleAttempts = 5;

// The page exchange that reads what `write` writes: the same item byte.
const RequestSpec *readFor(const RequestSpec &write)
{
    for (const RequestSpec &spec : RequestTable::all())
        if (spec.operation == 0 && spec.item == write.item && spec.code > CommandCode::pause)
            return &spec;
    return nullptr;
}

int buttonOf(quint8 code)
{
    for (int b = 1; b <= 40; ++b)
        if (SystemCommands::code(b) == code)
            return b;
    return 0;
}

Form &pageOf(AppState &state, const ProfileItem &item)
{
    return item.page == ProfileItem::Page::Param ? state.param : state.system;
}

bool isIdentity(const ProfileItem &item)
{
    return item.key.startsWith(ProfileItems::identitySection + QLatin1Char('.'));
}

} // namespace

QString ProfileSession::ItemOutcome::text() const
{
    switch (state) {
    case State::Verified:
        return QCoreApplication::translate("ProfileSession", "verified");
    case State::Mismatch:
        return QCoreApplication::translate("ProfileSession", "the pack returned %1")
            .arg(unit.isEmpty() ? packValue : packValue + QLatin1Char(' ') + unit);
    case State::NotReadBack:
        return QCoreApplication::translate("ProfileSession", "written, but could not be read back");
    case State::Unconfirmed:
        return QCoreApplication::translate("ProfileSession",
                                           "sent, but the pack did not confirm it");
    case State::NotWritten:
        return QCoreApplication::translate("ProfileSession", "not written");
    }
    return {};
}

int ProfileSession::Result::verified() const
{
    int n = 0;
    for (const ItemOutcome &o : items)
        n += o.state == ItemOutcome::State::Verified ? 1 : 0;
    return n;
}

QString ProfileSession::Result::report() const
{
    QStringList lines;
    if (!ok && !error.isEmpty())
        lines.append(error);
    switch (action) {
    case Action::Save:
        if (ok)
            lines.append(
                QCoreApplication::translate("ProfileSession", "Profile saved to %1").arg(path));
        break;
    case Action::Compare:
        if (ok)
            lines.append(
                QCoreApplication::translate(
                    "ProfileSession", "Items that differ between the pack and the profile: %1")
                    .arg(comparison.differing));
        break;
    case Action::Apply:
        if (ok && items.isEmpty() && !cancelled)
            lines.append(QCoreApplication::translate(
                "ProfileSession",
                "The pack already holds every setting of the profile; nothing was "
                "written."));
        else if (ok)
            lines.append(
                QCoreApplication::translate("ProfileSession", "%1 of %2 written items verified.")
                    .arg(verified())
                    .arg(items.size()));
        for (const ItemOutcome &o : items)
            lines.append(o.key + QStringLiteral(": ") + o.text());
        break;
    case Action::None:
        break;
    }
    return lines.join(QLatin1Char('\n'));
}

ProfileSession::Parts ProfileSession::partsOf(Core &core)
{
    return {core.state,         core.link,    core.requests,
            core.paramCommands, core.prompts, [&core](int tab) { core.selectTab(tab); }};
}

ProfileSession::ProfileSession(Parts parts, UserPrompt &prompt, QObject *parent)
    : QObject(parent), m_state(parts.state), m_link(parts.link), m_requests(parts.requests),
      m_paramCommands(parts.paramCommands), m_prompts(parts.prompts),
      m_selectTab(std::move(parts.selectTab)), m_prompt(prompt)
{
    m_stepTimer.setSingleShot(true);
    m_stepTimer.setInterval(20000);
    connect(&m_stepTimer, &QTimer::timeout, this, [this] {
        if (!m_stepOpen)
            return;
        m_stepOpen = false;
        stepEnded(QString(), true);
    });
}

ProfileSession::~ProfileSession()
{
    if (busy())
        m_prompts.releaseMessages();
}

QString ProfileSession::suggestedName(const QString &batteryId, const QDateTime &at)
{
    QString id = batteryId.trimmed();
    id.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    if (id.isEmpty())
        id = QStringLiteral("pack");
    return id + QLatin1Char('_') + at.toString(QStringLiteral("yyyyMMdd-HHmmss")) +
           ProfileFile::suffix;
}

bool ProfileSession::startSave(const QString &path)
{
    if (busy())
        return false;
    m_saveFolder.clear();
    return begin(Action::Save, path);
}

bool ProfileSession::startSaveInFolder(const QString &folder)
{
    if (busy())
        return false;
    m_saveFolder = folder;
    return begin(Action::Save, QString());
}

bool ProfileSession::startCompare(const QString &path)
{
    return begin(Action::Compare, path);
}

bool ProfileSession::startApply(const QString &path, ApplyOptions options)
{
    if (busy())
        return false;
    m_options = options;
    return begin(Action::Apply, path);
}

bool ProfileSession::begin(Action action, const QString &path)
{
    if (busy())
        return false;
    m_action = action;
    m_result = Result();
    m_result.action = action;
    m_result.path = path;
    m_profile = {};
    m_groups.clear();
    m_steps.clear();
    m_next = 0;

    // A profile to compare or apply is checked whole before anything is sent.
    if (action != Action::Save) {
        const ProfileValidator::Result loaded = ProfileFile::load(path);
        if (!loaded.ok()) {
            m_result.error = loaded.message();
            QTimer::singleShot(0, this, [this] { end(); });
            return true;
        }
        m_profile = loaded.profile;
    }
    AppState &s = m_state;
    QString refusal;
    if (!m_link.portOpen())
        refusal = LinkController::openPortFirstText();
    else if (m_link.lineLent())
        refusal = tr("The bus scan has the line; try again when it has finished.");
    else if (s.currentCommand == CommandCode::upgrade)
        refusal = tr("An upgrade is running; try again when it has finished.");
    if (!refusal.isEmpty()) {
        m_result.error = refusal;
        QTimer::singleShot(0, this, [this] { end(); });
        return true;
    }

    m_steps = readSteps();
    m_prompts.catchMessages([this](const QString &text) { onMessage(text); });
    // The live polling goes on from any answer still on its way, so it is
    // paused and given time to fall silent before the first request.
    if (s.currentCommand < CommandCode::pause) {
        QTimer::singleShot(0, this, [this] { settle(settleAttempts); });
    } else {
        QTimer::singleShot(0, this, [this] { runNext(); });
    }
    return true;
}

void ProfileSession::settle(int attempts)
{
    AppState &s = m_state;
    if (s.currentCommand == CommandCode::pause && attempts < settleAttempts) {
        runNext();
        return;
    }
    if (attempts == 0) {
        fail(tr("The live readings did not pause; nothing was sent."));
        return;
    }
    s.currentCommand = CommandCode::pause;
    s.readAllActive = false;
    s.writeAllActive = false;
    m_link.stopSendTimer();
    QTimer::singleShot(m_settleMs, this, [this, attempts] { settle(attempts - 1); });
}

QList<ProfileSession::Step> ProfileSession::readSteps() const
{
    QList<Step> steps{{Step::Kind::Read, CommandCode::firstRowRead, true,
                       readName(CommandCode::firstRowRead), -1}};
    QList<quint8> seen;
    for (const ProfileItem &item : ProfileItems::all()) {
        if (!item.write)
            continue;
        const RequestSpec *read = readFor(*item.write);
        if (!read ||
            (read->code >= CommandCode::firstRowRead && read->code <= CommandCode::lastRowRead) ||
            seen.contains(read->code))
            continue;
        seen.append(read->code);
        steps.append({Step::Kind::Read, read->code, false, readName(read->code), -1});
    }
    return steps;
}

QString ProfileSession::readName(quint8 code)
{
    if (code == CommandCode::firstRowRead)
        return tr("Read All of the parameter page");
    if (code > CommandCode::firstRowRead && code <= CommandCode::lastRowRead)
        return ParamRows::readStatusText(code - CommandCode::firstRowRead);
    if (code >= CommandCode::firstRowWrite && code <= CommandCode::lastRowWrite)
        return ParamRows::writeStatusText(code - CommandCode::firstRowWrite);
    if (code == CommandCode::shortCircuitRead)
        return tr("Read the short-circuit levels");
    if (code == CommandCode::shortCircuitWrite)
        return tr("Write the short-circuit levels");
    if (const int b = buttonOf(code))
        return SystemCommands::statusText(b).trimmed();
    return QString::number(code);
}

void ProfileSession::runNext()
{
    if (!busy())
        return;
    if (m_next >= m_steps.size()) {
        if (m_groups.isEmpty()) {
            readsDone();
        } else {
            m_result.ok = true; // end() weighs what was read back
            end();
        }
        return;
    }
    const Step &step = m_steps.at(m_next);
    emit progress(m_next, int(m_steps.size()), step.name);
    AppState &s = m_state;
    m_stepOpen = true;
    m_caught.clear();
    m_caughtWhileSending = false;
    m_sending = true;
    if (step.readAll) {
        m_paramCommands.readAll();
    } else {
        s.readAllActive = false;
        s.writeAllActive = false;
        m_requests.send(step.code);
    }
    m_sending = false;
    if (m_caughtWhileSending) {
        // Refused before anything went out (a closed port, a value the write
        // cannot carry).
        m_stepOpen = false;
        const QString text = m_caught;
        QTimer::singleShot(0, this, [this, text] { stepEnded(text, false); });
        return;
    }
    m_stepTimer.start();
}

void ProfileSession::onMessage(const QString &text)
{
    if (!m_stepOpen)
        return; // a late message of the live polling; the run reports for itself
    if (m_sending) {
        m_caught = text;
        m_caughtWhileSending = true;
        return;
    }
    m_stepOpen = false;
    m_stepTimer.stop();
    // Went on from outside the dispatcher and the send tick, which still
    // have their own step to finish.
    QTimer::singleShot(0, this, [this, text] { stepEnded(text, false); });
}

void ProfileSession::stepEnded(const QString &text, bool timedOut)
{
    if (!busy() || m_next >= m_steps.size())
        return;
    const Step step = m_steps.at(m_next);
    const QString sendFailed = QCoreApplication::translate("LinkController", "Send failed");
    QString reason;
    if (timedOut)
        reason = tr("no answer");
    else if (text == QLatin1String("7"))
        reason = tr("its answer could not be decoded");
    else if (text == sendFailed)
        reason = tr("the pack did not answer");
    else if (m_caughtWhileSending || text == LinkController::openPortFirstText())
        reason = text;
    AppState &s = m_state;
    if (timedOut) {
        s.currentCommand = CommandCode::pause;
        s.readAllActive = false;
        s.writeAllActive = false;
    }

    if (reason.isEmpty()) {
        if (step.kind == Step::Kind::Write) {
            ++m_result.writesDone;
            for (int i : m_groups.at(step.group).items)
                for (ItemOutcome &o : m_result.items)
                    if (o.key == ProfileItems::all().at(i).key)
                        o.state = ItemOutcome::State::NotReadBack;
        } else if (step.kind == Step::Kind::ReadBack) {
            groupReadBack(step.group);
        }
        ++m_next;
        runNext();
        return;
    }

    m_result.failedStep = step.name;
    const QString what = step.name + QStringLiteral(" (") + reason + QLatin1Char(')');
    if (step.kind == Step::Kind::Read) {
        switch (m_action) {
        case Action::Save:
            fail(QCoreApplication::translate("ProfileSession",
                                             "Reading the pack failed at %1. Nothing was saved.")
                     .arg(what));
            return;
        case Action::Compare:
            fail(QCoreApplication::translate("ProfileSession",
                                             "Reading the pack failed at %1. Nothing was compared.")
                     .arg(what));
            return;
        default:
            fail(QCoreApplication::translate("ProfileSession",
                                             "Reading the pack failed at %1. Nothing was written.")
                     .arg(what));
            return;
        }
    }
    if (step.kind == Step::Kind::Write) {
        for (int i : m_groups.at(step.group).items)
            for (ItemOutcome &o : m_result.items)
                if (o.key == ProfileItems::all().at(i).key)
                    o.state = ItemOutcome::State::Unconfirmed;
    }
    fail(QCoreApplication::translate("ProfileSession",
                                     "The apply stopped at %1: %2 of %3 writes were confirmed. "
                                     "The items below say what was and was not written.")
             .arg(what)
             .arg(m_result.writesDone)
             .arg(m_result.writesPlanned));
}

void ProfileSession::readsDone()
{
    AppState &s = m_state;
    switch (m_action) {
    case Action::Save: {
        ProfileSource source = ProfileSource::fromInfo(s.info);
        // The system reads just made are fresher than the polling's.
        const auto prefer = [&s](QString &field, const QString &control) {
            const QString read = s.system.text(control);
            if (!read.isEmpty())
                field = read;
        };
        prefer(source.projectNumber, SystemField::projectNumber);
        prefer(source.model, SystemField::model);
        prefer(source.batteryId, SystemField::batteryId);
        const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
        if (!m_saveFolder.isEmpty()) {
            if (!QDir().mkpath(m_saveFolder)) {
                fail(tr("Cannot make the folder %1.").arg(m_saveFolder));
                return;
            }
            m_result.path = QDir(m_saveFolder).filePath(suggestedName(source.batteryId, now));
        }
        const QJsonObject json = ProfileCodec::toJson(s.param, s.system, source, now);
        if (const ::Result<void> saved = ProfileFile::save(m_result.path, json); !saved) {
            fail(saved.error().message);
            return;
        }
        m_result.ok = true;
        end();
        return;
    }
    case Action::Compare:
        m_result.comparison = ProfileCompare::compare(s.param, s.system, m_profile);
        m_result.ok = true;
        end();
        return;
    case Action::Apply:
        planApply();
        return;
    case Action::None:
        return;
    }
}

void ProfileSession::planApply()
{
    AppState &s = m_state;
    m_result.comparison = ProfileCompare::compare(s.param, s.system, m_profile);
    QHash<QString, bool> differs;
    for (const ProfileCompare::Row &row : m_result.comparison.rows)
        differs.insert(row.key, row.differs);

    const QList<ProfileItem> &items = ProfileItems::all();
    QHash<const RequestSpec *, int> groupOf;
    int changing = 0;
    int included = 0;
    for (int i = 0; i < items.size(); ++i) {
        const ProfileItem &item = items.at(i);
        if (!item.write || (isIdentity(item) && !m_options.identity))
            continue;
        changing += differs.value(item.key) ? 1 : 0;
        if (!m_options.everything && !differs.value(item.key))
            continue;
        if (!groupOf.contains(item.write)) {
            const RequestSpec *read = readFor(*item.write);
            groupOf.insert(item.write, int(m_groups.size()));
            m_groups.append({item.write, read ? read->code : quint8(0), {}});
        }
        m_groups[groupOf.value(item.write)].items.append(i);
    }
    // A group writes all of its fields, so every item of it is sent.
    for (Group &g : m_groups) {
        g.items.clear();
        for (int i = 0; i < items.size(); ++i)
            if (items.at(i).write == g.write)
                g.items.append(i);
        included += int(g.items.size());
    }
    // The pack's own serial settings: writing them may move the line to another
    // rate, so they go last, after everything else has been written and checked.
    std::stable_partition(m_groups.begin(), m_groups.end(),
                          [](const Group &g) { return g.write->code != CommandCode::serialWrite; });

    if (m_groups.isEmpty()) {
        m_result.ok = true;
        end();
        return;
    }
    const QString question =
        m_options.everything
            ? QCoreApplication::translate("ProfileSession",
                                          "%1 items will be written to the pack; %2 of them "
                                          "change what it holds now. Write them?")
                  .arg(included)
                  .arg(changing)
            : QCoreApplication::translate("ProfileSession",
                                          "Items that will change on the pack: %1. Write them?")
                  .arg(changing);
    if (!m_prompt.question(tr("Apply profile"), question)) {
        m_result.cancelled = true;
        m_result.error = tr("Nothing was written.");
        end();
        return;
    }

    // The pages show what is sent: the file's values, and the pack's own
    // identity unless that is applied too.
    for (const ProfileItem &item : items) {
        if (isIdentity(item) && !m_options.identity)
            continue;
        ProfileCodec::setFormValue(pageOf(m_state, item), item,
                                   ProfileCodec::value(m_profile, item));
    }
    m_steps.clear();
    m_next = 0;
    for (int g = 0; g < m_groups.size(); ++g) {
        const Group &group = m_groups.at(g);
        m_steps.append(
            {Step::Kind::Write, group.write->code, false, readName(group.write->code), g});
        m_steps.append({Step::Kind::ReadBack, group.readCode, false, readName(group.readCode), g});
        for (int i : group.items) {
            const ProfileItem &item = items.at(i);
            ItemOutcome o;
            o.key = item.key;
            o.fileValue = ProfileCodec::displayText(item, ProfileCodec::value(m_profile, item));
            o.unit = item.unit;
            m_result.items.append(o);
        }
    }
    m_result.writesPlanned = int(m_groups.size());
    runNext();
}

void ProfileSession::groupReadBack(int group)
{
    AppState &s = m_state;
    const ProfileCompare::Result now = ProfileCompare::compare(s.param, s.system, m_profile);
    QHash<QString, const ProfileCompare::Row *> rows;
    for (const ProfileCompare::Row &row : now.rows)
        rows.insert(row.key, &row);
    for (int i : m_groups.at(group).items) {
        const QString &key = ProfileItems::all().at(i).key;
        const ProfileCompare::Row *row = rows.value(key);
        for (ItemOutcome &o : m_result.items) {
            if (o.key != key || !row)
                continue;
            o.packValue = row->packValue;
            o.state = row->differs ? ItemOutcome::State::Mismatch : ItemOutcome::State::Verified;
        }
    }
}

void ProfileSession::fail(const QString &error)
{
    m_result.ok = false;
    m_result.error = error;
    end();
}

void ProfileSession::end()
{
    if (!busy())
        return;
    m_stepTimer.stop();
    m_stepOpen = false;
    m_prompts.releaseMessages();
    AppState &s = m_state;
    if (s.currentCommand != CommandCode::upgrade) {
        s.readAllActive = false;
        s.writeAllActive = false;
    }
    // Pages that watch the pack live go on doing so.
    const int tab = s.selectedTab;
    if ((tab == 1 || tab == 2 || tab == 5) && m_link.portOpen())
        m_selectTab(tab);
    if (m_action == Action::Apply && m_result.ok && !m_result.items.isEmpty() &&
        m_result.verified() < m_result.items.size()) {
        m_result.ok = false;
        m_result.error = QCoreApplication::translate("ProfileSession",
                                                     "%1 of %2 written items did not read back as "
                                                     "written.")
                             .arg(m_result.items.size() - m_result.verified())
                             .arg(m_result.items.size());
    }
    const Result result = m_result;
    m_action = Action::None;
    emit finished(result);
}
