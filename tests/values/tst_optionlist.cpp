#include "values/KtOptionList.h"

#include <QtTest>

namespace {

KtOptionTable ints(std::initializer_list<std::pair<qint32, const char *>> pairs)
{
    KtOptionTable table;
    for (const auto &[value, label] : pairs)
        table.append({value, QString(), QString::fromLatin1(label)});
    return table;
}

// The shorter prefix "mib-2" would also match values of the first entry.
const KtOptionList &prefixList()
{
    static const KtOptionList list({{0, "1.3.6.1.2.1.2.2.1", "ifEntry"}, {0, "1.3.6.1.2.1", "mib-2"}},
                                   KtOptionList::PrefixValues);
    return list;
}

const KtOptionList &listNamed(const QString &name)
{
    static const QHash<QString, const KtOptionList &(*)()> lists{
        {"kinds", &KtOptionLists::ListKinds},        {"types", &KtOptionLists::ValueTypes},
        {"access", &KtOptionLists::AccessTypes},     {"enabled", &KtOptionLists::DisabledEnabled},
        {"rowshort", &KtOptionLists::RowStatusShort}, {"rowfull", &KtOptionLists::RowStatusFull},
        {"truth", &KtOptionLists::TruthValue},       {"storage", &KtOptionLists::StorageType},
        {"auth", &KtOptionLists::AuthProtocols},     {"priv", &KtOptionLists::PrivProtocols},
    };
    return name == "prefix" ? prefixList() : lists.value(name)();
}

} // namespace

class TestOptionList : public QObject
{
    Q_OBJECT

private slots:
    void mapping_data();
    void mapping();
    void integerIndexOfValue_data();
    void integerIndexOfValue();
    void matchingRules();
    void appendAndTerminator();
    void builtInLists_data();
    void builtInLists();
};

void TestOptionList::mapping_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("toLabel");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("value to label") << "enabled" << true << "3" << "enabled";
    QTest::newRow("value outside the list") << "enabled" << true << "7" << "7";
    QTest::newRow("absent value") << "enabled" << true << "(NULL)" << "(NULL)";
    QTest::newRow("non-numeric value") << "enabled" << true << "abc" << "abc";
    QTest::newRow("trailing garbage") << "enabled" << true << "3abc" << "3abc";
    QTest::newRow("upper-case label") << "enabled" << false << "ENABLED" << "3";
    QTest::newRow("unknown label") << "enabled" << false << "on" << "on";
    QTest::newRow("label with extra text") << "enabled" << false << "enabled1" << "enabled1";
    QTest::newRow("text value") << "auth" << true << "1.3.6.1.6.3.10.1.1.2" << "MD5";
    QTest::newRow("text value is whole") << "auth" << true << "1.3.6.1.6.3.10.1.1.2.0"
                                         << "1.3.6.1.6.3.10.1.1.2.0";
    QTest::newRow("text label any case") << "auth" << false << "sha" << "1.3.6.1.6.3.10.1.1.3";
    QTest::newRow("prefix keeps rest") << "prefix" << true << "1.3.6.1.2.1.2.2.1.5.3"
                                       << "ifEntry.5.3";
    QTest::newRow("prefix back") << "prefix" << false << "IFENTRY.5.3" << "1.3.6.1.2.1.2.2.1.5.3";
    QTest::newRow("prefix exact") << "prefix" << true << "1.3.6.1.2.1.2.2.1" << "ifEntry";
    QTest::newRow("second prefix") << "prefix" << true << "1.3.6.1.2.1.4" << "mib-2.4";
    QTest::newRow("text shorter than value") << "prefix" << true << "1.3.6.1.2" << "1.3.6.1.2";
    QTest::newRow("text shorter than label") << "prefix" << false << "ifEnt" << "ifEnt";
}

void TestOptionList::mapping()
{
    QFETCH(QString, list);
    QFETCH(bool, toLabel);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const KtOptionList &options = listNamed(list);
    QCOMPARE(toLabel ? options.ValueToLabel(text) : options.LabelToValue(text), expected);
}

void TestOptionList::integerIndexOfValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("absent") << "(NULL)" << -1;
    QTest::newRow("non-numeric") << "abc" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("negative") << "-1" << 0;
    QTest::newRow("max int") << "2147483647" << 1;
    QTest::newRow("min int") << "-2147483648" << 2;
    QTest::newRow("overflow is no match") << "2147483648" << -1;
    QTest::newRow("fraction") << "0.5" << -1;
}

void TestOptionList::integerIndexOfValue()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const KtOptionList list(ints({{-1, "none"}, {2147483647, "max"}, {-2147483647 - 1, "min"}}));
    QCOMPARE(list.IndexOfValue(text), expected);
}

