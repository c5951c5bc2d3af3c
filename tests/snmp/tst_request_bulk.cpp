// Table walks with get-bulk give the rows of the get-next walk: against a
// scripted responder that misbehaves with get-bulk, and against snmpd.
#include "support/BulkResponder.h"
#include "support/SnmpTestSupport.h"
#include "support/TableWalk.h"

#include <QTest>

using TestSupport::BulkResponder;

Q_DECLARE_METATYPE(BulkResponder::Script)
Q_DECLARE_METATYPE(SnmpdTest::Credentials)

namespace {

const QString Table = QStringLiteral("1.3.6.1.4.1.32473.90.1.1");
using Columns = QList<QPair<int, quint32>>;  // column number, type

// 60 rows; column 3 has only a few of them, column 4 none.
QMap<QString, QString> tableObjects()
{
    QMap<QString, QString> m;
    for (int r = 1; r <= 60; ++r) {
        m.insert(QStringLiteral("%1.2.%2").arg(Table).arg(r), QStringLiteral("port %1").arg(r));
        if (r % 7 == 3)
            m.insert(QStringLiteral("%1.3.%2").arg(Table).arg(r), QString::number(r * 10));
    }
    m.insert(QStringLiteral("1.3.6.1.4.1.32473.91.1.0"), QStringLiteral("after the table"));
    return m;
}

KtSNMPVarList tableList()
{
    KtSNMPVarList l;
    l.AppendVar(Table + ".1", "index", KtType::Integer, KtAccess::NotAccess);
    l.AppendVar(Table + ".2", "name", KtType::DisplayStr, KtAccess::ReadOnly);
    l.AppendVar(Table + ".3", "speed", KtType::Integer, KtAccess::ReadOnly);
    l.AppendVar(Table + ".4", "note", KtType::DisplayStr, KtAccess::ReadOnly);
    l.Kind = KtKind::MVT_UMV;
    l.IndexCount = 1;
    return l;
}

using TestSupport::TableWalk;

TableWalk walkWith(const KtSNMPVarList &l, quint16 port, const SnmpdTest::Credentials &c, int repetitions,
                   bool async = false)
{
    KtSNMPRequest r(l);
    SnmpdTest::aim(r, port, c);
    r.BulkRepetitions = repetitions;
    return TableWalk::of(r, async);
}

// A MIB-II table of snmpd: the columns that do not move by themselves.
KtSNMPVarList mib2Table(const QString &entry, const Columns &columns)
{
    KtSNMPVarList l;
    for (const auto &[column, type] : columns)
        l.AppendVar(QStringLiteral("%1.%2").arg(entry).arg(column), QString::number(column), type, KtAccess::ReadOnly);
    l.Kind = KtKind::MVT_UMV;
    return l;
}

} // namespace

class TestRequestBulk : public QObject
{
    Q_OBJECT

private:
    SnmpdTest::SnmpdSession m_snmpd;
    BulkResponder m_responder{tableObjects()};
    TableWalk m_getNext;

private slots:
    void initTestCase()
    {
        QVERIFY(m_snmpd.start());
        m_getNext = walkWith(tableList(), m_responder.port(), SnmpdTest::v2c(), 0);
        QCOMPARE(m_getNext.code, 0);
        QCOMPARE(m_getNext.rows.size(), 60);
        QCOMPARE(m_getNext.rows.at(2), QStringLiteral("3|port 3|30|(NOTDONE)"));
        QCOMPARE(m_getNext.rows.at(3), QStringLiteral("4|port 4|(NULL)|(NOTDONE)"));
        QCOMPARE(m_responder.takeBulkRequests(), 0);
    }
    void cleanupTestCase() { m_snmpd.stop(); }

    void misbehavingResponder_data()
    {
        QTest::addColumn<BulkResponder::Script>("script");
        QTest::addColumn<bool>("async");
        QTest::addColumn<int>("bulkRequests");  // at most; -1: more than one
        QTest::addColumn<int>("nextRequests");  // -1: one per row and one more
        BulkResponder::Script plain, tooBig, truncated, tiny, refused, empty, echo, silent;
        tooBig.tooBigAbove = 20;
        truncated.truncateTo = 17;  // inside a repetition of three columns
        tiny.truncateTo = 2;
        refused.refuseStatus = 5;
        empty.emptyBulk = true;
        echo.echoBulk = true;
        silent.silentAbove = 30;
        for (bool async : {false, true}) {
            const char *how = async ? ", async" : "";
            QTest::newRow(qPrintable(QString("plain") + how)) << plain << async << 2 << 0;
            QTest::newRow(qPrintable(QString("tooBig above 20") + how)) << tooBig << async << -1 << 0;
            QTest::newRow(qPrintable(QString("cut to 17 varbinds") + how)) << truncated << async << -1 << 0;
            QTest::newRow(qPrintable(QString("cut to 2 varbinds") + how)) << tiny << async << -1 << 0;
            QTest::newRow(qPrintable(QString("genErr") + how)) << refused << async << 1 << -1;
            QTest::newRow(qPrintable(QString("no varbinds") + how)) << empty << async << 1 << -1;
            QTest::newRow(qPrintable(QString("answered like a get") + how)) << echo << async << 1 << -1;
            QTest::newRow(qPrintable(QString("silent above 30") + how)) << silent << async << -1 << 0;
        }
    }
    void misbehavingResponder()
    {
        QFETCH(BulkResponder::Script, script);
        QFETCH(bool, async);
        QFETCH(int, bulkRequests);
        QFETCH(int, nextRequests);
        m_responder.setScript(script);
        m_responder.takeBulkRequests();
        m_responder.takeNextRequests();
        m_responder.takeLargestRepetitions();
        KtSNMPRequest r(tableList());
        SnmpdTest::aim(r, m_responder.port(), SnmpdTest::v2c());
        r.Timeout = 20;
        r.Retries = 0;
        const TableWalk bulk = TableWalk::of(r, async);
        QCOMPARE(bulk.code, 0);
        QCOMPARE(bulk.rows, m_getNext.rows);
        QCOMPARE(r.Pending, 0);
        const int bulks = m_responder.takeBulkRequests(), nexts = m_responder.takeNextRequests();
        if (bulkRequests < 0)
            QVERIFY2(bulks > 1, qPrintable(QString::number(bulks)));
        else
            QVERIFY2(bulks >= 1 && bulks <= bulkRequests, qPrintable(QString::number(bulks)));
        QCOMPARE(nexts, nextRequests < 0 ? 61 : nextRequests);
        // The refusal holds for the request: its next walk asks with get-next only.
        if (nextRequests < 0) {
            QCOMPARE(TableWalk::of(r, async).rows, m_getNext.rows);
            QCOMPARE(m_responder.takeBulkRequests(), 0);
        }
        // Halving keeps the answers under the limits once they are found.
        if (script.tooBigAbove || script.silentAbove) {
            m_responder.takeLargestRepetitions();
            QCOMPARE(TableWalk::of(r, async).rows, m_getNext.rows);
            QVERIFY(m_responder.takeLargestRepetitions() * 3 <= std::max(script.tooBigAbove, script.silentAbove));
        }
    }

