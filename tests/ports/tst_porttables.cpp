// The port tables file against the descriptor tables and the catalogue,
// its parser's refusals, and the rules that pick a port's rows.

#include "ports/KtPortPage.h"
#include "ports/KtPortTables.h"

#include "mib/KtMibData.h"
#include "shell/catalogue/KtMenuCatalogue.h"
#include "support/ExceptionCode.h"
#include "values/KtTypes.h"

#include <QMap>
#include <QTest>

class TstPortTables : public QObject
{
    Q_OBJECT

private slots:
    void fileMatchesData_data();
    void fileMatchesData();
    void namedKindsPresent_data();
    void namedKindsPresent();
    void malformed_data();
    void malformed();
    void lineRoundTrip();
    void rows_data();
    void rows();
    void membership_data();
    void membership();
};

// Every table the file lists or the data implies, with both lines: a table
// on one side only shows up as an empty line on the other.
void TstPortTables::fileMatchesData_data()
{
    QTest::addColumn<QString>("fileLine");
    QTest::addColumn<QString>("derivedLine");
    const QList<KtPortTable> listed = KtPortTables::Instance();
    const QList<KtPortTable> derived = KtPortTables::Derive(KtMibData::Instance(), KtMenuCatalogue::Instance());
    QMap<QString, QPair<QString, QString>> lines;
    for (const KtPortTable &t : listed)
        lines[t.table].first = KtPortTables::Line(t);
    for (const KtPortTable &t : derived)
        lines[t.table].second = KtPortTables::Line(t);
    QVERIFY(derived.size() > 20);
    // What to put into the file when the data changed.
    QStringList listedLines, derivedLines;
    for (const KtPortTable &t : listed)
        listedLines.append(KtPortTables::Line(t));
    for (const KtPortTable &t : derived)
        derivedLines.append(KtPortTables::Line(t));
    if (listedLines != derivedLines)
        qInfo().noquote() << "The data imply these lines:\n" + derivedLines.join(QLatin1Char('\n'));
    for (auto it = lines.cbegin(); it != lines.cend(); ++it)
        QTest::newRow(qPrintable(it.key())) << it->first << it->second;
}

void TstPortTables::fileMatchesData()
{
    QFETCH(QString, fileLine);
    QFETCH(QString, derivedLine);
    QCOMPARE(fileLine, derivedLine);
    // What the page builds on: the entry's panel, the columns' types.
    const KtPortTable &t = *std::find_if(KtPortTables::Instance().begin(), KtPortTables::Instance().end(),
                                         [&](const KtPortTable &x) { return KtPortTables::Line(x) == fileLine; });
    const KtMenuPanel *panel = KtPortTables::Panel(t, KtMenuCatalogue::Instance());
    QVERIFY(panel);
    QCOMPARE(panel->indexCount, t.indexCount);
    const KtSNMPVarTable &vars = *KtMibData::Instance().FindTable(t.table);
    if (t.kind == KtPortTable::Index)
        QVERIFY(vars.at(t.indexColumn).Type == KtType::Integer || vars.at(t.indexColumn).Type == KtType::Gauge);
    for (int c : t.columns) {
        QVERIFY(c < vars.size());
        QVERIFY(vars.at(c).Type == KtType::BitStr || vars.at(c).Type == KtType::OctetStr);
    }
    QVERIFY(!KtPortTables::Caption(t, KtMenuCatalogue::Instance()).isEmpty());
}

// The sections the page is about: each kind of port row is found.
void TstPortTables::namedKindsPresent_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("numbering");
    QTest::newRow("interface") << "IFTable" << int(KtPortTable::Index) << int(KtPortTable::IfIndex);
    QTest::newRow("interface extension") << "IFXTable" << int(KtPortTable::Index) << int(KtPortTable::IfIndex);
    QTest::newRow("bridge port") << "PortsInformation" << int(KtPortTable::Index) << int(KtPortTable::BridgePort);
    QTest::newRow("spanning tree port") << "PortStateInformation" << int(KtPortTable::Index) << int(KtPortTable::Port);
    QTest::newRow("802.1X port") << "AuthenticationConfigurationTable" << int(KtPortTable::Index)
                                 << int(KtPortTable::Port);
    QTest::newRow("port security") << "PortSecurityTable" << int(KtPortTable::Index) << int(KtPortTable::Port);
    QTest::newRow("port and medium") << "PortControlTable" << int(KtPortTable::Index) << int(KtPortTable::Port);
    QTest::newRow("aggregation port list") << "PortList" << int(KtPortTable::Bitmap) << 0;
    QTest::newRow("VLAN port lists") << "VLANStaticTable" << int(KtPortTable::Bitmap) << 0;
    QTest::newRow("mirror sources") << "PortMirrorTable" << int(KtPortTable::Bitmap) << 0;
}

