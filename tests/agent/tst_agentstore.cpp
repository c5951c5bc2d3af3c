#include "AgentBuiltins.h"
#include "AgentCatalogue.h"
#include "AgentLive.h"
#include "AgentSchema.h"
#include "AgentSeed.h"
#include "AgentStore.h"
#include "SnmpRecFile.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

namespace {

AgentOid O(const char *text)
{
    auto o = ParseOid(text);
    if (!o)
        qFatal("bad OID in test: %s", text);
    return *o;
}

// A small schema with one scalar group and three kinds of tables.
const char *TestGroups = R"(
group 1.9.1
.1 "Name" displaystr readwrite
.2 "Mode" integer readwrite {2 disabled, 3 enabled}
.3 "Uptime" timeticks readonly
.4 "Mac" macaddress readwrite

table 1.9.2.1 1
.1 "Index" integer notaccess
.2 "Address" ipaddress readwrite
.3 "Row Status" integer readwrite {1 active, 2 notInService, 4 createAndGo, 5 createAndWait, 6 destroy}
.4 "Mask" ipaddress readwrite
.5 "Hits" counter readonly

table 1.9.3.1 2
.1 "Interface Name" displaystr notaccess
.2 "Server" ipaddress notaccess
.3 "State" integer readwrite {2 invalid, 3 valid}

table 1.9.4.1 2 rows 1-3
.1 "Port" integer readonly
.2 "Access ID" integer readonly
.3 "Speed" integer readwrite

table 1.9.5.1 1
index "Key" octetstr notaccess+implied
.1 "Value" integer readwrite
)";

AgentSchema testSchema()
{
    AgentSchema s;
    std::string err;
    for (const AgentGroup &g : AgentSchema::ParseGroups(TestGroups, &err))
        s.addGroup(g);
    if (!err.empty())
        qFatal("test schema: %s", err.c_str());
    return s;
}

std::vector<AgentVarBind> testData()
{
    return {
        {O("1.9.1.1.0"), AgentValue::Octets("switch")},
        {O("1.9.1.2.0"), AgentValue::Integer(3)},
        {O("1.9.1.3.0"), AgentValue::Unsigned(AgentTag::TimeTicks, 100)},
        {O("1.9.2.1.2.1"), AgentValue::Ip(10, 0, 0, 1)},
        {O("1.9.2.1.3.1"), AgentValue::Integer(1)},
        {O("1.9.2.1.4.1"), AgentValue::Ip(255, 0, 0, 0)},
        {O("1.9.2.1.5.1"), AgentValue::Unsigned(AgentTag::Counter32, 7)},
        {O("1.9.3.1.3.1.65.10.0.0.9"), AgentValue::Integer(3)},
    };
}

} // namespace

class TestAgentStore : public QObject
{
    Q_OBJECT

private slots:
    void oidText_data();
    void oidText();
    void recordRoundTrip_data();
    void recordRoundTrip();
    void badRecordsAreReportedByLine();
    void atomicWriteReplacesOrLeavesTarget();

    void schemaParsingErrors_data();
    void schemaParsingErrors();
    void statusColumnsAreRecognised();
    void indexCoding_data();
    void indexCoding();

    void nextFollowsNumericOrderWithinRoot();
    void setErrors_data();
    void setErrors();
    void createAndGoFillsTheRow();
    void destroyRemovesTheWholeRow();
    void validInvalidTableCreatesAndRemoves();
    void failedSetIsUndoneCompletely();
    void v1StatusMapping_data();
    void v1StatusMapping();

    void builtInSchemaAndSeedAreConsistent();
    void seedRowsFollowIndexKinds();
    void overlayReplacesAndAdds();

    void liveCountersWrapAndFollowLink();
    void frontPanelOctetsDecodeAsLeds();
    void clockRunsAndFollowsASet();
};

void TestAgentStore::oidText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("canonical");
    QTest::newRow("plain") << "1.3.6.1.2.1" << true << "1.3.6.1.2.1";
    QTest::newRow("leading dot") << ".1.3.6" << true << "1.3.6";
    QTest::newRow("max arc") << "1.4294967295" << true << "1.4294967295";
    QTest::newRow("arc too big") << "1.4294967296" << false << "";
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("double dot") << "1..3" << false << "";
    QTest::newRow("trailing dot") << "1.3." << false << "";
    QTest::newRow("letters") << "1.3.a" << false << "";
    QTest::newRow("blank") << "1.3 .6" << false << "";
}

