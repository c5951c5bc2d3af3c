// The simulated switch as the dialogs, the monitors and the front panel
// meet it, each case through Net-SNMP's tools and through the module's
// request engine: the clock, live counters, refused sets, follow-ups, LED
// faults, the benchmark seed and the resets.
#include "support/AgentProcess.h"
#include "support/ExceptionCode.h"

#include "errors/KtException.h"
#include "mib/KtMibData.h"
#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPSession.h"
#include "values/KtDateTime.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <QtTest>

#include <memory>

namespace {

const QString Clock = "1.3.6.1.4.1.32473.12.10.2.0";
const QString IpIf = "1.3.6.1.4.1.32473.11.69.1.3.2.1.1.1.";
const QString Aggregator = "1.3.6.1.4.1.32473.12.4.1.1.1.1";

// An engine request for variables given by OID and type: one instance
// (instance suffix) or, with indexCount > 0, a table walk.
std::unique_ptr<KtSNMPRequest> request(quint16 port, const QList<QPair<QString, quint32>> &vars,
                                       const QString &suffix = {}, quint8 kind = KtKind::MVT_SV, int indexCount = 0)
{
    KtSNMPVarList list;
    for (const auto &[oid, type] : vars)
        list.AppendVar(oid, QString(), type, oid == " " ? KtAccess::NotAccess : KtAccess::ReadWrite);
    list.Kind = kind;
    list.IndexCount = indexCount;
    auto r = std::make_unique<KtSNMPRequest>(list);
    r->Vars.Suffix = suffix;   // a copied list starts without one
    r->Host = QStringLiteral("127.0.0.1");
    r->AgentPort = port;
    r->Version = 1;
    r->ReadCommunity = QStringLiteral("cobalt");
    r->WriteCommunity = QStringLiteral("lantern");
    r->Timeout = 300;
    return r;
}

int storeCode(KtSNMPRequest &r, const QString &value)
{
    r.Vars.Get(0).Value = value;
    return codeOf([&] { r.Store(); });
}

// Column 0 -> column 1 of every row of a table walk.
QMap<QString, QString> walk(KtSNMPRequest &r)
{
    QMap<QString, QString> rows;
    for (bool more = r.Fetch(true); more; more = r.Fetch(false))
        rows.insert(r.Vars.Get(0).Value, r.Vars.Get(1).Value);
    return rows;
}

} // namespace

class TestAgentDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void clockRoundTrip();
    void monitoredCountersAdvance();
    void refusedSets_data();
    void refusedSets();
    void newInterfaceAndMemberAreCompleted();
    void ledFaultModes_data();
    void ledFaultModes();
    void benchmarkSeedServesItsTable();
    void resets_data();
    void resets();   // last: it restarts the shared agent

private:
    AgentProcess m_agent;
    QTemporaryDir m_folder;
};

void TestAgentDevice::initTestCase()
{
    QVERIFY(m_agent.start());  // a failed start shows the agent's log
    // The engine's session sets a client configuration path that agents started later inherit.
    KtSNMPSession::StartSession(m_folder.path());
}

void TestAgentDevice::cleanupTestCase()
{
    KtSNMPSession::StopSession();
    m_agent.stop();
}

void TestAgentDevice::clockRoundTrip()
{
    // 2007-05-26 15:30:10 UTC+2 from the tools, read as the time dialog reads it.
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(m_agent.v2("snmpset", {Clock, "x", "07D7051A0F1E0A002B0200"}, "lantern").exitCode, 0);
    auto r = request(m_agent.port(), {{Clock.chopped(2), KtType::DateTime}}, "0");
    r->Fetch(true);
    const qint64 since = clock.elapsed() / 1000 + 1;   // whole seconds the clock may have run on since the set
    KtDateTime t(r->Vars.Get(0).Value);
    QCOMPARE(QString::asprintf("%u-%u-%u %u:%u %c%u:%u", t.year, t.month, t.day, t.hour, t.minutes, t.direction,
                               t.zoneHours, t.zoneMinutes), QString("2007-5-26 15:30 +2:0"));
    QVERIFY2(t.seconds >= 10 && t.seconds <= 10 + since,   // it runs on
             qPrintable(QString("%1 s, %2 s since the set").arg(t.seconds).arg(since)));
    QCOMPARE(m_agent.value("1.3.6.1.4.1.32473.12.10.10.4.0"), QString("120"));   // the Time Zone follows
    // Eight octets set the time in the clock's zone; the engine's 11 set the zone too.
    QCOMPARE(m_agent.v2("snmpset", {Clock, "x", "07D8010203040500"}, "lantern").exitCode, 0);
    QCOMPARE(m_agent.octets(Clock).mid(8).toHex(), QByteArray("2b0200"));
    QCOMPARE(storeCode(*r, "2007-5-26,15:30:10.0,-5:30"), 0);
    QCOMPARE(m_agent.octets(Clock).mid(8).toHex(), QByteArray("2d051e"));
}

