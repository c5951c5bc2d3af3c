// The module's own request engine against the simulated agent: the
// catalogue's descriptor tables read, rows created and destroyed, v3.
#include "support/AgentProcess.h"
#include "support/ExceptionCode.h"

#include "errors/KtException.h"
#include "mib/KtMibData.h"
#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPSession.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QtTest>

namespace {

const KtSNMPVarTable &tableAt(const QString &root)
{
    for (const KtMibData::Table &t : KtMibData::Instance().Tables())
        if (!t.Roots.isEmpty() && t.Roots.first() == root)
            return t.Vars;
    qFatal("no descriptor table at %s", qPrintable(root));
}

void aim(KtSNMPRequest &r, quint16 port)
{
    r.Host = QStringLiteral("127.0.0.1");
    r.AgentPort = port;
    r.Version = 1;
    r.ReadCommunity = QStringLiteral("cobalt");
    r.WriteCommunity = QStringLiteral("lantern");
    r.Timeout = 200;
    r.Retries = 1;
}

QStringList walkColumn(KtSNMPRequest &r, int column)
{
    QStringList values;
    for (bool more = r.Fetch(true); more; more = r.Fetch(false))
        values << r.Vars.Get(column).Value;
    return values;
}

} // namespace

class TestAgentEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void trustHostRowsThroughTheEngine();
    void portTableHasEveryPort();
    void counterGroupIsOneRow();
    void v3AuthPrivAndWrongPassPhrase_data();
    void v3AuthPrivAndWrongPassPhrase();
    void agentErrorsReachTheCaller();

private:
    AgentProcess m_agent;
    QTemporaryDir m_folder;
};

void TestAgentEngine::initTestCase()
{
    QVERIFY(m_agent.start());
    KtSNMPSession::StartSession(m_folder.path());
    KtSNMPSession::SetTimeout(200);
}

void TestAgentEngine::cleanupTestCase()
{
    KtSNMPSession::StopSession();
    m_agent.stop();
}

void TestAgentEngine::trustHostRowsThroughTheEngine()
{
    const KtSNMPVarTable &table = tableAt(QStringLiteral("1.3.6.1.4.1.32473.12.1.2.13.1.1"));
    KtSNMPRequest r(KtSNMPVarList(table, KtKind::MVT_UMV, 1));
    aim(r, m_agent.port());
    const QStringList before = walkColumn(r, 0);
    QVERIFY(!before.isEmpty());
    QVERIFY(!before.contains("12"));

    KtSNMPRequest w(KtSNMPVarList(table, KtKind::MVT_UMV, 1));
    aim(w, m_agent.port());
    w.Vars.Get(0).Value = QStringLiteral("12");
    w.Vars.Get(1).Value = QStringLiteral("172.16.4.0");
    w.Vars.Get(2).Value = QStringLiteral("createAndGo");
    w.Vars.Get(3).Value = QStringLiteral("255.255.255.0");
    QVERIFY(w.Store());

    QStringList status;
    QString address;
    for (bool more = r.Fetch(true); more; more = r.Fetch(false))
        if (r.Vars.Get(0).Value == "12") {
            status << r.Vars.Get(2).Value;
            address = r.Vars.Get(1).Value;
        }
    QCOMPARE(status, QStringList{"active"});
    QCOMPARE(address, QStringLiteral("172.16.4.0"));

    w.Vars.Get(2).Value = QStringLiteral("destroy");
    QVERIFY(w.Store(QStringLiteral("0,2"), {QStringLiteral("12"), QStringLiteral("destroy")}));
    QCOMPARE(walkColumn(r, 0), before);
}

void TestAgentEngine::portTableHasEveryPort()
{
    // Spanning-tree port states: one row per port of the switch.
    const KtSNMPVarTable &table = tableAt(QStringLiteral("1.3.6.1.4.1.32473.12.15.2.4.1"));
    KtSNMPRequest r(KtSNMPVarList(table, KtKind::MVT_UMV, 1));
    aim(r, m_agent.port());
    const QStringList ports = walkColumn(r, 0);
    QCOMPARE(ports.size(), 28);
    QCOMPARE(ports.first(), QStringLiteral("1"));
    QCOMPARE(ports.last(), QStringLiteral("28"));
}

void TestAgentEngine::counterGroupIsOneRow()
{
    // A monitor's walk over a group of scalars lands in exactly one row.
    KtSNMPVarList l;
    for (int i = 1; i <= 4; ++i)
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.7.%1").arg(i), QString(), KtType::Counter, KtAccess::ReadOnly);
    l.Kind = KtKind::MVT_FMV;
    KtSNMPRequest r(l);
    aim(r, m_agent.port());
    QVERIFY(r.Fetch(true));
    bool ok = false;
    r.Vars.Get(0).Value.toULongLong(&ok);
    QVERIFY2(ok, qPrintable(r.Vars.Get(0).Value));
    QCOMPARE(r.Vars.Get(0).LastOid, QStringLiteral("1.3.6.1.2.1.7.1.0"));
    QVERIFY(!r.Fetch(false));   // the next exchange leaves the group
}

void TestAgentEngine::v3AuthPrivAndWrongPassPhrase_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("auth");
    QTest::addColumn<QString>("authPass");
    QTest::addColumn<bool>("works");
    QTest::newRow("MD5/DES") << "MD5_DES_User" << 2 << "qsx4810auth" << true;
    QTest::newRow("SHA/DES") << "SHA_DES_User" << 3 << "qsx4810auth" << true;
    QTest::newRow("wrong pass phrase") << "SHA_DES_User" << 3 << "not-the-one" << false;
}

void TestAgentEngine::v3AuthPrivAndWrongPassPhrase()
{
    QFETCH(QString, user);
    QFETCH(int, auth);
    QFETCH(QString, authPass);
    QFETCH(bool, works);
    KtSNMPVarList l;
    l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.5"), QStringLiteral("Name"), KtType::DisplayStr, KtAccess::ReadWrite);
    KtSNMPRequest r(l);
    aim(r, m_agent.port());
    r.Version = 3;
    r.SecurityName = user;
    r.SecurityLevel = 3;
    r.AuthProtocol = auth;
    r.PrivProtocol = 2;
    r.AuthPassword = authPass;
    r.PrivPassword = QStringLiteral("qsx4810priv");
    r.Timeout = 300;  // a refusal is a report, at once; an answer may be slow
    r.Retries = 0;
    if (works) {
        r.Fetch(true);
        QCOMPARE(r.Vars.Get(0).Value, QStringLiteral("QSX-4810"));
    } else {
        QVERIFY_THROWS_EXCEPTION(KtException, r.Fetch(true));
    }
}

void TestAgentEngine::agentErrorsReachTheCaller()
{
    // The agent's notWritable comes back as the engine's PDU error code -100-17.
    KtSNMPVarList l;
    l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.1"), QStringLiteral("Descr"), KtType::DisplayStr, KtAccess::ReadWrite);
    KtSNMPRequest w(l);
    aim(w, m_agent.port());
    w.Vars.Get(0).Value = QStringLiteral("changed");
    QCOMPARE(codeOf([&] { w.Store(); }), -117);
}

QTEST_GUILESS_MAIN(TestAgentEngine)
#include "tst_agentengine.moc"