void TestAgentStore::oidText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, canonical);
    auto o = ParseOid(text.toStdString());
    QCOMPARE(o.has_value(), valid);
    if (valid)
        QCOMPARE(QString::fromStdString(OidToText(*o)), canonical);
}

void TestAgentStore::recordRoundTrip_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("tag");
    QTest::newRow("integer") << "1.1|2|-2147483648" << 2;
    QTest::newRow("text") << "1.1|4|QSX-4810 Port 1" << 4;
    QTest::newRow("text with bar") << "1.1|4|a|b" << 4;
    QTest::newRow("hex octets") << "1.1|4x|00ff7f0a" << 4;
    QTest::newRow("empty text") << "1.1|4|" << 4;
    QTest::newRow("oid") << "1.1|6|1.3.6.1.4.1.32473" << 6;
    QTest::newRow("ip") << "1.1|64|10.90.90.90" << 64;
    QTest::newRow("counter max") << "1.1|65|4294967295" << 65;
    QTest::newRow("gauge") << "1.1|66|1000" << 66;
    QTest::newRow("ticks") << "1.1|67|12345" << 67;
    QTest::newRow("counter64 max") << "1.1|70|18446744073709551615" << 70;
    QTest::newRow("null") << "1.1|5|" << 5;
}

void TestAgentStore::recordRoundTrip()
{
    QFETCH(QString, line);
    QFETCH(int, tag);
    auto first = SnmpRecFile::ParseText(line.toStdString());
    QVERIFY2(first.errors.empty(), first.errors.empty() ? "" : first.errors.front().c_str());
    QCOMPARE(first.records.size(), size_t(1));
    QCOMPARE(int(first.records[0].second.tag), tag);
    auto again = SnmpRecFile::ParseText(SnmpRecFile::Format(first.records));
    QVERIFY(again.errors.empty());
    QCOMPARE(again.records.size(), size_t(1));
    QVERIFY(again.records[0] == first.records[0]);
}

void TestAgentStore::badRecordsAreReportedByLine()
{
    const std::string text = "# comment\n"
                             "1.3.6.1.2.1.1.5.0|4|ok\n"
                             "1.3.6.x|4|bad oid\n"
                             "1.3.6.1|2|12abc\n"
                             "1.3.6.1|2|4294967296\n"
                             "1.3.6.1|65|-1\n"
                             "1.3.6.1|99|1\n"
                             "1.3.6.1|64|10.0.0.256\n"
                             "1.3.6.1|4x|abc\n"
                             "1.3.6.1|2x|00\n"
                             "just text\n"
                             "\n"
                             "1.3.6.1.2.1.1.6.0|4|also ok\r\n";
    auto r = SnmpRecFile::ParseText(text, "seed.snmprec");
    QCOMPARE(r.records.size(), size_t(2));
    QCOMPARE(r.records[1].second.bytes, std::string("also ok"));
    QCOMPARE(r.errors.size(), size_t(9));
    QVERIFY(r.errors.front().rfind("seed.snmprec:3: ", 0) == 0);
    QVERIFY(r.errors.back().rfind("seed.snmprec:11: ", 0) == 0);

    auto missing = SnmpRecFile::Read("/nonexistent/qsx/seed.snmprec");
    QVERIFY(!missing.opened);
    QCOMPARE(missing.errors.size(), size_t(1));
}

void TestAgentStore::atomicWriteReplacesOrLeavesTarget()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string path = dir.filePath("state.snmprec").toStdString();
    QVERIFY(SnmpRecFile::WriteAtomic(path, "1.1|2|1\n"));
    QVERIFY(SnmpRecFile::WriteAtomic(path, "1.1|2|2\n"));
    auto r = SnmpRecFile::Read(path);
    QCOMPARE(r.records.size(), size_t(1));
    QCOMPARE(r.records[0].second.number, int64_t(2));
    QVERIFY(!QFile::exists(QString::fromStdString(path + ".tmp")));

    // A target that cannot be replaced (a folder in its place) keeps what it had.
    const std::string blocked = dir.filePath("blocked").toStdString();
    QVERIFY(QDir().mkpath(QString::fromStdString(blocked)));
    std::string err;
    QVERIFY(!SnmpRecFile::WriteAtomic(blocked, "x", &err));
    QVERIFY(!err.empty());
    QVERIFY(QFileInfo(QString::fromStdString(blocked)).isDir());
    QVERIFY(!QFile::exists(QString::fromStdString(blocked + ".tmp")));
}