void TestAgentDevice::monitoredCountersAdvance()
{
    QStringList oids;   // what the IP, UDP, SNMP and interface monitors poll; ICMP below
    for (int arc : {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 18, 19, 23})
        oids << QStringLiteral("1.3.6.1.2.1.4.%1.0").arg(arc);
    for (int arc = 1; arc <= 4; ++arc)
        oids << QStringLiteral("1.3.6.1.2.1.7.%1.0").arg(arc);
    for (int arc = 1; arc <= 29; ++arc)
        if (arc != 7 && arc != 23)
            oids << QStringLiteral("1.3.6.1.2.1.11.%1.0").arg(arc);
    for (int ifIndex : {5120, 2})
        for (int col = 10; col <= 20; ++col)
            oids << QStringLiteral("1.3.6.1.2.1.2.2.1.%1.%2").arg(col).arg(ifIndex);
    oids << "1.3.6.1.2.1.17.4.4.1.5.2";   // a bridge port's discards
    // The ICMP monitor reads its group as one row through the engine.
    QList<QPair<QString, quint32>> icmp;
    for (int arc = 1; arc <= 26; ++arc)
        icmp.append({QStringLiteral("1.3.6.1.2.1.5.%1").arg(arc), KtType::Counter});
    auto monitor = request(m_agent.port(), icmp, {}, KtKind::MVT_FMV);
    auto poll = [&] {
        QList<quint64> v;
        for (const QString &line : m_agent.v2("snmpget", QStringList{"-Oqv"} + oids).out.split('\n', Qt::SkipEmptyParts))
            v << line.trimmed().toULongLong();
        if (monitor->Fetch(true))
            for (int i = 0; i < 26; ++i)
                v << monitor->Vars.Get(i).Value.toULongLong();
        return v;
    };
    const QList<quint64> first = poll();
    // 1.2 s of the agent's own time later: every counter moves by more than one a second.
    const qint64 up = m_agent.uptime();
    QTRY_VERIFY_WITH_TIMEOUT(m_agent.uptime() - up >= 120, 20000);
    const QList<quint64> second = poll();
    QCOMPARE(first.size(), oids.size() + 26);
    QCOMPARE(second.size(), first.size());
    for (int i = 0; i < first.size(); ++i)
        QVERIFY2(second[i] > first[i], qPrintable(i < oids.size() ? oids[i] : "engine ICMP " + QString::number(i)));
    // icmpInMsgs and icmpOutMsgs hold at least their kinds.
    const qsizetype at = oids.size();
    quint64 in = 0, out = 0;
    for (int k = 1; k <= 12; ++k) {
        in += second[at + k];
        out += second[at + 13 + k];
    }
    QVERIFY(second[at] >= in);
    QVERIFY(second[at + 13] >= out);
}

void TestAgentDevice::refusedSets_data()
{
    QTest::addColumn<QString>("oid");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("toolValue");   // "x ..." hex, "i ..." integer, "s ..." text
    QTest::addColumn<QString>("engineValue");
    QTest::addColumn<QString>("reason");
    const QString stp = "1.3.6.1.4.1.32473.12.15.1.";
    const int dt = KtType::DateTime, integer = KtType::Integer;
    const QString clock = Clock.chopped(2);
    QTest::newRow("clock of 9 octets") << clock << "0" << dt << "x 07D7051A0F1E0F002B" << "" << "wrongLength";
    QTest::newRow("clock in month 13") << clock << "0" << dt << "x 07D70D1A0F1E0F00" << "2007-13-26,15:30:10.0" << "wrongValue";
    QTest::newRow("max age out of range") << stp + "3" << "0" << integer << "i 4001" << "599" << "wrongValue";
    QTest::newRow("forward delay against max age") << stp + "5" << "0" << integer << "i 1000" << "1000" << "wrongValue";
    QTest::newRow("System interface destroyed") << IpIf + "8" << "10.90.90.90" << integer << "i 6" << "6" << "inconsistentValue";
    QTest::newRow("md5 key of 17") << "1.3.6.1.4.1.32473.11.69.1.3.4.1.2" << "1" << int(KtType::DisplayStr)
                                   << "s 0123456789abcdefg" << "0123456789ABCDEFG" << "wrongLength";
}

