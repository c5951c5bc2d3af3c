// Get-bulk answers cut into get-next answers, against an agent of the
// test's own held in memory: no network.
#include "snmp/KtBulkWalk.h"
#include "values/KtTypes.h"

#include <QTest>

#include <algorithm>

namespace {

const QString Table = QStringLiteral("1.3.6.1.4.1.32473.90.1.1");

// objects: column.row -> value under Table, plus whatever follows the table.
class MemoryAgent
{
public:
    MemoryAgent(const QMap<QString, int> &cells, bool followed)
    {
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            add(Table + u'.' + it.key(), it.value());
        if (followed)
            add(QStringLiteral("1.3.6.1.4.1.32473.91.1.0"), 7);
        std::sort(m_objects.begin(), m_objects.end(), [](const KtVarBind &a, const KtVarBind &b) {
            return KtOid::FromText(a.oid) < KtOid::FromText(b.oid);
        });
    }
    KtVarBind next(const QString &oid) const
    {
        const KtOid at = KtOid::FromText(oid);
        for (const KtVarBind &vb : m_objects)
            if (KtOid::FromText(vb.oid) > at)
                return vb;
        KtVarBind end;
        end.oid = oid;
        end.syntax = KtSyntax::EndOfMibView;
        return end;
    }
    QList<KtVarBind> bulk(const QList<KtVarBind> &asked, int repetitions, int truncateTo) const
    {
        QList<KtVarBind> out;
        QList<KtVarBind> at = asked;
        for (int r = 0; r < repetitions; ++r)
            for (KtVarBind &vb : at)
                out << (vb = next(vb.oid));
        if (truncateTo > 0 && out.size() > truncateTo)
            out.resize(truncateTo);
        return out;
    }

private:
    void add(const QString &oid, int value)
    {
        KtVarBind vb;
        vb.oid = oid;
        vb.syntax = KtSyntax::Integer;
        vb.integer = value;
        m_objects << vb;
    }
    QList<KtVarBind> m_objects;
};

QMap<QString, int> cells(const QList<int> &rows1, const QList<int> &rows2)
{
    QMap<QString, int> m;
    for (int r : rows1)
        m.insert(QStringLiteral("1.%1").arg(r), r);
    for (int r : rows2)
        m.insert(QStringLiteral("2.%1").arg(r), 100 + r);
    return m;
}

QList<int> range(int from, int to)
{
    QList<int> l;
    for (int i = from; i <= to; ++i)
        l << i;
    return l;
}

} // namespace

