// Profiles saved from, compared with and applied to simulated packs on
// pseudo-terminals, through the real serial line, request builder and
// dispatcher.
#include "profiles/ProfileSim.h"
#include "support/RecordingPrompt.h"

#include "sim/SimProcess.h"
#include "sim/SimTestSupport.h"

#include "link/Frame.h"
#include "link/LinkForm.h"
#include "link/SerialPortIo.h"
#include "profiles/ProfileCodec.h"
#include "profiles/ProfileItems.h"
#include "profiles/ProfileSession.h"
#include "profiles/ProfileValidator.h"
#include "shell/Core.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <memory>
#include <optional>

namespace {

using ProfileSim::Sim;
using ProfileSim::waitUntil;

// The serial line, with every frame the program writes kept.
class TapPort : public SerialPortIo {
public:
    qint64 write(const QByteArray &bytes) override
    {
        writes.append(bytes);
        if (beforeWrite)
            beforeWrite(bytes);
        return SerialPortIo::write(bytes);
    }
    QList<QByteArray> writeFrames() const
    {
        QList<QByteArray> frames;
        for (const QByteArray &w : writes)
            if (w.size() > Frame::overhead && quint8(w[3]) == 1)
                frames.append(w);
        return frames;
    }
    QList<QByteArray> writes;
    std::function<void(const QByteArray &)> beforeWrite;
};

// The report's lines for items that did not read back as written.
QString unverified(const ProfileSession::Result &result)
{
    QStringList lines{result.error};
    for (const auto &o : result.items)
        if (o.state != ProfileSession::ItemOutcome::State::Verified)
            lines << o.key + QStringLiteral(": ") + o.text();
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestProfileSessionSim : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void saveWritesEveryItemOfThePack();
    void compareFindsExactlyTheChangedItems();
    void badFilesSendNothing_data();
    void badFilesSendNothing();
    void applyWritesThePacksBytesToAnother();
    void identityOnlyWhenTicked();
    void packFallingSilentMidway();
    void cleanupTestCase();

private:
    void connectTo(int number);
    ProfileSession::Result run(const std::function<bool(ProfileSession &)> &start);
    QJsonObject savedProfile() const;
    QString writeFile(const QString &name, const QByteArray &bytes) const;

    QTemporaryDir m_dir;
    std::unique_ptr<Sim> m_a;
    std::unique_ptr<Sim> m_b;
    RecordingPrompt m_prompt;
    TapPort *m_port = nullptr;
    std::unique_ptr<Core> m_core;
    QString m_saved;
};

void TestProfileSessionSim::initTestCase()
{
    // Two packs set up differently: cells, sensors, capacity, identity.
    m_a = std::make_unique<Sim>(97, QStringList{"--seed", "3"});
    m_b = std::make_unique<Sim>(98, QStringList{"--seed", "11", "--cells", "12", "--ntc", "2",
                                                "--capacity", "60", "--soc", "40"});
    QTRY_VERIFY_WITH_TIMEOUT(m_a->ready() && m_b->ready(), 10000);
    m_port = new TapPort;
    m_core = std::make_unique<Core>(m_prompt, std::unique_ptr<PortIo>(m_port));
    m_core->state.setEnglishUi(true);
    m_core->selectTab(3); // the parameter page: no live polling
    m_saved = m_dir.filePath("a.cvprofile.json");
}

void TestProfileSessionSim::cleanupTestCase()
{
    m_core->shutdown();
    m_core.reset();
}

void TestProfileSessionSim::connectTo(int number)
{
    Core &core = *m_core;
    if (core.link.portOpen())
        core.link.toggleOpen();
    core.state.link.setEntries(LinkField::port, {QStringLiteral("COM%1").arg(number)}, 0);
    core.link.buildPortSettings();
    core.link.toggleOpen();
    QVERIFY2(core.link.portOpen(), qPrintable(m_prompt.texts().join(" | ")));
}

ProfileSession::Result
TestProfileSessionSim::run(const std::function<bool(ProfileSession &)> &start)
{
    ProfileSession session(ProfileSession::partsOf(*m_core), m_prompt);
    session.setStepTimeout(15000);
    std::optional<ProfileSession::Result> result;
    connect(&session, &ProfileSession::finished, this,
            [&](const ProfileSession::Result &r) { result = r; });
    m_prompt.clear();
    if (!start(session))
        return {};
    waitUntil([&] { return result.has_value(); }, 90000);
    return result.value_or(ProfileSession::Result{});
}

QJsonObject TestProfileSessionSim::savedProfile() const
{
    QFile f(m_saved);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

QString TestProfileSessionSim::writeFile(const QString &name, const QByteArray &bytes) const
{
    const QString path = m_dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return {};
    return path;
}

void TestProfileSessionSim::saveWritesEveryItemOfThePack()
{
    connectTo(97);
    // Saved from the information page while it polls the pack live: the
    // polling's answers still on their way must not take over the reads.
    m_core->selectTab(2);
    QTest::qWait(300);
    const auto result = run([&](ProfileSession &s) { return s.startSave(m_saved); });
    QVERIFY2(result.ok, qPrintable(result.report()));
    // The session's own messages are the only ones: no box per exchange.
    QVERIFY2(m_prompt.messages.isEmpty(), qPrintable(m_prompt.texts().join(" | ")));
    const QJsonObject profile = savedProfile();
    const ProfileValidator::Result valid = ProfileValidator::validate(profile);
    QVERIFY2(valid.ok(), qPrintable(valid.message()));
    QCOMPARE(profile.value("system").toObject().value("counts").toObject().value("cells"), 16);
    QVERIFY(!profile.value("source").toObject().value("battery_id").toString().isEmpty());
    // The live page goes on polling afterwards.
    const qsizetype sent = m_port->writes.size();
    QTRY_VERIFY_WITH_TIMEOUT(m_port->writes.size() > sent + 3, 5000);
    m_core->selectTab(3);
    QTest::qWait(700);
}

void TestProfileSessionSim::compareFindsExactlyTheChangedItems()
{
    QJsonObject profile = savedProfile();
    QVERIFY(!profile.isEmpty());
    const auto edit = [&profile](const QStringList &path, const QJsonValue &v) {
        QJsonObject a = profile.value(path[0]).toObject();
        QJsonObject b = a.value(path[1]).toObject();
        if (path.size() == 3) {
            b.insert(path[2], v);
            a.insert(path[1], b);
        } else {
            a.insert(path[1], v);
        }
        profile.insert(path[0], a);
    };
    const QJsonObject &read = profile;
    const double ov = read["parameters"]["cell_ov"]["protection_value"].toDouble();
    edit({"parameters", "cell_ov", "protection_value"}, ov - 0.05);
    edit({"parameters", "charge_ot", "alarm_enable"},
         !read["parameters"]["charge_ot"]["alarm_enable"].toBool());
    edit({"system", "counts", "ntc"}, 3);
    // The same value written another way is no difference.
    edit({"system", "capacity", "standard_capacity"},
         read["system"]["capacity"]["standard_capacity"].toDouble() + 0.001);
    const QString path = writeFile("changed.cvprofile.json", QJsonDocument(profile).toJson());

    connectTo(97);
    const auto result = run([&](ProfileSession &s) { return s.startCompare(path); });
    QVERIFY2(result.ok, qPrintable(result.report()));
    QStringList differing;
    for (const auto &row : result.comparison.rows)
        if (row.differs)
            differing << row.key;
    QCOMPARE(differing, (QStringList{"parameters.cell_ov.protection_value",
                                     "parameters.charge_ot.alarm_enable", "system.counts.ntc"}));
    QCOMPARE(result.comparison.differing, 3);
}

void TestProfileSessionSim::badFilesSendNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("named");
    const QJsonObject good = savedProfile();
    const auto changed = [&good](const std::function<void(QJsonObject &)> &f) {
        QJsonObject p = good;
        f(p);
        return QJsonDocument(p).toJson();
    };
    const auto inRow = [](QJsonObject &p, const char *key, const QJsonValue &v) {
        QJsonObject params = p["parameters"].toObject();
        QJsonObject row = params["cell_uv"].toObject();
        row.insert(key, v);
        params.insert("cell_uv", row);
        p.insert("parameters", params);
    };
    QTest::newRow("wrong version")
        << changed([](QJsonObject &p) { p.insert("schema_version", 99); })
        << QStringLiteral("version 99");
    QTest::newRow("unknown key") << changed([&](QJsonObject &p) {
        inRow(p, "protection_value2", 3.0);
    }) << QStringLiteral("parameters.cell_uv.protection_value2");
    QTest::newRow("value beyond the wire format")
        << changed([&](QJsonObject &p) { inRow(p, "recovery_value", 1e6); })
        << QStringLiteral("parameters.cell_uv.recovery_value");
    QTest::newRow("wrong type") << changed([&](QJsonObject &p) { inRow(p, "alarm_delay", "5"); })
                                << QStringLiteral("parameters.cell_uv.alarm_delay");
    const QByteArray whole = QJsonDocument(good).toJson();
    QTest::newRow("truncated JSON") << whole.left(whole.size() / 2) << QStringLiteral("JSON");
}

void TestProfileSessionSim::badFilesSendNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, named);
    connectTo(98);
    const QString path = writeFile("bad.cvprofile.json", bytes);
    const qsizetype sent = m_port->writes.size();
    const auto result = run([&](ProfileSession &s) { return s.startApply(path, {true, true}); });
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(named), qPrintable(result.error));
    QVERIFY(result.items.isEmpty());
    QVERIFY(m_prompt.questions.isEmpty());
    QCOMPARE(m_port->writes.size(), sent);
}

