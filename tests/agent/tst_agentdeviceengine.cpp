// The simulated switch through the module's own request engine: what the
// time dialog, the monitors, the dedicated dialogs and the front panel read
// and write, and the benchmark table.
#include "AgentProcess.h"

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

struct Var
{
    QString oid;
    quint32 type;
};

// A request on one agent for the given variables: kind 1 with an instance
// suffix, or a table walk (kind 3) when indexCount > 0.
std::unique_ptr<KtSNMPRequest> request(quint16 port, const QList<Var> &vars, const QString &suffix, int indexCount = 0)
{
    KtSNMPVarList list;
    for (const Var &v : vars)
        list.AppendVar(v.oid, QString(), v.type, v.oid == " " ? KtAccess::NotAccess : KtAccess::ReadWrite);
    list.Kind = indexCount > 0 ? KtKind::MVT_UMV : KtKind::MVT_SV;
    list.IndexCount = indexCount;
    auto r = std::make_unique<KtSNMPRequest>(list);
    r->Vars.Suffix = suffix;   // a copied list starts without one
    r->Host = QStringLiteral("127.0.0.1");
    r->AgentPort = port;
    r->Version = 1;
    r->ReadCommunity = QStringLiteral("cobalt");
    r->WriteCommunity = QStringLiteral("lantern");
    r->Timeout = 300;
    r->Retries = 1;
    return r;
}

int storeCode(KtSNMPRequest &r)
{
    try {
        r.Store();
    } catch (const KtException &e) {
        return e.code();
    }
    return 0;
}

// Index value text (column 0) -> column 1 of every row of a table walk.
QMap<QString, QString> walk(KtSNMPRequest &r)
{
    QMap<QString, QString> rows;
    for (bool more = r.Fetch(true); more; more = r.Fetch(false))
        rows.insert(r.Vars.Get(0).Value, r.Vars.Get(1).Value);
    return rows;
}

const QString Leds = "1.3.6.1.4.1.32473.12.11.1.9.4.1.5";
const QString DeviceUpTime = "1.3.6.1.4.1.32473.11.69.1.2.1.1.1";

} // namespace

class TestAgentDeviceEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void clockRoundTrip();
    void icmpMonitorSeesCountersMove();
    void refusedSetsReachTheCaller_data();
    void refusedSetsReachTheCaller();
    void interfaceIndexesAgree();
    void frontPanelFaults_data();
    void frontPanelFaults();
    void upTimeRunsAndSystemResetRestarts();
    void benchmarkTableHasItsRows();

private:
    AgentProcess m_agent;
    QTemporaryDir m_folder;
};

void TestAgentDeviceEngine::initTestCase()
{
    QVERIFY(m_agent.start());
    KtSNMPSession::StartSession(m_folder.path());
}

void TestAgentDeviceEngine::cleanupTestCase()
{
    KtSNMPSession::StopSession();
    m_agent.stop();
}

void TestAgentDeviceEngine::clockRoundTrip()
{
    // The time dialog writes and reads the clock as an 11-octet DateAndTime.
    auto r = request(m_agent.port(), {{"1.3.6.1.4.1.32473.12.10.2", KtType::DateTime}}, "0");
    r->Vars.Get(0).Value = QStringLiteral("2007-5-26,15:30:10.0,-5:30");
    QCOMPARE(storeCode(*r), 0);
    r->Fetch(true);   // one instance: nothing more to follow
    const KtDateTime t(r->Vars.Get(0).Value);
    QCOMPARE(QString::asprintf("%u-%u-%u %u:%u", t.year, t.month, t.day, t.hour, t.minutes), QString("2007-5-26 15:30"));
    QVERIFY(t.seconds >= 10 && t.seconds < 20);
    QCOMPARE(QString::asprintf("%c%u:%u", t.direction, t.zoneHours, t.zoneMinutes), QString("-5:30"));
    // A zone of 14 hours is no zone.
    r->Vars.Get(0).Value = QStringLiteral("2007-5-26,15:30:10.0,+14:0");
    QCOMPARE(storeCode(*r), -110);
}

void TestAgentDeviceEngine::icmpMonitorSeesCountersMove()
{
    // The ICMP monitor's list: the 26 counters as one row of a group walk.
    KtSNMPVarList l;
    for (int i = 1; i <= 26; ++i)
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.5.%1").arg(i), QString(), KtType::Counter, KtAccess::ReadOnly);
    l.Kind = KtKind::MVT_FMV;
    KtSNMPRequest r(l);
    r.Host = QStringLiteral("127.0.0.1");
    r.AgentPort = m_agent.port();
    r.Version = 1;
    r.ReadCommunity = QStringLiteral("cobalt");
    r.Timeout = 300;
    auto sample = [&] {
        QList<quint64> v;
        if (r.Fetch(true))
            for (int i = 0; i < 26; ++i)
                v << r.Vars.Get(i).Value.toULongLong();
        return v;
    };
    const QList<quint64> first = sample();
    QTest::qWait(1200);
    const QList<quint64> second = sample();
    QCOMPARE(first.size(), 26);
    QCOMPARE(second.size(), 26);
    quint64 kinds = 0;
    for (int i = 0; i < 26; ++i) {
        QVERIFY2(second[i] > first[i], qPrintable(QString::number(i + 1)));
        kinds += i >= 1 && i <= 12 ? second[i] : 0;
    }
    QVERIFY(second[0] >= kinds);
}