class TestBulkWalk : public QObject
{
    Q_OBJECT

private slots:
    // The walk moves each column like the aligned get-next walk: columns
    // holding the smallest row advance, the others ask from the same place.
    void answersAreThoseOfGetNext_data()
    {
        QTest::addColumn<QList<int>>("rows1");
        QTest::addColumn<QList<int>>("rows2");
        QTest::addColumn<bool>("followed");
        QTest::addColumn<int>("truncateTo");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("mostExchanges");
        const QList<int> full = range(1, 40), holes = {2, 5, 9, 10, 11, 12, 40, 41};
        QTest::newRow("full") << full << full << true << 0 << 0 << 2;
        QTest::newRow("full, end of the MIB") << full << full << false << 0 << 0 << 2;
        QTest::newRow("holes") << full << holes << true << 0 << 0 << 2;
        QTest::newRow("empty column") << full << QList<int>{} << true << 0 << 0 << 2;
        QTest::newRow("empty table") << QList<int>{} << QList<int>{} << false << 0 << 0 << 1;
        QTest::newRow("at most 4 repetitions") << full << holes << true << 0 << 4 << 14;
        QTest::newRow("answers cut inside a repetition") << full << holes << true << 7 << 0 << 40;
        QTest::newRow("answers of one varbind") << full << holes << true << 1 << 0 << 100;
    }
    void answersAreThoseOfGetNext()
    {
        QFETCH(QList<int>, rows1);
        QFETCH(QList<int>, rows2);
        QFETCH(bool, followed);
        QFETCH(int, truncateTo);
        QFETCH(int, limit);
        QFETCH(int, mostExchanges);
        const MemoryAgent agent(cells(rows1, rows2), followed);
        const QStringList bases{Table + ".1", Table + ".2"};
        KtBulkWalk w;
        w.Start(bases, {KtType::Integer, KtType::Integer}, 2, limit);
        QList<KtVarBind> places(2);
        places[0].oid = bases[0];
        places[1].oid = bases[1];
        int exchanges = 0, rows = 0;
        for (;;) {
            for (int guard = 0; !w.CanAnswer(places); ++guard) {
                QVERIFY(guard < 10);
                const KtBulkWalk::Request q = w.Next(places);
                QVERIFY(!q.columns.isEmpty());
                if (limit)
                    QVERIFY(q.repetitions <= limit);
                QVERIFY(w.Take(q, agent.bulk(q.vbs, q.repetitions, truncateTo)));
                ++exchanges;
            }
            const QList<KtVarBind> got = w.Answer(places);
            QCOMPARE(got.size(), 2);
            int row = -1;
            QList<int> index(2, -1);
            for (int k = 0; k < 2; ++k) {
                const KtVarBind expected = agent.next(places.at(k).oid);
                QCOMPARE(got.at(k).oid, expected.oid);
                QCOMPARE(got.at(k).syntax, expected.syntax);
                QCOMPARE(got.at(k).integer, expected.integer);
                if (got.at(k).syntax != KtSyntax::EndOfMibView && got.at(k).oid.startsWith(bases.at(k) + u'.')) {
                    index[k] = got.at(k).oid.section(u'.', -1).toInt();
                    row = row < 0 ? index[k] : std::min(row, index[k]);
                }
            }
            if (row < 0)
                break;
            QVERIFY(++rows <= 100);
            for (int k = 0; k < 2; ++k)
                if (index.at(k) == row)
                    places[k] = got.at(k);
        }
        QList<int> all = rows1 + rows2;
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        QCOMPARE(rows, int(all.size()));
        QVERIFY2(exchanges <= mostExchanges, qPrintable(QString::number(exchanges)));
    }

    void repetitionsFitTheAnswerBudget_data()
    {
        QTest::addColumn<QList<quint32>>("types");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        const QList<quint32> ten{KtType::Integer,    KtType::DisplayStr, KtType::Integer, KtType::IpAddress,
                                 KtType::Counter,    KtType::MacAddress, KtType::Gauge,   KtType::DisplayStr,
                                 KtType::TimeTicks,  KtType::Integer};
        QTest::newRow("ten columns") << ten << 0 << 15 << 30;
        QTest::newRow("one integer column") << QList<quint32>{KtType::Integer} << 0 << 64 << 64;
        QTest::newRow("a limit") << ten << 5 << 5 << 5;
        QList<quint32> wide(300, KtType::DisplayStr);
        QTest::newRow("wider than the budget") << wide << 0 << 1 << 1;
    }
    void repetitionsFitTheAnswerBudget()
    {
        QFETCH(QList<quint32>, types);
        QFETCH(int, limit);
        QFETCH(int, low);
        QFETCH(int, high);
        QStringList bases;
        QList<KtVarBind> places;
        for (int c = 0; c < types.size(); ++c) {
            bases << QStringLiteral("%1.%2").arg(Table).arg(c + 1);
            places << KtVarBind();
            places.last().oid = bases.last();
        }
        KtBulkWalk w;
        w.Start(bases, types, 2, limit);
        const KtBulkWalk::Request q = w.Next(places);
        QCOMPARE(q.columns.size(), types.size());
        QVERIFY2(q.repetitions >= low && q.repetitions <= high, qPrintable(QString::number(q.repetitions)));
        // Halving goes down to one and stays there.
        int r = q.repetitions;
        while (w.Halve(r)) {
            QCOMPARE(w.Cap(), std::max(1, r / 2));
            r = w.Next(places).repetitions;
        }
        QCOMPARE(r, 1);
        QCOMPARE(w.Next(places).repetitions, 1);
    }
};

QTEST_GUILESS_MAIN(TestBulkWalk)
#include "tst_bulkwalk.moc"
