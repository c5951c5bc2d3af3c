#include "support/AgentProcess.h"

#include "AgentCatalogue.h"
#include "AgentSchema.h"
#include "AgentSeed.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <set>

namespace {

const QString Enterprise = "1.3.6.1.4.1.32473";
const QString SysName = "1.3.6.1.2.1.1.5.0";
const QString SysLocation = "1.3.6.1.2.1.1.6.0";
const QString SysUpTime = "1.3.6.1.2.1.1.3.0";
const QString TrustHost = "1.3.6.1.4.1.32473.12.1.2.13.1.1";

// OIDs of a numeric walk (".1.3.6... = value" lines), without the leading dot.
QStringList walkedOids(const QString &out)
{
    QStringList oids;
    for (const QString &line : out.split('\n', Qt::SkipEmptyParts)) {
        const int eq = line.indexOf(" = ");
        if (line.startsWith('.') && eq > 0 && !line.contains("No more variables left"))
            oids << line.mid(1, eq - 1);
    }
    return oids;
}

} // namespace

class TestAgentServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void walkOfEnterpriseCoversEveryTable();
    void getNextWalkTerminatesAtTheEnd();
    void bulkWalkMatchesGetNextWalk();
    void v3Users_data();
    void v3Users();
    void v3WrongPassPhrasesAreRefused_data();
    void v3WrongPassPhrasesAreRefused();
    void readCommunityCannotWrite();
    void setErrorStatus_data();
    void setErrorStatus();
    void failedSetChangesNothing();
    void trustHostRowCreateAndDestroy();
    void countersAndUptimeAdvance();

    void saveRebootAndRestart();
    void v1StrictAgent();
    void droppedRequestsTimeOut();
    void delayedAnswers();
    void countersMovePerRequest();
    void seedFileIsServedExactly();
    void badSeedIsRefusedWithItsLine();
    void listensOnIpv6Loopback();

private:
    AgentProcess *m_agent = nullptr;
};

void TestAgentServer::initTestCase()
{
    m_agent = new AgentProcess;
    QVERIFY(m_agent->start());
}

void TestAgentServer::cleanupTestCase()
{
    delete m_agent;
}

void TestAgentServer::walkOfEnterpriseCoversEveryTable()
{
    auto r = m_agent->v2("snmpbulkwalk", {"-Cr50", Enterprise});
    QCOMPARE(r.exitCode, 0);
    const QStringList oids = walkedOids(r.out);
    QVERIFY(oids.size() > 1000);
    // Every group of the schema with something readable under the maker's subtree answers.
    AgentSchema schema;
    QVERIFY(BuildAgentSchema(schema).empty());
    std::set<std::string> served;
    for (const QString &o : oids)
        served.insert(o.toStdString());
    int checked = 0;
    for (int i = 0; i < schema.tableCount(); ++i) {
        const std::string entry = OidToText(schema.table(i).entry);
        if (entry.rfind(Enterprise.toStdString() + ".", 0) != 0 || schema.table(i).columns.empty())
            continue;
        auto it = served.lower_bound(entry + ".");
        QVERIFY2(it != served.end() && it->rfind(entry + ".", 0) == 0, entry.c_str());
        ++checked;
    }
    QVERIFY(checked > 100);
    // The front-panel variable has its 59 octets.
    QString led = m_agent->value("1.3.6.1.4.1.32473.12.11.1.9.4.1.5.1");
    QCOMPARE(led.remove('"').split(' ', Qt::SkipEmptyParts).size(), 59);
}

