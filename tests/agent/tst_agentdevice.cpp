// The simulated switch through Net-SNMP's tools: the clock, live
// counters, refused sets, follow-ups, LED faults, resets and the benchmark seed.
#include "AgentProcess.h"

#include <QtTest>

namespace {

const QString Clock = "1.3.6.1.4.1.32473.12.10.2.0";
const QString Leds = "1.3.6.1.4.1.32473.12.11.1.9.4.1.5.1";
const QString SysLocation = "1.3.6.1.2.1.1.6.0";
const QString DeviceUpTime = "1.3.6.1.4.1.32473.11.69.1.2.1.1.1.0";
const QString IpIf = "1.3.6.1.4.1.32473.11.69.1.3.2.1.1.1.";

// The counters the protocol and interface monitors poll.
QStringList monitoredCounters()
{
    QStringList oids;
    for (int arc : {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 18, 19, 23})
        oids << QStringLiteral("1.3.6.1.2.1.4.%1.0").arg(arc);
    for (int arc = 1; arc <= 26; ++arc)
        oids << QStringLiteral("1.3.6.1.2.1.5.%1.0").arg(arc);
    for (int arc = 1; arc <= 4; ++arc)
        oids << QStringLiteral("1.3.6.1.2.1.7.%1.0").arg(arc);
    for (int arc = 1; arc <= 29; ++arc)
        if (arc != 7 && arc != 23)
            oids << QStringLiteral("1.3.6.1.2.1.11.%1.0").arg(arc);
    for (int ifIndex : {5120, 2})
        for (int col = 10; col <= 20; ++col)
            oids << QStringLiteral("1.3.6.1.2.1.2.2.1.%1.%2").arg(col).arg(ifIndex);
    return oids;
}

} // namespace

class TestAgentDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void clockKeepsItsZone();
    void monitoredCountersAdvance();
    void refusedSets_data();
    void refusedSets();
    void newInterfaceAndMemberAreCompleted();
    void ledFaultModes_data();
    void ledFaultModes();
    void benchmarkSeedServesItsTable();
    void resets_data();
    void resets();   // last: it reboots the shared agent

private:
    qint64 ticks(const QString &oid) const;
    AgentProcess m_agent;
};

void TestAgentDevice::initTestCase()
{
    QVERIFY2(m_agent.start(), qPrintable(m_agent.process().readAllStandardError()));
}

void TestAgentDevice::cleanupTestCase()
{
    m_agent.stop();
}

qint64 TestAgentDevice::ticks(const QString &oid) const
{
    bool ok = false;
    const qint64 t = m_agent.tool("snmpget", {"-v2c", "-c", "cobalt", "-Ot", "-Oqv", m_agent.target(), oid}).out.trimmed().toLongLong(&ok);
    return ok ? t : -1;
}

void TestAgentDevice::clockKeepsItsZone()
{
    const QByteArray before = m_agent.octets(Clock);
    QCOMPARE(before.size(), 11);
    // 2007-05-26 15:30:10, UTC+2.
    QCOMPARE(m_agent.v2("snmpset", {Clock, "x", "07D7051A0F1E0A002B0200"}, "lantern").exitCode, 0);
    const QByteArray set = m_agent.octets(Clock);
    QCOMPARE(set.size(), 11);
    QCOMPARE(set.left(6).toHex(), QByteArray("07d7051a0f1e"));
    QVERIFY(quint8(set[6]) >= 10 && quint8(set[6]) < 20);   // it runs on
    QCOMPARE(set.mid(8).toHex(), QByteArray("2b0200"));
    QCOMPARE(m_agent.value("1.3.6.1.4.1.32473.12.10.10.4.0"), QString("120"));   // the Time Zone follows
    // Eight octets set the time in the zone the clock has.
    QCOMPARE(m_agent.v2("snmpset", {Clock, "x", "07D8010203040500"}, "lantern").exitCode, 0);
    const QByteArray kept = m_agent.octets(Clock);
    QCOMPARE(kept.left(5).toHex(), QByteArray("07d8010203"));
    QCOMPARE(kept.mid(8).toHex(), QByteArray("2b0200"));
}

