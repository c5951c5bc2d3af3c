// The switch's own checks and behaviour on the built seed, without a
// process: value limits, object relations, follow-ups, live counters, LED
// faults and the benchmark rows.
#include "AgentBuiltins.h"
#include "AgentCatalogue.h"
#include "AgentLive.h"
#include "AgentRules.h"
#include "AgentSeed.h"

#include <QtTest>

#include <set>

namespace {

AgentOid O(const std::string &text)
{
    auto o = ParseOid(text);
    if (!o)
        qFatal("bad OID in test: %s", text.c_str());
    return *o;
}

std::vector<AgentVarBind> records(const QString &lines)
{
    auto r = SnmpRecFile::ParseText(lines.toStdString(), "test");
    if (!r.errors.empty())
        qFatal("test records: %s", r.errors.front().c_str());
    return r.records;
}

const QString Stp = "1.3.6.1.4.1.32473.12.15.1.";
const QString IpIf = "1.3.6.1.4.1.32473.11.69.1.3.2.1.1.1.";
const QString Bootp = "1.3.6.1.4.1.32473.11.69.1.3.3.1.7.1.3.";
const QString Clock = "1.3.6.1.4.1.32473.12.10.2.0|4x|";

} // namespace

class TestAgentRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void setStatus_data();
    void setStatus();
    void seedPassesItsOwnChecks();
    void newInterfaceAndMemberAreCompleted();
    void monitoredCountersAdvanceAndAgree();
    void ledFaults_data();
    void ledFaults();
    void benchmarkRows();

private:
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
    const int inconsistent = AgentError::InconsistentValue;
    // Limits of the dedicated objects (seed: Max Age 2000, Hello 200, Forward Delay 1500, RSTP).
    QTest::newRow("max age above its range") << Stp + "3.0|2|4001" << value << 0;
    QTest::newRow("tx hold count 0") << Stp + "7.0|2|0" << value << 0;
    QTest::newRow("forward delay breaks 2(FD-1s)>=MaxAge") << Stp + "5.0|2|1000" << value << 0;
    QTest::newRow("hello breaks MaxAge>=2(HT+1s)") << Stp + "4.0|2|1000" << value << 0;
    QTest::newRow("timers that fit together") << Stp + "3.0|2|2200\n" + Stp + "4.0|2|1000" << ok << -1;
    QTest::newRow("hello does not count under mstp") << Stp + "2.0|2|2\n" + Stp + "4.0|2|1000" << ok << -1;
    QTest::newRow("md5 key of 17 octets") << "1.3.6.1.4.1.32473.11.69.1.3.4.1.2.1|4|0123456789abcdefg" << length << 0;
    QTest::newRow("md5 key of 16 octets") << "1.3.6.1.4.1.32473.11.69.1.3.4.1.2.1|4|0123456789abcdef" << ok << -1;
    QTest::newRow("summer offset 45") << "1.3.6.1.4.1.32473.12.10.12.2.0|2|45" << value << 0;
    QTest::newRow("summer offset 90") << "1.3.6.1.4.1.32473.12.10.12.2.0|2|90" << ok << -1;
    QTest::newRow("summer offset 150") << "1.3.6.1.4.1.32473.12.10.12.2.0|2|150" << value << 0;
    // Limits from the catalogue's edit formats.
    QTest::newRow("sntp poll interval 29") << "1.3.6.1.4.1.32473.12.10.11.5.0|2|29" << value << 0;
    QTest::newRow("time zone 840") << "1.3.6.1.4.1.32473.12.10.10.4.0|2|840" << value << 0;
    QTest::newRow("ifAlias of 33") << "1.3.6.1.2.1.31.1.1.1.18.1|4|" + QString(33, 'a') << length << 0;
    QTest::newRow("ifAlias of 32") << "1.3.6.1.2.1.31.1.1.1.18.1|4|" + QString(32, 'a') << ok << -1;
    QTest::newRow("vlan 4095 cannot exist") << "1.3.6.1.2.1.17.7.1.4.3.1.5.4095|2|4" << int(AgentError::NoCreation) << 0;
    QTest::newRow("member switch 33 cannot exist") << "1.3.6.1.4.1.32473.12.8.1.3.1.10.33|2|4" << int(AgentError::NoCreation) << 0;
    // The clock.
    QTest::newRow("clock of 8 octets") << Clock + "07d7051a0f1e0f00" << ok << -1;
    QTest::newRow("clock of 11 octets") << Clock + "07d7051a0f1e0f002d0530" << ok << -1;
    QTest::newRow("clock of 9 octets") << Clock + "07d7051a0f1e0f002b" << length << 0;
    QTest::newRow("clock of 12 octets") << Clock + "07d7051a0f1e0f002b020000" << length << 0;
    QTest::newRow("clock in month 13") << Clock + "07d70d1a0f1e0f00" << value << 0;
    QTest::newRow("clock on 31 April") << Clock + "07d7041f0f1e0f00" << value << 0;
    QTest::newRow("clock on 29 Feb 2024") << Clock + "07e8021d0f1e0f00" << ok << -1;
    QTest::newRow("clock at 24:00") << Clock + "07d7051a18000000" << value << 0;
    QTest::newRow("clock zone without sign") << Clock + "07d7051a0f1e0f00200200" << value << 0;
    QTest::newRow("clock zone -13:00 beyond the time zones") << Clock + "07d7051a0f1e0f002d0d00" << value << 0;
    // Rows.
    QTest::newRow("System interface destroyed") << IpIf + "8.10.90.90.90|2|6" << inconsistent << 0;
    QTest::newRow("secondary interface destroyed") << IpIf + "8.192.168.3.1|2|6" << ok << -1;
    QTest::newRow("fifth BOOTP server of System")
        << "1.3.6.1.2.1.1.5.0|4|x\n" + Bootp + "6.83.121.115.116.101.109.10.90.90.204|2|3" << inconsistent << 1;
    QTest::newRow("second BOOTP server of ipif2") << Bootp + "5.105.112.105.102.50.192.168.2.251|2|3" << ok << -1;
}

