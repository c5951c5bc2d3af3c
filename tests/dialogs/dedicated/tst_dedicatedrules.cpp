#include "dialogs/dedicated/KtDedicatedRules.h"

#include "errors/KtException.h"
#include "snmp/KtSNMPVarList.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QTest>

namespace {

KtSNMPVarList tableList(quint8 kind)
{
    KtSNMPVarList l;
    l.AppendVar(QStringLiteral("1.3.6.1.4.1.32473.1.1"), QStringLiteral("Index"), KtType::Integer, KtAccess::ReadOnly);
    l.AppendVar(QStringLiteral("1.3.6.1.4.1.32473.1.2"), QStringLiteral("Name"), KtType::DisplayStr, KtAccess::ReadOnly);
    l.AppendVar(QStringLiteral("1.3.6.1.4.1.32473.1.3"), QStringLiteral("State"), KtType::Integer, KtAccess::ReadWrite);
    l.Kind = kind;
    l.IndexCount = 1;
    return l;
}

} // namespace

class TestDedicatedRules : public QObject
{
    Q_OBJECT

private slots:
    void parseNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("min");
        QTest::addColumn<qint64>("max");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("value");
        QTest::newRow("plain") << "3" << 1LL << 32LL << true << 3LL;
        QTest::newRow("leading zero") << "03" << 1LL << 32LL << true << 3LL;
        QTest::newRow("blanks") << " 7 " << 1LL << 32LL << true << 7LL;
        QTest::newRow("negative") << "-5" << -10LL << 0LL << true << -5LL;
        QTest::newRow("below") << "0" << 1LL << 32LL << false << 0LL;
        QTest::newRow("above") << "33" << 1LL << 32LL << false << 0LL;
        QTest::newRow("empty") << "" << 0LL << 9LL << false << 0LL;
        QTest::newRow("sign only") << "-" << -9LL << 9LL << false << 0LL;
        QTest::newRow("hex") << "0x10" << 0LL << 99LL << false << 0LL;
        QTest::newRow("exponent") << "1e3" << 0LL << 9999LL << false << 0LL;
        QTest::newRow("trailing text") << "12a" << 0LL << 99LL << false << 0LL;
        QTest::newRow("inner blank") << "1 2" << 0LL << 99LL << false << 0LL;
        QTest::newRow("overflow") << "99999999999999999999" << 0LL << std::numeric_limits<qint64>::max() << false << 0LL;
    }
    void parseNumber()
    {
        QFETCH(QString, text);
        QFETCH(qint64, min);
        QFETCH(qint64, max);
        QFETCH(bool, ok);
        QFETCH(qint64, value);
        const auto v = KtDedicatedRules::ParseNumber(text, min, max);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QCOMPARE(*v, value);
    }

    void sameNumber()
    {
        QVERIFY(KtDedicatedRules::SameNumber(QStringLiteral("03"), QStringLiteral("3")));
        QVERIFY(!KtDedicatedRules::SameNumber(QStringLiteral("3"), QStringLiteral("4")));
        QVERIFY(KtDedicatedRules::SameNumber(QStringLiteral("ab"), QStringLiteral("ab ")));
        QVERIFY(!KtDedicatedRules::SameNumber(QStringLiteral("03a"), QStringLiteral("3a")));
    }

    void accessIsRestoredOnEveryPath()
    {
        KtSNMPVarList l = tableList(KtKind::MVT_UMV);
        try {
            KtAccessOverride leaveOut(l, {1, 2, 7}, KtAccess::Invalid);
            QCOMPARE(l.Get(2).Access, quint32(KtAccess::Invalid));
            QVERIFY(!KtDedicatedRules::HasSomethingToSet(l));
            throw KtException(-519, QStringLiteral("failed"));
        } catch (const KtException &) {
        }
        QCOMPARE(l.Get(1).Access, quint32(KtAccess::ReadOnly));
        QCOMPARE(l.Get(2).Access, quint32(KtAccess::ReadWrite));

        KtAccessOverride twice(l, {2, 2}, KtAccess::Invalid);
        twice.Restore();
        QCOMPARE(l.Get(2).Access, quint32(KtAccess::ReadWrite));
    }

    void somethingToSet_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<quint32>("stateAccess");
        QTest::addColumn<bool>("expected");
        QTest::newRow("table with a writable column") << int(KtKind::MVT_UMV) << quint32(KtAccess::ReadWrite) << true;
        QTest::newRow("table, only the index") << int(KtKind::MVT_FMV) << quint32(KtAccess::ReadOnly) << false;
        QTest::newRow("one instance: index columns count") << int(KtKind::MVT_SV) << quint32(KtAccess::ReadOnly) << false;
    }
    void somethingToSet()
    {
        QFETCH(int, kind);
        QFETCH(quint32, stateAccess);
        QFETCH(bool, expected);
        KtSNMPVarList l = tableList(quint8(kind));
        l.Get(2).Access = stateAccess;
        QCOMPARE(KtDedicatedRules::HasSomethingToSet(l), expected);
    }
};

QTEST_GUILESS_MAIN(TestDedicatedRules)
#include "tst_dedicatedrules.moc"
