#include "snmp/KtNumList.h"
#include "snmp/KtSNMPVarList.h"
#include "support/ExceptionCode.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QtTest>

namespace {

const QString base = QStringLiteral("1.3.6.1.4.1.32473.12.4.1.1.2.1.");
constexpr quint32 idx = KtAccess::NotAccess;
constexpr quint32 implied = KtAccess::NotAccess | KtAccess::Implied;

KtSNMPVar record(const QString &oid, quint32 type, quint32 access,
                 const KtOptionList *options = nullptr)
{
    KtSNMPVar var;
    var.Oid = oid;
    var.Label = QStringLiteral("L") + oid.section('.', -1);
    var.Type = type;
    var.Access = access;
    var.Options = options;
    return var;
}

struct Column
{
    quint32 type;
    quint32 access;
    QString value;
    const KtOptionList *options = nullptr;
};

// A table list whose columns are all index columns.
KtSNMPVarList indexList(const QList<Column> &columns)
{
    KtSNMPVarList list;
    list.Kind = KtKind::MVT_UMV;
    list.IndexCount = int(columns.size());
    for (int i = 0; i < columns.size(); ++i) {
        list.AppendVarShared(base + QString::number(i + 1), "c", columns[i].type,
                             columns[i].access, columns[i].options);
        list.Get(i).Value = columns[i].value;
    }
    return list;
}

} // namespace

class TestVarList : public QObject
{
    Q_OBJECT

private slots:
    void numList_data();
    void numList();
    void building();
    void predicates_data();
    void predicates();
    void deepCopy();
    void assignKeepsOwnSuffix();
    void suffix_data();
    void suffix();
    void suffixOfSeveralColumns();
    void shortSuffixRaises_data();
    void shortSuffixRaises();
    void lastOidOfNonReadableIndex();
};

void TestVarList::numList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("empty") << "" << QChar(',') << QList<int>{};
    QTest::newRow("commas") << "0,2,5" << QChar(',') << QList<int>{0, 2, 5};
    QTest::newRow("fraction ignored") << "1.5,3" << QChar(',') << QList<int>{1, 3};
    QTest::newRow("dot separator") << "1.3.6" << QChar('.') << QList<int>{1, 3, 6};
    QTest::newRow("empty elements") << ",7," << QChar(',') << QList<int>{0, 7, 0};
    QTest::newRow("no sign, no blanks") << "-4, 12" << QChar(',') << QList<int>{4, 12};
}

void TestVarList::numList()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(QList<int>, expected);
    KtNumList<int> list(separator);
    list.Parse("9,9,9.9");  // a new parse starts afresh
    list.Parse(text);
    QCOMPARE(list.Items(), expected);
    QCOMPARE(list.IndexOf(7), int(expected.indexOf(7)));

    // Overlong digit runs wrap rather than overflow (the sanitizers watch).
    QCOMPARE(KtNumList<int>("99999999999999999999,1", ',').At(1), 1);
    QCOMPARE(KtNumList<unsigned>("4294967295.7", '.').At(0), 4294967295u);
}

void TestVarList::building()
{
    KtSNMPVarTable table{record(base + "1", KtType::Integer, idx),
                         record(base + "2", KtType::Integer, KtAccess::ReadWrite,
                                &KtOptionLists::DisabledEnabled()),
                         KtSNMPVar{}, record(base + "3", KtType::Integer, KtAccess::ReadOnly)};
    table[0].Value = "stale";
    table[0].LastOid = "1.2.3";
    KtSNMPVarList list(table, KtKind::MVT_FMV, 1);
    QCOMPARE(list.Count(), 2);  // up to the all-zero record
    QVERIFY(list.Get(0).Value.isEmpty() && list.Get(0).LastOid.isEmpty());
    QCOMPARE(list.Get(1).Options, &KtOptionLists::DisabledEnabled());
    list.AppendTable(table);
    QCOMPARE(list.Count(), 4);
    QCOMPARE(KtSNMPVarList({KtSNMPVar{}, table[1]}, KtKind::MVT_UMV, 1).Count(), 0);

    list.AppendVar(base + "7", "X", KtType::Integer, KtAccess::ReadWrite,
                   std::make_unique<KtOptionList>(), "", "X+1", "");
    const KtSNMPVar &var = list.Get(4);
    QVERIFY(var.Options);
    QVERIFY(var.ReadExpr.isNull() && var.ExtraExpr.isNull());
    QCOMPARE(var.WriteExpr, QString("X+1"));

    list.AppendVarShared(" ", "Port", KtType::Integer, idx, nullptr);
    list.AppendSuffix("12");
    list.AppendSuffix("");
    QCOMPARE(list.Get(0).Oid, base + "1.12");
    QCOMPARE(list.Get(4).Oid, base + "7.12");
    QCOMPARE(list.Get(5).Oid, QString(" "));  // the marker is no OID
    QVERIFY(list.Suffix.isEmpty());
}