void TestAgentRules::setStatus()
{
    QFETCH(QString, pdu);
    QFETCH(int, status);
    QFETCH(int, index);
    AgentStore st(m_schema);
    st.load(m_seed);
    const auto vbs = records(pdu);
    const AgentStore::Check c = st.check(vbs);
    QCOMPARE(c.status, status);
    QCOMPARE(c.index, index);
    // Checking leaves the data as it was.
    QCOMPARE(st.snapshot(), m_seed);
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
    // Rows for every dedicated dialog; the address table agrees with the interfaces.
    auto rows = [&](const std::string &columnOid) {
        std::vector<AgentVarBind> out;
        const AgentOid c = O(columnOid);
        for (const auto *e = st.next(c, false, c); e; e = st.next(e->first, false, c))
            out.push_back(*e);
        return out;
    };
    const auto ifIndexes = rows(AgentOids::IpInterfaceEntry + ".2");
    QCOMPARE(ifIndexes.size(), size_t(3));
    for (const auto &[oid, v] : ifIndexes) {
        AgentOid addr(oid.end() - 4, oid.end());
        AgentOid inAddrTable = O(AgentOids::IpAddrEntry + ".2");
        inAddrTable.insert(inAddrTable.end(), addr.begin(), addr.end());
        QVERIFY(st.get(inAddrTable));
        QCOMPARE(st.get(inAddrTable)->number, v.number);
    }
    QCOMPARE(rows("1.3.6.1.4.1.32473.11.69.1.3.4.1.3").size(), size_t(3));
    QCOMPARE(rows(AgentOids::BootpServerEntry + ".3").size(), size_t(5));
    std::set<int64_t> ospfTypes, ripSources;
    for (const auto &[oid, v] : rows("1.3.6.1.4.1.32473.11.69.1.3.5.1.3"))
        if (oid.back() == 3)
            ospfTypes.insert(v.number);
        else
            ripSources.insert(oid[oid.size() - 2]);
    QCOMPARE(ospfTypes, (std::set<int64_t>{3, 4}));   // type-1 and type-2 towards ospf
    QVERIFY(ripSources.size() >= 2);
    for (uint32_t col : {2u, 3u, 4u, 7u})
        for (const auto &[oid, v] : rows(AgentOids::MemberSwitchEntry + "." + std::to_string(col)))
            QVERIFY2(col == 7 ? v.number > 0 : !v.bytes.empty(), OidToText(oid).c_str());
    QCOMPARE(rows(AgentOids::MemberSwitchEntry + ".2").size(), size_t(3));
    std::set<uint32_t> profiles;
    for (const auto &[oid, v] : rows("1.3.6.1.4.1.32473.12.9.6.1.1.3"))
        profiles.insert(oid[oid.size() - 2]);
    QVERIFY(profiles.size() >= 3);
}