void TstPortTables::namedKindsPresent()
{
    QFETCH(QString, table);
    QFETCH(int, kind);
    QFETCH(int, numbering);
    const QList<KtPortTable> &all = KtPortTables::Instance();
    const auto found = std::find_if(all.begin(), all.end(), [&](const KtPortTable &t) { return t.table == table; });
    QVERIFY2(found != all.end(), qPrintable(table));
    QCOMPARE(int(found->kind), kind);
    if (kind == KtPortTable::Index)
        QCOMPARE(int(found->numbering), numbering);
}

void TstPortTables::malformed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("what");
    QTest::newRow("too short") << "# c\nIFTable IFTable1 index 1\n" << 2 << "expected table";
    QTest::newRow("bad kind") << "IFTable IFTable1 row 1 0 port\n" << 1 << "neither index nor bitmap";
    QTest::newRow("bad count") << "IFTable IFTable1 index x 0 port\n" << 1 << "no index count";
    QTest::newRow("column beyond index") << "IFTable IFTable1 index 1 1 port\n" << 1 << "no index column";
    QTest::newRow("bad numbering") << "IFTable IFTable1 index 1 0 vlan\n" << 1 << "no numbering";
    QTest::newRow("bitmap in index") << "\n\nPortList PortList1 bitmap 1 0\n" << 3 << "no column after the index";
    QTest::newRow("bitmap list") << "PortList PortList1 bitmap 1 1,,2\n" << 1 << "no column after the index";
    QTest::newRow("twice") << "IFTable IFTable1 index 1 0 ifindex\nIFTable IFTable2 index 1 0 ifindex\n" << 2
                           << "listed twice";
    QTest::newRow("bad name") << "IF-Table IFTable1 index 1 0 ifindex\n" << 1 << "is no name";
    QTest::newRow("extra word") << "IFTable IFTable1 index 1 0 ifindex more\n" << 1 << "index takes";
}

void TstPortTables::malformed()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(QString, what);
    QString message;
    QCOMPARE(codeOf([&] { KtPortTables::Parse(text, QStringLiteral("mine.txt")); }, &message), -502);
    QVERIFY2(message.contains(QStringLiteral("line(%1)").arg(line)), qPrintable(message));
    QVERIFY2(message.contains(QLatin1String("mine.txt")), qPrintable(message));
    QVERIFY2(message.contains(what), qPrintable(message));
    QCOMPARE(codeOf([] { KtPortTables::Load(QStringLiteral("/nonexistent/porttables.txt")); }), -501);
}

void TstPortTables::lineRoundTrip()
{
    const QString text = QStringLiteral("# head\nIFTable IFTable1 index 1 0 ifindex  # tail\n"
                                        "PortControlTable PortControlTable1 index 2 0 port\n"
                                        "VLANStaticTable N8021QVLAN1 bitmap 1 2,3,4\n");
    const QList<KtPortTable> tables = KtPortTables::Parse(text, QStringLiteral("t"));
    QCOMPARE(tables.size(), 3);
    QCOMPARE(tables.at(0).line, 2);
    QCOMPARE(tables.at(2).columns, (QList<int>{2, 3, 4}));
    QStringList back;
    for (const KtPortTable &t : tables)
        back.append(KtPortTables::Line(t));
    QCOMPARE(back, (QStringList{"IFTable IFTable1 index 1 0 ifindex", "PortControlTable PortControlTable1 index 2 0 port",
                                "VLANStaticTable N8021QVLAN1 bitmap 1 2,3,4"}));
}

