#include "base/Form.h"
#include "base/Version.h"
#include "i18n/Language.h"
#include "profiles/ProfileCodec.h"
#include "profiles/ProfileCompare.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileItems.h"
#include "profiles/ProfileValidator.h"
#include "requests/ParamForm.h"
#include "requests/SystemForm.h"
#include "support/ResultCheck.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <functional>

namespace {

using Mutation = std::function<void(QJsonObject &)>;
using Edits = QMap<QString, QString>; // control on either page -> text

// A pack as its two pages show it after every read: distinct values in every
// item, signed and fractional ones among them.
void fillPack(Form &param, Form &system)
{
    using namespace ParamField;
    for (int r = 0; r < rows; ++r) {
        param.setText(cs(5 * r), QString::number(3.5 + r * 0.01));
        param.setText(cs(5 * r + 1), QString::number(1 + r));
        param.setText(cs(5 * r + 2), r == 7 ? QStringLiteral("-10") : QString::number(4.25 + r));
        param.setText(cs(5 * r + 3), QString::number(4.1 + r));
        param.setText(cs(5 * r + 4), QStringLiteral("2.5"));
        param.setCheck(fx(2 * r), r % 2);
        param.setCheck(fx(2 * r + 1), 1 - r % 2);
    }
    param.setText(shortVoltageLevel, QStringLiteral("3"));
    param.setText(shortDelayLevel, QStringLiteral("15"));

    using namespace SystemField;
    const QList<std::pair<QString, QString>> texts = {
        {projectNumber, QStringLiteral("PRJ-0042")},
        {model, QStringLiteral("BMS 16S")},
        {batteryId, QStringLiteral("ID123456")},
        {customText, QStringLiteral("line, \"A\"")},
        {ip, QStringLiteral("192.168.1.7")},
        {ipPort, QStringLiteral("502")},
        {productionDate, QStringLiteral("2021-03-05")},
        {shippingDate, QStringLiteral("2021-04-01")},
        {batch, QStringLiteral("0A1B2C3D")},
        {balanceOpen, QStringLiteral("3.4")},
        {balanceDiff, QStringLiteral("0.03")},
        {balanceClose, QStringLiteral("3.3")},
        {cellNumber, QStringLiteral("16")},
        {lowCellNumber, QStringLiteral("8")},
        {ntcNumber, QStringLiteral("4")},
        {soc, QStringLiteral("55.5")},
        {cycles, QStringLiteral("120")},
        {standardCapacity, QStringLiteral("100")},
        {fullCapacity, QStringLiteral("98.76")},
        {attenuationCycles, QStringLiteral("3000")},
        {samplingResistor, QStringLiteral("0.25")},
        {usart, QStringLiteral("2")},
        {baud, QStringLiteral("115200")},
        {moduleAddress, QStringLiteral("7")},
        {limitMode, QStringLiteral("1")},
        {limitThreshold, QStringLiteral("5")},
        {limitTime, QStringLiteral("30")},
        {preDischargeTime, QStringLiteral("1.5")},
    };
    for (const auto &[control, text] : texts)
        system.setText(control, text);
    system.setCheck(balanceEnable, 1);
    system.setCheck(limitEnable, 1);
    system.setChoice(parity, 2);
    system.setChoice(handshake, 1);
    system.setChoice(customSelection, 2);
    system.setChoice(preDischarge, 1);
    for (int g = 0; g < 3; ++g) {
        system.setCheck(activeEnable(g), g == 1);
        for (int c = 0; c < 5; ++c)
            system.setText(activeValue(g, c),
                           QString::number(c < 4 ? 3.0 + g * 0.1 + c * 0.01 : 10 + g));
    }
}

struct Pages {
    Form param{QStringLiteral("ParamPanel")};
    Form system{QStringLiteral("SystemPanel")};
    Pages()
    {
        defineParamForm(param);
        defineSystemForm(system);
    }
};

QJsonObject savedProfile()
{
    Pages pack;
    fillPack(pack.param, pack.system);
    return ProfileCodec::toJson(pack.param, pack.system, {}, QDateTime::currentDateTime());
}

// Sets a dotted key, creating the objects on the way.
void put(QJsonObject &root, const QStringList &path, const QJsonValue &value)
{
    if (path.size() == 1) {
        root.insert(path.first(), value);
        return;
    }
    QJsonObject inner = root.value(path.first()).toObject();
    put(inner, path.mid(1), value);
    root.insert(path.first(), inner);
}

Mutation setting(const QString &key, const QJsonValue &value)
{
    return [key, value](QJsonObject &o) { put(o, key.split(QLatin1Char('.')), value); };
}

// Everything a page shows, to prove it unchanged.
QStringList snapshot(const Form &form)
{
    QStringList out;
    for (const QString &c : form.controls())
        out << c + QLatin1Char('=') + form.text(c) + QLatin1Char('/') +
                   QString::number(form.kind(c) == Form::Kind::Check    ? form.check(c)
                                   : form.kind(c) == Form::Kind::Choice ? form.choice(c)
                                                                        : 0);
    return out;
}

QByteArray bytesOf(const QJsonObject &o)
{
    return QJsonDocument(o).toJson();
}

} // namespace