void TestVarList::predicates_data()
{
    QTest::addColumn<uint>("access");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("position");  // 0 is an index column, 1 not
    QTest::addColumn<QString>("expected");  // readable writable shown hidden

    QTest::newRow("table index") << 0x01u << 3 << 0 << "-w+-";
    QTest::newRow("kind 2 index") << 0x01u << 2 << 0 << "-w+-";
    QTest::newRow("kind 1 index") << 0x01u << 1 << 0 << "--+-";
    QTest::newRow("notaccess column") << 0x01u << 3 << 1 << "--+-";
    QTest::newRow("readonly") << 0x02u << 0 << 1 << "r-+-";
    QTest::newRow("writeonly") << 0x04u << 0 << 1 << "-w-h";
    QTest::newRow("readwrite") << 0x06u << 0 << 1 << "rw+-";
    QTest::newRow("derived") << 0x08u << 0 << 1 << "--+-";
    QTest::newRow("hidden") << 0x16u << 0 << 1 << "rw-h";
    QTest::newRow("invalid") << 0x26u << 0 << 1 << "---h";
    QTest::newRow("invalid index") << 0x21u << 3 << 0 << "---h";
    QTest::newRow("implied index") << 0x41u << 3 << 0 << "-w+-";
    QTest::newRow("writeonly implied") << 0x44u << 0 << 1 << "-w--";
    QTest::newRow("no bits") << 0x00u << 0 << 1 << "----";
}

void TestVarList::predicates()
{
    QFETCH(uint, access);
    QFETCH(int, kind);
    QFETCH(int, position);
    QFETCH(QString, expected);

    KtSNMPVarList list;
    list.Kind = quint8(kind);
    list.IndexCount = 1;
    list.AppendVarShared(base + "1", "a", KtType::Integer, KtAccess::ReadOnly, nullptr);
    list.AppendVarShared(base + "2", "b", KtType::Integer, KtAccess::ReadOnly, nullptr);
    list.Get(position).Access = access;
    QString actual;
    actual += list.IsReadable(position) ? 'r' : '-';
    actual += list.IsWritable(position) ? 'w' : '-';
    actual += list.IsShown(position) ? '+' : '-';
    actual += list.IsHidden(position) ? 'h' : '-';
    QCOMPARE(actual, expected);
    QCOMPARE(list.IsImplied(position), bool(access & KtAccess::Implied));
    QCOMPARE(list.CountShown(), int(expected[2] == '+') + 1);
    QCOMPARE(list.CountHidden(), int(expected[3] == 'h'));
    QVERIFY(!list.IsShown(2) && !list.IsReadable(-1));
}