void TestAgentRules::newInterfaceAndMemberAreCompleted()
{
    AgentStore st(m_schema);
    st.load(m_seed);
    const auto create = records(IpIf + "3.172.16.0.1|4|ipif4\n" + IpIf + "4.172.16.0.1|64|255.255.0.0\n" + IpIf
                                + "8.172.16.0.1|2|4\n1.3.6.1.4.1.32473.12.8.1.3.1.10.7|2|4");
    QCOMPARE(st.check(create).status, int(AgentError::NoError));
    st.apply(create);
    AgentRules::Follow(st, create);
    QCOMPARE(st.get(O(IpIf.toStdString() + "2.172.16.0.1"))->number, int64_t(5123));
    QCOMPARE(st.get(O("1.3.6.1.2.1.4.20.1.2.172.16.0.1"))->number, int64_t(5123));
    QCOMPARE(st.get(O("1.3.6.1.2.1.4.20.1.3.172.16.0.1"))->bytes, std::string("\xff\xff\0\0", 4));
    QCOMPARE(st.get(O("1.3.6.1.4.1.32473.12.8.1.3.1.2.7"))->bytes, std::string("QSX-4810-MS7"));
    QCOMPARE(st.get(O("1.3.6.1.4.1.32473.12.8.1.3.1.3.7"))->bytes, std::string("\x00\x1b\x11\x48\x20\x07", 6));
    QCOMPARE(st.get(O("1.3.6.1.4.1.32473.12.8.1.3.1.7.7"))->number, int64_t(100));
    const auto destroy = records(IpIf + "8.172.16.0.1|2|6");
    st.apply(destroy);
    AgentRules::Follow(st, destroy);
    QVERIFY(!st.get(O("1.3.6.1.2.1.4.20.1.1.172.16.0.1")));
    QVERIFY(st.get(O("1.3.6.1.2.1.4.20.1.1.192.168.3.1")));
}

void TestAgentRules::monitoredCountersAdvanceAndAgree()
{
    AgentStore st(m_schema);
    st.load(m_seed);
    AgentLive live(st);
    live.boot(0);
    live.update(0);
    std::vector<std::string> counters;
    for (int arc : {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 18, 19, 23})
        counters.push_back("1.3.6.1.2.1.4." + std::to_string(arc) + ".0");
    for (int arc = 1; arc <= 26; ++arc)
        counters.push_back("1.3.6.1.2.1.5." + std::to_string(arc) + ".0");
    for (int arc = 1; arc <= 4; ++arc)
        counters.push_back("1.3.6.1.2.1.7." + std::to_string(arc) + ".0");
    for (int arc = 1; arc <= 29; ++arc)
        if (arc != 7 && arc != 23)
            counters.push_back("1.3.6.1.2.1.11." + std::to_string(arc) + ".0");
    for (const char *ifIndex : {".5120", ".2", ".26"})
        for (int col = 10; col <= 20; ++col)
            counters.push_back("1.3.6.1.2.1.2.2.1." + std::to_string(col) + ifIndex);
    for (int col = 3; col <= 5; ++col)
        counters.push_back("1.3.6.1.2.1.17.4.4.1." + std::to_string(col) + ".2");
    auto read = [&](const std::string &oid) {
        const AgentValue *v = st.get(O(oid));
        return v ? v->unsignedValue() : 0;
    };
    std::vector<uint64_t> before;
    for (uint64_t t = 1000; t <= 3000; t += 1000) {
        live.update(t);
        std::vector<uint64_t> now;
        for (const std::string &c : counters)
            now.push_back(read(c));
        for (size_t i = 0; i < before.size(); ++i)
            QVERIFY2(now[i] > before[i], counters[i].c_str());
        before = now;
        // Totals at least the sum of their parts.
        uint64_t icmpIn = 0, icmpOut = 0, ipParts = 0, snmpIn = 0;
        for (int arc = 2; arc <= 13; ++arc)
            icmpIn += read("1.3.6.1.2.1.5." + std::to_string(arc) + ".0");
        for (int arc = 15; arc <= 26; ++arc)
            icmpOut += read("1.3.6.1.2.1.5." + std::to_string(arc) + ".0");
        for (int arc = 4; arc <= 9; ++arc)
            ipParts += read("1.3.6.1.2.1.4." + std::to_string(arc) + ".0");
        for (int arc : {3, 4, 5, 6, 15, 16, 17, 18, 19})
            snmpIn += read("1.3.6.1.2.1.11." + std::to_string(arc) + ".0");
        QVERIFY(read("1.3.6.1.2.1.5.1.0") >= icmpIn);
        QVERIFY(read("1.3.6.1.2.1.5.14.0") >= icmpOut);
        QVERIFY(read("1.3.6.1.2.1.4.3.0") >= ipParts);
        QVERIFY(read("1.3.6.1.2.1.11.1.0") >= snmpIn);
        QVERIFY(read("1.3.6.1.2.1.4.9.0") >= read("1.3.6.1.2.1.7.1.0") + read("1.3.6.1.2.1.7.2.0") + read("1.3.6.1.2.1.7.3.0")
                                                 + read("1.3.6.1.2.1.5.1.0"));
        QCOMPARE(read("1.3.6.1.2.1.2.2.1.12.2"), read("1.3.6.1.2.1.31.1.1.1.2.2") + read("1.3.6.1.2.1.31.1.1.1.3.2"));
    }
    // The library's figures add to the background and start again at a reboot.
    const uint64_t inPkts = read("1.3.6.1.2.1.11.1.0");
    live.setAgentStatistic(1, 500);
    live.update(3000);
    QCOMPARE(read("1.3.6.1.2.1.11.1.0"), inPkts);   // the first figure is the base
    live.setAgentStatistic(1, 540);
    live.update(3000);
    QCOMPARE(read("1.3.6.1.2.1.11.1.0"), inPkts + 40);
    // The device's own up-time runs with sysUpTime.
    QCOMPARE(read(AgentOids::DeviceUpTime), read(AgentOids::SysUpTime));
    QCOMPARE(read(AgentOids::DeviceUpTime), uint64_t(300));
}

