// The expression forms: substitution, arithmetic and conditions.

#include "errors/KtException.h"
#include "snmp/KtExpression.h"
#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPVarList.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"
#include "support/ExceptionCode.h"

#include <QTest>

#include <cmath>

namespace {

const KtOptionList &enabledDisabled()
{
    static const KtOptionList list({{1, {}, QStringLiteral("enabled")}, {2, {}, QStringLiteral("disabled")}});
    return list;
}

// 0 integer 5, 1 boolean true, 2 text, 3 ticks, 4 enumerated "enabled",
// 5 absent, 6 counter64, 7 gauge
KtSNMPVarList sample()
{
    KtSNMPVarList l;
    l.AppendVar(QStringLiteral("1.1"), QStringLiteral("n"), KtType::Integer, KtAccess::ReadWrite);
    l.AppendVar(QStringLiteral("1.2"), QStringLiteral("b"), KtType::Boolean, KtAccess::ReadWrite);
    l.AppendVar(QStringLiteral("1.3"), QStringLiteral("s"), KtType::DisplayStr, KtAccess::ReadWrite);
    l.AppendVar(QStringLiteral("1.4"), QStringLiteral("t"), KtType::TimeTicks, KtAccess::ReadWrite);
    l.AppendVarShared(QStringLiteral("1.5"), QStringLiteral("e"), KtType::Integer, KtAccess::ReadWrite,
                      &enabledDisabled());
    l.AppendVar(QStringLiteral("1.6"), QStringLiteral("x"), KtType::Integer, KtAccess::ReadWrite);
    l.AppendVar(QStringLiteral("1.7"), QStringLiteral("c"), KtType::Counter64, KtAccess::ReadWrite);
    l.AppendVar(QStringLiteral("1.8"), QStringLiteral("g"), KtType::Gauge, KtAccess::ReadWrite);
    l.Get(0).Value = QStringLiteral("5");
    l.Get(1).Value = QStringLiteral("true");
    l.Get(2).Value = QStringLiteral("abc");
    l.Get(3).Value = KtValue::TicksToText(1234);
    l.Get(4).Value = QStringLiteral("enabled");
    l.Get(5).Value = QStringLiteral("(NULL)");
    l.Get(6).Value = QStringLiteral("10000000000");
    l.Get(7).Value = QStringLiteral("7");
    return l;
}

} // namespace

