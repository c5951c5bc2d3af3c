#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "mib/KtMibData.h"
#include "snmp/KtSNMPVarList.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>

namespace {

// Every record of the built-in data, flattened.
QList<const KtSNMPVar *> allRecords()
{
    QList<const KtSNMPVar *> records;
    for (const KtMibData::Table &t : KtMibData::Instance().Tables())
        for (const KtSNMPVar &v : t.Vars)
            records.append(&v);
    return records;
}

QString filled(int entry, const QString &file, int line)
{
    return KtCatalogue::Text(KtCatalogue::Engine, entry)
        .replace(QLatin1String("[FILENAME]"), file)
        .replace(QLatin1String("[LINENO]"), QString::number(line));
}

QString quoted(const QString &text)
{
    QString out = text;
    out.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
    return u'"' + out + u'"';
}

QString accessWord(quint32 access)
{
    switch (access) {
    case 0: return QStringLiteral("0");
    case 1: return QStringLiteral("notaccess");
    case 2: return QStringLiteral("readonly");
    case 6: return QStringLiteral("readwrite");
    case 65: return QStringLiteral("notaccess+implied");
    }
    return QStringLiteral("?");
}

QStringList labels(const KtOptionList *list)
{
    QStringList out;
    for (int i = 0; list && i < list->count(); ++i)
        out << list->ValueText(i) + QLatin1Char('=') + list->Get(i).Label;
    return out;
}

} // namespace

class TestMibData : public QObject
{
    Q_OBJECT

private slots:
    // Built-in data as a whole; the first call races several threads.
    void instanceIsOneObjectAcrossThreads();
    void builtInHoldsEveryCatalogueTable();
    void builtInReproducesItsSource();
    void typeCountsStayWithinProgramTotals_data();
    void typeCountsStayWithinProgramTotals();
    void accessCodesAreTheKnownOnes();
    void oidsResolveUnderTheirRoots();
    void optionListsAreSharedWithoutMerging();

    // Individual tables, record by record.
    void spotCheck_data();
    void spotCheck();
    void twoTablesUnderOneRoot();
    void twoRootTable();
    void labelsKeepTheirBlanks();
    void textValuedOptionLists();
    void variableListCopiesATable();

    // The loader on other data files.
    void formatFeatures();
    void namedOptionLists();
    void sharingRules();
    void emptyLabelIsAnEntry();
    void strictErrors_data();
    void strictErrors();
    void unreadableFile();
    void loadFromFile();
};

void TestMibData::builtInHoldsEveryCatalogueTable()
{
    const KtMibData &d = KtMibData::Instance();
    QCOMPARE(d.TableCount(), 233);
    QCOMPARE(d.RecordCount(), 1334);

    const QStringList names = d.TableNames();
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
    QCOMPARE(names.first(), QStringLiteral("BasicInformation"));
    QCOMPARE(names.last(), QStringLiteral("Layer3TraceRouteControl"));
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    for (const QString &n : names) {
        QVERIFY2(identifier.match(n).hasMatch(), qPrintable(n));
        QVERIFY2(!d.FindTable(n)->isEmpty(), qPrintable(n));
        QVERIFY2(!d.MenuPaths(n).isEmpty(), qPrintable(n));
    }
    QVERIFY(!d.FindTable(QStringLiteral("NoSuchTable")));
    QVERIFY(d.Roots(QStringLiteral("NoSuchTable")).isEmpty());
}