void TestAgentStore::schemaParsingErrors_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("no group") << ".1 \"A\" integer readonly";
    QTest::newRow("bad type") << "group 1.2\n.1 \"A\" float readonly";
    QTest::newRow("bad access") << "group 1.2\n.1 \"A\" integer sometimes";
    QTest::newRow("no label") << "group 1.2\n.1 integer readonly";
    QTest::newRow("table without count") << "table 1.2";
    QTest::newRow("open options") << "group 1.2\n.1 \"A\" integer readonly {1 a";
    QTest::newRow("bad rows") << "table 1.2 1 rows 5-1";
}

void TestAgentStore::schemaParsingErrors()
{
    QFETCH(QString, text);
    std::string err;
    auto groups = AgentSchema::ParseGroups(text.toStdString(), &err);
    QVERIFY(groups.empty());
    QVERIFY(err.rfind("line ", 0) == 0);
}

void TestAgentStore::statusColumnsAreRecognised()
{
    AgentSchema s = testSchema();
    const AgentObject *rs = s.findObject(O("1.9.2.1.3.7"));
    QVERIFY(rs);
    QCOMPARE(rs->status, AgentStatusKind::RowStatus);
    const AgentObject *vi = s.findObject(O("1.9.3.1.3.1.65.10.0.0.9"));
    QVERIFY(vi);
    QCOMPARE(vi->status, AgentStatusKind::ValidInvalid);
    QCOMPARE(vi->createValue, int64_t(3));
    QCOMPARE(vi->removeValue, int64_t(2));
    const AgentObject *mode = s.findObject(O("1.9.1.2.0"));
    QVERIFY(mode);
    QCOMPARE(mode->status, AgentStatusKind::None);
    // Not-accessible index columns are not served at all.
    QVERIFY(!s.findObject(O("1.9.2.1.1.1")));
    // A readable index column knows its index position.
    const AgentTable &t = s.table(s.findObject(O("1.9.4.1.2.1.1"))->table);
    QCOMPARE(s.object(t.index[1].column).label, std::string("Access ID"));
}

void TestAgentStore::indexCoding_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("fits");
    QTest::newRow("integer") << "1.9.2.1" << "7" << true;
    QTest::newRow("integer too long") << "1.9.2.1" << "7.1" << false;
    QTest::newRow("integer missing") << "1.9.2.1" << "" << false;
    QTest::newRow("text and ip") << "1.9.3.1" << "6.83.121.115.116.101.109.10.90.90.1" << true;
    QTest::newRow("text length beyond end") << "1.9.3.1" << "9.83.121.10.90.90.1" << false;
    QTest::newRow("ip part above 255") << "1.9.3.1" << "1.65.10.0.0.300" << false;
    QTest::newRow("ip short") << "1.9.3.1" << "1.65.10.0" << false;
    QTest::newRow("implied octets") << "1.9.5.1" << "8.0.1" << true;
    QTest::newRow("implied octet above 255") << "1.9.5.1" << "8.256" << false;
}

void TestAgentStore::indexCoding()
{
    QFETCH(QString, table);
    QFETCH(QString, suffix);
    QFETCH(bool, fits);
    AgentSchema s = testSchema();
    const AgentTable &t = s.table(s.tableIndex(O(table.toLatin1().constData())));
    AgentOid sfx = suffix.isEmpty() ? AgentOid{} : O(suffix.toLatin1().constData());
    auto values = s.decodeIndex(t, sfx);
    QCOMPARE(values.has_value(), fits);
    if (fits) {
        auto back = AgentSchema::EncodeIndex(t, *values);
        QVERIFY(back);
        QCOMPARE(*back, sfx);
    }
}