void TestAgentServer::getNextWalkTerminatesAtTheEnd()
{
    // The last subtree the agent serves: a walk must end there, for v2c and v1.
    auto v2 = m_agent->v2("snmpwalk", {"1.3.6.1.6.3"});
    QCOMPARE(v2.exitCode, 0);
    const QStringList oids = walkedOids(v2.out);
    QVERIFY(!oids.isEmpty());
    auto v1 = m_agent->tool("snmpwalk", {"-v1", "-c", "cobalt", "-t", "5", "-r", "1", m_agent->target(), "1.3.6.1.6.3"});
    QCOMPARE(v1.exitCode, 0);
    // SNMPv1 has no Counter64: those instances are skipped, everything else is the same.
    const QStringList v1oids = walkedOids(v1.out);
    QCOMPARE(v1oids.size(), oids.size() - int(v2.out.count("Counter64:")));
    for (const QString &o : v1oids)
        QVERIFY(oids.contains(o));
    auto next = m_agent->v2("snmpgetnext", {oids.last()});
    QVERIFY(next.out.contains("No more variables left in this MIB View"));
}

void TestAgentServer::bulkWalkMatchesGetNextWalk()
{
    auto walk = m_agent->v2("snmpwalk", {"1.3.6.1.2.1.2"});
    auto bulk = m_agent->v2("snmpbulkwalk", {"1.3.6.1.2.1.2"});
    QCOMPARE(walk.exitCode, 0);
    QCOMPARE(bulk.exitCode, 0);
    const QStringList a = walkedOids(walk.out);
    QCOMPARE(walkedOids(bulk.out), a);
    // 28 ports plus the System interface, in numeric order.
    QVERIFY(a.contains("1.3.6.1.2.1.2.2.1.2.5120"));
    QCOMPARE(a.filter(QRegularExpression("^1\\.3\\.6\\.1\\.2\\.1\\.2\\.2\\.1\\.1\\.")).size(), 29);
    QVERIFY(a.indexOf("1.3.6.1.2.1.2.2.1.1.9") < a.indexOf("1.3.6.1.2.1.2.2.1.1.10"));
}

void TestAgentServer::v3Users_data()
{
    QTest::addColumn<QStringList>("args");
    const QString a = "qsx4810auth", p = "qsx4810priv";
    QTest::newRow("noAuthUser") << QStringList{"-u", "noAuthUser", "-l", "noAuthNoPriv"};
    QTest::newRow("MD5_User") << QStringList{"-u", "MD5_User", "-l", "authNoPriv", "-a", "MD5", "-A", a};
    QTest::newRow("MD5_DES_User") << QStringList{"-u", "MD5_DES_User", "-l", "authPriv", "-a", "MD5", "-A", a, "-x", "DES", "-X", p};
    QTest::newRow("SHA_User") << QStringList{"-u", "SHA_User", "-l", "authNoPriv", "-a", "SHA", "-A", a};
    QTest::newRow("SHA_DES_User") << QStringList{"-u", "SHA_DES_User", "-l", "authPriv", "-a", "SHA", "-A", a, "-x", "DES", "-X", p};
    QTest::newRow("SHA_AES_User") << QStringList{"-u", "SHA_AES_User", "-l", "authPriv", "-a", "SHA", "-A", a, "-x", "AES", "-X", p};
}

void TestAgentServer::v3Users()
{
    QFETCH(QStringList, args);
    auto r = m_agent->tool("snmpget", QStringList{"-v3", "-Oqv", "-t", "5", "-r", "1"} + args
                                          + QStringList{m_agent->target(), "1.3.6.1.2.1.1.7.0"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.trimmed(), QString("6"));
    // v3 users may also write.
    auto s = m_agent->tool("snmpset", QStringList{"-v3", "-t", "5", "-r", "1"} + args
                                          + QStringList{m_agent->target(), "1.3.6.1.2.1.1.4.0", "s", "v3-contact"});
    QCOMPARE(s.exitCode, 0);
}

void TestAgentServer::v3WrongPassPhrasesAreRefused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("wrong auth") << QStringList{"-u", "SHA_DES_User", "-l", "authPriv", "-a", "SHA", "-A", "wrongpass1", "-x", "DES", "-X", "qsx4810priv"};
    QTest::newRow("wrong priv") << QStringList{"-u", "SHA_DES_User", "-l", "authPriv", "-a", "SHA", "-A", "qsx4810auth", "-x", "DES", "-X", "wrongpass2"};
    QTest::newRow("wrong protocol") << QStringList{"-u", "MD5_User", "-l", "authNoPriv", "-a", "SHA", "-A", "qsx4810auth"};
    QTest::newRow("unknown user") << QStringList{"-u", "nobody", "-l", "noAuthNoPriv"};
}