// Writing the loaded tables back in the file's own syntax gives the
// resource's table lines again: nothing was trimmed, reordered or dropped.
void TestMibData::builtInReproducesItsSource()
{
    const KtMibData &d = KtMibData::Instance();
    QFile file(KtMibData::BuiltInPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList source;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.isEmpty() && !line.startsWith('#'))
            source << QString::fromUtf8(line);

    QMap<quint32, QString> typeWords;
    const KtOptionList &types = KtOptionLists::ValueTypes();
    for (int i = 0; i < types.count(); ++i)
        typeWords.insert(quint32(types.Get(i).Value), types.Get(i).Label);

    QStringList written;
    for (const KtMibData::Table &t : d.Tables()) {
        written << QStringLiteral("table %1 %2  # %3")
                       .arg(t.Name, t.Roots.join(u' '), t.MenuPaths.join(QLatin1String(" | ")));
        for (const KtSNMPVar &v : t.Vars) {
            QString oid = v.Oid;
            if (oid == QLatin1String(" "))
                oid = QStringLiteral("index");
            else if (t.Roots.size() == 1 && oid.startsWith(t.Roots[0] + u'.'))
                oid = oid.mid(t.Roots[0].size());
            QString line = QStringLiteral("  %1 %2 %3 %4")
                               .arg(oid, quoted(v.Label), typeWords.value(v.Type), accessWord(v.Access));
            if (v.Options) {
                QStringList entries;
                for (int i = 0; i < v.Options->count(); ++i) {
                    const QString value = v.Options->kind() == KtOptionList::IntegerValues
                                              ? v.Options->ValueText(i)
                                              : quoted(v.Options->Get(i).Text);
                    entries << value + u' ' + quoted(v.Options->Get(i).Label);
                }
                line += QStringLiteral(" {") + entries.join(QLatin1String(", ")) + u'}';
            }
            written << line;
        }
    }
    QCOMPARE(written.size(), source.size());
    for (int i = 0; i < written.size(); ++i)
        QCOMPARE(written[i], source[i]);
}

// The whole program's totals bound what the catalogue tables may hold;
// types the program never uses must not appear at all.
void TestMibData::typeCountsStayWithinProgramTotals_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<int>("programTotal");
    QTest::newRow("boolean") << quint32(KtType::Boolean) << 0;
    QTest::newRow("integer") << quint32(KtType::Integer) << 1087;
    QTest::newRow("bitstr") << quint32(KtType::BitStr) << 159;
    QTest::newRow("octetstr") << quint32(KtType::OctetStr) << 88;
    QTest::newRow("null") << quint32(KtType::Null) << 0;
    QTest::newRow("objectid") << quint32(KtType::ObjectId) << 15;
    QTest::newRow("ipaddress") << quint32(KtType::IpAddress) << 114;
    QTest::newRow("counter") << quint32(KtType::Counter) << 299;
    QTest::newRow("guage") << quint32(KtType::Gauge) << 100;
    QTest::newRow("timeticks") << quint32(KtType::TimeTicks) << 31;
    QTest::newRow("opaque") << quint32(KtType::Opaque) << 0;
    QTest::newRow("counter64") << quint32(KtType::Counter64) << 15;
    QTest::newRow("macaddress") << quint32(KtType::MacAddress) << 51;
    QTest::newRow("datetime") << quint32(KtType::DateTime) << 3;
    QTest::newRow("displaystr") << quint32(KtType::DisplayStr) << 207;
    QTest::newRow("ipv6address") << quint32(KtType::Ipv6Address) << 3;
    QTest::newRow("double") << quint32(KtType::Double) << 0;
    QTest::newRow("uint16") << quint32(KtType::UInt16) << 0;
}

void TestMibData::typeCountsStayWithinProgramTotals()
{
    QFETCH(quint32, type);
    QFETCH(int, programTotal);
    int n = 0;
    for (const KtSNMPVar *v : allRecords())
        n += v->Type == type;
    QVERIFY2(n <= programTotal, qPrintable(QString::number(n)));
    if (programTotal == 0)
        QCOMPARE(n, 0);
}

void TestMibData::accessCodesAreTheKnownOnes()
{
    // Program-wide totals per access value.
    QMap<quint32, int> bound = {{0, 2}, {1, 409}, {2, 806}, {6, 947}, {65, 8}};
    QMap<quint32, int> seen;
    int options = 0;
    for (const KtSNMPVar *v : allRecords()) {
        QVERIFY2(bound.contains(v->Access), qPrintable(v->Label));
        ++seen[v->Access];
        options += v->Options != nullptr;
    }
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        QVERIFY2(it.value() <= bound.value(it.key()), qPrintable(QString::number(it.key())));
    // Every implied index of the program lies in a catalogue table.
    QCOMPARE(seen.value(65), 8);
    QVERIFY(options <= 560);
}

