#include "dialogs/monitors/KtCounterModel.h"
#include "errors/KtException.h"

#include <QTest>

using Rule = KtCounterModel::Rule;
using Entry = KtCounterModel::HistoryEntry;

namespace {

// One step of a script: the value texts of a pass, or "reset".
using Script = QList<QStringList>;

const QStringList kReset{QStringLiteral("reset")};

// The label of pass n is "t<n>".
void run(KtCounterModel &m, const Script &script)
{
    int pass = 0;
    for (const QStringList &step : script) {
        if (step == kReset)
            m.Reset(QStringLiteral("r"));
        else
            m.Sample(step, QStringLiteral("t%1").arg(++pass));
    }
}

// Everything a pass could touch, for comparing before and after.
QStringList snapshot(const KtCounterModel &m)
{
    QStringList s{QString::number(m.ShowDelta), QString::number(m.SampleCount), QString::number(m.RowsShown())};
    for (int i = 0; i < m.RowCount(); ++i) {
        const KtCounterModel::Row &r = m.RowAt(i);
        s << QStringLiteral("%1 %2 %3 %4").arg(r.Current).arg(r.Previous).arg(r.Delta).arg(r.Peak) << m.Cells(i)
          << QString::number(r.History.size()) << QString::number(r.Rates.size());
    }
    return s;
}

} // namespace

class TestCounterModel : public QObject
{
    Q_OBJECT

private slots:
    void passes_data();
    void passes();
    void badPassChangesNothing_data();
    void badPassChangesNothing();
    void history();
    void parse_data();
    void parse();
    void timeTextHasSeconds();
};

void TestCounterModel::passes_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<int>("interval");
    QTest::addColumn<Script>("script");
    // Value, Delta, Rate, Peak, Peak Occured at of the single row afterwards.
    QTest::addColumn<QStringList>("cells");

    const int show = int(Rule::ShowDelta);
    const int count = int(Rule::SampleCount);
    QTest::newRow("wrap") << show << 1 << Script{{"4294967290"}, {"5"}} << QStringList{"5", "11", "11", "11", "t2"};
    QTest::newRow("first pass only loads") << show << 1 << Script{{"40"}} << QStringList{"40", "", "", "", ""};
    QTest::newRow("above 2^31") << show << 1 << Script{{"3000000000"}, {"3000000007"}}
                                << QStringList{"3000000007", "7", "7", "7", "t2"};
    QTest::newRow("interval 5") << show << 5 << Script{{"100"}, {"112"}} << QStringList{"112", "12", "2", "12", "t2"};
    QTest::newRow("interval 10 rounds down") << show << 10 << Script{{"100"}, {"109"}}
                                             << QStringList{"109", "9", "0", "9", "t2"};
    QTest::newRow("reset: one pass without delta") << show << 1 << Script{{"10"}, {"20"}, kReset, {"50"}}
                                                   << QStringList{"50", "0", "0", "0", "r"};
    QTest::newRow("reset then delta again") << show << 1 << Script{{"10"}, {"20"}, kReset, {"50"}, {"58"}}
                                            << QStringList{"58", "8", "8", "8", "t4"};
    QTest::newRow("jump from 0 is no peak") << show << 1 << Script{{"0"}, {"0"}, {"100"}}
                                            << QStringList{"100", "100", "100", "", ""};
    QTest::newRow("peak only grows") << show << 1 << Script{{"1"}, {"31"}, {"41"}} << QStringList{"41", "10", "10", "30", "t2"};
    QTest::newRow("count: first pass shows nothing") << count << 1 << Script{{"40"}} << QStringList{"", "", "", "", "t1"};
    QTest::newRow("count: second pass shows") << count << 1 << Script{{"40"}, {"45"}} << QStringList{"45", "5", "5", "5", "t2"};
    QTest::newRow("count: reset removes rows") << count << 1 << Script{{"40"}, {"45"}, kReset, {"90"}}
                                               << QStringList{"", "", "", "", "t3"};
    QTest::newRow("count: jump from 0 is no peak") << count << 1 << Script{{"0"}, {"0"}, {"7"}}
                                                  << QStringList{"7", "7", "7", "", "t1"};
}

void TestCounterModel::passes()
{
    QFETCH(int, rule);
    QFETCH(int, interval);
    QFETCH(Script, script);
    QFETCH(QStringList, cells);
    KtCounterModel m({QStringLiteral("c")}, Rule(rule));
    m.SetIntervalSeconds(interval);
    if (m.rule() == Rule::ShowDelta)
        m.PrepareRows(QString());
    run(m, script);
    QCOMPARE(m.Cells(0), cells);
    QVERIFY(m.RowsShown());
}