void TestVarList::deepCopy()
{
    auto original = std::make_unique<KtSNMPVarList>();
    original->Kind = KtKind::MVT_FMV;
    original->IndexCount = 1;
    original->Suffix = "7";
    original->DisplayName = " Port List";
    original->AppendVar(base + "1", "Owned", KtType::Integer, KtAccess::ReadWrite,
                        std::make_unique<KtOptionList>(KtOptionLists::RowStatusShort()));
    original->AppendVarShared(base + "2", "Shared", KtType::Integer, KtAccess::ReadWrite,
                              &KtOptionLists::TruthValue());
    original->Get(1).Value = "true";
    original->Get(1).LastOid = base + "2.7";
    const KtOptionList *owned = original->Get(0).Options;

    KtSNMPVarList copy(*original);
    KtSNMPVarList assigned;
    assigned = *original;
    for (const KtSNMPVarList *list : {&copy, &assigned}) {
        QVERIFY(list->Suffix.isEmpty());
        QCOMPARE(list->DisplayName, QString(" Port List"));
        QCOMPARE(list->Kind, quint8(KtKind::MVT_FMV));
        QCOMPARE(list->IndexCount, 1);
        QCOMPARE(list->Get(1).Value, QString("true"));
        QCOMPARE(list->Get(1).LastOid, base + "2.7");
        QVERIFY(list->Get(0).Options != owned);  // cloned, not shared
        QVERIFY(*list->Get(0).Options == KtOptionLists::RowStatusShort());
        QCOMPARE(list->Get(1).Options, &KtOptionLists::TruthValue());
    }
    QVERIFY(copy.Get(0).Options != assigned.Get(0).Options);

    copy.Get(1).Value = "false";
    copy.AppendVarShared(base + "3", "more", KtType::Integer, KtAccess::ReadOnly, nullptr);
    QCOMPARE(original->Get(1).Value, QString("true"));
    QCOMPARE(original->Count(), 2);

    // The copies outlive their source, and copies of copies theirs.
    original.reset();
    QCOMPARE(copy.Get(0).Options->ValueToLabel("4"), QString("createAndGo"));
    KtSNMPVarList chained(assigned);
    assigned = KtSNMPVarList();
    QCOMPARE(assigned.Count(), 0);
    QCOMPARE(chained.Get(0).Options->LabelToValue("destroy"), QString("6"));
}

void TestVarList::assignKeepsOwnSuffix()
{
    KtSNMPVarList source = indexList({{KtType::Integer, idx, "5"}});
    source.Suffix = "1.2";
    KtSNMPVarList target;
    target.Suffix = "9";
    target.AppendVar(base + "9", "old", KtType::Integer, KtAccess::ReadOnly,
                     std::make_unique<KtOptionList>());
    target.Assign(source);
    QCOMPARE(target.Suffix, QString("9"));
    QCOMPARE(target.Count(), 1);
    QCOMPARE(target.Get(0).Value, QString("5"));
    QCOMPARE(target.Kind, quint8(KtKind::MVT_UMV));
    target.Assign(target);
    QCOMPARE(target.Get(0).Value, QString("5"));

    // Moving carries the Suffix and leaves owned option lists where they were.
    source.AppendVar(base + "8", "own", KtType::Integer, KtAccess::ReadOnly,
                     std::make_unique<KtOptionList>(KtOptionLists::TruthValue()));
    const KtOptionList *owned = source.Get(1).Options;
    KtSNMPVarList moved(std::move(source));
    QCOMPARE(moved.Suffix, QString("1.2"));
    QCOMPARE(moved.Get(1).Options, owned);
    target = std::move(moved);
    QCOMPARE(target.Suffix, QString("9"));
    QCOMPARE(target.Get(1).Options->LabelToValue("false"), QString("2"));
}