void TestMibData::oidsResolveUnderTheirRoots()
{
    static const QRegularExpression dotted(QStringLiteral("^\\d+(\\.\\d+)+$"));
    QStringList outside;
    for (const KtMibData::Table &t : KtMibData::Instance().Tables()) {
        for (const QString &r : t.Roots)
            QVERIFY2(dotted.match(r).hasMatch(), qPrintable(t.Name));
        for (const KtSNMPVar &v : t.Vars) {
            if (v.Oid == QLatin1String(" "))
                continue;
            QVERIFY2(dotted.match(v.Oid).hasMatch(), qPrintable(t.Name + u' ' + v.Oid));
            bool under = false;
            for (const QString &r : t.Roots)
                under = under || v.Oid.startsWith(r + u'.');
            if (!under)
                outside << t.Name + u':' + v.Label;
        }
    }
    // Only index columns borrowed from other tables lie outside the roots.
    QCOMPARE(outside, QStringList({"PriorityInformation:Port Number", "AccessTable:Group Name",
                                   "VRRPOperation:Index", "VirtualRouteAddress:Index",
                                   "VirtualRouteAddress:Oper VR ID",
                                   "VirtualRouteStatistics:Index",
                                   "VirtualRouteStatistics:VRID"}));
}

void TestMibData::optionListsAreSharedWithoutMerging()
{
    QSet<const KtOptionList *> used;
    for (const KtSNMPVar *v : allRecords())
        if (v->Options)
            used.insert(v->Options);
    QCOMPARE(used.size(), KtMibData::Instance().OptionListCount());

    const QList<const KtOptionList *> lists(used.begin(), used.end());
    for (int i = 0; i < lists.size(); ++i)
        for (int j = i + 1; j < lists.size(); ++j)
            QVERIFY(!(*lists[i] == *lists[j]));

    // Same labels in another order are another list.
    const KtSNMPVarTable *ifx = KtMibData::Instance().FindTable(QStringLiteral("IFXTable"));
    const KtSNMPVarTable *alarm = KtMibData::Instance().FindTable(QStringLiteral("AlarmControl"));
    const KtOptionList *reversed = ifx->at(14).Options;
    const KtOptionList *forward = alarm->at(0).Options;
    QCOMPARE(labels(reversed), QStringList({"2=disabled", "1=enabled"}));
    QCOMPARE(labels(forward), QStringList({"1=enabled", "2=disabled"}));
    QVERIFY(reversed != forward);

    // The short row-status list is one object wherever it appears.
    const KtOptionList *rowStatus =
        KtMibData::Instance().FindTable(QStringLiteral("TrustHostTable"))->at(2).Options;
    int sharing = 0;
    for (const KtSNMPVar *v : allRecords()) {
        if (v->Options && *v->Options == *rowStatus) {
            QCOMPARE(v->Options, rowStatus);
            ++sharing;
        }
    }
    QVERIFY(sharing > 40);
}

void TestMibData::instanceIsOneObjectAcrossThreads()
{
    std::atomic<const KtMibData *> seen[4] = {};
    QList<QThread *> threads;
    for (int i = 0; i < 4; ++i)
        threads << QThread::create([&seen, i] { seen[i] = &KtMibData::Instance(); });
    for (QThread *t : threads)
        t->start();
    for (QThread *t : threads) {
        QVERIFY(t->wait(10000));
        delete t;
    }
    for (auto &s : seen)
        QCOMPARE(s.load(), &KtMibData::Instance());
}