void TestAgentStore::nextFollowsNumericOrderWithinRoot()
{
    AgentSchema s = testSchema();
    AgentStore st(s);
    st.load({{O("1.9.1.2.0"), AgentValue::Integer(1)},
             {O("1.9.1.10.0"), AgentValue::Integer(2)},
             {O("1.9.1.9.0"), AgentValue::Integer(3)},
             {O("1.10.1"), AgentValue::Integer(4)}});
    auto *e = st.next(O("1.9.1.2.0"), false, O("1.9"));
    QVERIFY(e);
    QCOMPARE(e->first, O("1.9.1.9.0"));
    e = st.next(e->first, false, O("1.9"));
    QVERIFY(e);
    QCOMPARE(e->first, O("1.9.1.10.0"));
    QVERIFY(!st.next(e->first, false, O("1.9")));      // 1.10.1 lies outside the root
    e = st.next(O("1.9.1.2.0"), true, O("1.9"));
    QCOMPARE(e->first, O("1.9.1.2.0"));
    e = st.next(O("1.2"), false, O("1.9"));               // before the root: its first instance
    QCOMPARE(e->first, O("1.9.1.2.0"));
}

void TestAgentStore::setErrors_data()
{
    QTest::addColumn<QString>("oid");
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("status");
    QTest::newRow("writable text") << "1.9.1.1.0" << 4 << "core-1" << int(AgentError::NoError);
    QTest::newRow("wrong type") << "1.9.1.1.0" << 2 << "5" << int(AgentError::WrongType);
    QTest::newRow("read-only") << "1.9.1.3.0" << 67 << "5" << int(AgentError::NotWritable);
    QTest::newRow("enum member") << "1.9.1.2.0" << 2 << "2" << int(AgentError::NoError);
    QTest::newRow("enum outsider") << "1.9.1.2.0" << 2 << "4" << int(AgentError::WrongValue);
    QTest::newRow("mac length") << "1.9.1.4.0" << 4 << "abc" << int(AgentError::WrongLength);
    QTest::newRow("scalar bad instance") << "1.9.1.1.1" << 4 << "x" << int(AgentError::NoCreation);
    QTest::newRow("unknown object") << "1.9.8.1.0" << 2 << "1" << int(AgentError::NoCreation);
    QTest::newRow("existing row column") << "1.9.2.1.2.1" << 64 << "10.0.0.2" << int(AgentError::NoError);
    QTest::newRow("missing row without status") << "1.9.2.1.2.5" << 64 << "10.0.0.2" << int(AgentError::InconsistentName);
    QTest::newRow("counter column") << "1.9.2.1.5.1" << 65 << "1" << int(AgentError::NotWritable);
    QTest::newRow("createAndGo on existing row") << "1.9.2.1.3.1" << 2 << "4" << int(AgentError::InconsistentValue);
    QTest::newRow("notReady is not settable") << "1.9.2.1.3.1" << 2 << "3" << int(AgentError::WrongValue);
    QTest::newRow("active on missing row") << "1.9.2.1.3.9" << 2 << "1" << int(AgentError::InconsistentName);
    QTest::newRow("createAndGo bad index") << "1.9.2.1.3.9.9" << 2 << "4" << int(AgentError::InconsistentName);
    QTest::newRow("destroy missing row") << "1.9.2.1.3.9" << 2 << "6" << int(AgentError::NoError);
    QTest::newRow("table without status") << "1.9.4.1.3.9.9" << 2 << "1" << int(AgentError::NoCreation);
    QTest::newRow("readable index column") << "1.9.4.1.1.1.1" << 2 << "1" << int(AgentError::NotWritable);
}

void TestAgentStore::setErrors()
{
    QFETCH(QString, oid);
    QFETCH(int, tag);
    QFETCH(QString, value);
    QFETCH(int, status);
    AgentSchema s = testSchema();
    AgentStore st(s);
    auto data = testData();
    data.push_back({O("1.9.4.1.1.1.1"), AgentValue::Integer(1)});
    data.push_back({O("1.9.4.1.3.1.1"), AgentValue::Integer(1)});
    st.load(data);
    AgentValue v;
    QVERIFY(ParseValue(std::to_string(tag), value.toStdString(), v).empty());
    const auto before = st.snapshot();
    AgentStore::Check c = st.check({{O(oid.toLatin1().constData()), v}});
    QCOMPARE(c.status, status);
    QCOMPARE(c.index, status == AgentError::NoError ? -1 : 0);
    QCOMPARE(st.snapshot(), before);   // checking never changes anything
}