void TestProfileSessionSim::applyWritesThePacksBytesToAnother()
{
    // What pack A holds, item by item, straight from its line.
    QHash<int, QByteArray> held;
    {
        if (m_core->link.portOpen())
            m_core->link.toggleOpen();
        SimTest::Host host;
        QVERIFY(host.open(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) +
                          "/cellvane/ports/com97"));
        // The serial settings of the USART the profile names.
        const QJsonObject saved = savedProfile();
        const int usart = saved["system"]["serial"]["usart"].toInt();
        for (const SimTest::ReadItem &item : SimTest::readItems()) {
            QByteArray data;
            const QByteArray request =
                item.item == 20 ? QByteArray(1, char(usart)) : item.requestData;
            const QByteArray reply = host.exchange(SimTest::request(0, item.item, request));
            if (SimTest::checkReply(reply, 0, item.item, &data).isEmpty())
                held.insert(item.item, data);
        }
    }

    connectTo(98);
    m_port->writes.clear();
    const auto result = run([&](ProfileSession &s) {
        return s.startApply(m_saved, {/*identity*/ true, /*everything*/ true});
    });
    QVERIFY2(result.ok, qPrintable(unverified(result)));
    QCOMPARE(m_prompt.questions.size(), 1);
    QCOMPARE(result.verified(), int(ProfileItems::all().size()));

    // Every write carries exactly the bytes pack A answered with.
    const QList<QByteArray> frames = m_port->writeFrames();
    QCOMPARE(frames.size(), result.writesPlanned);
    QSet<int> items;
    for (const QByteArray &frame : frames) {
        const int item = quint8(frame[4]);
        items.insert(item);
        QVERIFY2(held.contains(item), qPrintable(QString::number(item)));
        QCOMPARE(frame.mid(Frame::dataOffset, Frame::dataLength(frame)).toHex(' '),
                 held.value(item).toHex(' '));
    }
    // Three identity writes, the 17 rows, the short-circuit levels and 13
    // system writes; no clock, no calibration.
    QCOMPARE(items.size(), 3 + 17 + 1 + 13);
    QVERIFY(!items.contains(18) && !items.contains(14) && !items.contains(15));

    // Afterwards the second pack holds the profile: nothing left to write.
    m_port->writes.clear();
    const auto again = run([&](ProfileSession &s) { return s.startCompare(m_saved); });
    QVERIFY2(again.ok, qPrintable(again.report()));
    QCOMPARE(again.comparison.differing, 0);
    QVERIFY(m_port->writeFrames().isEmpty());
}

