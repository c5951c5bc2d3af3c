// Reads, walks and writes against the stock snmpd in v1, v2c and v3.

#include "support/SnmpTestSupport.h"

#include "errors/KtException.h"
#include "snmp/KtSNMPSession.h"
#include "snmp/SnmpEventProcessor.h"

#include <QSysInfo>
#include <QTest>

using namespace SnmpdTest;

Q_DECLARE_METATYPE(SnmpdTest::Credentials)

namespace {

struct WalkState
{
    int rows = 0;
    int callbacks = 0;
    bool finished = false;
    int code = 0;
    QStringList indexes;
    QStringList descriptions;
    KtSNMPRequest *request = nullptr;
};

// Asks for the next row until the engine says the walk is over.
void walkCallback(void *data, KtSNMPError *result, KtSNMPVarList *vars)
{
    auto *s = static_cast<WalkState *>(data);
    ++s->callbacks;
    s->code = result->Code;
    if (result->Code == 0 && !result->Finished) {
        ++s->rows;
        s->indexes.append(vars->Get(0).Value);
        s->descriptions.append(vars->Get(1).Value);
    }
    if (result->Finished || result->Code != 0)
        s->finished = true;
    else
        s->request->FetchAsync(walkCallback, s, false);
}

} // namespace

class TestRequestNet : public QObject
{
    Q_OBJECT

private:
    SnmpdSession m_env;