void TestAgentStore::createAndGoFillsTheRow()
{
    AgentSchema s = testSchema();
    AgentStore st(s);
    st.load(testData());
    const std::vector<AgentVarBind> pdu = {
        {O("1.9.2.1.2.4"), AgentValue::Ip(10, 1, 1, 1)},
        {O("1.9.2.1.3.4"), AgentValue::Integer(4)},
    };
    QCOMPARE(st.check(pdu).status, int(AgentError::NoError));
    st.apply(pdu);
    QCOMPARE(st.get(O("1.9.2.1.3.4"))->number, int64_t(1));           // createAndGo reads back active
    QCOMPARE(st.get(O("1.9.2.1.2.4"))->bytes, std::string("\x0a\x01\x01\x01", 4));
    QVERIFY(st.get(O("1.9.2.1.4.4")));                                 // defaults for the others
    QCOMPARE(st.get(O("1.9.2.1.4.4"))->bytes, std::string(4, '\0'));
    QCOMPARE(int(st.get(O("1.9.2.1.5.4"))->tag), int(AgentTag::Counter32));

    // createAndWait leaves the row notInService; active then changes it.
    const std::vector<AgentVarBind> wait = {{O("1.9.2.1.3.6"), AgentValue::Integer(5)}};
    QCOMPARE(st.check(wait).status, int(AgentError::NoError));
    st.apply(wait);
    QCOMPARE(st.get(O("1.9.2.1.3.6"))->number, int64_t(2));
    const std::vector<AgentVarBind> activate = {{O("1.9.2.1.3.6"), AgentValue::Integer(1)}};
    QCOMPARE(st.check(activate).status, int(AgentError::NoError));
    st.apply(activate);
    QCOMPARE(st.get(O("1.9.2.1.3.6"))->number, int64_t(1));

    // Readable index columns of a created row carry the index values.
    AgentStore ports(s);
    AgentSchema withStatus;
    std::string err;
    for (const AgentGroup &g : AgentSchema::ParseGroups("table 1.7.1 2\n.1 \"Port\" integer readonly\n"
                                                        ".2 \"Access ID\" integer readonly\n"
                                                        ".3 \"Row Status\" integer readwrite {1 active, 4 createAndGo, 6 destroy}\n",
                                                        &err))
        withStatus.addGroup(g);
    AgentStore rules(withStatus);
    const std::vector<AgentVarBind> create = {{O("1.7.1.3.5.9"), AgentValue::Integer(4)}};
    QCOMPARE(rules.check(create).status, int(AgentError::NoError));
    rules.apply(create);
    QCOMPARE(rules.get(O("1.7.1.1.5.9"))->number, int64_t(5));
    QCOMPARE(rules.get(O("1.7.1.2.5.9"))->number, int64_t(9));
}

void TestAgentStore::destroyRemovesTheWholeRow()
{
    AgentSchema s = testSchema();
    AgentStore st(s);
    st.load(testData());
    const size_t before = st.size();
    // Column values for a row that the same PDU destroys are contradictory.
    QCOMPARE(st.check({{O("1.9.2.1.2.1"), AgentValue::Ip(1, 1, 1, 1)}, {O("1.9.2.1.3.1"), AgentValue::Integer(6)}}).index, 0);
    const std::vector<AgentVarBind> pdu = {{O("1.9.2.1.3.1"), AgentValue::Integer(6)}};
    QCOMPARE(st.check(pdu).status, int(AgentError::NoError));
    st.apply(pdu);
    QCOMPARE(st.size(), before - 4);
    QVERIFY(!st.get(O("1.9.2.1.2.1")));
    QVERIFY(!st.get(O("1.9.2.1.5.1")));
    QVERIFY(st.get(O("1.9.1.1.0")));
}

void TestAgentStore::validInvalidTableCreatesAndRemoves()
{
    AgentSchema s = testSchema();
    AgentStore st(s);
    st.load(testData());
    const AgentOid fresh = O("1.9.3.1.3.6.83.121.115.116.101.109.10.90.90.7");
    QCOMPARE(st.check({{fresh, AgentValue::Integer(3)}}).status, int(AgentError::NoError));
    st.apply({{fresh, AgentValue::Integer(3)}});
    QCOMPARE(st.get(fresh)->number, int64_t(3));
    st.apply({{fresh, AgentValue::Integer(2)}});
    QVERIFY(!st.get(fresh));
    QCOMPARE(st.check({{fresh, AgentValue::Integer(7)}}).status, int(AgentError::WrongValue));
}