class TestProfiles : public QObject {
    Q_OBJECT
private slots:
    void roundTrip();
    void fileErrorsAreReported();
    void fileIsLanguageNeutral_data();
    void fileIsLanguageNeutral();
    void badFiles_data();
    void badFiles();
    void everyBadFieldIsListed();
    void compare_data();
    void compare();
    void compareCsv();
    void documentedExample();
};

void TestProfiles::roundTrip()
{
    Pages first;
    fillPack(first.param, first.system);
    const QJsonObject saved =
        ProfileCodec::toJson(first.param, first.system, {}, QDateTime::currentDateTime());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pack") + ProfileFile::suffix);
    QVERIFY_OK(ProfileFile::save(path, saved));

    Pages second;
    const ProfileValidator::Result opened = ProfileFile::open(path, second.param, second.system);
    QVERIFY2(opened.ok(), qPrintable(opened.message()));
    for (const ProfileItem &item : ProfileItems::all()) {
        const Form &a = item.page == ProfileItem::Page::Param ? first.param : first.system;
        const Form &b = item.page == ProfileItem::Page::Param ? second.param : second.system;
        QCOMPARE(ProfileCodec::formValue(b, item), ProfileCodec::formValue(a, item));
    }
    // The pages show what a read would have shown.
    QCOMPARE(second.param.text(ParamField::cs(37)), QStringLiteral("-10"));
    QCOMPARE(second.system.text(SystemField::batch), QStringLiteral("0A1B2C3D"));
    QCOMPARE(second.system.choice(SystemField::parity), 2);
    QCOMPARE(ProfileCompare::compare(second.param, second.system, opened.profile).differing, 0);
}

void TestProfiles::fileErrorsAreReported()
{
    QTemporaryDir dir;
    const QString nowhere = dir.filePath(QStringLiteral("no such folder/p") + ProfileFile::suffix);
    const Result<void> saved = ProfileFile::save(nowhere, savedProfile());
    QVERIFY(!saved);
    QVERIFY(saved.error().message.contains(nowhere));
    QVERIFY(!QFileInfo::exists(nowhere));

    Pages pages;
    fillPack(pages.param, pages.system);
    const QStringList before = snapshot(pages.param) + snapshot(pages.system);
    const ProfileValidator::Result opened = ProfileFile::open(nowhere, pages.param, pages.system);
    QVERIFY(!opened.ok());
    QVERIFY(opened.message().contains(nowhere));
    QCOMPARE(snapshot(pages.param) + snapshot(pages.system), before);
}

void TestProfiles::fileIsLanguageNeutral_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("expected");
    QTest::newRow("cell_ov protection")
        << "parameters.cell_ov.protection_value" << QJsonValue(4.25);
    QTest::newRow("charge_ot protection")
        << "parameters.charge_ot.protection_value" << QJsonValue(-10);
    QTest::newRow("flag") << "parameters.cell_uv.alarm_enable" << QJsonValue(true);
    QTest::newRow("short circuit") << "parameters.short_circuit.delay_level" << QJsonValue(15);
    QTest::newRow("identity apart") << "identity.project_number" << QJsonValue("PRJ-0042");
    QTest::newRow("date") << "identity.production_date" << QJsonValue("2021-03-05");
    QTest::newRow("grouped") << "system.capacity.full_capacity" << QJsonValue(98.76);
    QTest::newRow("list position") << "system.serial.parity" << QJsonValue(2);
    QTest::newRow("active") << "system.active_balancing_idle.time" << QJsonValue(12);
}