void TestAgentServer::v3WrongPassPhrasesAreRefused()
{
    QFETCH(QStringList, args);
    // Refused (a report, or silence for a wrong privacy key); the long wait is
    // for an agent that would answer after all.
    auto r = m_agent->tool("snmpget", QStringList{"-v3", "-Oqv", "-t", "3", "-r", "0"} + args
                                          + QStringList{m_agent->target(), "1.3.6.1.2.1.1.7.0"});
    QVERIFY(r.exitCode != 0);
    QVERIFY(!r.out.contains("6"));
}

void TestAgentServer::readCommunityCannotWrite()
{
    auto r = m_agent->v2("snmpset", {SysName, "s", "by-reader"});
    QVERIFY(r.exitCode != 0);
    QVERIFY(m_agent->value(SysName) != "\"by-reader\"");
    // Silence; an agent that answered late would still be caught.
    auto bad = m_agent->tool("snmpget", {"-v2c", "-c", "guess", "-t", "2", "-r", "0", m_agent->target(), SysName});
    QVERIFY(bad.exitCode != 0);
}

void TestAgentServer::setErrorStatus_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QStringList>("varbinds");
    QTest::addColumn<QString>("reason");
    QTest::newRow("wrongType") << "2c" << QStringList{SysName, "i", "3"} << "wrongType";
    QTest::newRow("notWritable") << "2c" << QStringList{"1.3.6.1.2.1.1.1.0", "s", "x"} << "notWritable";
    QTest::newRow("wrongValue") << "2c" << QStringList{"1.3.6.1.2.1.2.2.1.7.1", "i", "7"} << "wrongValue";
    QTest::newRow("noCreation") << "2c" << QStringList{"1.3.6.1.2.1.2.2.1.7.99", "i", "1"} << "noCreation";
    QTest::newRow("inconsistentName") << "2c" << QStringList{TrustHost + ".2.77", "a", "10.1.1.1"} << "inconsistentName";
    QTest::newRow("v1 noSuchName") << "1" << QStringList{TrustHost + ".2.77", "a", "10.1.1.1"} << "noSuchName";
    QTest::newRow("v1 read-only") << "1" << QStringList{"1.3.6.1.2.1.1.1.0", "s", "x"} << "noSuchName";
    QTest::newRow("v1 badValue") << "1" << QStringList{"1.3.6.1.2.1.2.2.1.7.1", "i", "7"} << "badValue";
}

void TestAgentServer::setErrorStatus()
{
    QFETCH(QString, version);
    QFETCH(QStringList, varbinds);
    QFETCH(QString, reason);
    auto r = m_agent->tool("snmpset", QStringList{"-v" + version, "-c", "lantern", "-t", "5", "-r", "1", m_agent->target()} + varbinds);
    QVERIFY(r.exitCode != 0);
    const QString all = r.out + r.err;
    QVERIFY2(all.contains("Reason: " + reason) || all.contains("(" + reason + ")"), qPrintable(all));
    QVERIFY(all.contains("Failed object: ." + varbinds.first()));
}

void TestAgentServer::failedSetChangesNothing()
{
    QCOMPARE(m_agent->v2("snmpset", {SysName, "s", "before"}, "lantern").exitCode, 0);
    // The second varbind fails, so the first must not stay applied either.
    auto r = m_agent->v2("snmpset", {SysName, "s", "after", "1.3.6.1.2.1.2.2.1.7.2", "i", "9"}, "lantern");
    QVERIFY(r.exitCode != 0);
    QCOMPARE(m_agent->value(SysName), QString("\"before\""));
    QCOMPARE(m_agent->value("1.3.6.1.2.1.2.2.1.7.2"), QString("1"));
}