void TestAgentStore::failedSetIsUndoneCompletely()
{
    AgentSchema s = testSchema();
    AgentStore st(s);
    st.load(testData());
    const auto before = st.snapshot();
    const std::vector<AgentVarBind> pdu = {
        {O("1.9.1.1.0"), AgentValue::Octets("changed")},
        {O("1.9.2.1.3.1"), AgentValue::Integer(6)},
        {O("1.9.2.1.2.8"), AgentValue::Ip(10, 9, 9, 9)},
        {O("1.9.2.1.3.8"), AgentValue::Integer(4)},
    };
    QCOMPARE(st.check(pdu).status, int(AgentError::NoError));
    AgentStore::Undo u = st.apply(pdu);
    QVERIFY(st.snapshot() != before);
    st.undo(u);
    QCOMPARE(st.snapshot(), before);

    // The failing varbind is named by its position; nothing is applied.
    const std::vector<AgentVarBind> bad = {
        {O("1.9.1.1.0"), AgentValue::Octets("changed")},
        {O("1.9.1.2.0"), AgentValue::Integer(9)},
    };
    AgentStore::Check c = st.check(bad);
    QCOMPARE(c.status, int(AgentError::WrongValue));
    QCOMPARE(c.index, 1);
    // The same instance twice in one PDU is refused.
    QCOMPARE(st.check({{O("1.9.1.1.0"), AgentValue::Octets("a")}, {O("1.9.1.1.0"), AgentValue::Octets("b")}}).index, 1);
}

void TestAgentStore::v1StatusMapping_data()
{
    QTest::addColumn<int>("v2");
    QTest::addColumn<int>("v1");
    QTest::newRow("noCreation") << int(AgentError::NoCreation) << int(AgentError::NoSuchName);
    QTest::newRow("inconsistentName") << int(AgentError::InconsistentName) << int(AgentError::NoSuchName);
    QTest::newRow("notWritable") << int(AgentError::NotWritable) << int(AgentError::NoSuchName);
    QTest::newRow("wrongType") << int(AgentError::WrongType) << int(AgentError::BadValue);
    QTest::newRow("wrongValue") << int(AgentError::WrongValue) << int(AgentError::BadValue);
    QTest::newRow("inconsistentValue") << int(AgentError::InconsistentValue) << int(AgentError::BadValue);
    QTest::newRow("commitFailed") << int(AgentError::CommitFailed) << int(AgentError::GenErr);
    QTest::newRow("genErr") << int(AgentError::GenErr) << int(AgentError::GenErr);
}

void TestAgentStore::v1StatusMapping()
{
    QFETCH(int, v2);
    QFETCH(int, v1);
    QCOMPARE(AgentError::ToV1(v2), v1);
}

void TestAgentStore::builtInSchemaAndSeedAreConsistent()
{
    AgentSchema s;
    QCOMPARE(QString::fromStdString(BuildAgentSchema(s)), QString());
    const auto seed = AgentSeed::Generate(s);
    AgentStore st(s);
    st.load(seed);
    for (const auto &[oid, v] : seed) {
        const AgentObject *o = s.findObject(oid);
        QVERIFY2(o, OidToText(oid).c_str());
        QVERIFY2(v.tag == o->tag, OidToText(oid).c_str());
        if (v.tag == AgentTag::Integer)
            QVERIFY2(o->allows(v.number), OidToText(oid).c_str());
        if (o->fixedLength)
            QCOMPARE(v.bytes.size(), size_t(o->fixedLength));
    }
    // Every table has rows, and every row's suffix decodes by the table's index.
    for (int i = 0; i < s.tableCount(); ++i) {
        const AgentTable &t = s.table(i);
        const auto rows = AgentSeed::RowsOf(s, t);
        QVERIFY2(!rows.empty(), OidToText(t.entry).c_str());
        for (const AgentOid &r : rows)
            QVERIFY2(s.decodeIndex(t, r), (OidToText(t.entry) + " row " + OidToText(r)).c_str());
    }
    // The device actions and the LED variable are there to be set and read.
    QVERIFY(s.findObject(O(AgentOids::SaveConfig.c_str()))->writable);
    QVERIFY(s.findObject(O(AgentOids::Reboot.c_str()))->writable);
    QVERIFY(st.get(O(AgentOids::FrontPanelLeds.c_str())));
}