void TestMibData::spotCheck_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("oid");
    QTest::addColumn<QString>("label");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<quint32>("access");
    QTest::addColumn<QStringList>("options");

    QTest::newRow("port list blank index")
        << "PortList" << 0 << " " << "AggIndex" << quint32(KtType::Integer) << 1u << QStringList();
    QTest::newRow("port list column")
        << "PortList" << 1 << "1.3.6.1.4.1.32473.12.4.1.1.2.1.1" << "AggPortListPorts"
        << quint32(KtType::BitStr) << 2u << QStringList();
    QTest::newRow("implied index")
        << "CommunityStringTable" << 0 << "1.3.6.1.6.3.18.1.1.1.1" << "Community Index"
        << quint32(KtType::DisplayStr) << 65u << QStringList();
    QTest::newRow("implied blank index")
        << "CommunityTargetAddressTable" << 0 << " " << "Target Addr Name"
        << quint32(KtType::DisplayStr) << 65u << QStringList();
    QTest::newRow("storage type")
        << "CommunityStringTable" << 6 << "1.3.6.1.6.3.18.1.1.1.7" << "Community Storage Type"
        << quint32(KtType::Integer) << 6u
        << QStringList({"2=volatile", "3=nonVolatile", "4=permanent", "5=readOnly"});
    QTest::newRow("gap in columns")
        << "BasicInformation" << 2 << "1.3.6.1.4.1.32473.12.1.1.4" << "Save Configuration"
        << quint32(KtType::Integer) << 2u
        << QStringList({"1=other", "2=proceeding", "3=completed", "4=failed"});
    QTest::newRow("odd range label")
        << "SystemTime" << 3 << "1.3.6.1.4.1.32473.12.10.10.4" << "Time Zone [ -779..839]"
        << quint32(KtType::Integer) << 6u << QStringList();
    QTest::newRow("full OID outside root")
        << "VirtualRouteAddress" << 1 << "1.3.6.1.2.1.68.1.3.1.1" << "Oper VR ID"
        << quint32(KtType::Integer) << 1u << QStringList();
    QTest::newRow("index with list")
        << "RADIUSAccountingServiceTable" << 0 << "1.3.6.1.4.1.32473.12.3.4.3.1.1"
        << "Service Index" << quint32(KtType::Integer) << 1u
        << QStringList({"1=acctServiceIndex-network", "2=acctServiceIndex-exec",
                        "3=acctServiceIndex-system"});
    QTest::newRow("columns out of order")
        << "ARP" << 2 << "1.3.6.1.2.1.4.22.1.2" << "MAC Address" << quint32(KtType::MacAddress)
        << 6u << QStringList();
    QTest::newRow("zero-based list")
        << "AgentNotify" << 1 << "1.3.6.1.4.1.32473.12.1.4.1.2" << "Logs Severity"
        << quint32(KtType::Integer) << 6u
        << QStringList({"0=critical", "1=warning", "2=information"});
    QTest::newRow("last record")
        << "Layer3TraceRouteControl" << 0 << "1.3.6.1.4.1.32473.11.69.1.3.13.1.1"
        << "Layer3 Trace Route Control" << quint32(KtType::Integer) << 6u
        << QStringList({"2=disabled", "3=enabled"});
}

void TestMibData::spotCheck()
{
    QFETCH(QString, table);
    QFETCH(int, position);
    const KtSNMPVarTable *t = KtMibData::Instance().FindTable(table);
    QVERIFY(t);
    QVERIFY(position < t->size());
    const KtSNMPVar &v = t->at(position);
    QTEST(v.Oid, "oid");
    QTEST(v.Label, "label");
    QTEST(v.Type, "type");
    QTEST(v.Access, "access");
    QTEST(labels(v.Options), "options");
    QVERIFY(!v.Options || v.Options->kind() == KtOptionList::IntegerValues);
    QVERIFY(v.ReadExpr.isNull() && v.WriteExpr.isNull() && v.Value.isNull() && v.LastOid.isNull());
}

