// The switch's own checks on the built seed, without a process: value
// limits from types, edit formats and rules, relations between objects,
// the seed's rows, and how the live counters add up.
#include "AgentBuiltins.h"
#include "AgentCatalogue.h"
#include "AgentLive.h"

#include <QtTest>

#include <set>

namespace {

const QString Stp = "1.3.6.1.4.1.32473.12.15.1.";
const QString Clock = "1.3.6.1.4.1.32473.12.10.2.0|4x|";
const QString Bootp = "1.3.6.1.4.1.32473.11.69.1.3.3.1.7.1.3.";

} // namespace

class TestAgentRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void setStatus_data();
    void setStatus();
    void seedPassesItsOwnChecks();
    void countersAddUp();

private:
    uint64_t read(const AgentStore &st, const std::string &oid) const
    {
        const AgentValue *v = st.get(*ParseOid(oid));
        return v ? v->unsignedValue() : 0;
    }
    AgentSchema m_schema;
    std::vector<AgentVarBind> m_seed;
};

void TestAgentRules::initTestCase()
{
    QCOMPARE(QString::fromStdString(BuildAgentSchema(m_schema)), QString());
    auto r = SnmpRecFile::Read(QSX_AGENT_SEED);
    QVERIFY(r.opened && r.errors.empty());
    m_seed = r.records;
}

void TestAgentRules::setStatus_data()
{
    QTest::addColumn<QString>("pdu");   // .snmprec lines
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("index");
    const int ok = AgentError::NoError, value = AgentError::WrongValue, length = AgentError::WrongLength;
    // Seed: Max Age 2000, Hello Time 200, Forward Delay 1500, RSTP.
    QTest::newRow("hello breaks MaxAge>=2(HT+1s)") << Stp + "4.0|2|1000" << value << 0;
    QTest::newRow("timers that fit together") << Stp + "3.0|2|2200\n" + Stp + "4.0|2|1000" << ok << -1;
    QTest::newRow("hello does not count under mstp") << Stp + "2.0|2|2\n" + Stp + "4.0|2|1000" << ok << -1;
    QTest::newRow("tx hold count 0") << Stp + "7.0|2|0" << value << 0;
    QTest::newRow("summer offset 45") << "1.3.6.1.4.1.32473.12.10.12.2.0|2|45" << value << 0;
    QTest::newRow("summer offset 90") << "1.3.6.1.4.1.32473.12.10.12.2.0|2|90" << ok << -1;
    // From the catalogue's edit formats.
    QTest::newRow("sntp poll interval 29") << "1.3.6.1.4.1.32473.12.10.11.5.0|2|29" << value << 0;
    QTest::newRow("ifAlias of 33") << "1.3.6.1.2.1.31.1.1.1.18.1|4|" + QString(33, 'a') << length << 0;
    QTest::newRow("vlan 4095 cannot exist") << "1.3.6.1.2.1.17.7.1.4.3.1.5.4095|2|4" << int(AgentError::NoCreation) << 0;
    // The clock's fields; an 11-octet zone becomes the Time Zone (-779..839 minutes).
    QTest::newRow("clock of 12 octets") << Clock + "07d7051a0f1e0f002b020000" << length << 0;
    QTest::newRow("clock on 29 Feb 2024") << Clock + "07e8021d0f1e0f00" << ok << -1;
    QTest::newRow("clock at 24:00") << Clock + "07d7051a18000000" << value << 0;
    QTest::newRow("clock zone -13:00") << Clock + "07d7051a0f1e0f002d0d00" << value << 0;
    QTest::newRow("clock zone -12:59") << Clock + "07d7051a0f1e0f002d0c3b" << ok << -1;
    // Rows.
    QTest::newRow("fifth BOOTP server of System")
        << "1.3.6.1.2.1.1.5.0|4|x\n" + Bootp + "6.83.121.115.116.101.109.10.90.90.204|2|3"
        << int(AgentError::InconsistentValue) << 1;
    QTest::newRow("second BOOTP server of ipif2") << Bootp + "5.105.112.105.102.50.192.168.2.251|2|3" << ok << -1;
}

void TestAgentRules::setStatus()
{
    QFETCH(QString, pdu);
    QFETCH(int, status);
    QFETCH(int, index);
    AgentStore st(m_schema);
    st.load(m_seed);
    const auto vbs = SnmpRecFile::ParseText(pdu.toStdString()).records;
    const AgentStore::Check c = st.check(vbs);
    QCOMPARE(c.status, status);
    QCOMPARE(c.index, index);
    QCOMPARE(st.snapshot(), m_seed);   // checking leaves the data as it was
}

