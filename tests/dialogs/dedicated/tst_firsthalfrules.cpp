#include "dialogs/dedicated/TCurrentTimeFormRules.h"
#include "dialogs/dedicated/TMSInformationFormRules.h"
#include "dialogs/dedicated/TOSPFDefaultInfoOriginateFormRules.h"
#include "dialogs/dedicated/TRouteRedistributFormRules.h"
#include "dialogs/dedicated/TSTP_InfoRules.h"
#include "dialogs/dedicated/TSummerTimeFormRules.h"
#include "snmp/KtSNMPVarList.h"
#include "values/KtOptionList.h"

#include <QTest>

using IntLists = QList<QList<int>>;
Q_DECLARE_METATYPE(IntLists)

// The rules of the spanning-tree, time, routing and member-switch dialogs,
// without widgets.
class TestFirstHalfRules : public QObject
{
    Q_OBJECT

private slots:
    void stpCheck_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("maxAge");
        QTest::addColumn<QString>("hello");
        QTest::addColumn<QString>("delay");
        QTest::addColumn<QString>("hops");
        QTest::addColumn<QString>("expected");
        const QString data = QStringLiteral("Data Error !");
        const QString empty = QStringLiteral("Don't Leave Empty Fileds !");
        QTest::newRow("delay 1500, age 2000") << "rstp" << "2000" << "200" << "1500" << "20" << "";
        QTest::newRow("delay 1000, age 2000") << "rstp" << "2000" << "200" << "1000" << "20" << data;
        QTest::newRow("stp hello 1000, age 2000") << "stp" << "2000" << "1000" << "1500" << "20" << data;
        QTest::newRow("age equal to 2*hello+200") << "stp" << "2200" << "1000" << "1500" << "20" << "";
        QTest::newRow("mstp ignores hello") << "mstp" << "2000" << "" << "1500" << "20" << "";
        QTest::newRow("rstp needs hello") << "rstp" << "2000" << "" << "1500" << "20" << empty;
        QTest::newRow("empty age") << "rstp" << "" << "200" << "1500" << "20" << empty;
        QTest::newRow("no version chosen") << "" << "2000" << "200" << "1500" << "20" << empty;
        QTest::newRow("hops too big") << "mstp" << "2000" << "" << "1500" << "70000" << "Priority value is wrong!";
        QTest::newRow("not a number") << "rstp" << "2e3" << "200" << "1500" << "20"
                                      << "'2e3' is not a valid integer value";
    }
    void stpCheck()
    {
        QFETCH(QString, version);
        QFETCH(QString, maxAge);
        QFETCH(QString, hello);
        QFETCH(QString, delay);
        QFETCH(QString, hops);
        QFETCH(QString, expected);
        QCOMPARE(TSTP_InfoRules::Check({version, maxAge, hello, delay, hops, "3", "disabled"}), expected);
    }

    void stpPlan_data()
    {
        using namespace TSTP_InfoRules;
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("running");
        QTest::addColumn<bool>("mstp");
        QTest::addColumn<IntLists>("sets");
        const QList<int> six{MaxAge, HelloTime, ForwardDelay, MaxHops, TxHoldCount, ForwardBpdu};
        QTest::newRow("rstp to stp: version, then the values") << "stp" << "rstp" << false << IntLists{{Version}, six};
        QTest::newRow("same version: values only") << "rstp" << "rstp" << false << IntLists{six};
        QTest::newRow("unknown running version") << "stp" << "" << false << IntLists{{Version}, six};
        QTest::newRow("mstp running: no version, no hello")
            << "mstp" << "mstp" << true
            << IntLists{{MstpMaxAge, MstpForwardDelay, MstpMaxHops, MstpTxHoldCount, MstpForwardBpdu}};
        QTest::newRow("to mstp: one set with the version")
            << "mstp" << "stp" << true
            << IntLists{{MstpVersion, MstpMaxAge, MstpForwardDelay, MstpMaxHops, MstpTxHoldCount, MstpForwardBpdu}};
    }
    void stpPlan()
    {
        QFETCH(QString, selected);
        QFETCH(QString, running);
        QFETCH(bool, mstp);
        QFETCH(IntLists, sets);
        const QList<TSTP_InfoRules::Set> plan = TSTP_InfoRules::Plan(selected, running);
        QCOMPARE(plan.size(), sets.size());
        for (int i = 0; i < plan.size(); ++i) {
            QCOMPARE(plan.at(i).mstp, mstp);
            QCOMPARE(plan.at(i).vars, sets.at(i));
        }
    }

    void stpMstpListHasNoHelloTime()
    {
        const KtSNMPVarList mstp = TSTP_InfoRules::MstpList();
        QCOMPARE(mstp.Count(), int(TSTP_InfoRules::MstpVarCount));
        for (int i = 0; i < mstp.Count(); ++i) {
            QVERIFY(!mstp.Get(i).Oid.endsWith(QLatin1String(".4")));
            QCOMPARE(mstp.Get(i).Oid, TSTP_InfoRules::EditList().Get(TSTP_InfoRules::EditVarOf(i)).Oid);
        }
    }

    void capacity_data()
    {
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("expected");  // "-" for no text
        QTest::newRow("F0") << "F0" << " systemTime,SNTP,SummerTime,realTimeClock";
        QTest::newRow("40") << "40" << " ,SNTP";
        QTest::newRow("lower case") << "a0" << " systemTime,SummerTime";
        QTest::newRow("last octet counts") << "8010" << " ,realTimeClock";
        QTest::newRow("digits up to a blank") << "F0 10" << " systemTime,SNTP,SummerTime,realTimeClock";
        QTest::newRow("long value, no overflow") << QString(40, QLatin1Char('F')) + "20" << " ,SummerTime";
        QTest::newRow("no bits") << "00" << " ";
        QTest::newRow("no hex digit") << "zz" << "-";
        QTest::newRow("empty") << "" << "-";
    }
    void capacity()
    {
        QFETCH(QString, hex);
        QFETCH(QString, expected);
        const auto text = TCurrentTimeFormRules::CapacityText(hex);
        QCOMPARE(text.value_or(QStringLiteral("-")), expected);
    }

    void summerCheck_data()
    {
        using namespace TSummerTimeFormRules;
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<QStringList>("start");
        QTest::addColumn<QStringList>("end");
        QTest::addColumn<QString>("expected");
        const QString timeError = QStringLiteral("Time error.");
        const QString months = QStringLiteral("From month and To month should not be the same.");
        const QString offsetError = QStringLiteral("Summer Time Offset must chosed from {30, 60, 90, 120}.");
        const QStringList endOct{"1", "Oct", "3", "0"};
        QTest::newRow("annual 29 Feb") << int(Annual) << "60" << QStringList{"29", "Feb", "2", "0"} << endOct << timeError;
        QTest::newRow("annual 30 Apr") << int(Annual) << "60" << QStringList{"30", "Apr", "2", "0"} << endOct << "";
        QTest::newRow("annual 31 Apr") << int(Annual) << "60" << QStringList{"31", "Apr", "2", "0"} << endOct << timeError;
        QTest::newRow("annual 31 Dec") << int(Annual) << "60" << QStringList{"31", "Dec", "2", "0"} << endOct << "";
        QTest::newRow("annual day not a number")
            << int(Annual) << "60" << QStringList{"x", "Mar", "2", "0"} << endOct << timeError;
        QTest::newRow("annual same month")
            << int(Annual) << "60" << QStringList{"2", "Oct", "2", "0"} << endOct << months;
        QTest::newRow("offset 45") << int(Annual) << "45" << QStringList{"1", "Apr", "2", "0"} << endOct << offsetError;
        QTest::newRow("offset 150") << int(Disable) << "150" << QStringList() << QStringList() << offsetError;
        QTest::newRow("offset empty") << int(Annual) << "" << QStringList{"1", "Apr", "2", "0"} << endOct << "";
        QTest::newRow("offset 120") << int(Disable) << "120" << QStringList() << QStringList() << "";
        const QStringList endRep{"Oct", "last", "Sun", "3", "0"};
        QTest::newRow("repeating passes") << int(Repeating) << "60" << QStringList{"Mar", "last", "Sun", "2", "0"}
                                          << endRep << "";
        QTest::newRow("repeating both March") << int(Repeating) << "60"
                                              << QStringList{"Mar", "last", "Sun", "2", "0"}
                                              << QStringList{"Mar", "1st", "Sun", "3", "0"} << months;
        QTest::newRow("repeating hour 24") << int(Repeating) << "60" << QStringList{"Mar", "last", "Sun", "24", "0"}
                                           << endRep << timeError;
        QTest::newRow("repeating minute 60") << int(Repeating) << "60"
                                             << QStringList{"Mar", "last", "Sun", "2", "60"} << endRep << timeError;
        QTest::newRow("repeating without weekday")
            << int(Repeating) << "60" << QStringList{"Mar", "last", "", "2", "0"} << endRep << timeError;
        QTest::newRow("no status chosen") << -1 << "60" << QStringList() << QStringList()
                                          << "Please choose Summer Time Status.";
    }
    void summerCheck()
    {
        QFETCH(int, status);
        QFETCH(QString, offset);
        QFETCH(QStringList, start);
        QFETCH(QStringList, end);
        QFETCH(QString, expected);
        TSummerTimeFormRules::Entry e;
        e.statusTicked = true;
        e.statusItem = status;
        e.offsetTicked = true;
        e.offset = offset;
        e.start = {!start.isEmpty(), start};
        e.end = {!end.isEmpty(), end};
        QCOMPARE(TSummerTimeFormRules::Check(e), expected);
    }

    void summerUnpack_data()
    {
        using namespace TSummerTimeFormRules;
        QTest::addColumn<int>("var");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QStringList>("expected");  // "-" for a part the value does not reach
        QTest::newRow("repeating") << int(RepeatingStart) << "000001030200" << QStringList{"Mar", "last", "Sun", "2", "0"};
        QTest::newRow("annual") << int(AnnualEnd) << "010a0300" << QStringList{"1", "Oct", "3", "0"};
        QTest::newRow("annual too short") << int(AnnualStart) << "0104" << QStringList{"1", "Apr", "-", "-"};
        QTest::newRow("absent value") << int(AnnualStart) << "(NULL)" << QStringList{"-", "-", "-", "-"};
    }
    void summerUnpack()
    {
        QFETCH(int, var);
        QFETCH(QString, hex);
        QFETCH(QStringList, expected);
        QStringList texts;
        for (const auto &t : TSummerTimeFormRules::Unpack(hex, var))
            texts.append(t.value_or(QStringLiteral("-")));
        QCOMPARE(texts, expected);
    }

    void summerSteps()
    {
        using namespace TSummerTimeFormRules;
        Entry e;
        e.statusTicked = true;
        e.statusItem = Annual;
        e.start.ticked = true;
        QCOMPARE(WriteSteps(e), (IntLists{{Status}, {Offset, AnnualStart, AnnualEnd}}));
        QCOMPARE(SecondRead(Annual), (QList<int>{Offset, AnnualStart, AnnualEnd}));
        e.statusItem = Repeating;
        e.statusTicked = false;
        QCOMPARE(WriteSteps(e), (IntLists{{Offset, RepeatingStart, RepeatingEnd}}));
        e.start.ticked = false;
        QVERIFY(WriteSteps(e).isEmpty());
    }

    void redistributionPairs_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<bool>("applies");
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("enabled");  // one character per radio button
        QTest::newRow("ospf to rip") << "ospf" << "rip" << true << "[0..16]" << "1100111111";
        QTest::newRow("static to rip") << "static" << "rip" << true << "[0..16]" << "0100000000";
        QTest::newRow("local to rip") << "local" << "rip" << true << "[0..16]" << "0100000000";
        QTest::newRow("rip to ospf") << "rip" << "ospf" << true << "[0..16777214]" << "0011000000";
        QTest::newRow("local to ospf") << "local" << "ospf" << true << "[0..16777214]" << "0011000000";
        QTest::newRow("rip to rip") << "rip" << "rip" << false << "" << "";
    }
    void redistributionPairs()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(bool, applies);
        QFETCH(QString, range);
        QFETCH(QString, enabled);
        const auto rule = TRouteRedistributFormRules::RuleOf(source, destination);
        QCOMPARE(rule.applies, applies);
        QCOMPARE(rule.range, range);
        QString on;
        for (bool b : rule.enabled)
            on += b ? QLatin1Char('1') : QLatin1Char('0');
        QCOMPARE(on, enabled);
    }

    void redistributionMetric_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("metric");
        QTest::addColumn<QString>("expected");
        QTest::newRow("rip 17") << "rip" << "17" << "Metric out of Bound [0..16]";
        QTest::newRow("rip 16") << "rip" << "16" << "";
        QTest::newRow("rip -1") << "rip" << "-1" << "Metric out of Bound [0..16]";
        QTest::newRow("ospf 17") << "ospf" << "17" << "";
        QTest::newRow("ospf 16777214") << "ospf" << "16777214" << "";
        QTest::newRow("ospf 16777215") << "ospf" << "16777215" << "Metric out of Bound [0..16777214]";
        QTest::newRow("ospf not a number") << "ospf" << "1x" << "Metric out of Bound [0..16777214]";
        QTest::newRow("empty: no message") << "rip" << "" << "";
    }
    void redistributionMetric()
    {
        QFETCH(QString, destination);
        QFETCH(QString, metric);
        QFETCH(QString, expected);
        QCOMPARE(TRouteRedistributFormRules::MetricRefusal(destination, metric), expected);
    }

    void redistributionRadios()
    {
        using namespace TRouteRedistributFormRules;
        const int e1 = RadioOfType(QStringLiteral("inter+E1"));
        QCOMPARE(QLatin1String(Radios().at(e1).caption), QLatin1String("inter-E1"));
        QCOMPARE(QLatin1String(Radios().at(RadioOfType(QStringLiteral("inter+E2"))).caption), QLatin1String("inter-E2"));
        QCOMPARE(RadioOfType(QStringLiteral("inter-E1")), -1);  // a caption, not a type
        QCOMPARE(RadioOfType(QString()), -1);  // "other" is never chosen from a row
        QCOMPARE(Radios().at(0).type, nullptr);
        // Every other button names a type of the list.
        for (int r = 1; r < Radios().size(); ++r)
            QVERIFY(Types().IndexOfLabel(QString::fromLatin1(Radios().at(r).type)) >= 0);
    }

    void origination_data()
    {
        QTest::addColumn<QList<bool>>("ticked");
        QTest::addColumn<QString>("metric");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QList<int>>("leftOut");
        QTest::newRow("state alone") << QList<bool>{true, false, false, false} << "" << "" << QList<int>{1, 2, 3};
        QTest::newRow("metric ticked, empty") << QList<bool>{true, false, false, true} << " "
                                              << "you have choosed the Metric,it can't be empty" << QList<int>{1, 2};
        QTest::newRow("nothing ticked") << QList<bool>{false, false, false, false} << "5"
                                        << "Tick the items to set first." << QList<int>{0, 1, 2, 3};
        QTest::newRow("all") << QList<bool>{true, true, true, true} << "5" << "" << QList<int>{};
    }
    void origination()
    {
        QFETCH(QList<bool>, ticked);
        QFETCH(QString, metric);
        QFETCH(QString, refusal);
        QFETCH(QList<int>, leftOut);
        QCOMPARE(TOSPFDefaultInfoOriginateFormRules::Check(ticked, metric), refusal);
        QCOMPARE(TOSPFDefaultInfoOriginateFormRules::LeftOut(ticked), leftOut);
        QVERIFY(!TOSPFDefaultInfoOriginateFormRules::DependentsEnabled(1, QStringLiteral("disabled")));
        QVERIFY(!TOSPFDefaultInfoOriginateFormRules::DependentsEnabled(-1, QStringLiteral("disabled")));
        QVERIFY(TOSPFDefaultInfoOriginateFormRules::DependentsEnabled(0, QStringLiteral("enabled")));
    }

    void memberAdd_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("warning");
        QTest::addColumn<QString>("suffix");
        const QString dup = QStringLiteral("There is already a record with the same Member Siwitch ID. Please modified it.");
        QTest::newRow("ID 3 exists") << "3" << "" << "" << dup << true << "";
        QTest::newRow("03 is 3") << "03" << "2" << "createAndGo" << dup << true << "";
        QTest::newRow("empty ID") << "" << "2" << "createAndGo" << "Member Siwitch ID is needed." << false << "";
        QTest::newRow("ID out of range") << "33" << "2" << "createAndGo"
                                         << "Member Switch ID must be a number from 1 to 32." << false << "";
        QTest::newRow("ID with a suffix") << "5.1" << "2" << "createAndGo"
                                          << "Member Switch ID must be a number from 1 to 32." << false << "";
        QTest::newRow("no candidate") << "5" << "" << "createAndGo" << "Member Candidate ID is needed." << false << "";
        QTest::newRow("wrong status") << "5" << "2" << "active" << "Member Row State must be createAndGo." << false << "";
        QTest::newRow("accepted") << "5" << "2" << "createAndGo" << "" << false << "5";
        QTest::newRow("leading zero addressed as number") << "07" << "2" << "createAndGo" << "" << false << "7";
    }
    void memberAdd()
    {
        QFETCH(QString, id);
        QFETCH(QString, candidate);
        QFETCH(QString, status);
        QFETCH(QString, message);
        QFETCH(bool, warning);
        QFETCH(QString, suffix);
        const auto v = TMSInformationFormRules::CheckAdd({id, candidate, status}, {"1", "2", "3"});
        QCOMPARE(v.message, message);
        QCOMPARE(v.warning, warning);
        QCOMPARE(v.suffix, suffix);
    }
};

QTEST_GUILESS_MAIN(TestFirstHalfRules)
#include "tst_firsthalfrules.moc"