// The lists the page reads a table's row with, and which walked rows it keeps.
void TstPortTables::rows_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("suffix");   // the row the walk found ("" for scalars)
    QTest::addColumn<bool>("direct");
    QTest::addColumn<bool>("belongs");
    QTest::addColumn<int>("kind");
    QTest::newRow("single index") << "IFTable IFTable1 index 1 0 ifindex" << "7" << true << true << int(KtKind::MVT_SV);
    QTest::newRow("port first") << "PortControlTable PortControlTable1 index 2 0 port" << "7.1" << false << true
                                << int(KtKind::MVT_SV);
    QTest::newRow("other port") << "PortControlTable PortControlTable1 index 2 0 port" << "17.1" << false << false
                                << int(KtKind::MVT_SV);
    QTest::newRow("port and instance") << "PortMSTPInformation PortMSTPInformation1 index 2 0 port" << "7.0" << false
                                 << true << int(KtKind::MVT_SV);
    QTest::newRow("vlan row") << "VLANStaticTable N8021QVLAN1 bitmap 1 2,3,4" << "2" << false << true
                              << int(KtKind::MVT_SV);
    QTest::newRow("scalars") << "PortMirrorTable PortMirrorTable1 bitmap 0 1,2" << "" << true << true
                             << int(KtKind::SVT_SV);
}

void TstPortTables::rows()
{
    QFETCH(QString, line);
    QFETCH(QString, suffix);
    QFETCH(bool, direct);
    QFETCH(bool, belongs);
    QFETCH(int, kind);
    const KtPortTable t = KtPortTables::Parse(line, QStringLiteral("t")).first();
    QCOMPARE(KtPortPage::Direct(t), direct);
    if (direct)
        QCOMPARE(KtPortPage::DirectSuffix(t, 7), suffix);
    KtSNMPVarList row;
    KtPortPage::LoadRow(row, t, suffix, QStringLiteral("Caption"));
    QCOMPARE(int(row.Kind), kind);
    QCOMPARE(row.Suffix, suffix);
    QCOMPARE(row.DisplayName, QStringLiteral("Caption"));
    QCOMPARE(row.Count(), KtMibData::Instance().FindTable(t.table)->size());
    // The walk fills the index columns from the suffix, as the row list does.
    KtSNMPVarList walked = KtPortPage::WalkList(t);
    QCOMPARE(int(walked.Kind), int(KtKind::MVT_UMV));
    if (!suffix.isEmpty()) {
        walked.DecodeIndexSuffix(suffix);
        QCOMPARE(KtPortPage::IndexText(walked), KtPortPage::IndexText(row));
        QCOMPARE(walked.EncodeIndexSuffix(), suffix);
    }
    QCOMPARE(KtPortPage::Belongs(t, walked, 7), belongs);
}

void TstPortTables::membership_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QList<int>>("members");
    QList<int> all;
    for (int port = 1; port <= 28; ++port)
        all.append(port);
    QTest::newRow("all 28") << "FFFFFFF0" << all;
    QTest::newRow("port 1 only") << "80000000" << QList<int>{1};
    QTest::newRow("port 7 and 28") << "02000010" << QList<int>{7, 28};
    QTest::newRow("short list") << "01" << QList<int>{8};
    QTest::newRow("none") << "00000000" << QList<int>{};
    QTest::newRow("absent") << "(NULL)" << QList<int>{};
}

void TstPortTables::membership()
{
    QFETCH(QString, value);
    QFETCH(QList<int>, members);
    for (int port = 1; port <= 28; ++port) {
        QCOMPARE(KtPortPage::Member(value, KtType::BitStr, port), members.contains(port));
    }
    QVERIFY(!KtPortPage::Member(value, KtType::OctetStr, 0));
    // Changing one port's bit leaves the others.
    for (int port : {1, 7, 8, 28, 32}) {
        for (bool member : {true, false}) {
            const QString changed = KtPortPage::WithMember(value, KtType::BitStr, port, member);
            for (int other = 1; other <= 32; ++other)
                QCOMPARE(KtPortPage::Member(changed, KtType::BitStr, other),
                         other == port ? member : KtPortPage::Member(value, KtType::BitStr, other));
        }
    }
}

QTEST_GUILESS_MAIN(TstPortTables)
#include "tst_porttables.moc"