void TestAgentDevice::monitoredCountersAdvance()
{
    const QStringList oids = monitoredCounters();
    auto poll = [&] {
        QList<quint64> values;
        for (const QString &line : m_agent.v2("snmpget", QStringList{"-Oqv"} + oids).out.split('\n', Qt::SkipEmptyParts))
            values << line.trimmed().toULongLong();
        return values;
    };
    const QList<quint64> first = poll();
    QTest::qWait(1200);
    const QList<quint64> second = poll();
    QCOMPARE(first.size(), oids.size());
    QCOMPARE(second.size(), oids.size());
    for (int i = 0; i < oids.size(); ++i)
        QVERIFY2(second[i] > first[i], qPrintable(oids[i]));
    // icmpInMsgs and icmpOutMsgs hold at least their kinds (positions 17 and 30 in the list).
    for (const QList<quint64> &v : {first, second}) {
        quint64 in = 0, out = 0;
        for (int k = 18; k <= 29; ++k)
            in += v[k];
        for (int k = 31; k <= 42; ++k)
            out += v[k];
        QVERIFY(v[17] >= in);
        QVERIFY(v[30] >= out);
    }
}

void TestAgentDevice::refusedSets_data()
{
    QTest::addColumn<QStringList>("varbinds");
    QTest::addColumn<QString>("reason");
    const QString stp = "1.3.6.1.4.1.32473.12.15.1.";
    QTest::newRow("clock of 9 octets") << QStringList{Clock, "x", "07D7051A0F1E0F002B"} << "wrongLength";
    QTest::newRow("clock of 12 octets") << QStringList{Clock, "x", "07D7051A0F1E0F002B020000"} << "wrongLength";
    QTest::newRow("clock in month 13") << QStringList{Clock, "x", "07D70D1A0F1E0F00"} << "wrongValue";
    QTest::newRow("max age out of range") << QStringList{stp + "3.0", "i", "4001"} << "wrongValue";
    QTest::newRow("forward delay against max age") << QStringList{stp + "5.0", "i", "1000"} << "wrongValue";
    QTest::newRow("System interface destroyed") << QStringList{IpIf + "8.10.90.90.90", "i", "6"} << "inconsistentValue";
    QTest::newRow("md5 key of 17") << QStringList{"1.3.6.1.4.1.32473.11.69.1.3.4.1.2.1", "s", "0123456789abcdefg"} << "wrongLength";
    QTest::newRow("fifth BOOTP server")
        << QStringList{"1.3.6.1.4.1.32473.11.69.1.3.3.1.7.1.3.6.83.121.115.116.101.109.10.90.90.204", "i", "3"}
        << "inconsistentValue";
    QTest::newRow("summer offset 45") << QStringList{"1.3.6.1.4.1.32473.12.10.12.2.0", "i", "45"} << "wrongValue";
}

void TestAgentDevice::refusedSets()
{
    QFETCH(QStringList, varbinds);
    QFETCH(QString, reason);
    const QString before = m_agent.value(varbinds.first());
    auto r = m_agent.v2("snmpset", varbinds, "lantern");
    QVERIFY(r.exitCode != 0);
    const QString all = r.out + r.err;
    QVERIFY2(all.contains("Reason: " + reason) && all.contains("Failed object: ." + varbinds.first()), qPrintable(all));
    if (varbinds.first() != Clock)   // the clock runs on
        QCOMPARE(m_agent.value(varbinds.first()), before);
}

void TestAgentDevice::newInterfaceAndMemberAreCompleted()
{
    auto r = m_agent.v2("snmpset", {IpIf + "3.172.16.0.1", "s", "ipif4", IpIf + "4.172.16.0.1", "a", "255.255.0.0",
                                    IpIf + "5.172.16.0.1", "s", "v4", IpIf + "8.172.16.0.1", "i", "4"}, "lantern");
    QCOMPARE(r.exitCode, 0);
    const QString index = m_agent.value(IpIf + "2.172.16.0.1");
    QCOMPARE(index, QString("5123"));
    QCOMPARE(m_agent.value("1.3.6.1.2.1.4.20.1.2.172.16.0.1"), index);
    QCOMPARE(m_agent.value("1.3.6.1.2.1.4.20.1.3.172.16.0.1"), QString("255.255.0.0"));
    const QString ms = "1.3.6.1.4.1.32473.12.8.1.3.1.";
    QCOMPARE(m_agent.v2("snmpset", {ms + "8.5", "i", "5", ms + "9.5", "s", "pw", ms + "10.5", "i", "4"}, "lantern").exitCode, 0);
    QCOMPARE(m_agent.value(ms + "2.5"), QString("\"QSX-4810-MS5\""));
    QCOMPARE(m_agent.value(ms + "7.5"), QString("100"));
    QCOMPARE(m_agent.octets(ms + "3.5").toHex(), QByteArray("001b11482005"));
}