void TestAgentServer::trustHostRowCreateAndDestroy()
{
    auto create = m_agent->v2("snmpset", {TrustHost + ".2.9", "a", "192.168.5.0", TrustHost + ".4.9", "a", "255.255.255.0",
                                          TrustHost + ".3.9", "i", "4"}, "lantern");
    QCOMPARE(create.exitCode, 0);
    QCOMPARE(m_agent->value(TrustHost + ".3.9"), QString("1"));
    QCOMPARE(m_agent->value(TrustHost + ".2.9"), QString("192.168.5.0"));
    QCOMPARE(m_agent->value(TrustHost + ".4.9"), QString("255.255.255.0"));
    // A second createAndGo on the same row is refused.
    QVERIFY(m_agent->v2("snmpset", {TrustHost + ".3.9", "i", "4"}, "lantern").exitCode != 0);
    auto destroy = m_agent->v2("snmpset", {TrustHost + ".3.9", "i", "6"}, "lantern");
    QCOMPARE(destroy.exitCode, 0);
    const QStringList rows = walkedOids(m_agent->v2("snmpwalk", {TrustHost}).out);
    QVERIFY(!rows.isEmpty());
    for (const QString &o : rows)
        QVERIFY2(!o.endsWith(".9"), qPrintable(o));
}

void TestAgentServer::countersAndUptimeAdvance()
{
    const QStringList oids{"-Ot", "-Oqv", SysUpTime, "1.3.6.1.2.1.2.2.1.10.2", "1.3.6.1.2.1.2.2.1.10.7"};
    const QStringList a = m_agent->v2("snmpget", oids).out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(a.size(), 3);
    // A second of the agent's own time later.
    QTRY_VERIFY_WITH_TIMEOUT(m_agent->uptime() - a[0].toLongLong() >= 100, 20000);
    const QStringList b = m_agent->v2("snmpget", oids).out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(b.size(), 3);
    QVERIFY(b[0].toLongLong() - a[0].toLongLong() >= 100);
    QVERIFY(b[1].toULongLong() > a[1].toULongLong());   // port 2 has a link
    QCOMPARE(b[2], a[2]);                                // port 7 has none
}

void TestAgentServer::saveRebootAndRestart()
{
    AgentProcess agent;
    QVERIFY(agent.start());
    QCOMPARE(agent.v2("snmpset", {SysLocation, "s", "saved place"}, "lantern").exitCode, 0);
    QCOMPARE(agent.v2("snmpset", {"1.3.6.1.4.1.32473.12.1.2.6.0", "i", "3"}, "lantern").exitCode, 0);
    const QString saved = agent.stateDir() + "/saved.snmprec";
    QVERIFY(QFile::exists(saved));
    QVERIFY(!QFile::exists(saved + ".tmp"));
    QCOMPARE(agent.v2("snmpset", {SysLocation, "s", "not saved"}, "lantern").exitCode, 0);
    QCOMPARE(agent.value(SysLocation), QString("\"not saved\""));

    QTRY_VERIFY_WITH_TIMEOUT(agent.uptime() >= 100, 20000);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(agent.v2("snmpset", {"1.3.6.1.4.1.32473.12.1.2.19.0", "i", "1"}, "lantern").exitCode, 0);
    const qint64 afterReboot = agent.uptime();
    // Counted from the reboot: no more than the time since the set went out
    // (an agent that went on would show a second more).
    const qint64 sinceSet = clock.elapsed() / 10 + 1;
    QVERIFY2(afterReboot >= 0 && afterReboot <= sinceSet,
             qPrintable(QString("%1 ticks, %2 since the set").arg(afterReboot).arg(sinceSet)));
    QCOMPARE(agent.value(SysLocation), QString("\"saved place\""));

    // A restart of the process comes back with the saved state too.
    QCOMPARE(agent.v2("snmpset", {SysLocation, "s", "lost again"}, "lantern").exitCode, 0);
    agent.stop();
    QVERIFY(agent.start());
    QCOMPARE(agent.value(SysLocation), QString("\"saved place\""));
    // The SNMP engine keeps its identity across the restart.
    const QString engine1 = agent.value("1.3.6.1.6.3.10.2.1.1.0");
    agent.stop();
    QVERIFY(agent.start({"--factory-reset"}));
    QCOMPARE(agent.value("1.3.6.1.6.3.10.2.1.1.0"), engine1);
    QVERIFY(agent.value(SysLocation) != "\"saved place\"");
}