void TestAgentDeviceEngine::refusedSetsReachTheCaller_data()
{
    QTest::addColumn<QString>("oid");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("code");
    const QString stp = "1.3.6.1.4.1.32473.12.15.1.";
    const int integer = KtType::Integer;
    QTest::newRow("hello time out of range") << stp + "4" << "0" << integer << "99" << -110;
    QTest::newRow("forward delay against max age") << stp + "5" << "0" << integer << "1000" << -110;
    QTest::newRow("max age that fits") << stp + "3" << "0" << integer << "2000" << 0;
    QTest::newRow("System interface destroyed")
        << "1.3.6.1.4.1.32473.11.69.1.3.2.1.1.1.8" << "10.90.90.90" << integer << "6" << -112;
    QTest::newRow("VLAN name of 33") << "1.3.6.1.4.1.32473.11.69.1.3.2.1.1.1.5" << "192.168.2.1" << int(KtType::DisplayStr)
                                     << QString(33, 'v') << -108;
}

void TestAgentDeviceEngine::refusedSetsReachTheCaller()
{
    QFETCH(QString, oid);
    QFETCH(QString, suffix);
    QFETCH(int, type);
    QFETCH(QString, value);
    QFETCH(int, code);
    auto r = request(m_agent.port(), {{oid, quint32(type)}}, suffix);
    r->Vars.Get(0).Value = value;
    QCOMPARE(storeCode(*r), code);
}

void TestAgentDeviceEngine::interfaceIndexesAgree()
{
    auto ipIf = request(m_agent.port(), {{" ", KtType::IpAddress}, {"1.3.6.1.4.1.32473.11.69.1.3.2.1.1.1.2", KtType::Integer}}, {}, 1);
    auto ipAddr = request(m_agent.port(), {{"1.3.6.1.2.1.4.20.1.1", KtType::IpAddress}, {"1.3.6.1.2.1.4.20.1.2", KtType::Integer}}, {}, 1);
    const QMap<QString, QString> interfaces = walk(*ipIf);
    QCOMPARE(interfaces.size(), 3);
    QCOMPARE(interfaces.value("10.90.90.90"), QString("5120"));
    QCOMPARE(walk(*ipAddr), interfaces);
}

void TestAgentDeviceEngine::frontPanelFaults_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("length");   // octets before the first zero, as the LED binding sees them
    QTest::addColumn<int>("statusOne");   // the port whose status octet is 1, -1 for none
    QTest::newRow("healthy") << "" << 59 << -1;
    QTest::newRow("status octet 1") << "status1:4" << 59 << 4;
    QTest::newRow("zero octet") << "zero-at:10" << 10 << -1;
    QTest::newRow("short value") << "short:30" << 30 << -1;
}

void TestAgentDeviceEngine::frontPanelFaults()
{
    QFETCH(QString, mode);
    QFETCH(int, length);
    QFETCH(int, statusOne);
    AgentProcess agent;
    QVERIFY2(agent.start(mode.isEmpty() ? QStringList{} : QStringList{"--led-fault", mode}),
             agent.process().readAllStandardError().constData());
    auto r = request(agent.port(), {{Leds, KtType::DisplayStr}}, "1");
    r->Fetch(true);
    // The LED decode counts the octets before the first zero one.
    const QString text = r->Vars.Get(0).Value.section(QChar(0), 0, 0);
    QCOMPARE(int(text.size()), length);
    int port = -1;
    for (int p = 1; 1 + 2 * p < text.size() && port < 0; ++p)
        port = text.at(1 + 2 * p) == QChar(1) ? p : -1;
    QCOMPARE(port, statusOne);
}

void TestAgentDeviceEngine::upTimeRunsAndSystemResetRestarts()
{
    AgentProcess agent;
    QVERIFY(agent.start());
    auto uptime = request(agent.port(), {{DeviceUpTime, KtType::TimeTicks}}, "0");
    auto ticks = [&] {
        uptime->Fetch(true);
        return KtValue::TextToTicks(uptime->Vars.Get(0).Value);
    };
    const quint32 first = ticks();
    QTest::qWait(1100);
    const quint32 second = ticks();
    QVERIFY2(second >= first + 100, qPrintable(QStringLiteral("%1 -> %2").arg(first).arg(second)));
    auto reset = request(agent.port(), {{"1.3.6.1.4.1.32473.12.1.2.3", KtType::Integer}}, "0");
    reset->Vars.Get(0).Value = QStringLiteral("3");   // warm-start
    QCOMPARE(storeCode(*reset), 0);
    QVERIFY(ticks() < second);
    reset->Fetch(true);
    QCOMPARE(reset->Vars.Get(0).Value, QString("4"));   // no-reset
}

void TestAgentDeviceEngine::benchmarkTableHasItsRows()
{
    AgentProcess agent;
    QVERIFY(agent.start({"--seed", QSX_AGENT_BENCH_SEED}));
    const KtSNMPVarTable *table = KtMibData::Instance().FindTable(QStringLiteral("AggregatorTable"));
    QVERIFY(table);
    KtSNMPRequest r(KtSNMPVarList(*table, KtKind::MVT_UMV, 1));
    r.Host = QStringLiteral("127.0.0.1");
    r.AgentPort = agent.port();
    r.Version = 1;
    r.ReadCommunity = QStringLiteral("cobalt");
    r.Timeout = 300;
    int rows = 0;
    QString last;
    for (bool more = r.Fetch(true); more; more = r.Fetch(false)) {
        ++rows;
        last = r.Vars.Get(0).Value;
        QVERIFY(!r.Vars.Get(10).Value.isEmpty());
    }
    QCOMPARE(r.Vars.Count(), 11);   // the index and ten columns
    QCOMPARE(rows, 1000);
    QCOMPARE(last, QString("1000"));
}

QTEST_GUILESS_MAIN(TestAgentDeviceEngine)
#include "tst_agentdeviceengine.moc"