void TestProfiles::fileIsLanguageNeutral()
{
    QFETCH(QString, key);
    QFETCH(QJsonValue, expected);
    const QJsonObject saved = savedProfile();
    const ProfileItem *item = ProfileItems::find(key);
    QVERIFY(item);
    QCOMPARE(ProfileCodec::value(saved, *item), expected);
    QCOMPARE(saved.value(QStringLiteral("schema_version")), QJsonValue(1));
    QCOMPARE(saved.value(QStringLiteral("program")).toObject().value(QStringLiteral("version")),
             QJsonValue(Version::text()));
}

void TestProfiles::badFiles_data()
{
    QTest::addColumn<QByteArray>("raw"); // used when set, else the mutated profile
    QTest::addColumn<Mutation>("mutate");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("count");

    const Mutation none = [](QJsonObject &) {};
    const QByteArray whole = bytesOf(savedProfile());
    QTest::newRow("truncated") << whole.left(whole.size() / 2) << none << QString()
                               << "incomplete or not JSON" << 1;
    QTest::newRow("not an object")
        << QByteArray("[1, 2]") << none << QString() << "does not hold a profile" << 1;
    QTest::newRow("wrong version")
        << QByteArray() << setting("schema_version", 2) << "schema_version"
        << "version 2 is not supported" << 1;
    QTest::newRow("no version") << QByteArray()
                                << Mutation([](QJsonObject &o) { o.remove("schema_version"); })
                                << "schema_version"
                                << "not a profile" << 1;
    QTest::newRow("unknown key") << QByteArray() << setting("parameters.cell_ov.colour", 1)
                                 << "parameters.cell_ov.colour"
                                 << "unknown key" << 1;
    QTest::newRow("unknown section") << QByteArray() << setting("extras.x", true) << "extras.x"
                                     << "unknown key" << 1;
    QTest::newRow("missing item") << QByteArray() << Mutation([](QJsonObject &o) {
        QJsonObject p = o.value("parameters").toObject();
        p.remove("cell_difv");
        o.insert("parameters", p);
    }) << "parameters.cell_difv.alarm_value"
                                  << "missing" << 7; // each of the row's seven columns
    QTest::newRow("word too large")
        << QByteArray() << setting("parameters.cell_ov.protection_value", 70)
        << "parameters.cell_ov.protection_value"
        << "out of range, allowed 0 to 65.535" << 1;
    QTest::newRow("negative voltage")
        << QByteArray() << setting("system.passive_balancing.open_voltage", -1)
        << "system.passive_balancing.open_voltage"
        << "out of range" << 1;
    QTest::newRow("byte too large")
        << QByteArray() << setting("parameters.short_circuit.voltage_level", 300)
        << "parameters.short_circuit.voltage_level"
        << "out of range, allowed 0 to 255" << 1;
    QTest::newRow("number as text")
        << QByteArray() << setting("parameters.cell_ov.protection_value", "4.2")
        << "parameters.cell_ov.protection_value"
        << "must be a number" << 1;
    QTest::newRow("flag as text") << QByteArray()
                                  << setting("parameters.cell_ov.alarm_enable", "yes")
                                  << "parameters.cell_ov.alarm_enable"
                                  << "must be true or false" << 1;
    QTest::newRow("fraction of a choice")
        << QByteArray() << setting("system.serial.parity", 1.5) << "system.serial.parity"
        << "whole number" << 1;
    QTest::newRow("choice beyond list")
        << QByteArray() << setting("system.serial.parity", 5) << "system.serial.parity"
        << "not one of the choices" << 1;
    QTest::newRow("text as number")
        << QByteArray() << setting("identity.battery_id", 5) << "identity.battery_id"
        << "must be text" << 1;
    QTest::newRow("empty project number")
        << QByteArray() << setting("identity.project_number", "") << "identity.project_number"
        << "Parameter cannot be empty" << 1;
    QTest::newRow("text too long")
        << QByteArray() << setting("identity.project_number", QString(25, 'P'))
        << "identity.project_number"
        << "longer than 24 characters" << 1;
    QTest::newRow("unsendable character")
        << QByteArray() << setting("system.product.model", "电池") << "system.product.model"
        << "cannot be sent" << 1;
    QTest::newRow("bad date") << QByteArray() << setting("identity.shipping_date", "2021-02-30")
                              << "identity.shipping_date"
                              << "not a valid date" << 1;
    QTest::newRow("batch not hex")
        << QByteArray() << setting("identity.batch", "0A1G") << "identity.batch"
        << "hexadecimal digits" << 1;
    QTest::newRow("object for a value")
        << QByteArray() << setting("system.counts.cells", QJsonObject{{"n", 1}})
        << "system.counts.cells"
        << "must be a number" << 2; // and "system.counts.cells.n" is unknown
}