void TestMibData::twoTablesUnderOneRoot()
{
    const KtMibData &d = KtMibData::Instance();
    const QString root = QStringLiteral("1.3.6.1.4.1.32473.12.1.2");
    QCOMPARE(d.Roots(QStringLiteral("BasicConfiguration")), QStringList(root));
    QCOMPARE(d.Roots(QStringLiteral("Reset")), QStringList(root));
    const KtSNMPVarTable *reset = d.FindTable(QStringLiteral("Reset"));
    QCOMPARE(reset->size(), 1);
    QCOMPARE(reset->at(0).Oid, root + QStringLiteral(".20"));
    QCOMPARE(labels(reset->at(0).Options),
             QStringList({"1=none", "2=config", "3=system", "4=reset"}));
    QCOMPARE(d.FindTable(QStringLiteral("BasicConfiguration"))->size(), 3);
    QCOMPARE(d.MenuPaths(QStringLiteral("Reset")), QStringList("Basic Configuration > Reset"));
}

void TestMibData::twoRootTable()
{
    const KtMibData &d = KtMibData::Instance();
    QCOMPARE(d.Roots(QStringLiteral("IFXTable")),
             QStringList({"1.3.6.1.2.1.2.2.1", "1.3.6.1.2.1.31.1.1.1"}));
    const KtSNMPVarTable *t = d.FindTable(QStringLiteral("IFXTable"));
    QCOMPARE(t->size(), 20);
    QCOMPARE(t->at(0).Oid, QStringLiteral("1.3.6.1.2.1.2.2.1.1"));
    QCOMPARE(t->at(19).Oid, QStringLiteral("1.3.6.1.2.1.31.1.1.1.19"));
    QCOMPARE(t->at(18).Label, QStringLiteral("Alias(length less than 32 character)"));
    QCOMPARE(d.Roots(QStringLiteral("DeviceControl")).size(), 3);
    QCOMPARE(d.MenuPaths(QStringLiteral("VLANStaticTable")),
             QStringList("VLAN > 802.1Q > 802.1Q VLAN [page \"VLAN Static Table\"]"));
}

void TestMibData::labelsKeepTheirBlanks()
{
    const KtSNMPVarTable *t = KtMibData::Instance().FindTable(QStringLiteral("IFTable"));
    QCOMPARE(t->at(1).Label, QStringLiteral("Descr") + QString(24, u' '));
    QCOMPARE(t->at(3).Label, QStringLiteral("Mtu  "));
    QCOMPARE(t->at(4).Label, QStringLiteral("Speed           "));
    QCOMPARE(t->at(5).Label, QStringLiteral("Phys Address     "));
    QCOMPARE(t->at(6).Label, QStringLiteral("Admin Status"));
}

void TestMibData::textValuedOptionLists()
{
    const KtSNMPVarTable *usm = KtMibData::Instance().FindTable(QStringLiteral("USMUserTable"));
    const KtOptionList *auth = usm->at(4).Options;
    QVERIFY(auth);
    QCOMPARE(auth->kind(), unsigned(KtOptionList::TextValues));
    QCOMPARE(auth->ValueToLabel(QStringLiteral("1.3.6.1.6.3.10.1.1.2")), QStringLiteral("MD5"));
    QCOMPARE(auth->LabelToValue(QStringLiteral("sha")), QStringLiteral("1.3.6.1.6.3.10.1.1.3"));
    QCOMPARE(labels(usm->at(7).Options),
             QStringList({"1.3.6.1.6.3.10.1.2.1=None", "1.3.6.1.6.3.10.1.2.2=DES"}));

    // An integer column whose list holds its value as text.
    const KtOptionList *arp =
        KtMibData::Instance().FindTable(QStringLiteral("ARP"))->at(0).Options;
    QCOMPARE(arp->kind(), unsigned(KtOptionList::TextValues));
    QCOMPARE(arp->ValueToLabel(QStringLiteral("5120")), QStringLiteral("System"));
}