void TestAgentRules::seedPassesItsOwnChecks()
{
    AgentStore st(m_schema);
    st.load(m_seed);
    int checked = 0;
    for (const auto &[oid, v] : m_seed) {
        const AgentObject *o = m_schema.findObject(oid);
        if (!o || !o->writable || o->indexPart >= 0)
            continue;
        const AgentStore::Check c = st.check({{oid, v}});
        QVERIFY2(c.status == AgentError::NoError, (OidToText(oid) + " " + std::to_string(c.status)).c_str());
        ++checked;
    }
    QVERIFY(checked > 1000);
    // Rows for every dedicated dialog: column -> rows (and distinct first index parts).
    const std::vector<std::tuple<std::string, size_t, size_t>> tables = {
        {AgentOids::IpInterfaceEntry + ".2", 3, 2},                  // 10.x and 192.x
        {"1.3.6.1.4.1.32473.11.69.1.3.4.1.3", 3, 3},                 // MD5 keys
        {AgentOids::BootpServerEntry + ".3", 5, 2},                  // servers on two interfaces
        {"1.3.6.1.4.1.32473.11.69.1.3.5.1.3", 6, 4},                 // redistribution from four protocols
        {AgentOids::MemberSwitchEntry + ".7", 3, 3},
        {"1.3.6.1.4.1.32473.12.9.6.1.1.3", 4, 3},                    // ACL meters on three profiles
    };
    for (const auto &[column, rows, firsts] : tables) {
        const AgentOid c = *ParseOid(column);
        std::set<uint32_t> first;
        size_t n = 0;
        for (const auto *e = st.next(c, false, c); e; e = st.next(e->first, false, c), ++n)
            first.insert(e->first[c.size()]);
        QVERIFY2(n == rows && first.size() == firsts, column.c_str());
    }
    // Towards ospf both metric types, type-1 (3) and type-2 (4).
    QCOMPARE(read(st, "1.3.6.1.4.1.32473.11.69.1.3.5.1.3.2.3"), uint64_t(3));
    QCOMPARE(read(st, "1.3.6.1.4.1.32473.11.69.1.3.5.1.3.4.3"), uint64_t(4));
}

void TestAgentRules::countersAddUp()
{
    AgentStore st(m_schema);
    st.load(m_seed);
    AgentLive live(st);
    live.boot(0);
    auto sum = [&](const std::string &group, std::initializer_list<int> arcs) {
        uint64_t s = 0;
        for (int arc : arcs)
            s += read(st, "1.3.6.1.2.1." + group + "." + std::to_string(arc) + ".0");
        return s;
    };
    for (uint64_t t = 700; t <= 2800; t += 700) {
        live.update(t);
        QVERIFY(read(st, "1.3.6.1.2.1.5.1.0") >= sum("5", {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
        QVERIFY(read(st, "1.3.6.1.2.1.5.14.0") >= sum("5", {15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26}));
        QVERIFY(read(st, "1.3.6.1.2.1.4.3.0") >= sum("4", {4, 5, 6, 7, 8, 9}));
        QVERIFY(read(st, "1.3.6.1.2.1.4.9.0") >= sum("7", {1, 2, 3}) + sum("5", {1}));
        QVERIFY(read(st, "1.3.6.1.2.1.11.1.0") >= sum("11", {3, 4, 5, 6, 15, 16, 17, 18, 19}));
        QCOMPARE(read(st, "1.3.6.1.2.1.2.2.1.12.2"), read(st, "1.3.6.1.2.1.31.1.1.1.2.2") + read(st, "1.3.6.1.2.1.31.1.1.1.3.2"));
        QVERIFY(read(st, "1.3.6.1.2.1.2.2.1.11.5120") >= sum("4", {3}));   // IP arrives over the System interface
    }
    // The library's figures count from their value at boot, beside the background.
    const uint64_t inPkts = read(st, "1.3.6.1.2.1.11.1.0"), udpIn = read(st, "1.3.6.1.2.1.7.1.0");
    live.setAgentStatistic(1, 500);
    live.setAgentStatistic(1, 540);
    live.update(2800);
    QCOMPARE(read(st, "1.3.6.1.2.1.11.1.0"), inPkts + 40);
    QCOMPARE(read(st, "1.3.6.1.2.1.7.1.0"), udpIn + 40);
    QCOMPARE(read(st, AgentOids::DeviceUpTime), uint64_t(280));
}

QTEST_GUILESS_MAIN(TestAgentRules)
#include "tst_agentrules.moc"