void TestVarList::suffix_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<uint>("access");
    QTest::addColumn<QString>("value");  // null: decoding only
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("decoded");

    QTest::newRow("boolean") << 1u << idx << "true" << "1" << "true";
    QTest::newRow("boolean other") << 1u << idx << "TRUE" << "0" << "false";
    QTest::newRow("boolean non-zero") << 1u << idx << QString() << "7" << "true";
    QTest::newRow("integer") << 2u << idx << "42" << "42" << "42";
    QTest::newRow("negative integer") << 2u << idx << "-1" << "4294967295" << "-1";
    QTest::newRow("integer extra ids") << 2u << idx << QString() << "5.6" << "5";
    QTest::newRow("counter max") << 65u << idx << "4294967295" << "4294967295" << "4294967295";
    QTest::newRow("uinteger") << 71u << idx << "3000000000" << "3000000000" << "3000000000";
    QTest::newRow("bitstr") << 3u << idx << "FF00" << "2.255.0" << "FF00";
    QTest::newRow("octetstr lower case") << 4u << idx << "0a0b" << "2.10.11" << "0A0B";
    QTest::newRow("octetstr empty") << 4u << idx << "" << "0" << "";
    QTest::newRow("octetstr implied") << 4u << implied << "414243" << "65.66.67" << "414243";
    QTest::newRow("displaystr") << 76u << idx << "ab" << "2.97.98" << "ab";
    QTest::newRow("displaystr implied") << 76u << implied << "pub" << "112.117.98" << "pub";
    QTest::newRow("objectid") << 6u << idx << "1.3.6" << "3.1.3.6" << "1.3.6";
    QTest::newRow("objectid implied") << 6u << implied << "1.3.6.1" << "1.3.6.1" << "1.3.6.1";
    QTest::newRow("ipaddress") << 64u << idx << "192.168.0.1" << "192.168.0.1" << "192.168.0.1";
    QTest::newRow("timeticks") << 67u << idx << "0:00:45.00" << "4500" << "0:00:45.00";
    QTest::newRow("counter64") << 70u << idx << "4294967297" << "1.1" << "4294967297";
    QTest::newRow("double") << 72u << idx << "1.5" << "0.1073217536" << "1.5";
    QTest::newRow("bcdatetime") << 75u << idx << QString() << "0.1088638000"
                                << "2008/03/14 12:00:00 pm";
    QTest::newRow("mac") << 73u << idx << "00 12 cf 3a 0b 41" << "0.18.207.58.11.65"
                         << "0012CF3A0B41";
    QTest::newRow("mac longer") << 73u << idx << "0012CF3A0B41FF" << "0.18.207.58.11.65"
                                << "0012CF3A0B41";
    QTest::newRow("mac too short") << 73u << idx << "0012CF3A0B" << "" << QString();
    QTest::newRow("mac implied takes all") << 73u << implied << QString() << "0.1.2.3.4.5.6"
                                           << "00010203040506";
    QTest::newRow("ipv6address") << 77u << idx << "20010DB8000000000000000000000001"
                                 << "32.1.13.184.0.0.0.0.0.0.0.0.0.0.0.1"
                                 << "20010DB8000000000000000000000001";
    QTest::newRow("datetime") << 74u << idx << "2008-3-14,13:5:9.0,+8:0"
                              << "7.216.3.14.13.5.9.0.43.8.0" << "2008-3-14,13:5:9.0,+8:0";
    QTest::newRow("null") << 5u << idx << "(NULL)" << "" << "(NULL)";
}

void TestVarList::suffix()
{
    QFETCH(uint, type);
    QFETCH(uint, access);
    QFETCH(QString, value);
    QFETCH(QString, suffix);
    QFETCH(QString, decoded);
    if (!value.isNull())
        QCOMPARE(indexList({{type, access, value}}).EncodeIndexSuffix(), suffix);
    if (!decoded.isNull()) {
        KtSNMPVarList target = indexList({{type, access, "before"}});
        target.DecodeIndexSuffix(suffix);
        QCOMPARE(target.Get(0).Value, decoded);
    }
}