void TestMibData::variableListCopiesATable()
{
    const KtSNMPVarTable *t = KtMibData::Instance().FindTable(QStringLiteral("VLANStaticTable"));
    KtSNMPVarList list(*t, KtKind::MVT_UMV, 1);
    QCOMPARE(list.Count(), int(t->size()));
    for (int i = 0; i < list.Count(); ++i) {
        QCOMPARE(list.Get(i).Oid, t->at(i).Oid);
        QCOMPARE(list.Get(i).Options, t->at(i).Options);
    }
}

void TestMibData::formatFeatures()
{
    const QByteArray text =
        "# leading comment\r\n"
        "table Small 1.3.6.1.4.1.9 1.3.6.1.2.1.1  # A > B | C > D [page \"x\"]\r\n"
        "  .1.2 \"Say \\\"hi\\\" # not a comment\" integer readonly+hidden # trailing\n"
        "  1.3.6.1.2.1.1.5 \"Name\" displaystr 0\n"
        "  index \"Idx\" octetstr notaccess+implied\n"
        "  .3 \"Pfx\" displaystr readwrite prefix {\"ab\" \"Alpha\", \"b\" \"Beta\"}\n"
        "  .4 \"Exact\" integer writeonly exact {-1 \"Minus\", 2147483647 \"Max\"}\n"
        "  .5 \"Text\" displaystr derived text {}\n"
        "\n"
        "table Empty 1.3\n";
    const KtMibData d = KtMibData::Parse(text, QStringLiteral("small.txt"));
    QCOMPARE(d.TableNames(), QStringList({"Small", "Empty"}));
    QCOMPARE(d.MenuPaths(QStringLiteral("Small")), QStringList({"A > B", "C > D [page \"x\"]"}));
    QVERIFY(d.FindTable(QStringLiteral("Empty"))->isEmpty());
    QCOMPARE(d.FindTableInfo(QStringLiteral("Empty"))->Line, 10);

    const KtSNMPVarTable &t = *d.FindTable(QStringLiteral("Small"));
    QCOMPARE(t.size(), 6);
    QCOMPARE(t[0].Oid, QStringLiteral("1.3.6.1.4.1.9.1.2"));
    QCOMPARE(t[0].Label, QStringLiteral("Say \"hi\" # not a comment"));
    QCOMPARE(t[0].Access, quint32(KtAccess::ReadOnly | KtAccess::Hidden));
    QCOMPARE(t[1].Oid, QStringLiteral("1.3.6.1.2.1.1.5"));
    QCOMPARE(t[1].Access, 0u);
    QCOMPARE(t[2].Oid, QStringLiteral(" "));
    QCOMPARE(t[2].Access, 65u);
    QCOMPARE(t[3].Options->kind(), unsigned(KtOptionList::PrefixValues));
    QCOMPARE(t[3].Options->ValueToLabel(QStringLiteral("abc")), QStringLiteral("Alphac"));
    QVERIFY(t[4].Options->caseSensitive());
    QCOMPARE(t[4].Access, quint32(KtAccess::WriteOnly));
    QCOMPARE(labels(t[4].Options), QStringList({"-1=Minus", "2147483647=Max"}));
    QCOMPARE(t[5].Options->kind(), unsigned(KtOptionList::TextValues));
    QCOMPARE(t[5].Options->count(), 0);
    QCOMPARE(d.OptionListCount(), 3);
}

void TestMibData::namedOptionLists()
{
    const QByteArray text = "options OnOff {1 \"on\", 2 \"off\"}\n"
                            "options Proto text {\"1.3.6.1\" \"Root\"}\n"
                            "table T 1.3.6\n"
                            "  .1 \"A\" integer readwrite @OnOff\n"
                            "  .2 \"B\" integer readwrite {1 \"on\", 2 \"off\"}\n"
                            "  .3 \"C\" objectid readwrite @Proto\n";
    const KtMibData d = KtMibData::Parse(text, QStringLiteral("named.txt"));
    const KtSNMPVarTable &t = *d.FindTable(QStringLiteral("T"));
    QCOMPARE(t[0].Options, d.FindOptions(QStringLiteral("OnOff")));
    QCOMPARE(t[1].Options, t[0].Options);
    QCOMPARE(t[2].Options->ValueToLabel(QStringLiteral("1.3.6.1")), QStringLiteral("Root"));
    QVERIFY(!d.FindOptions(QStringLiteral("Missing")));
    QCOMPARE(d.OptionListCount(), 2);
}