void TestProfileSessionSim::identityOnlyWhenTicked()
{
    // Pack B holds the saved profile now; the file gets another battery ID and
    // another cell over-voltage alarm.
    QJsonObject profile = savedProfile();
    QJsonObject identity = profile["identity"].toObject();
    identity.insert("battery_id", "OTHER-PACK-7");
    profile.insert("identity", identity);
    QJsonObject params = profile["parameters"].toObject();
    QJsonObject row = params["cell_ov"].toObject();
    row.insert("alarm_value", row["alarm_value"].toDouble() - 0.1);
    params.insert("cell_ov", row);
    profile.insert("parameters", params);
    const QString path = writeFile("other.cvprofile.json", QJsonDocument(profile).toJson());

    connectTo(98);
    m_port->writes.clear();
    const auto result = run([&](ProfileSession &s) { return s.startApply(path, {false, false}); });
    QVERIFY2(result.ok, qPrintable(unverified(result)));
    QVERIFY2(m_prompt.questions.value(0).text.contains(": 1."),
             qPrintable(m_prompt.questions.value(0).text));
    const QList<QByteArray> frames = m_port->writeFrames();
    QCOMPARE(frames.size(), 1);
    QCOMPARE(quint8(frames[0][4]), quint8(40)); // the cell over-voltage row
    QCOMPARE(result.items.size(), 7);

    const auto after = run([&](ProfileSession &s) { return s.startCompare(path); });
    QCOMPARE(after.comparison.differing, 1);
    QCOMPARE(after.comparison.rows[0].key, QStringLiteral("identity.battery_id"));
}