void TestAgentServer::v1StrictAgent()
{
    AgentProcess agent;
    QVERIFY(agent.start({"--v1-strict"}));
    auto v2 = agent.tool("snmpget", {"-v2c", "-c", "cobalt", "-t", "2", "-r", "0", agent.target(), SysUpTime});
    QVERIFY(v2.exitCode != 0);
    QVERIFY((v2.out + v2.err).contains("Timeout"));
    auto walk = agent.tool("snmpwalk", {"-v1", "-c", "cobalt", "-t", "5", "-r", "1", agent.target(), "1.3.6.1.6.3"});
    QCOMPARE(walk.exitCode, 0);
    const QStringList oids = walkedOids(walk.out);
    QVERIFY(!oids.isEmpty());
    auto past = agent.tool("snmpgetnext", {"-v1", "-c", "cobalt", "-t", "5", "-r", "1", agent.target(), oids.last()});
    QVERIFY(past.exitCode != 0);
    QVERIFY((past.out + past.err).contains("noSuchName"));
}

void TestAgentServer::droppedRequestsTimeOut()
{
    AgentProcess agent;
    QVERIFY(agent.start({"--drop", "100"}));
    auto r = agent.tool("snmpget", {"-v2c", "-c", "cobalt", "-t", "1", "-r", "1", agent.target(), SysUpTime});
    QVERIFY(r.exitCode != 0);
    QVERIFY((r.out + r.err).contains("Timeout"));
    QCOMPARE(agent.process().state(), QProcess::Running);
}

void TestAgentServer::delayedAnswers()
{
    AgentProcess agent;
    QVERIFY(agent.start({"--delay", "400"}));
    auto late = agent.tool("snmpget", {"-v2c", "-c", "cobalt", "-Oqv", "-t", "5", "-r", "0", agent.target(), "1.3.6.1.2.1.1.7.0"});
    QCOMPARE(late.exitCode, 0);
    QCOMPARE(late.out.trimmed(), QString("6"));
    QVERIFY(late.elapsedMs >= 400);
    // A client that waits less than the delay gives up.
    auto impatient = agent.tool("snmpget", {"-v2c", "-c", "cobalt", "-t", "0.1", "-r", "0", agent.target(), SysUpTime});
    QVERIFY(impatient.exitCode != 0);
}

void TestAgentServer::countersMovePerRequest()
{
    AgentProcess agent;
    QVERIFY(agent.start({"--counters-per-request"}));
    const QStringList oids{"-Oqv", "1.3.6.1.2.1.2.2.1.11.2", "1.3.6.1.2.1.2.2.1.11.7"};
    const QStringList a = agent.v2("snmpget", oids).out.split('\n', Qt::SkipEmptyParts);
    const QStringList b = agent.v2("snmpget", oids).out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(a.size(), 2);
    QCOMPARE(b.size(), 2);
    // One request later port 2 took one second's unicast frames (6.25 MB/s
    // in 620 octets), however long or short the time between; port 7 has no link.
    const qint64 moved = b[0].toLongLong() - a[0].toLongLong();
    QVERIFY2(moved == 10080 || moved == 10081, qPrintable(QString::number(moved)));
    QCOMPARE(b[1], a[1]);
}