void TestMibData::sharingRules()
{
    const QByteArray text = "table A 1.1\n"
                            "  .1 \"a\" integer readonly {1 \"x\", 2 \"y\"}\n"
                            "  .2 \"b\" integer readonly {2 \"y\", 1 \"x\"}\n"
                            "  .3 \"c\" integer readonly {\"1\" \"x\", \"2\" \"y\"}\n"
                            "  .4 \"d\" integer readonly exact {1 \"x\", 2 \"y\"}\n"
                            "  .5 \"e\" integer readonly {1 \"X\", 2 \"y\"}\n"
                            "table B 1.2\n"
                            "  .1 \"a\" integer readonly {1 \"x\", 2 \"y\"}\n";
    const KtMibData d = KtMibData::Parse(text, QStringLiteral("share.txt"));
    const KtSNMPVarTable &a = *d.FindTable(QStringLiteral("A"));
    QCOMPARE(d.FindTable(QStringLiteral("B"))->at(0).Options, a[0].Options);
    QSet<const KtOptionList *> distinct;
    for (const KtSNMPVar &v : a)
        distinct.insert(v.Options);
    QCOMPARE(distinct.size(), 5);
    QCOMPARE(d.OptionListCount(), 5);
    QCOMPARE(labels(a[1].Options), QStringList({"2=y", "1=x"}));
}

void TestMibData::emptyLabelIsAnEntry()
{
    const KtMibData d = KtMibData::Parse("table T 1.1\n  .1 \"\" integer readonly {1 \"\", 2 \"b\"}\n",
                                         QStringLiteral("empty.txt"));
    const KtSNMPVar &v = d.FindTable(QStringLiteral("T"))->at(0);
    QVERIFY(v.Label.isEmpty());
    QCOMPARE(v.Options->count(), 2);
    QCOMPARE(v.Options->ValueToLabel(QStringLiteral("2")), QStringLiteral("b"));
}