void TestProfileSessionSim::packFallingSilentMidway()
{
    connectTo(98);
    m_port->writes.clear();
    int writes = 0;
    m_port->beforeWrite = [&](const QByteArray &frame) {
        // The pack stops before it hears the fifth write.
        if (quint8(frame[3]) == 1 && ++writes == 5)
            m_b->pause();
    };
    const auto result = run([&](ProfileSession &s) { return s.startApply(m_saved, {true, true}); });
    m_port->beforeWrite = nullptr;
    m_b->resume();

    QVERIFY(!result.ok);
    QCOMPARE(result.writesDone, 4);
    QVERIFY2(result.error.contains("4 of"), qPrintable(result.error));
    using State = ProfileSession::ItemOutcome::State;
    QMap<State, int> count;
    for (const auto &o : result.items)
        ++count[o.state];
    // Four writes verified (project number, battery ID, the dates with the
    // batch, the first row), the fifth not confirmed, the rest never sent.
    QCOMPARE(count.value(State::Verified), 1 + 1 + 3 + 7);
    QCOMPARE(count.value(State::Unconfirmed), 7);
    QVERIFY(count.value(State::Unconfirmed) > 0);
    QVERIFY(count.value(State::NotWritten) > 0);
    QCOMPARE(count.value(State::Verified) + count.value(State::Unconfirmed) +
                 count.value(State::NotWritten),
             int(result.items.size()));
    // The fifth is sent again by the link until it gives up; nothing after it.
    const QList<QByteArray> frames = m_port->writeFrames();
    QVERIFY(frames.size() > 5);
    for (qsizetype i = 4; i < frames.size(); ++i)
        QCOMPARE(frames[i].toHex(), frames[4].toHex());
    QVERIFY(result.report().contains(QStringLiteral("not written")));
}

QTEST_GUILESS_MAIN(TestProfileSessionSim)
#include "tst_profile_session_sim.moc"