class TestExpression : public QObject
{
    Q_OBJECT

private slots:
    void substitute_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("quote");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("code");
        QTest::newRow("numbers and labels") << "$0+$4" << false << "5+1" << 0;
        QTest::newRow("truth as 1") << "$1" << false << "1" << 0;
        QTest::newRow("ticks as count") << "$3*2" << false << "1234*2" << 0;
        QTest::newRow("counter64 and gauge") << "$6-$7" << false << "10000000000-7" << 0;
        QTest::newRow("no digits is variable 0") << "$+$" << false << "5+5" << 0;
        QTest::newRow("text quoted") << "$2=abc" << true << "\"abc\"=abc" << 0;
        QTest::newRow("text unquoted") << "$2" << false << "" << -513;
        QTest::newRow("absent value") << "$5+1" << false << "" << -512;
        QTest::newRow("past the list") << "$8" << false << "" << -512;
        QTest::newRow("huge number") << "$99999999999999999999" << false << "" << -512;
        QTest::newRow("nothing to replace") << "1+2" << false << "1+2" << 0;
    }
    void substitute()
    {
        QFETCH(QString, text);
        QFETCH(bool, quote);
        QFETCH(QString, result);
        QFETCH(int, code);
        const KtSNMPVarList vars = sample();
        QString out;
        QCOMPARE(codeOf([&] { out = KtExpression::Substitute(vars, text, quote); }), code);
        if (code == 0)
            QCOMPARE(out, result);
    }

    void arithmetic_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("sum") << "1+2" << 3.0;
        QTest::newRow("differences left to right") << "10-2-3" << 5.0;
        QTest::newRow("quotients left to right") << "8/2/2" << 2.0;
        QTest::newRow("product before sum") << "2+3*4" << 14.0;
        QTest::newRow("product first") << "2*3+4" << 10.0;
        QTest::newRow("parentheses") << "(2+3)*4" << 20.0;
        QTest::newRow("nested") << "((1+1))*(3-1)" << 4.0;
        QTest::newRow("negative operand") << "-5+3" << -2.0;
        QTest::newRow("negative inner result") << "2*(1-4)" << -6.0;
        QTest::newRow("blanks") << " 7 - 2 " << 5.0;
        QTest::newRow("fraction") << "1.5*2" << 3.0;
        QTest::newRow("now minus now") << "NOW-now" << 0.0;
    }
    void arithmetic()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        const double result = KtExpression::Arithmetic(text);
        // Each NOW reads the clock, and the clock may move on between two of
        // them on a busy machine: a second's slack, far below one day.
        if (text.contains(QLatin1String("now"), Qt::CaseInsensitive))
            QVERIFY2(qAbs(result - value) <= 1.0 / 86400.0, qPrintable(QString::number(result)));
        else
            QCOMPARE(result, value);
    }

    void arithmeticRejectsBadOperands_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("word") << "abc";
        QTest::newRow("division by zero") << "1/(2-2)";
        QTest::newRow("dangling operator") << "1+";
        QTest::newRow("unbalanced") << "(1+2";
        QTest::newRow("closing only") << "1+2)";
    }
    void arithmeticRejectsBadOperands()
    {
        QFETCH(QString, text);
        QCOMPARE(codeOf([&] { KtExpression::Arithmetic(text); }), -512);
    }

    void nowIsTheCurrentDayNumber()
    {
        const QDateTime before = QDateTime::currentDateTime();
        const double now = KtExpression::Arithmetic(QStringLiteral("NOW"));
        const QDateTime after = QDateTime::currentDateTime();
        const QDateTime back = QDateTime(QDate(1899, 12, 30), QTime(0, 0)).addMSecs(qint64(now * 86400000.0));
        // Between the clock readings around it, however long it took.
        QVERIFY2(back >= before.addSecs(-1) && back <= after.addSecs(1), qPrintable(back.toString(Qt::ISODateWithMs)));
    }

    void storeNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QString>("text");
        QTest::newRow("integer truncates") << 3.7 << quint32(KtType::Integer) << "3";
        QTest::newRow("negative truncates toward 0") << -3.7 << quint32(KtType::Integer) << "-3";
        QTest::newRow("truth non-zero") << 5.0 << quint32(KtType::Boolean) << "true";
        QTest::newRow("truth zero") << 0.0 << quint32(KtType::Boolean) << "false";
        QTest::newRow("counter below 0") << -1.0 << quint32(KtType::Counter) << "0";
        QTest::newRow("gauge") << 42.9 << quint32(KtType::Gauge) << "42";
        QTest::newRow("counter64") << 1e12 << quint32(KtType::Counter64) << "1000000000000";
        QTest::newRow("double") << 2.5 << quint32(KtType::Double) << "2.5";
        QTest::newRow("ticks") << 360000.0 << quint32(KtType::TimeTicks) << KtValue::TicksToText(360000);
    }
    void storeNumber()
    {
        QFETCH(double, value);
        QFETCH(quint32, type);
        QFETCH(QString, text);
        QCOMPARE(KtExpression::StoreNumber(value, type), text);
    }

    void storeNumberRefusesOtherTypes()
    {
        QCOMPARE(codeOf([] { KtExpression::StoreNumber(1, KtType::OctetStr); }), -513);
        QCOMPARE(codeOf([] { KtExpression::StoreNumber(1, KtType::IpAddress); }), -513);
    }

    void storeNumberRefusesNaNForWholeNumbers()
    {
        const double nan = std::nan("");
        for (quint32 type : {quint32(KtType::Integer), quint32(KtType::Counter), quint32(KtType::TimeTicks),
                             quint32(KtType::Counter64), quint32(KtType::BcDateTime)})
            QCOMPARE(codeOf([&] { KtExpression::StoreNumber(nan, type); }), -512);
    }

    void condition_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("result");
        QTest::newRow("true") << "true" << true;
        QTest::newRow("FALSE") << "FALSE" << false;
        QTest::newRow("equal") << "1=1" << true;
        QTest::newRow("not equal") << "1<>2" << true;
        QTest::newRow("numbers compare as numbers") << "2>10" << false;
        QTest::newRow("at least") << "10>=10" << true;
        QTest::newRow("texts") << "abc<abd" << true;
        QTest::newRow("quoted texts") << "\"abc\" = abc" << true;
        QTest::newRow("or, left true") << "true|false" << true;
        QTest::newRow("or, right true") << "false|true" << true;
        QTest::newRow("and") << "true&false" << false;
        QTest::newRow("not") << "!false" << true;
        QTest::newRow("not of group") << "!(1=2)" << true;
        QTest::newRow("groups") << "(1=1)&(2=2)" << true;
        QTest::newRow("group or") << "(1=2)|(3>=3)" << true;
        QTest::newRow("bar inside quotes") << "\"a|b\"=\"a|b\"" << true;
        QTest::newRow("parenthesis inside quotes") << "\"(x\"=\"(x\"" << true;
        QTest::newRow("now is in the past of tomorrow") << "NOW<99999" << true;
    }
    void condition()
    {
        QFETCH(QString, text);
        QFETCH(bool, result);
        QCOMPARE(KtExpression::Condition(text), result);
    }

    void conditionRejectsBadOperands_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("word") << "maybe";
        QTest::newRow("number") << "1";
        QTest::newRow("empty side of or") << "false|";
        QTest::newRow("unbalanced") << "(true";
    }
    void conditionRejectsBadOperands()
    {
        QFETCH(QString, text);
        try {
            KtExpression::Condition(text);
            QFAIL("no exception");
        } catch (const KtException &e) {
            QCOMPARE(e.code(), -1);
            QCOMPARE(e.message(), QStringLiteral("Bad logic operand!"));
        }
    }

    void requestConditionsAndComputedValues()
    {
        KtSNMPRequest r(sample());
        QVERIFY(r.MatchesCondition());  // empty condition
        r.Condition = QStringLiteral("$0>3&$4=1");
        QVERIFY(r.MatchesCondition());
        r.Condition = QStringLiteral("$2=\"abd\"");
        QVERIFY(!r.MatchesCondition());
        QVERIFY(r.Evaluate(QStringLiteral("$2=abc")));

        KtSNMPVarList l = sample();
        l.AppendVar(QStringLiteral("1.9"), QStringLiteral("twice"), KtType::Integer, KtAccess::ReadOnly, {},
                    QStringLiteral("$0*2"), QStringLiteral("$0+(1)"));
        KtSNMPRequest c(l);
        c.Vars.Get(8).Value = QStringLiteral("0");
        c.ComputeValue(8, true);
        QCOMPARE(c.Vars.Get(8).Value, QStringLiteral("10"));
        c.ComputeValue(8, false);
        QCOMPARE(c.Vars.Get(8).Value, QStringLiteral("6"));
        c.Vars.Get(2).Value = QStringLiteral("kept");
        c.ComputeValue(2, true);  // no expression: unchanged
        QCOMPARE(c.Vars.Get(2).Value, QStringLiteral("kept"));
    }
};

QTEST_GUILESS_MAIN(TestExpression)
#include "tst_expression.moc"