void TestCounterModel::badPassChangesNothing_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<QStringList>("bad");
    for (int rule : {int(Rule::ShowDelta), int(Rule::SampleCount)}) {
        const QByteArray r = rule == int(Rule::ShowDelta) ? "show: " : "count: ";
        QTest::newRow(r + "null in the middle") << rule << QStringList{"9", "(NULL)", "9"};
        QTest::newRow(r + "not done") << rule << QStringList{"9", "9", "(NOTDONE)"};
        QTest::newRow(r + "text") << rule << QStringList{"12abc", "9", "9"};
        QTest::newRow(r + "empty") << rule << QStringList{"9", "", "9"};
        QTest::newRow(r + "too few values") << rule << QStringList{"9", "9"};
        QTest::newRow(r + "beyond 64 bits") << rule << QStringList{"9", "9", "18446744073709551616"};
    }
}

void TestCounterModel::badPassChangesNothing()
{
    QFETCH(int, rule);
    QFETCH(QStringList, bad);
    KtCounterModel m({"a", "b", "c"}, Rule(rule));
    m.SetHistoryCount(4);
    run(m, {{"1", "2", "3"}, {"5", "7", "9"}});
    const QStringList before = snapshot(m);
    QVERIFY_THROWS_EXCEPTION(KtException, m.Sample(bad, QStringLiteral("bad")));
    QCOMPARE(snapshot(m), before);
    // and the next good pass carries on from the last good one
    m.Sample({"6", "9", "12"}, QStringLiteral("t3"));
    QCOMPARE(m.RowAt(2).Delta, 3u);
}

void TestCounterModel::history()
{
    KtCounterModel m({"in", "out"}, Rule::SampleCount);
    m.SetHistoryCount(10);
    QCOMPARE(m.RowAt(0).History, QList<Entry>(10));

    // Pass k brings k*k and 2*k*k: the delta of pass k is 2k-1 and 4k-2.
    Script script;
    for (int k = 1; k <= 12; ++k)
        script.append({QString::number(k * k), QString::number(2 * k * k)});
    run(m, script);
    QList<Entry> in, out;
    for (int k = 3; k <= 12; ++k) {
        in.append({quint32(2 * k - 1), QStringLiteral("t%1").arg(k)});
        out.append({quint32(4 * k - 2), QStringLiteral("t%1").arg(k)});
    }
    QCOMPARE(m.RowAt(0).History, in);
    QCOMPARE(m.RowAt(1).History, out);
    QCOMPARE(m.RowAt(0).Rates.size(), 11);

    // A new length restarts with that many zero entries.
    m.SetHistoryCount(60);
    m.Reset(QStringLiteral("r"));
    QCOMPARE(m.SampleCount, 0);
    QVERIFY(!m.RowsShown());
    QCOMPARE(m.RowAt(1).History, QList<Entry>(60));
    QVERIFY(m.RowAt(1).Rates.isEmpty());
    m.Sample({"500", "900"}, QStringLiteral("a"));
    QCOMPARE(m.RowAt(1).History, QList<Entry>(60));

    // The rates of the last polls only.
    for (int k = 0; k < KtCounterModel::RateLimit + 15; ++k)
        m.Sample({QString::number(600 + 3 * k), "900"}, QStringLiteral("b"));
    QCOMPARE(m.RowAt(0).Rates.size(), KtCounterModel::RateLimit);
    QCOMPARE(m.RowAt(0).Rates.last(), 3u);
    QCOMPARE(m.RowAt(0).History.size(), 60);
}

void TestCounterModel::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<quint32>("value");
    QTest::newRow("plain") << "4294967295" << true << 4294967295u;
    QTest::newRow("low 32 bits") << "4294967301" << true << 5u;
    QTest::newRow("negative") << "-1" << true << 4294967295u;
    QTest::newRow("counter64") << "18446744073709551615" << true << 4294967295u;
    QTest::newRow("hex") << "0x10" << false << 0u;
    QTest::newRow("decimal point") << "1.5" << false << 0u;
    QTest::newRow("null") << "(NULL)" << false << 0u;
}

void TestCounterModel::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(quint32, value);
    quint32 v = 0;
    QCOMPARE(KtCounterModel::Parse(text, v), ok);
    if (ok)
        QCOMPARE(v, value);
}

void TestCounterModel::timeTextHasSeconds()
{
    QVERIFY(KtCounterModel::TimeText(QTime(13, 5, 9)) != KtCounterModel::TimeText(QTime(13, 5, 10)));
}

QTEST_GUILESS_MAIN(TestCounterModel)
#include "tst_countermodel.moc"
