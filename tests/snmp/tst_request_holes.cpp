// Table walks over columns that do not all have the same rows, against the
// simulated agent serving tables of the test's own.

#include "SnmpTestSupport.h"
#include "../agent/AgentProcess.h"

#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPSession.h"
#include "snmp/KtSnmpEngine.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Tables = QStringLiteral("1.3.6.1.4.1.32473.90");

// Cells of the tables: table number, column 2-4, index, value. Column 4 is an integer.
const char *const Seed = R"(1.3.6.1.2.1.1.3.0|67|0
1.3.6.1.4.1.32473.90.1.1.2.1|4|a1
1.3.6.1.4.1.32473.90.1.1.2.3|4|a3
1.3.6.1.4.1.32473.90.1.1.3.2|4|b2
1.3.6.1.4.1.32473.90.1.1.4.1|2|10
1.3.6.1.4.1.32473.90.1.1.4.2|2|20
1.3.6.1.4.1.32473.90.1.1.4.3|2|30
1.3.6.1.4.1.32473.90.2.1.2.1|4|x1
1.3.6.1.4.1.32473.90.2.1.2.2|4|x2
1.3.6.1.4.1.32473.90.2.1.3.1|4|y1
1.3.6.1.4.1.32473.90.2.1.3.2|4|y2
1.3.6.1.4.1.32473.90.2.1.4.1|2|1
1.3.6.1.4.1.32473.90.2.1.4.2|2|2
1.3.6.1.4.1.32473.90.3.1.3.1|4|z1
1.3.6.1.4.1.32473.90.3.1.3.2|4|z2
1.3.6.1.4.1.32473.90.3.1.4.1|2|5
1.3.6.1.4.1.32473.90.3.1.4.2|2|6
1.3.6.1.4.1.32473.90.4.1.2.1|4|p1
1.3.6.1.4.1.32473.90.4.1.2.2|4|p2
1.3.6.1.4.1.32473.90.4.1.2.3|4|p3
1.3.6.1.4.1.32473.90.4.1.3.1|4|q1
1.3.6.1.4.1.32473.90.4.1.4.1|2|1
1.3.6.1.4.1.32473.90.4.1.4.2|2|2
1.3.6.1.4.1.32473.90.4.1.4.3|2|3
1.3.6.1.4.1.32473.90.5.1.2.3|4|s3
1.3.6.1.4.1.32473.90.5.1.3.1|4|r1
1.3.6.1.4.1.32473.90.5.1.3.2|4|r2
1.3.6.1.4.1.32473.90.5.1.3.3|4|r3
1.3.6.1.4.1.32473.90.5.1.4.2|2|7
1.3.6.1.4.1.32473.90.5.1.4.3|2|8
1.3.6.1.4.1.32473.90.6.1.2.2|4|t2
1.3.6.1.4.1.32473.90.6.1.2.10|4|t10
1.3.6.1.4.1.32473.90.6.1.3.10|4|u10
1.3.6.1.4.1.32473.90.6.1.4.2|2|1
1.3.6.1.4.1.32473.90.6.1.4.10|2|2
)";

// The index (not readable, taken from the row's instance) and three columns.
KtSNMPVarList tableList(int table)
{
    const QString entry = QStringLiteral("%1.%2.1.").arg(Tables).arg(table);
    KtSNMPVarList l;
    l.AppendVar(entry + "1", "index", KtType::Integer, KtAccess::NotAccess);
    l.AppendVar(entry + "2", "name", KtType::DisplayStr, KtAccess::ReadOnly);
    l.AppendVar(entry + "3", "note", KtType::DisplayStr, KtAccess::ReadOnly);
    l.AppendVar(entry + "4", "count", KtType::Integer, KtAccess::ReadOnly);
    l.Kind = KtKind::MVT_UMV;
    l.IndexCount = 1;
    return l;
}

QString rowOf(const KtSNMPVarList &vars)
{
    QStringList cells;
    for (int i = 0; i < vars.Count(); ++i)
        cells << vars.Get(i).Value;
    return cells.join(u'|');
}

struct AsyncWalk
{
    KtSNMPRequest *request = nullptr;
    QStringList rows;
    int code = 0;
    bool done = false;
};

void nextRow(void *data, KtSNMPError *result, KtSNMPVarList *vars)
{
    auto *w = static_cast<AsyncWalk *>(data);
    w->code = result->Code;
    if (result->Finished) {
        w->done = true;
        return;
    }
    w->rows << rowOf(*vars);
    w->request->FetchAsync(nextRow, w, false);
}

} // namespace

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
        QVERIFY(seed.open(QIODevice::WriteOnly));
        seed.write(Seed);
        seed.close();
        QVERIFY(m_agent.start({"--seed", seed.fileName()}));
        KtSNMPSession::StartSession(m_folder.path());
    }

    void cleanupTestCase()
    {
        KtSNMPSession::StopSession();
        m_agent.stop();
    }

    // Each exchange gives the row of the smallest index any column
    // answered; a column without that row shows "(NULL)" in it, one that
    // has no more rows "(NOTDONE)".
    void rowsAlignByIndex_data()
    {
        QTest::addColumn<int>("table");
        QTest::addColumn<bool>("async");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("exchanges");
        const QStringList holes = {"1|a1|(NULL)|10", "2|(NULL)|b2|20", "3|a3|(NOTDONE)|30"};
        for (bool async : {false, true}) {
            const char *mode = async ? "async" : "sync";
            QTest::addRow("holes, %s", mode) << 1 << async << holes << 4;
            QTest::addRow("no holes, %s", mode) << 2 << async << QStringList{"1|x1|y1|1", "2|x2|y2|2"} << 3;
        }
        QTest::newRow("empty column") << 3 << false << QStringList{"1|(NOTDONE)|z1|5", "2|(NOTDONE)|z2|6"} << 3;
        QTest::newRow("column ends early")
            << 4 << false << QStringList{"1|p1|q1|1", "2|p2|(NOTDONE)|2", "3|p3|(NOTDONE)|3"} << 4;
        QTest::newRow("columns start late")
            << 5 << false << QStringList{"1|(NULL)|r1|(NULL)", "2|(NULL)|r2|7", "3|s3|r3|8"} << 4;
        QTest::newRow("indexes compare as numbers") << 6 << false << QStringList{"2|t2|(NULL)|1", "10|t10|u10|2"} << 3;
    }
    void rowsAlignByIndex()
    {
        QFETCH(int, table);
        QFETCH(bool, async);
        QFETCH(QStringList, rows);
        QFETCH(int, exchanges);
        KtSNMPRequest r(tableList(table));
        SnmpdTest::aim(r, m_agent.port(), SnmpdTest::v2c());
        const quint64 sent = KtSnmpEngine::Instance().PacketsSent();
        QStringList seen;
        if (async) {
            AsyncWalk w;
            w.request = &r;
            r.FetchAsync(nextRow, &w, true);
            QTRY_VERIFY_WITH_TIMEOUT(w.done, 10000);
            QCOMPARE(w.code, 0);
            seen = w.rows;
        } else {
            for (bool more = r.Fetch(true); more; more = r.Fetch(false)) {
                seen << rowOf(r.Vars);
                QVERIFY(seen.size() <= rows.size());
            }
        }
        QCOMPARE(seen, rows);
        QCOMPARE(KtSnmpEngine::Instance().PacketsSent() - sent, quint64(exchanges));
    }
};

QTEST_GUILESS_MAIN(TestRequestHoles)
#include "tst_request_holes.moc"