    // A fixed number of repetitions is what every get-bulk asks for.
    void fixedRepetitions()
    {
        m_responder.setScript({});
        m_responder.takeLargestRepetitions();
        QCOMPARE(walkWith(tableList(), m_responder.port(), SnmpdTest::v2c(), 5).rows, m_getNext.rows);
        QCOMPARE(m_responder.takeLargestRepetitions(), 5);
        QVERIFY(m_responder.takeBulkRequests() >= 12);
        // SNMPv1 has no get-bulk.
        QCOMPARE(walkWith(tableList(), m_responder.port(), SnmpdTest::v1(), -1).code, 0);
        QCOMPARE(m_responder.takeBulkRequests(), 0);
    }

    void snmpdTables_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<Columns>("columns");
        QTest::addColumn<SnmpdTest::Credentials>("cred");
        using C = Columns;
        const C ifTable{{1, KtType::Integer}, {2, KtType::DisplayStr}, {3, KtType::Integer}, {4, KtType::Integer},
                        {6, KtType::MacAddress}, {7, KtType::Integer}};
        const C ipAddrTable{{1, KtType::IpAddress}, {2, KtType::Integer}, {3, KtType::IpAddress}, {4, KtType::Integer},
                            {5, KtType::Integer}};
        const C ipRouteTable{{1, KtType::IpAddress}, {2, KtType::Integer}, {3, KtType::Integer},
                             {7, KtType::IpAddress}, {8, KtType::Integer}, {9, KtType::Integer},
                             {11, KtType::IpAddress}};
        const C tcpConnTable{{1, KtType::Integer}, {2, KtType::IpAddress}, {3, KtType::Integer},
                             {4, KtType::IpAddress}, {5, KtType::Integer}};
        const C udpTable{{1, KtType::IpAddress}, {2, KtType::Integer}};
        const QList<QPair<const char *, SnmpdTest::Credentials>> creds{
            {"v2c", SnmpdTest::v2c()}, {"v3", SnmpdTest::v3(QStringLiteral("shaaes"), 3, 3, 4)}};
        for (const auto &[how, cred] : creds) {
            QTest::newRow(qPrintable(QString("ifTable ") + how)) << "1.3.6.1.2.1.2.2.1" << ifTable << cred;
            QTest::newRow(qPrintable(QString("ipAddrTable ") + how)) << "1.3.6.1.2.1.4.20.1" << ipAddrTable << cred;
            QTest::newRow(qPrintable(QString("ipRouteTable ") + how)) << "1.3.6.1.2.1.4.21.1" << ipRouteTable << cred;
            QTest::newRow(qPrintable(QString("tcpConnTable ") + how)) << "1.3.6.1.2.1.6.13.1" << tcpConnTable << cred;
            QTest::newRow(qPrintable(QString("udpTable ") + how)) << "1.3.6.1.2.1.7.5.1" << udpTable << cred;
        }
    }
    void snmpdTables()
    {
        QFETCH(QString, entry);
        QFETCH(Columns, columns);
        QFETCH(SnmpdTest::Credentials, cred);
        const KtSNMPVarList l = mib2Table(entry, columns);
        // Connections and sockets of other programs come and go: compare
        // while the get-next walks before and after agree.
        for (int attempt = 0; attempt < 5; ++attempt) {
            const TableWalk before = walkWith(l, m_snmpd.port(), cred, 0);
            const TableWalk bulk = walkWith(l, m_snmpd.port(), cred, -1, attempt % 2 == 1);
            const TableWalk after = walkWith(l, m_snmpd.port(), cred, 0);
            QCOMPARE(before.code, 0);
            if (before.rows != after.rows)
                continue;
            QCOMPARE(bulk.code, 0);
            QCOMPARE(bulk.rows, before.rows);
            return;
        }
        QFAIL("the table kept changing");
    }
};

QTEST_GUILESS_MAIN(TestRequestBulk)
#include "tst_request_bulk.moc"