void TestAgentRules::ledFaults_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("length");   // -1: refused
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("octet");
    QTest::newRow("none") << "" << 59 << 3 << 0x82;
    QTest::newRow("status1") << "status1" << 59 << 3 << 0x01;
    QTest::newRow("status1 of port 28") << "status1:28" << 59 << 57 << 0x01;
    QTest::newRow("zero at 10") << "zero-at:10" << 59 << 10 << 0x00;
    QTest::newRow("short 20") << "short:20" << 20 << 17 << 0x02;
    QTest::newRow("empty value") << "short:0" << 0 << -1 << 0;
    QTest::newRow("port 29") << "status1:29" << -1 << 0 << 0;
    QTest::newRow("zero at 59") << "zero-at:59" << -1 << 0 << 0;
    QTest::newRow("no number") << "short" << -1 << 0 << 0;
    QTest::newRow("unknown kind") << "blink:3" << -1 << 0 << 0;
}

void TestAgentRules::ledFaults()
{
    QFETCH(QString, option);
    QFETCH(int, length);
    QFETCH(int, position);
    QFETCH(int, octet);
    AgentLedFault fault;
    if (!option.isEmpty()) {
        const std::string err = fault.parse(option.toStdString());
        QCOMPARE(err.empty(), length >= 0);
        if (length < 0)
            return;
    }
    AgentStore st(m_schema);
    st.load(m_seed);
    AgentLive live(st);
    live.setLedFault(fault);
    live.boot(0);
    live.update(3000);   // port 1 is up and active in this second
    const std::string led = live.ledOctets(3000);
    QCOMPARE(int(led.size()), length);
    if (position >= 0)
        QCOMPARE(int(uint8_t(led[size_t(position)])), octet);
    QCOMPARE(int(std::count(led.begin(), led.end(), '\0')), fault.kind == AgentLedFault::ZeroAt ? 1 : 0);
}

void TestAgentRules::benchmarkRows()
{
    const AgentOid entry = O(AgentOids::AggregatorEntry);
    const auto big = AgentSeed::WithRows(m_schema, m_seed, entry, 1000);
    const AgentTable &t = m_schema.table(m_schema.tableIndex(entry));
    QCOMPARE(t.columns.size(), size_t(10));
    std::set<uint32_t> rows;
    size_t cells = 0;
    for (const auto &[oid, v] : big)
        if (OidStartsWith(oid, entry)) {
            ++cells;
            rows.insert(oid.back());
        }
    QCOMPARE(cells, size_t(10000));
    QCOMPARE(rows.size(), size_t(1000));
    QCOMPARE(*rows.rbegin(), 1000u);
    QVERIFY(std::is_sorted(big.begin(), big.end(), [](const auto &a, const auto &b) { return a.first < b.first; }));
    QCOMPARE(big.size() - cells, m_seed.size() - size_t(std::count_if(m_seed.begin(), m_seed.end(), [&](const AgentVarBind &r) {
                                      return OidStartsWith(r.first, entry);
                                  })));
}

QTEST_GUILESS_MAIN(TestAgentRules)
#include "tst_agentrules.moc"