void TestAgentStore::seedRowsFollowIndexKinds()
{
    AgentSchema s;
    std::string err;
    for (const AgentGroup &g : AgentSchema::ParseGroups(
             "table 1.8.1 1\nindex \"Base Port\" integer notaccess\n.1 \"PVID\" guage readwrite\n"
             "table 1.8.2 1\n.1 \"VLAN Index\" integer notaccess\n.2 \"Egress Ports\" bitstr readwrite\n"
             ".3 \"Forbidden Egress Ports\" bitstr readwrite\n"
             "table 1.8.3 2\n.1 \"Port\" integer notaccess\n.2 \"Priority\" integer notaccess\n.3 \"Class\" integer readwrite\n",
             &err))
        s.addGroup(g);
    QVERIFY(err.empty());
    QCOMPARE(AgentSeed::RowsOf(s, s.table(s.tableIndex(O("1.8.1")))).size(), size_t(AgentSeed::PortCount));
    QCOMPARE(AgentSeed::RowsOf(s, s.table(s.tableIndex(O("1.8.2")))), std::vector<AgentOid>{O("1")});
    QCOMPARE(AgentSeed::RowsOf(s, s.table(s.tableIndex(O("1.8.3")))).size(), size_t(AgentSeed::PortCount * 8));
    AgentStore st(s);
    st.load(AgentSeed::Generate(s));
    // Port lists are 28-port bitmaps, the first port in the top bit.
    QCOMPARE(st.get(O("1.8.2.2.1"))->bytes, std::string("\xff\xff\xff\xf0", 4));
    QCOMPARE(st.get(O("1.8.2.3.1"))->bytes, std::string(4, '\0'));
}

void TestAgentStore::overlayReplacesAndAdds()
{
    const std::vector<AgentVarBind> base = {{O("1.1"), AgentValue::Integer(1)}, {O("1.2"), AgentValue::Integer(2)}};
    const std::vector<AgentVarBind> over = {{O("1.2"), AgentValue::Octets("x")}, {O("1.0"), AgentValue::Integer(0)}};
    const auto merged = AgentSeed::Merge(base, over);
    QCOMPARE(merged.size(), size_t(3));
    QCOMPARE(merged[0].first, O("1.0"));
    QCOMPARE(merged[2].second.bytes, std::string("x"));
}

void TestAgentStore::liveCountersWrapAndFollowLink()
{
    AgentSchema s;
    QVERIFY(BuildAgentSchema(s).empty());
    AgentStore st(s);
    st.load(AgentSeed::Generate(s));
    AgentLive live(st);
    live.boot(1000000);
    QCOMPARE(st.get(O("1.3.6.1.2.1.1.3.0"))->number, int64_t(0));
    live.update(1000000);   // links come up on the first update
    QVERIFY(live.linkUp(1));
    QVERIFY(!live.linkUp(7));
    const uint64_t in1 = st.get(O("1.3.6.1.2.1.2.2.1.10.1"))->unsignedValue();
    live.update(1000000 + 90000);
    QCOMPARE(st.get(O("1.3.6.1.2.1.1.3.0"))->number, int64_t(9000));
    const uint64_t in2 = st.get(O("1.3.6.1.2.1.2.2.1.10.1"))->unsignedValue();
    QVERIFY2(in2 < in1, "port 1's Counter32 wraps within its first minute and a half");
    QVERIFY(st.get(O("1.3.6.1.2.1.31.1.1.1.6.1"))->unsignedValue() > 4294967295ull);
    QCOMPARE(st.get(O("1.3.6.1.2.1.2.2.1.10.7"))->unsignedValue(), uint64_t(0));   // no cable, no traffic
    QCOMPARE(st.get(O("1.3.6.1.2.1.2.2.1.8.7"))->number, int64_t(2));

    // An administratively downed port drops its link and stops counting.
    st.put(O("1.3.6.1.2.1.2.2.1.7.2"), AgentValue::Integer(2));
    live.update(1000000 + 91000);
    QVERIFY(!live.linkUp(2));
    QCOMPARE(st.get(O("1.3.6.1.2.1.2.2.1.8.2"))->number, int64_t(2));
    QCOMPARE(st.get(O("1.3.6.1.2.1.2.2.1.9.2"))->number, int64_t(9100));
    const uint64_t frozen = st.get(O("1.3.6.1.2.1.2.2.1.16.2"))->unsignedValue();
    live.update(1000000 + 95000);
    QCOMPARE(st.get(O("1.3.6.1.2.1.2.2.1.16.2"))->unsignedValue(), frozen);
    QVERIFY(st.get(O("1.3.6.1.2.1.2.2.1.16.3"))->unsignedValue() > 0);

    // A reboot starts the uptime and the counters again.
    live.boot(2000000);
    live.update(2000000);
    QCOMPARE(st.get(O("1.3.6.1.2.1.1.3.0"))->number, int64_t(0));
    QCOMPARE(st.get(O("1.3.6.1.2.1.2.2.1.10.3"))->unsignedValue(), uint64_t(0));
}