void TestAgentDevice::refusedSets()
{
    QFETCH(QString, oid);
    QFETCH(QString, suffix);
    QFETCH(int, type);
    QFETCH(QString, toolValue);
    QFETCH(QString, engineValue);
    QFETCH(QString, reason);
    const QString instance = oid + "." + suffix;
    const QString before = m_agent.value(instance);
    auto r = m_agent.v2("snmpset", QStringList{instance} + toolValue.split(' '), "lantern");
    QVERIFY(r.exitCode != 0);
    const QString all = r.out + r.err;
    QVERIFY2(all.contains("Reason: " + reason + " ") && all.contains("Failed object: ." + instance), qPrintable(all));
    if (!engineValue.isEmpty()) {
        static const QMap<QString, int> codes = {{"wrongLength", -108}, {"wrongValue", -110}, {"inconsistentValue", -112}};
        QCOMPARE(storeCode(*request(m_agent.port(), {{oid, quint32(type)}}, suffix), engineValue), codes.value(reason));
    }
    if (instance != Clock)   // the clock runs on
        QCOMPARE(m_agent.value(instance), before);
}

void TestAgentDevice::newInterfaceAndMemberAreCompleted()
{
    auto r = m_agent.v2("snmpset", {IpIf + "3.172.16.0.1", "s", "ipif4", IpIf + "4.172.16.0.1", "a", "255.255.0.0",
                                    IpIf + "5.172.16.0.1", "s", "v4", IpIf + "8.172.16.0.1", "i", "4"}, "lantern");
    QCOMPARE(r.exitCode, 0);
    // The IP interface dialog's table and ipAddrTable agree, the new interface included.
    auto ipIf = request(m_agent.port(), {{" ", KtType::IpAddress}, {IpIf + "2", KtType::Integer}}, {}, KtKind::MVT_UMV, 1);
    auto ipAddr = request(m_agent.port(), {{"1.3.6.1.2.1.4.20.1.1", KtType::IpAddress}, {"1.3.6.1.2.1.4.20.1.2", KtType::Integer}},
                          {}, KtKind::MVT_UMV, 1);
    const QMap<QString, QString> interfaces = walk(*ipIf);
    QCOMPARE(interfaces.size(), 4);
    QCOMPARE(interfaces.value("10.90.90.90"), QString("5120"));
    QCOMPARE(interfaces.value("172.16.0.1"), QString("5123"));
    QCOMPARE(walk(*ipAddr), interfaces);
    const QString ms = "1.3.6.1.4.1.32473.12.8.1.3.1.";
    QCOMPARE(m_agent.v2("snmpset", {ms + "8.5", "i", "5", ms + "9.5", "s", "pw", ms + "10.5", "i", "4"}, "lantern").exitCode, 0);
    QCOMPARE(m_agent.value(ms + "2.5"), QString("\"QSX-4810-MS5\""));
    QCOMPARE(m_agent.value(ms + "7.5"), QString("100"));
}

void TestAgentDevice::ledFaultModes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("length");   // octets served
    QTest::addColumn<int>("shown");    // octets before the first zero, as the LED decode counts them
    QTest::addColumn<int>("statusOne");   // a port whose status octet is 1, -1 for none
    QTest::newRow("healthy") << "" << 59 << 59 << -1;
    QTest::newRow("status octet 1") << "status1:4" << 59 << 59 << 4;
    QTest::newRow("zero octet") << "zero-at:10" << 59 << 10 << -1;
    QTest::newRow("short value") << "short:30" << 30 << 30 << -1;
}