void TestAgentServer::seedFileIsServedExactly()
{
    QTemporaryDir dir;
    const QString seed = dir.filePath("switch.snmprec");
    QFile f(seed);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("# a real switch's data\n"
            "1.3.6.1.2.1.1.1.0|4|Recorded switch\n"
            "1.3.6.1.2.1.1.5.0|4|recorded\n"
            "1.3.6.1.4.1.32473.12.1.2.13.1.1.2.3|64|10.7.7.7\n"
            "1.3.6.1.4.1.32473.12.1.2.13.1.1.3.3|2|1\n"
            "1.3.6.1.4.1.32473.99.1.0|4x|00ff\n");
    f.close();
    AgentProcess agent;
    QVERIFY(agent.start({"--seed", seed}));
    QCOMPARE(agent.value("1.3.6.1.2.1.1.1.0"), QString("\"Recorded switch\""));
    const QStringList oids = walkedOids(agent.v2("snmpwalk", {Enterprise}).out);
    QVERIFY(oids.contains("1.3.6.1.4.1.32473.12.1.2.13.1.1.2.3"));
    QVERIFY(oids.contains("1.3.6.1.4.1.32473.99.1.0"));
    QVERIFY(!oids.contains("1.3.6.1.4.1.32473.12.1.2.13.1.1.2.1"));   // nothing of the built-in seed
    // Objects the agent does not know are served but read-only.
    auto r = agent.v2("snmpset", {"1.3.6.1.4.1.32473.99.1.0", "x", "01"}, "lantern");
    QVERIFY((r.out + r.err).contains("notWritable"));
    // Known objects keep their set semantics: the recorded row can be destroyed.
    QCOMPARE(agent.v2("snmpset", {"1.3.6.1.4.1.32473.12.1.2.13.1.1.3.3", "i", "6"}, "lantern").exitCode, 0);
    QVERIFY(agent.value("1.3.6.1.4.1.32473.12.1.2.13.1.1.2.3").isEmpty());
}

void TestAgentServer::badSeedIsRefusedWithItsLine()
{
    QTemporaryDir dir;
    const QString seed = dir.filePath("bad.snmprec");
    QFile f(seed);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("1.3.6.1.2.1.1.5.0|4|fine\n1.3.6.1.2.1.1.6.0|2|not a number\n");
    f.close();
    QProcess p;
    p.start(AgentProcess::executable(), {"--listen", QStringLiteral("udp:127.0.0.1:%1").arg(AgentProcess::FreePort()),
                                             "--state-dir", dir.filePath("state"), "--seed", seed});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    QVERIFY2(err.contains("bad.snmprec:2:"), qPrintable(err));
    QVERIFY(!QFile::exists(dir.filePath("state/saved.snmprec")));

    // A damaged saved state is not silently replaced by the seed.
    QVERIFY(QDir().mkpath(dir.filePath("state2")));
    QFile saved(dir.filePath("state2/saved.snmprec"));
    QVERIFY(saved.open(QIODevice::WriteOnly));
    saved.write("1.3.6.1.2.1.1.5.0|4|kept\n1.3.6.1.2.1.1.6|");
    saved.close();
    QProcess q;
    q.start(AgentProcess::executable(), {"--listen", QStringLiteral("udp:127.0.0.1:%1").arg(AgentProcess::FreePort()),
                                             "--state-dir", dir.filePath("state2")});
    QVERIFY(q.waitForFinished(30000));
    QCOMPARE(q.exitCode(), 1);
    const QString qerr = QString::fromLocal8Bit(q.readAllStandardError());
    QVERIFY2(qerr.contains("saved.snmprec:2:") && qerr.contains("--factory-reset"), qPrintable(qerr));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().startsWith("1.3.6.1.2.1.1.5.0|4|kept"));
}

void TestAgentServer::listensOnIpv6Loopback()
{
    AgentProcess agent;
    const quint16 port = AgentProcess::FreePort(true);
    QVERIFY(port != 0);
    QVERIFY(agent.start({}, QStringLiteral("udp6:[::1]:%1").arg(port)));
    QCOMPARE(agent.value("1.3.6.1.2.1.1.7.0"), QString("6"));
}

QTEST_GUILESS_MAIN(TestAgentServer)
#include "tst_agentserver.moc"