void TestAgentStore::frontPanelOctetsDecodeAsLeds()
{
    AgentSchema s;
    QVERIFY(BuildAgentSchema(s).empty());
    AgentStore st(s);
    st.load(AgentSeed::Generate(s));
    AgentLive live(st);
    live.boot(0);
    bool sawBlink = false;
    for (uint64_t t = 0; t < 30000; t += 3000) {
        live.update(t);
        const std::string led = st.get(O(AgentOids::FrontPanelLeds.c_str()))->bytes;
        QCOMPARE(int(led.size()), AgentLive::LedOctets);
        // The module reads the value as text up to the first zero octet.
        QVERIFY(led.find('\0') == std::string::npos);
        QCOMPARE(uint8_t(led[0]), uint8_t(1));   // power: green
        for (int p = 1; p <= AgentLive::Ports; ++p) {
            const uint8_t status = uint8_t(led[size_t(1 + 2 * p)]);
            const uint8_t colour = uint8_t(led[size_t(2 + 2 * p)]);
            QVERIFY(status != 1);                 // 1 would mean "no port"
            const bool lit = (colour & 0x07) != 0;
            QCOMPARE(lit, live.linkUp(p));
            if (!live.linkUp(p))
                QVERIFY(!(status & 0x80));        // a dark port never blinks
            sawBlink = sawBlink || (status & 0x80);
        }
    }
    QVERIFY(sawBlink);
}

void TestAgentStore::clockRunsAndFollowsASet()
{
    AgentSchema s;
    QVERIFY(BuildAgentSchema(s).empty());
    AgentStore st(s);
    st.load(AgentSeed::Generate(s));
    AgentLive live(st);
    const AgentOid clock = O("1.3.6.1.4.1.32473.12.10.2.0");
    const int64_t wall = 1796740800;   // 2026-12-08 14:40:00 UTC
    st.put(O(AgentOids::TimeZone.c_str()), AgentValue::Integer(0));
    live.boot(0);
    live.updateClock(wall, 0);
    QCOMPARE(st.get(clock)->bytes, std::string("\x07\xea\x0c\x08\x0e\x28\x00\x00+\x00\x00", 11));
    QCOMPARE(st.get(O("1.3.6.1.4.1.32473.12.10.10.1.0"))->bytes, std::string("2026/12/08 14:40:00"));
    live.updateClock(wall + 3725, 3725000);
    QCOMPARE(st.get(O("1.3.6.1.4.1.32473.12.10.10.2.0"))->bytes, std::string("0 days 01:02:05"));
    QCOMPARE(st.get(O("1.3.6.1.4.1.32473.12.10.10.3.0"))->bytes, std::string("2026/12/08 14:40:00"));

    // A manager sets the clock to 1999-01-01 00:00:00; it runs on from there.
    st.put(clock, AgentValue::Octets(std::string("\x07\xcf\x01\x01\x00\x00\x00\x00", 8)));
    live.updateClock(wall + 3725, 3725000);
    live.updateClock(wall + 3735, 3735000);
    QCOMPARE(st.get(clock)->bytes, std::string("\x07\xcf\x01\x01\x00\x00\x0a\x00+\x00\x00", 11));
    // A reboot reloads an older value but the clock keeps the set time.
    live.boot(4000000);
    st.put(clock, AgentValue::Octets(std::string("\x07\xea\x01\x01\x00\x00\x00\x00", 8)));
    live.updateClock(wall + 4000, 4000000);
    QCOMPARE(st.get(clock)->bytes.substr(0, 4), std::string("\x07\xcf\x01\x01", 4));

    QVERIFY(!AgentLive::ParseDateAndTime(std::string("\x07\xcf\x0d\x01\x00\x00\x00\x00", 8)));   // month 13
    QVERIFY(!AgentLive::ParseDateAndTime("short"));
}

QTEST_GUILESS_MAIN(TestAgentStore)
#include "tst_agentstore.moc"