void TestAgentDevice::ledFaultModes()
{
    QFETCH(QString, mode);
    QFETCH(int, length);
    QFETCH(int, shown);
    QFETCH(int, statusOne);
    AgentProcess agent;
    QVERIFY(agent.start(mode.isEmpty() ? QStringList{} : QStringList{"--led-fault", mode}));
    const QString leds = "1.3.6.1.4.1.32473.12.11.1.9.4.1.5";
    QCOMPARE(agent.octets(leds + ".1").size(), length);
    auto r = request(agent.port(), {{leds, KtType::DisplayStr}}, "1");
    r->Fetch(true);
    const QString text = r->Vars.Get(0).Value.section(QChar(0), 0, 0);
    QCOMPARE(int(text.size()), shown);
    QVERIFY(statusOne < 0 || text.at(1 + 2 * statusOne) == QChar(1));
    // A bad mode stops the agent with a message.
    QProcess bad;
    bad.start(AgentProcess::executable(), {"--led-fault", mode.isEmpty() ? "blink" : mode + "9"});
    QVERIFY(bad.waitForFinished(30000));
    QCOMPARE(bad.exitCode(), 2);
    QVERIFY(bad.readAllStandardError().contains("--led-fault"));
}

void TestAgentDevice::benchmarkSeedServesItsTable()
{
    AgentProcess agent;
    QVERIFY(agent.start({"--seed", QSX_AGENT_BENCH_SEED}));
    QVERIFY(!agent.value(Aggregator + ".11.1000").isEmpty());
    // The table panel's walk: one row per exchange, the index and ten columns.
    auto r = request(agent.port(), {});
    r->Vars = KtSNMPVarList(*KtMibData::Instance().FindTable(QStringLiteral("AggregatorTable")), KtKind::MVT_UMV, 1);
    QCOMPARE(r->Vars.Count(), 11);
    int rows = 0;
    for (bool more = r->Fetch(true); more; more = r->Fetch(false))
        rows += r->Vars.Get(0).Value == QString::number(rows + 1) && !r->Vars.Get(10).Value.isEmpty() ? 1 : 0;
    QCOMPARE(rows, 1000);
}

void TestAgentDevice::resets_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("readsBack");
    QTest::addColumn<QString>("location");
    QTest::addColumn<bool>("restarts");
    const QString reset = "1.3.6.1.4.1.32473.12.1.2.20", systemReset = "1.3.6.1.4.1.32473.12.1.2.3";
    QTest::newRow("Reset config") << reset << "2" << "1" << "\"saved place\"" << false;
    QTest::newRow("Reset system") << reset << "3" << "1" << "\"saved place\"" << true;
    QTest::newRow("System Reset warm-start") << systemReset << "3" << "4" << "\"saved place\"" << true;
    QTest::newRow("Reset to factory data") << reset << "4" << "1" << "\"Lab rack 3\"" << true;
}

void TestAgentDevice::resets()
{
    QFETCH(QString, trigger);
    QFETCH(QString, value);
    QFETCH(QString, readsBack);
    QFETCH(QString, location);
    QFETCH(bool, restarts);
    const QString sysLocation = "1.3.6.1.2.1.1.6.0";
    auto upTime = request(m_agent.port(), {{"1.3.6.1.4.1.32473.11.69.1.2.1.1.1", KtType::TimeTicks}}, "0");
    auto ticks = [&] {
        upTime->Fetch(true);
        return KtValue::TextToTicks(upTime->Vars.Get(0).Value);
    };
    QCOMPARE(m_agent.v2("snmpset", {sysLocation, "s", "saved place", "1.3.6.1.4.1.32473.12.1.2.6.0", "i", "3"}, "lantern").exitCode, 0);
    QCOMPARE(m_agent.v2("snmpset", {sysLocation, "s", "not saved"}, "lantern").exitCode, 0);
    quint32 before = 0;
    QTRY_VERIFY_WITH_TIMEOUT((before = ticks()) >= 100, 20000);   // the device's own up-time runs
    auto r = request(m_agent.port(), {{trigger, KtType::Integer}}, "0");
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(storeCode(*r, value), 0);
    const quint32 after = ticks();
    // A restart counts from the set: no more than the time since it went out
    // (a device that went on would show a second more); otherwise it goes on.
    const qint64 sinceSet = clock.elapsed() / 10 + 1;
    QVERIFY2(restarts ? after <= sinceSet : after >= before,
             qPrintable(QStringLiteral("%1 -> %2, %3 since the set").arg(before).arg(after).arg(sinceSet)));
    QCOMPARE(m_agent.value(sysLocation), location);
    r->Fetch(true);
    QCOMPARE(r->Vars.Get(0).Value, readsBack);
}

QTEST_GUILESS_MAIN(TestAgentDevice)
#include "tst_agentdevice.moc"