    // The stock command-line tools, as an independent oracle.
    QStringList tool(const QString &program, const QStringList &args)
    {
        const TestSupport::ToolResult r = TestSupport::runNetSnmpTool(
            m_env.folder(), program,
            QStringList{QStringLiteral("-v2c"), QStringLiteral("-c"), QStringLiteral("cobalt"), QStringLiteral("-On"),
                        QStringLiteral("-Oq"), QStringLiteral("127.0.0.1:%1").arg(m_env.port())}
                + args,
            10000);
        return r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    int ifNumber()
    {
        const QStringList out = tool(QStringLiteral("snmpget"), {QStringLiteral("1.3.6.1.2.1.2.1.0")});
        return out.isEmpty() ? -1 : out.first().section(QLatin1Char(' '), 1).toInt();
    }

    void addVersions()
    {
        addCredentialRows({{"v1", v1()},
                           {"v2c", v2c()},
                           {"v3 MD5/DES", v3(QStringLiteral("md5des"), 3, 2, 2)},
                           {"v3 SHA/AES", v3(QStringLiteral("shaaes"), 3, 3, 4)}});
    }

private slots:
    void initTestCase() { QVERIFY(m_env.start()); }
    void cleanupTestCase() { m_env.stop(); }

    void scalarGroupReadsEveryVariableWithInstanceZero_data() { addVersions(); }
    void scalarGroupReadsEveryVariableWithInstanceZero()
    {
        QFETCH(Credentials, cred);
        KtSNMPRequest r(systemList());
        aim(r, m_env.port(), cred);
        QCOMPARE(r.Fetch(true), false);  // kinds 0 and 1 never continue
        QVERIFY(r.Vars.Get(0).Value.startsWith(QLatin1String("Linux")));
        QVERIFY2(r.Vars.Get(1).Value.startsWith(QLatin1String("1.3.6.1.4.1.8072")), qPrintable(r.Vars.Get(1).Value));
        QVERIFY(r.Vars.Get(2).Value != QLatin1String("(NULL)") && !r.Vars.Get(2).Value.isEmpty());
        QCOMPARE(r.Vars.Get(4).Value, QSysInfo::machineHostName());
        QCOMPARE(r.Vars.Get(4).LastOid, QStringLiteral("1.3.6.1.2.1.1.5.0"));
        QVERIFY_THROWS_EXCEPTION(KtException, r.Fetch(false));
    }

    void scalarGroupAsynchronous_data() { addVersions(); }
    void scalarGroupAsynchronous()
    {
        QFETCH(Credentials, cred);
        KtSNMPRequest r(systemList());
        aim(r, m_env.port(), cred);
        struct Got
        {
            int calls = 0;
            KtSNMPError e;
            QString name;
        } got;
        r.FetchAsync(
            [](void *d, KtSNMPError *e, KtSNMPVarList *vars) {
                auto *g = static_cast<Got *>(d);
                ++g->calls;
                g->e = *e;
                g->name = vars->Get(4).Value;
            },
            &got, true);
        QCOMPARE(r.Pending, 1);
        QTRY_COMPARE_WITH_TIMEOUT(got.calls, 1, 30000);
        QCOMPARE(got.e.Code, 0);
        QCOMPARE(got.e.Message, QStringLiteral("Ok!"));
        QVERIFY(got.e.Finished);
        QCOMPARE(got.e.AgentHost, QStringLiteral("127.0.0.1"));
        QCOMPARE(got.e.AgentPort, m_env.port());
        QCOMPARE(got.name, QSysInfo::machineHostName());
        QCOMPARE(r.Pending, 0);
    }

    void tableWalkEndsAfterLastRow_data() { addVersions(); }
    void tableWalkEndsAfterLastRow()
    {
        QFETCH(Credentials, cred);
        const int expected = ifNumber();
        QVERIFY(expected > 0);

        KtSNMPRequest r(ifTableList());
        aim(r, m_env.port(), cred);
        QStringList indexes;
        bool more = r.Fetch(true);
        while (more) {
            indexes.append(r.Vars.Get(0).Value);
            // The index column is decoded from the instance suffix of the row.
            QCOMPARE(r.Vars.Get(1).LastOid, QString::fromLatin1(IfTable) + QStringLiteral(".2.") + r.Vars.Get(0).Value);
            QVERIFY(indexes.size() <= expected);
            more = r.Fetch(false);
        }
        QCOMPARE(indexes.size(), expected);
        for (int i = 1; i < r.Vars.Count(); ++i)
            QCOMPARE(r.Vars.Get(i).Value, QStringLiteral("(NOTDONE)"));
        // Continuing a finished walk stays finished.
        QCOMPARE(r.Fetch(false), false);

        // The same walk, asynchronously.
        WalkState s;
        s.request = &r;
        r.FetchAsync(walkCallback, &s, true);
        QTRY_VERIFY_WITH_TIMEOUT(s.finished, 30000);
        QCOMPARE(s.code, 0);
        QCOMPARE(s.indexes, indexes);
        QCOMPARE(s.callbacks, expected + 1);
        QVERIFY(s.descriptions.contains(QStringLiteral("lo")));
    }

    // The last column runs into the end of the agent's view: v1 answers
    // noSuchName (echoing the request), v2c/v3 endOfMibView.
    void walkToEndOfViewEndsWithoutError_data()
    {
        QTest::addColumn<Credentials>("cred");
        QTest::addColumn<QString>("community");
        QTest::newRow("v1 noSuchName") << v1() << QStringLiteral("sysonly");
        QTest::newRow("v2c endOfMibView") << v2c() << QStringLiteral("sysonly");
        QTest::newRow("v3 endOfMibView") << v3(QStringLiteral("viewuser"), 3, 3, 4) << QString();
    }
    void walkToEndOfViewEndsWithoutError()
    {
        QFETCH(Credentials, cred);
        QFETCH(QString, community);
        const int expected = int(tool(QStringLiteral("snmpwalk"), {QStringLiteral("1.3.6.1.2.1.1.9.1.4")}).size());
        QVERIFY(expected > 0);

        KtSNMPVarList l;
        l.AppendVar(QStringLiteral(" "), QStringLiteral("sysORIndex"), KtType::Integer, KtAccess::NotAccess);
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.9.1.3"), QStringLiteral("sysORDescr"), KtType::DisplayStr, KtAccess::ReadOnly);
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.9.1.4"), QStringLiteral("sysORUpTime"), KtType::TimeTicks, KtAccess::ReadOnly);
        l.Kind = KtKind::MVT_UMV;
        l.IndexCount = 1;
        KtSNMPRequest r(l);
        aim(r, m_env.port(), cred);
        if (!community.isEmpty())
            r.ReadCommunity = community;
        int rows = 0;
        QStringList seen;
        for (bool more = r.Fetch(true); more; more = r.Fetch(false)) {
            ++rows;
            seen.append(r.Vars.Get(0).Value);
            QVERIFY(rows <= expected);
        }
        QCOMPARE(rows, expected);
        QCOMPARE(seen.first(), QStringLiteral("1"));
        QCOMPARE(seen.last(), QString::number(expected));

        WalkState s;
        s.request = &r;
        r.FetchAsync(walkCallback, &s, true);
        QTRY_VERIFY_WITH_TIMEOUT(s.finished, 30000);
        QCOMPARE(s.code, 0);
        QCOMPARE(s.rows, expected);
    }

    void columnsThatEndEarlyReadNotDone_data() { addVersions(); }
    void columnsThatEndEarlyReadNotDone()
    {
        QFETCH(Credentials, cred);
        const int expected = ifNumber();
        KtSNMPVarList l = ifTableList();
        // No agent has column 99: its first get-next already leaves the column.
        l.AppendVar(QString::fromLatin1(IfTable) + QStringLiteral(".99"), QStringLiteral("none"), KtType::Integer,
                    KtAccess::ReadOnly);
        KtSNMPRequest r(l);
        aim(r, m_env.port(), cred);
        int rows = 0;
        for (bool more = r.Fetch(true); more; more = r.Fetch(false)) {
            ++rows;
            QCOMPARE(r.Vars.Get(5).Value, QStringLiteral("(NOTDONE)"));
            QVERIFY(r.Vars.Get(1).Value != QLatin1String("(NOTDONE)"));
            QVERIFY(rows <= expected);
        }
        QCOMPARE(rows, expected);

        // A list of ended columns only gives no row at all.
        KtSNMPVarList none;
        none.AppendVar(QString::fromLatin1(IfTable) + QStringLiteral(".99"), QStringLiteral("none"), KtType::Integer,
                       KtAccess::ReadOnly);
        none.AppendVar(QString::fromLatin1(IfTable) + QStringLiteral(".98"), QStringLiteral("none"), KtType::Integer,
                       KtAccess::ReadOnly);
        none.Kind = KtKind::MVT_FMV;
        KtSNMPRequest empty(none);
        aim(empty, m_env.port(), cred);
        QCOMPARE(empty.Fetch(true), false);
        QCOMPARE(empty.Vars.Get(0).Value, QStringLiteral("(NOTDONE)"));
        QCOMPARE(empty.Vars.Get(1).Value, QStringLiteral("(NOTDONE)"));
    }

    void singleInstanceReadsWithGetOrGetNext()
    {
        KtSNMPVarList l;
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.1"), QStringLiteral("sysName"), KtType::DisplayStr, KtAccess::ReadOnly);
        l.Kind = KtKind::MVT_SV;
        KtSNMPRequest r(l);
        aim(r, m_env.port(), v2c());
        r.Vars.Suffix = QStringLiteral("5.0");  // the list suffix completes the instance
        QCOMPARE(r.Fetch(true), false);
        QCOMPARE(r.Vars.Get(0).Value, QSysInfo::machineHostName());
        QCOMPARE(r.Vars.Get(0).LastOid, QStringLiteral("1.3.6.1.2.1.1.5.0"));

        r.Vars.Suffix = QStringLiteral("5");
        r.UseGetNext = true;  // the next instance after sysName is sysName.0
        QCOMPARE(r.Fetch(true), false);
        QCOMPARE(r.Vars.Get(0).Value, QSysInfo::machineHostName());
        QCOMPARE(r.Vars.Get(0).LastOid, QStringLiteral("1.3.6.1.2.1.1.5.0"));
    }

    void missingScalarInV1IsAnError()
    {
        KtSNMPVarList l;
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.77"), QStringLiteral("nothing"), KtType::Integer, KtAccess::ReadOnly);
        KtSNMPRequest r(l);
        aim(r, m_env.port(), v1());
        try {
            r.Fetch(true);
            QFAIL("no exception");
        } catch (const KtException &e) {
            QCOMPARE(e.code(), -102);
            QCOMPARE(e.message(), QStringLiteral("Variable does not exist!"));
        }
        // The first exchange of a v1 walk answered noSuchName is an error too.
        KtSNMPVarList t;
        t.AppendVar(QStringLiteral("1.3.6.1.2.1.1.9.1.5"), QStringLiteral("past"), KtType::Integer, KtAccess::ReadOnly);
        t.Kind = KtKind::MVT_UMV;
        KtSNMPRequest w(t);
        aim(w, m_env.port(), v1());
        w.ReadCommunity = QStringLiteral("sysonly");
        QVERIFY_THROWS_EXCEPTION(KtException, w.Fetch(true));
    }

    void setChangesTheAgentAndReadsBack_data()
    {
        addVersions();
        QTest::newRow("v3 SHA/DES") << v3(QStringLiteral("shades"), 3, 3, 2);
        QTest::newRow("v3 SHA-256/AES-256") << v3(QStringLiteral("sha256aes256"), 3, 5, 6);
        QTest::newRow("v3 SHA authNoPriv") << v3(QStringLiteral("shaonly"), 2, 3, 1);
        QTest::newRow("v3 SHA-224/AES-192") << v3(QStringLiteral("sha224aes192"), 3, 4, 5);
        QTest::newRow("v3 SHA-384/DES") << v3(QStringLiteral("sha384des"), 3, 6, 2);
        QTest::newRow("v3 SHA-512/AES-128") << v3(QStringLiteral("sha512aes"), 3, 7, 4);
    }
    void setChangesTheAgentAndReadsBack()
    {
        QFETCH(Credentials, cred);
        const QString contact = QStringLiteral("ops-%1@%2").arg(QTest::currentDataTag()).arg(QDateTime::currentMSecsSinceEpoch());

        KtSNMPVarList l;
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.4"), QStringLiteral("sysContact"), KtType::DisplayStr, KtAccess::ReadWrite);
        KtSNMPRequest w(l);
        aim(w, m_env.port(), cred);
        w.Vars.Get(0).Value = contact;
        QVERIFY(w.Store());

        const QStringList out = tool(QStringLiteral("snmpget"), {QStringLiteral("1.3.6.1.2.1.1.4.0")});
        QCOMPARE(out.value(0).section(QLatin1Char(' '), 1).remove(QLatin1Char('"')), contact);

        KtSNMPRequest r(l);
        aim(r, m_env.port(), cred);
        r.Fetch(true);
        QCOMPARE(r.Vars.Get(0).Value, contact);

        // Asynchronously, with the value given to the call.
        struct Got
        {
            int calls = 0;
            KtSNMPError e;
        } got;
        w.StoreAsync(
            [](void *d, KtSNMPError *e, KtSNMPVarList *) {
                static_cast<Got *>(d)->e = *e;
                ++static_cast<Got *>(d)->calls;
            },
            &got, QStringLiteral("0"), {contact + QStringLiteral("-async")});
        QCOMPARE(w.Vars.Get(0).Value, contact);  // the given value does not stay
        QTRY_COMPARE_WITH_TIMEOUT(got.calls, 1, 30000);
        QCOMPARE(got.e.Code, 0);
        QVERIFY(got.e.Finished);
        r.Fetch(true);
        QCOMPARE(r.Vars.Get(0).Value, contact + QStringLiteral("-async"));
    }

    // sysDescr is read-only on the agent: were it sent, the set would fail.
    void columnListSendsOnlyTheListedVariables()
    {
        KtSNMPVarList l;
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.1"), QStringLiteral("sysDescr"), KtType::DisplayStr, KtAccess::ReadWrite);
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.6"), QStringLiteral("sysLocation"), KtType::DisplayStr, KtAccess::ReadWrite);
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.2"), QStringLiteral("sysObjectID"), KtType::ObjectId, KtAccess::ReadWrite);
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.3"), QStringLiteral("sysUpTime"), KtType::TimeTicks, KtAccess::ReadWrite);
        KtSNMPRequest w(l);
        aim(w, m_env.port(), v2c());
        w.Fetch(true);
        const KtSNMPVarList before = w.Vars;

        const QString place = QStringLiteral("rack-%1").arg(QDateTime::currentMSecsSinceEpoch());
        QVERIFY(w.Store(QStringLiteral("1"), {place}));
        for (int i = 0; i < w.Vars.Count(); ++i) {
            QCOMPARE(w.Vars.Get(i).Access, before.Get(i).Access);
            QCOMPARE(w.Vars.Get(i).Value, before.Get(i).Value);
            QVERIFY(w.Vars.IsWritable(i));
        }
        KtSNMPRequest r(l);
        aim(r, m_env.port(), v2c());
        r.Fetch(true);
        QCOMPARE(r.Vars.Get(1).Value, place);

        // Without a list every writable variable goes out, and the agent refuses.
        try {
            w.Store();
            QFAIL("no exception");
        } catch (const KtException &e) {
            QVERIFY2(e.code() == -117 || e.code() == -104 || e.code() == -106, qPrintable(QString::number(e.code())));
        }
    }

    void setWithReadOnlyCommunityFails()
    {
        KtSNMPVarList l;
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.4"), QStringLiteral("sysContact"), KtType::DisplayStr, KtAccess::ReadWrite);
        KtSNMPRequest w(l);
        aim(w, m_env.port(), v2c());
        w.WriteCommunity = QStringLiteral("cobalt");
        w.Vars.Get(0).Value = QStringLiteral("nobody");
        try {
            w.Store();
            QFAIL("no exception");
        } catch (const KtException &e) {
            QCOMPARE(e.code(), -106);  // noAccess
        }
    }
};

QTEST_GUILESS_MAIN(TestRequestNet)
#include "tst_request_net.moc"