void TestProfiles::badFiles()
{
    QFETCH(QByteArray, raw);
    QFETCH(Mutation, mutate);
    QFETCH(QString, key);
    QFETCH(QString, message);
    QFETCH(int, count);

    QByteArray bytes = raw;
    if (bytes.isEmpty()) {
        QJsonObject profile = savedProfile();
        mutate(profile);
        bytes = bytesOf(profile);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad") + ProfileFile::suffix);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    Pages pages;
    fillPack(pages.param, pages.system);
    pages.param.setText(ParamField::cs(0), QStringLiteral("1.111"));
    const QStringList before = snapshot(pages.param) + snapshot(pages.system);

    const ProfileValidator::Result result = ProfileFile::open(path, pages.param, pages.system);
    QVERIFY(!result.ok());
    QVERIFY(result.profile.isEmpty());
    QCOMPARE(result.problems.size(), count);
    const auto named = std::find_if(result.problems.begin(), result.problems.end(),
                                    [&](const auto &p) { return p.key == key; });
    QVERIFY2(named != result.problems.end(), qPrintable(result.message()));
    QVERIFY2(named->message.contains(message), qPrintable(named->message));
    QVERIFY(result.message().contains(key));
    QCOMPARE(snapshot(pages.param) + snapshot(pages.system), before);
}

void TestProfiles::everyBadFieldIsListed()
{
    QJsonObject profile = savedProfile();
    setting("parameters.cell_uv.recovery_value", 99)(profile);
    setting("system.counts.ntc", "four")(profile);
    setting("system.serial.usart", 256)(profile);
    const ProfileValidator::Result result = ProfileValidator::validate(bytesOf(profile));
    QStringList keys;
    for (const auto &p : result.problems)
        keys << p.key;
    QCOMPARE(keys, (QStringList{"parameters.cell_uv.recovery_value", "system.counts.ntc",
                                "system.serial.usart"}));
    const QStringList lines = result.message().split('\n');
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.at(3).startsWith("system.serial.usart: "));

    // The same result in Chinese once the language is switched.
    Language::install(false);
    const ProfileValidator::Result chinese = ProfileValidator::validate(bytesOf(profile));
    const QString firstLine = chinese.message().section('\n', 0, 0);
    Language::install(true);
    QCOMPARE(firstLine, QStringLiteral("配置文件无法使用，未做任何更改："));
    QCOMPARE(chinese.problems.at(1).message, QStringLiteral("必须是数字"));
}

void TestProfiles::compare_data()
{
    QTest::addColumn<Edits>("packEdits");
    QTest::addColumn<QStringList>("differing");

    QTest::newRow("same pack") << Edits{} << QStringList{};
    QTest::newRow("same value written differently")
        << Edits{{ParamField::cs(2), "4.250"}, {SystemField::baud, "115200.0"}} << QStringList{};
    QTest::newRow("below the BMS's resolution")
        << Edits{{ParamField::cs(2), "4.2501"}} << QStringList{};
    QTest::newRow("one step of the BMS") << Edits{{ParamField::cs(2), "4.251"}}
                                         << QStringList{"parameters.cell_ov.protection_value"};
    QTest::newRow("three items") << Edits{{ParamField::cs(84), "9"},
                                          {SystemField::ip, "10.0.0.1"},
                                          {ParamField::shortDelayLevel, "14"}}
                                 << QStringList{"parameters.cell_difv.protection_delay",
                                                "parameters.short_circuit.delay_level",
                                                "system.product.ip"};
    QTest::newRow("not read") << Edits{{SystemField::cycles, ""}}
                              << QStringList{"system.capacity.cycles"};
}