void TestMibData::strictErrors_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("line");

    const QByteArray head = "# c\ntable T 1.3.6\n";  // records start on line 3
    auto row = [&](const char *name, const QByteArray &body, int entry, int line) {
        QTest::newRow(name) << (head + body) << entry << line;
    };
    const int fmt = KtCatalogue::EngVarFileFormat, typ = KtCatalogue::EngVarFileItemType,
              syn = KtCatalogue::EngVarFileSyntax, acc = KtCatalogue::EngVarFileAccess;

    QTest::newRow("crlf lines counted")
        << QByteArray("table T 1.3\r\n\r\n  .1 \"a\" integer readonly\r\n  .2 \"b\" integer rw\r\n")
        << int(KtCatalogue::EngVarFileAccess) << 4;
    QTest::newRow("record before table") << QByteArray("\n  .1 \"a\" integer readonly\n") << fmt << 2;
    row("unknown line", "  .1 \"a\" integer readonly\nfoo bar\n", fmt, 4);
    row("unterminated label", "  .1 \"a integer readonly\n", fmt, 3);
    row("bad escape", "  .1 \"a\\n\" integer readonly\n", fmt, 3);
    row("label missing", "  .1 a integer readonly\n", fmt, 3);
    row("access missing", "\n  .1 \"a\" integer\n", fmt, 4);
    row("trailing word", "  .1 \"a\" integer readonly {1 \"x\"} more\n", fmt, 3);
    row("duplicate table", "table T 1.4\n", fmt, 3);
    row("table without root", "table U\n", fmt, 3);
    row("table name not a word", "table 9x 1.3\n", fmt, 3);
    row("brace first", "{1 \"x\"}\n", fmt, 3);
    row("duplicate options", "options A {1 \"x\"}\noptions A {2 \"y\"}\n", fmt, 4);
    row("bad utf8", "  .1 \"a\xff\" integer readonly\n", fmt, 3);
    row("unknown type", "  .1 \"a\" integer readonly\n  .2 \"b\" integr readonly\n", typ, 4);
    row("type case", "  .1 \"a\" Integer readonly\n", typ, 3);
    row("unknown access", "  .1 \"a\" integer readwrit\n", acc, 3);
    row("dangling plus", "  .1 \"a\" integer notaccess+\n", acc, 3);
    row("numeric access", "  .1 \"a\" integer 6\n", acc, 3);
    row("empty arc", "  .1..2 \"a\" integer readonly\n", syn, 3);
    row("letter in oid", "  1.3.x \"a\" integer readonly\n", syn, 3);
    row("arc too large", "  .4294967296 \"a\" integer readonly\n", syn, 3);
    row("bare dot", "  . \"a\" integer readonly\n", syn, 3);
    row("bad root", "table U 1.3.a\n", syn, 3);
    row("relative root", "table U .1\n", syn, 3);
    row("unclosed list", "  .1 \"a\" integer readonly {1 \"x\", 2 \"y\"\n", syn, 3);
    row("missing comma", "  .1 \"a\" integer readonly {1 \"x\" 2 \"y\"}\n", syn, 3);
    row("trailing comma", "  .1 \"a\" integer readonly {1 \"x\",}\n", syn, 3);
    row("value not a number", "  .1 \"a\" integer readonly {one \"x\"}\n", syn, 3);
    row("value too large", "  .1 \"a\" integer readonly {2147483648 \"x\"}\n", syn, 3);
    row("mixed values", "  .1 \"a\" integer readonly {\"1\" \"x\", 2 \"y\"}\n", syn, 3);
    row("label unquoted", "  .1 \"a\" integer readonly {1 x}\n", syn, 3);
    row("unknown reference", "  .1 \"a\" integer readonly @Nope\n", syn, 3);
    row("unknown modifier", "  .1 \"a\" integer readonly sorted {1 \"x\"}\n", syn, 3);
    row("modifier twice", "  .1 \"a\" integer readonly exact exact {1 \"x\"}\n", syn, 3);
    row("modifier without list", "  .1 \"a\" integer readonly exact\n", syn, 3);
    row("named list by reference", "options A {1 \"x\"}\noptions B @A\n", syn, 4);
}

void TestMibData::strictErrors()
{
    QFETCH(QByteArray, text);
    QFETCH(int, entry);
    QFETCH(int, line);
    try {
        KtMibData::Parse(text, QStringLiteral("bad.txt"));
        QFAIL("no exception");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -500 - entry);
        QCOMPARE(e.message(), filled(entry, QStringLiteral("bad.txt"), line));
    }
}

void TestMibData::unreadableFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing.txt"));
    try {
        KtMibData::Load(path);
        QFAIL("no exception");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -501);
        QCOMPARE(e.message(), QStringLiteral("Fail to read SNMP variables from file(%1)!").arg(path));
    }
}

void TestMibData::loadFromFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("extra.txt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("table Extra 1.3.6.1.4.1.32473.12.99  # Dedicated\n  .1 \"Only\" counter64 readonly\n");
    f.close();
    const KtMibData d = KtMibData::Load(path);
    QCOMPARE(d.RecordCount(), 1);
    QCOMPARE(d.FindTable(QStringLiteral("Extra"))->at(0).Type, quint32(KtType::Counter64));

    // A broken file names itself in the message.
    QVERIFY(f.open(QIODevice::Append));
    f.write("  .2 \"Bad\" counter65 readonly\n");
    f.close();
    try {
        KtMibData::Load(path);
        QFAIL("no exception");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -503);
        QCOMPARE(e.message(), QStringLiteral("Bad item type at line(3)in SNMP variables file(%1)!").arg(path));
    }
}

QTEST_GUILESS_MAIN(TestMibData)
#include "tst_mibdata.moc"