void TestAgentDevice::ledFaultModes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("octet");
    QTest::newRow("status octet 1") << "status1:2" << 59 << 5 << 0x01;
    QTest::newRow("zero octet") << "zero-at:10" << 59 << 10 << 0x00;
    QTest::newRow("short value") << "short:40" << 40 << 38 << 0x02;   // port 18's colour: gigabit
}

void TestAgentDevice::ledFaultModes()
{
    QFETCH(QString, mode);
    QFETCH(int, length);
    QFETCH(int, position);
    QFETCH(int, octet);
    AgentProcess agent;
    QVERIFY(agent.start({"--led-fault", mode}));
    const QByteArray led = agent.octets(Leds);
    QCOMPARE(led.size(), length);
    QCOMPARE(int(quint8(led[position])), octet);
    QCOMPARE(int(led.count('\0')), mode.startsWith("zero") ? 1 : 0);
    // A bad mode stops the agent with a message.
    QProcess bad;
    bad.start(QStringLiteral(QSX_AGENT_EXE), {"--led-fault", mode + "9"});
    QVERIFY(bad.waitForFinished(10000));
    QCOMPARE(bad.exitCode(), 2);
    QVERIFY(bad.readAllStandardError().contains("--led-fault"));
}

void TestAgentDevice::benchmarkSeedServesItsTable()
{
    AgentProcess agent;
    QVERIFY(agent.start({"--seed", QSX_AGENT_BENCH_SEED}));
    auto r = agent.v2("snmpbulkwalk", {"-Cr50", "1.3.6.1.4.1.32473.12.4.1.1.1.1"});
    QCOMPARE(r.exitCode, 0);
    int cells = 0;
    for (const QString &line : r.out.split('\n'))
        cells += line.startsWith(".1.3.6.1.4.1.32473.12.4.1.1.1.1.") ? 1 : 0;
    QCOMPARE(cells, 10000);
    QCOMPARE(agent.value("1.3.6.1.4.1.32473.12.4.1.1.1.1.11.1000").isEmpty(), false);
    QCOMPARE(agent.value("1.3.6.1.2.1.1.7.0"), QString("6"));   // the rest of the switch is there
}

void TestAgentDevice::resets_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("readsBack");
    QTest::addColumn<QString>("location");
    QTest::addColumn<bool>("restarts");
    const QString reset = "1.3.6.1.4.1.32473.12.1.2.20.0", systemReset = "1.3.6.1.4.1.32473.12.1.2.3.0";
    QTest::newRow("Reset config") << reset << 2 << 1 << "\"saved place\"" << false;
    QTest::newRow("Reset system") << reset << 3 << 1 << "\"saved place\"" << true;
    QTest::newRow("System Reset warm-start") << systemReset << 3 << 4 << "\"saved place\"" << true;
    QTest::newRow("Reset to factory data") << reset << 4 << 1 << "\"Lab rack 3\"" << true;
}

void TestAgentDevice::resets()
{
    QFETCH(QString, trigger);
    QFETCH(int, value);
    QFETCH(int, readsBack);
    QFETCH(QString, location);
    QFETCH(bool, restarts);
    QCOMPARE(m_agent.v2("snmpset", {SysLocation, "s", "saved place"}, "lantern").exitCode, 0);
    QCOMPARE(m_agent.v2("snmpset", {"1.3.6.1.4.1.32473.12.1.2.6.0", "i", "3"}, "lantern").exitCode, 0);
    QCOMPARE(m_agent.v2("snmpset", {SysLocation, "s", "not saved"}, "lantern").exitCode, 0);
    QTest::qWait(1100);
    const qint64 before = ticks(DeviceUpTime);
    QVERIFY(before >= 100);
    QCOMPARE(m_agent.v2("snmpset", {trigger, "i", QString::number(value)}, "lantern").exitCode, 0);
    const qint64 after = ticks(DeviceUpTime);
    QVERIFY2(restarts ? after < before : after >= before, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
    QCOMPARE(m_agent.value(SysLocation), location);
    QCOMPARE(m_agent.value(trigger), QString::number(readsBack));
    QVERIFY(qAbs(ticks("1.3.6.1.2.1.1.3.0") - after) < 100);   // sysUpTime tells the same
}

QTEST_GUILESS_MAIN(TestAgentDevice)
#include "tst_agentdevice.moc"