void TestProfiles::compare()
{
    QFETCH(Edits, packEdits);
    QFETCH(QStringList, differing);

    const QJsonObject profile = savedProfile();
    Pages pack;
    fillPack(pack.param, pack.system);
    for (auto it = packEdits.begin(); it != packEdits.end(); ++it)
        (pack.param.has(it.key()) ? pack.param : pack.system).setText(it.key(), it.value());
    pack.system.setCheck(SystemField::activeEnable(2), differing.isEmpty() ? 0 : 1);
    if (!differing.isEmpty())
        differing.append("system.active_balancing_idle.enable");

    const ProfileCompare::Result result = ProfileCompare::compare(pack.param, pack.system, profile);
    QCOMPARE(result.differing, differing.size());
    QCOMPARE(result.rows.size(), ProfileItems::all().size());
    QStringList first;
    for (int i = 0; i < result.differing; ++i) {
        QVERIFY(result.rows.at(i).differs);
        first << result.rows.at(i).key;
    }
    for (int i = result.differing; i < result.rows.size(); ++i)
        QVERIFY(!result.rows.at(i).differs);
    first.sort();
    differing.sort();
    QCOMPARE(first, differing);
}

void TestProfiles::compareCsv()
{
    const QJsonObject profile = savedProfile();
    Pages pack;
    fillPack(pack.param, pack.system);
    pack.param.setText(ParamField::cs(2), QStringLiteral("4.3"));
    const QString csv = ProfileCompare::compare(pack.param, pack.system, profile).csv();
    const QStringList lines = csv.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), ProfileItems::all().size() + 1);
    QCOMPARE(lines.at(0), QStringLiteral("Item,Value in the pack,Value in the file,Unit,Differs"));
    QCOMPARE(lines.at(1), QStringLiteral("parameters.cell_ov.protection_value,4.3,4.25,V,yes"));
    // A text with a comma and quotes stays one cell.
    QVERIFY(lines.contains(
        QStringLiteral("system.product.custom,\"line, \"\"A\"\"\",\"line, \"\"A\"\"\",,no")));
}

void TestProfiles::documentedExample()
{
    QFile doc(QStringLiteral(CELLVANE_SOURCE_DIR "/docs/profile-format.md"));
    QVERIFY(doc.open(QIODevice::ReadOnly));
    const QByteArray text = doc.readAll();
    const QByteArray open = "```json\n";
    const qsizetype start = text.indexOf(open);
    QVERIFY(start >= 0);
    const qsizetype end = text.indexOf("```", start + open.size());
    QVERIFY(end > start);
    const QByteArray example = text.mid(start + open.size(), end - start - open.size());

    const ProfileValidator::Result result = ProfileValidator::validate(example);
    QVERIFY2(result.ok(), qPrintable(result.message()));

    // The example is what the program itself writes from pages holding it.
    Pages pages;
    ProfileCodec::fillForms(result.profile, pages.param, pages.system);
    const QJsonObject source = result.profile.value(QStringLiteral("source")).toObject();
    const ProfileSource from{source.value(QStringLiteral("project_number")).toString(),
                             source.value(QStringLiteral("model")).toString(),
                             source.value(QStringLiteral("battery_id")).toString(),
                             source.value(QStringLiteral("software_version")).toString(),
                             source.value(QStringLiteral("hardware_version")).toString()};
    const QDateTime savedAt = QDateTime::fromString(
        result.profile.value(QStringLiteral("saved_at")).toString(), Qt::ISODate);
    QJsonObject written = ProfileCodec::toJson(pages.param, pages.system, from, savedAt);
    // Only the version of the program that saved it may differ.
    written.insert(QStringLiteral("program"), result.profile.value(QStringLiteral("program")));
    QCOMPARE(written, result.profile);
}

QTEST_GUILESS_MAIN(TestProfiles)
#include "tst_profiles.moc"
