// Table walks over columns that do not all have the same rows, against the
// simulated agent serving tables of the test's own.

#include "support/AgentProcess.h"
#include "support/SnmpTestSupport.h"

#include "snmp/KtSNMPSession.h"
#include "snmp/KtSnmpEngine.h"

#include <QTest>

// Table 1 has rows 2, 3 and 10: column 2 lacks row 3, column 3 has only
// row 3. Table 2 has no holes.
static const char Seed[] = "1.3.6.1.2.1.1.3.0|67|0\n"
                           "1.3.6.1.4.1.32473.90.1.1.2.2|4|a2\n1.3.6.1.4.1.32473.90.1.1.2.10|4|a10\n"
                           "1.3.6.1.4.1.32473.90.1.1.3.3|4|b3\n"
                           "1.3.6.1.4.1.32473.90.1.1.4.2|2|1\n1.3.6.1.4.1.32473.90.1.1.4.3|2|2\n"
                           "1.3.6.1.4.1.32473.90.1.1.4.10|2|3\n"
                           "1.3.6.1.4.1.32473.90.2.1.2.1|4|x1\n1.3.6.1.4.1.32473.90.2.1.2.2|4|x2\n"
                           "1.3.6.1.4.1.32473.90.2.1.3.1|4|y1\n1.3.6.1.4.1.32473.90.2.1.3.2|4|y2\n"
                           "1.3.6.1.4.1.32473.90.2.1.4.1|2|1\n1.3.6.1.4.1.32473.90.2.1.4.2|2|2\n";

class TestRequestHoles : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    AgentProcess m_agent;

private slots:
    void initTestCase()
    {
        QFile seed(m_folder.filePath("tables.snmprec"));
        QVERIFY(seed.open(QIODevice::WriteOnly) && seed.write(Seed) > 0);
        seed.close();
        QVERIFY(m_agent.start({"--seed", seed.fileName()}));
        KtSNMPSession::StartSession(m_folder.path());
    }
    void cleanupTestCase() { KtSNMPSession::StopSession(); }

    // Each exchange reads the row of the smallest index any column answered
    // (compared as numbers); a column without that row shows "(NULL)" in it.
    // Get-bulk reads the whole table ahead and hands out the same rows.
    void rowsAlignByIndex_data()
    {
        QTest::addColumn<int>("table");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("repetitions");
        QTest::addColumn<int>("exchanges");
        const QStringList holes{"2|a2|(NULL)|1", "3|(NULL)|b3|2", "10|a10|(NOTDONE)|3"};
        const QStringList full{"1|x1|y1|1", "2|x2|y2|2"};
        QTest::newRow("holes") << 1 << holes << 0 << 4;
        QTest::newRow("no holes") << 2 << full << 0 << 3;
        QTest::newRow("holes, get-bulk") << 1 << holes << -1 << 1;
        QTest::newRow("no holes, get-bulk") << 2 << full << -1 << 1;
        QTest::newRow("holes, get-bulk of one repetition") << 1 << holes << 1 << 4;
    }
    void rowsAlignByIndex()
    {
        QFETCH(int, table);
        QFETCH(QStringList, rows);
        QFETCH(int, repetitions);
        QFETCH(int, exchanges);
        // The index is not readable: it comes from the row's instance.
        const QString entry = QStringLiteral("1.3.6.1.4.1.32473.90.%1.1.").arg(table);
        KtSNMPVarList l;
        l.AppendVar(entry + "1", "index", KtType::Integer, KtAccess::NotAccess);
        l.AppendVar(entry + "2", "name", KtType::DisplayStr, KtAccess::ReadOnly);
        l.AppendVar(entry + "3", "note", KtType::DisplayStr, KtAccess::ReadOnly);
        l.AppendVar(entry + "4", "count", KtType::Integer, KtAccess::ReadOnly);
        l.Kind = KtKind::MVT_UMV;
        l.IndexCount = 1;
        KtSNMPRequest r(l);
        SnmpdTest::aim(r, m_agent.port(), SnmpdTest::v2c());
        r.BulkRepetitions = repetitions;
        const quint64 sent = KtSnmpEngine::Instance().PacketsSent();
        QStringList seen;
        for (bool more = r.Fetch(true); more && seen.size() <= rows.size(); more = r.Fetch(false)) {
            QStringList cells;
            for (int i = 0; i < r.Vars.Count(); ++i)
                cells << r.Vars.Get(i).Value;
            seen << cells.join(u'|');
        }
        QCOMPARE(seen, rows);
        QCOMPARE(KtSnmpEngine::Instance().PacketsSent() - sent, quint64(exchanges));
    }
};

QTEST_GUILESS_MAIN(TestRequestHoles)
#include "tst_request_holes.moc"