void TestOptionList::matchingRules()
{
    // The first matching entry wins, in either direction.
    const KtOptionList dup(ints({{1, "on"}, {2, "ON"}, {1, "again"}}));
    QCOMPARE(dup.IndexOfLabel("On"), 0);
    QCOMPARE(dup.ValueToLabel("1"), QString("on"));
    QCOMPARE(dup.LabelToValue("again"), QString("1"));

    const KtOptionList exact(ints({{3, "enabled"}}), KtOptionList::IntegerValues, true);
    QCOMPARE(exact.IndexOfLabel("ENABLED"), -1);
    QCOMPARE(exact.IndexOfLabel("enabled"), 0);
    const KtOptionList exactText({{0, "abc", "x"}}, KtOptionList::TextValues, true);
    QCOMPARE(exactText.IndexOfValue("ABC"), -1);
    QCOMPARE(KtOptionList({{0, "abc", "x"}}, KtOptionList::TextValues).IndexOfValue("ABC"), 0);

    // An unknown kind matches nothing.
    const KtOptionList odd(ints({{1, "one"}}), 7);
    QCOMPARE(odd.IndexOfLabel("one"), -1);
    QCOMPARE(odd.IndexOfValue("1"), -1);
    QCOMPARE(odd.LabelToValue("one"), QString("one"));

    const KtOptionList empty;
    QCOMPARE(empty.count(), 0);
    QCOMPARE(empty.IndexOfLabel(""), -1);
    QCOMPARE(empty.IndexOfValue("0"), -1);
}

void TestOptionList::appendAndTerminator()
{
    KtOptionList list(ints({{1, "one"}}));
    list.Append({});
    QCOMPARE(list.count(), 1);
    // A null label ends the table; an empty one is an entry.
    list.Append({{2, {}, "two"}, {4, {}, ""}, {0, {}, QString()}, {3, {}, "three"}});
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.IndexOfValue("4"), 2);
    QCOMPARE(list.IndexOfValue("3"), -1);
    QVERIFY(list == KtOptionList(ints({{1, "one"}, {2, "two"}, {4, ""}})));
    QVERIFY(!(list == KtOptionList(ints({{1, "one"}, {2, "two"}, {5, ""}}))));
    QVERIFY(!(list == KtOptionList(ints({{1, "one"}, {2, "two"}, {4, ""}}), 1, true)));
}

void TestOptionList::builtInLists_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("expected");  // value=label in entry order
    QTest::newRow("kinds") << "kinds" << "0=SVT_SV 1=MVT_SV 2=MVT_FMV 3=MVT_UMV";
    QTest::newRow("types") << "types"
                           << "2=integer 3=bitstr 4=octetstr 5=null 6=objectid 64=ipaddress "
                              "65=counter 66=guage 67=timeticks 68=opaque 70=counter64 1=boolean "
                              "69=nsapaddr 71=uinteger 72=double 73=macaddress 74=datetime "
                              "75=bcdatetime 76=displaystr 193=bool8 194=int8 195=uint8 "
                              "196=bool16 197=int16 198=uint16 77=ipv6address";
    QTest::newRow("access") << "access"
                            << "1=notaccess 2=readonly 4=writeonly 6=readwrite 8=derived "
                               "16=hidden 32=invalid";
    QTest::newRow("enabled") << "enabled" << "2=disabled 3=enabled";
    QTest::newRow("row status") << "rowshort" << "1=active 4=createAndGo 6=destroy";
    QTest::newRow("row status full") << "rowfull"
                                     << "1=active 2=notInService 3=notReady 4=createAndGo "
                                        "5=createAndWait 6=destroy";
    QTest::newRow("truth") << "truth" << "1=true 2=false";
    QTest::newRow("storage") << "storage" << "2=volatile 3=nonVolatile 4=permanent 5=readOnly";
    QTest::newRow("auth") << "auth"
                          << "1.3.6.1.6.3.10.1.1.1=None 1.3.6.1.6.3.10.1.1.2=MD5 "
                             "1.3.6.1.6.3.10.1.1.3=SHA";
    QTest::newRow("priv") << "priv" << "1.3.6.1.6.3.10.1.2.1=None 1.3.6.1.6.3.10.1.2.2=DES";
}

void TestOptionList::builtInLists()
{
    QFETCH(QString, list);
    QFETCH(QString, expected);
    const KtOptionList &options = listNamed(list);
    QStringList actual;
    for (int i = 0; i < options.count(); ++i) {
        actual.append(options.ValueText(i) + '=' + options.Get(i).Label);
        // Every entry is reachable both ways.
        QCOMPARE(options.IndexOfValue(options.ValueText(i)), i);
        QCOMPARE(options.IndexOfLabel(options.Get(i).Label.toUpper()), i);
    }
    QCOMPARE(actual.join(' '), expected);
    QVERIFY(!options.caseSensitive());
    QCOMPARE(options.kind(), unsigned(list == "auth" || list == "priv" ? 2 : 1));
}

QTEST_GUILESS_MAIN(TestOptionList)
#include "tst_optionlist.moc"