void TestVarList::suffixOfSeveralColumns()
{
    // Implied and last: the rest of the suffix is the string.
    KtSNMPVarList last = indexList({{KtType::Integer, idx, ""}, {KtType::OctetStr, implied, ""}});
    last.DecodeIndexSuffix("5.65.66.67");
    QCOMPARE(last.Get(1).Value, QString("414243"));
    QCOMPARE(last.EncodeIndexSuffix(), QString("5.65.66.67"));
    // A later data column leaves the last index last.
    last.AppendVarShared(base + "9", "data", KtType::Integer, KtAccess::ReadWrite, nullptr);
    last.Get(2).Value = "77";
    QCOMPARE(last.EncodeIndexSuffix(), QString("5.65.66.67"));

    // The same column before another index reads its length first.
    KtSNMPVarList first = indexList({{KtType::OctetStr, implied, ""}, {KtType::Integer, idx, ""}});
    first.DecodeIndexSuffix("2.65.66.9");
    QCOMPARE(first.Get(0).Value, QString("4142"));
    QCOMPARE(first.Get(1).Value, QString("9"));
    QCOMPARE(first.EncodeIndexSuffix(), QString("2.65.66.9"));

    // A short MAC contributes nothing, not even an empty part.
    QCOMPARE(indexList({{KtType::Integer, idx, "3"}, {KtType::MacAddress, idx, "0012CF3A0B"},
                        {KtType::Integer, idx, "9"}})
                 .EncodeIndexSuffix(),
             QString("3.9"));

    // Option lists map labels to values and back; unknown values stay numbers.
    KtSNMPVarList labelled = indexList(
        {{KtType::Integer, idx, "enabled", &KtOptionLists::DisabledEnabled()},
         {KtType::ObjectId, idx, "md5", &KtOptionLists::AuthProtocols()}});
    QCOMPARE(labelled.EncodeIndexSuffix(), QString("3.10.1.3.6.1.6.3.10.1.1.2"));
    labelled.DecodeIndexSuffix("2.10.1.3.6.1.6.3.10.1.1.3");
    QCOMPARE(labelled.Get(0).Value, QString("disabled"));
    QCOMPARE(labelled.Get(1).Value, QString("SHA"));
    labelled.DecodeIndexSuffix("9.1.0");
    QCOMPARE(labelled.Get(0).Value, QString("9"));

    // A type no index can have.
    KtSNMPVarList bad = indexList({{KtType::Integer, idx, "1"}, {250u, idx, "2"}});
    QCOMPARE(codeOf([&] { (void)bad.EncodeIndexSuffix(); }), -511);
    QCOMPARE(codeOf([&] { bad.DecodeIndexSuffix("1.2"); }), -511);
    QCOMPARE(bad.Get(0).Value, QString("1"));
}

void TestVarList::shortSuffixRaises_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("empty") << "";
    QTest::newRow("second column missing") << "4";
    QTest::newRow("length beyond the end") << "4.5.9";
    QTest::newRow("address cut short") << "4.1.1.10.0";
}

void TestVarList::shortSuffixRaises()
{
    QFETCH(QString, suffix);
    KtSNMPVarList list = indexList(
        {{KtType::Integer, idx, "old0"}, {KtType::OctetStr, idx, "old1"}, {KtType::IpAddress, idx, "old2"}});
    QCOMPARE(codeOf([&] { list.DecodeIndexSuffix(suffix); }), -514);
    // Nothing of a half-decoded suffix is kept.
    QCOMPARE(list.Get(0).Value, QString("old0"));
    QCOMPARE(list.Get(1).Value, QString("old1"));
    QCOMPARE(list.Get(2).Value, QString("old2"));
    QVERIFY(list.Get(0).LastOid.isEmpty());
}

void TestVarList::lastOidOfNonReadableIndex()
{
    KtSNMPVarList list;
    list.Kind = KtKind::MVT_FMV;
    list.IndexCount = 3;
    list.AppendVarShared(" ", "Vlan", KtType::Integer, KtAccess::ReadOnly, nullptr);
    list.AppendVarShared(base + "2", "Port", KtType::Integer, idx, nullptr);
    list.AppendVarShared(base + "3", "Key", KtType::Integer, KtAccess::ReadOnly, nullptr);
    list.AppendVarShared(base + "4", "Data", KtType::Integer, idx, nullptr);
    list.DecodeIndexSuffix("10.20.30");
    QCOMPARE(list.Get(0).LastOid, QString(" .10.20.30"));
    QCOMPARE(list.Get(1).LastOid, base + "2.10.20.30");
    QVERIFY(list.Get(2).LastOid.isEmpty());  // readable: the walk sets it
    QVERIFY(list.Get(3).LastOid.isEmpty());  // not an index column
    QCOMPARE(list.Get(2).Value, QString("30"));
}

QTEST_GUILESS_MAIN(TestVarList)
#include "tst_varlist.moc"
