// The snapshot file form, the meaning of values, the restore order and the
// program's command line, without a switch.

#include "snapshot/KtRestorePlan.h"
#include "snapshot/KtSnapshot.h"
#include "snapshot/KtSnapshotCommand.h"
#include "snapshot/KtSnapshotCompare.h"
#include "snapshot/KtSnapshotSchema.h"

#include "values/KtTypes.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

KtVarBind vb(const QString &oid, quint8 syntax, qint64 integer = 0, const QByteArray &octets = {})
{
    KtVarBind v;
    v.oid = oid;
    v.syntax = syntax;
    v.integer = integer;
    v.octets = octets;
    return v;
}

// The first table whose status column creates rows with createAndGo.
const KtSnapshotGroup *tableWithStatus()
{
    for (const KtSnapshotGroup &g : KtSnapshotSchema::Instance().groups())
        if (g.table && g.rowStatus && g.createAndGo && g.indexCount == 1)
            return &g;
    return nullptr;
}

KtSnapshotDifference difference(KtSnapshotDifference::Kind kind, const KtSnapshotGroup &g, const QString &row,
                                const QString &oid = {})
{
    KtSnapshotDifference d;
    d.kind = kind;
    d.menuPath = g.menuPath;
    d.group = g.name;
    d.root = g.root;
    d.row = row;
    d.oid = oid;
    return d;
}

} // namespace

class TestSnapshotFile : public QObject
{
    Q_OBJECT

private slots:
    void schemaKeepsWritableObjectsOnce()
    {
        const KtSnapshotSchema &s = KtSnapshotSchema::Instance();
        QSet<QString> roots, oids;
        for (const KtSnapshotGroup &g : s.groups()) {
            QVERIFY2(!roots.contains(g.root + (g.table ? "T" : "S")), qPrintable(g.root));
            roots.insert(g.root + (g.table ? "T" : "S"));
            QVERIFY(!g.engineSecurity);
            QVERIFY2(!KtSnapshotSchema::IsEngineSecurity(g.root + '.'), qPrintable(g.root));
            for (const KtSnapshotColumn &c : g.columns) {
                QVERIFY2(!oids.contains(c.oid), qPrintable(c.oid));
                oids.insert(c.oid);
            }
        }
        // The trust host table: its index is not readable, its status and two addresses are kept.
        const KtSnapshotGroup *trust = s.findGroup("1.3.6.1.4.1.32473.12.1.2.13.1.1");
        QVERIFY(trust && trust->table && trust->rowStatus && trust->createAndGo);
        QCOMPARE(trust->columns.size(), 3);
        QCOMPARE(trust->columns.at(trust->statusColumn()).oid, QString("1.3.6.1.4.1.32473.12.1.2.13.1.1.3"));
        QCOMPARE(s.findGroup("1.3.6.1.2.1.17.7.1.4.3.1")->menuPath,
                 QString("VLAN > 802.1Q > 802.1Q VLAN > VLAN Static Table"));
        // Read-only objects are not kept.
        QVERIFY(!s.groupOf("1.3.6.1.4.1.32473.12.1.1.12.0"));
    }

    void valuesRoundTrip_data()
    {
        QTest::addColumn<KtVarBind>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("integer") << vb("1.2.0", KtSyntax::Integer, -779) << "2|-779";
        QTest::newRow("gauge") << vb("1.2.0", KtSyntax::Gauge32, 4294967295LL) << "66|4294967295";
        QTest::newRow("address") << vb("1.2.0", KtSyntax::IpAddress, 0, QByteArray("\x0a\x00\x00\xfe", 4))
                                 << "64|10.0.0.254";
        QTest::newRow("text") << vb("1.2.0", KtSyntax::OctetString, 0, "lab rack|3") << "4|lab rack|3";
        QTest::newRow("leading blank") << vb("1.2.0", KtSyntax::OctetString, 0, " x") << "4x|2078";
        QTest::newRow("bitmap") << vb("1.2.0", KtSyntax::OctetString, 0, QByteArray("\xf0\x00\x01", 3))
                                << "4x|f00001";
        QTest::newRow("empty") << vb("1.2.0", KtSyntax::OctetString) << "4|";
        KtVarBind oid = vb("1.2.0", KtSyntax::ObjectId);
        oid.objectId = "1.3.6.1.4.1.32473";
        QTest::newRow("oid") << oid << "6|1.3.6.1.4.1.32473";
    }
    void valuesRoundTrip()
    {
        QFETCH(KtVarBind, value);
        QFETCH(QString, text);
        QCOMPARE(KtSnapshot::FormatValue(value), text);
        KtSnapshot s;
        QStringList errors;
        QVERIFY2(s.fromText("1.2.0|" + text + "\n", "t", &errors), qPrintable(errors.join('\n')));
        const KtVarBind back = s.values.value("1.2.0");
        QCOMPARE(back.syntax, value.syntax);
        QCOMPARE(back.integer, value.integer);
        QCOMPARE(back.octets, value.octets);
        QCOMPARE(back.objectId, value.objectId);
    }

    void badLinesAreRefusedWithTheirLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no bars") << "1.3.6.1.2.1.1.5.0 switch" << "expected OID|tag|value";
        QTest::newRow("bad oid") << "1.3.x.1|4|a" << "bad OID";
        QTest::newRow("unknown tag") << "1.3.6.1|9|a" << "unknown tag";
        QTest::newRow("not a number") << "1.3.6.1|2|twelve" << "not a 32-bit integer";
        QTest::newRow("too large") << "1.3.6.1|2|2147483648" << "not a 32-bit integer";
        QTest::newRow("negative counter") << "1.3.6.1|65|-1" << "not an unsigned";
        QTest::newRow("bad address") << "1.3.6.1|64|10.0.0.256" << "not a dotted IPv4 address";
        QTest::newRow("odd hex") << "1.3.6.1|4x|abc" << "bad hex octets";
        QTest::newRow("hex integer") << "1.3.6.1|2x|00" << "hex form";
        QTest::newRow("twice") << "1.3.6.1.2.1.1.5.0|4|b" << "given twice";
        QTest::newRow("absent with values") << "# absent: 1.3.6.1.4.1.32473.12.1.2.13.1.1 TrustHostTable\n"
                                               "1.3.6.1.4.1.32473.12.1.2.13.1.1.2.1|64|10.1.1.1"
                                            << "listed as absent but has values";
    }
    void badLinesAreRefusedWithTheirLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, reason);
        KtSnapshot s;
        s.sysName = "kept";
        QStringList errors;
        QVERIFY(!s.fromText("# header\n1.3.6.1.2.1.1.5.0|4|a\n" + line + "\n", "snap.snmprec", &errors));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(reason), qPrintable(errors.first()));
        if (!line.startsWith('#'))
            QVERIFY2(errors.first().startsWith("snap.snmprec:3: "), qPrintable(errors.first()));
        QCOMPARE(s.sysName, QString("kept"));   // nothing taken from a bad file
    }

    void fileKeepsHeaderAndGroupStates()
    {
        KtSnapshot s;
        s.sysName = "core-1";
        s.sysDescr = "QSX-4810\nsecond line";
        s.host = "127.0.0.1";
        s.taken = QDateTime(QDate(2026, 3, 1), QTime(12, 30), Qt::UTC);
        s.moduleVersion = "qsx4810 0.1";
        s.values.insert("1.3.6.1.4.1.32473.12.10.11.1.0", vb("1.3.6.1.4.1.32473.12.10.11.1.0", KtSyntax::Integer, 3));
        s.present = {"1.3.6.1.4.1.32473.12.10.11", "1.3.6.1.4.1.32473.12.1.2.13.1.1"};
        s.absent = {"1.3.6.1.4.1.32473.12.24.1"};
        QTemporaryDir dir;
        const QString path = dir.filePath("s.snmprec");
        QString error;
        QVERIFY2(s.save(path, &error), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"s.snmprec"});
        QCOMPARE(QFile::permissions(path) & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
        KtSnapshot back;
        QStringList errors;
        QVERIFY2(back.load(path, &errors), qPrintable(errors.join('\n')));
        QCOMPARE(back.sysName, s.sysName);
        QCOMPARE(back.sysDescr, QString("QSX-4810 second line"));
        QCOMPARE(back.taken, s.taken);
        QCOMPARE(back.moduleVersion, s.moduleVersion);
        QCOMPARE(back.present, s.present);
        QCOMPARE(back.absent, s.absent);
        QCOMPARE(KtSnapshotCompare::Compare(s, back).size(), 0);

        // A folder that is not there: a reason, and no file.
        QVERIFY(!s.save(dir.filePath("missing/s.snmprec"), &error));
        QVERIFY(error.contains("missing/s.snmprec"));
        QVERIFY(!back.load(dir.filePath("none.snmprec"), &errors));
        QVERIFY(errors.first().contains("none.snmprec"));
    }

    void valuesCompareByMeaning_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<KtVarBind>("value");
        QTest::addColumn<QString>("meaning");
        QTest::newRow("ports") << quint32(KtType::BitStr) << vb("x", KtSyntax::OctetString, 0, QByteArray("\xe0\x01\x00", 3))
                               << "1-3,16";
        QTest::newRow("ports, shorter bitmap") << quint32(KtType::BitStr)
                                               << vb("x", KtSyntax::OctetString, 0, QByteArray("\xe0\x01", 2)) << "1-3,16";
        QTest::newRow("no ports") << quint32(KtType::BitStr) << vb("x", KtSyntax::OctetString, 0, QByteArray(4, 0))
                                  << "(none)";
        QTest::newRow("address") << quint32(KtType::IpAddress)
                                 << vb("x", KtSyntax::IpAddress, 0, QByteArray("\xc0\xa8\x01\x02", 4)) << "192.168.1.2";
        QTest::newRow("absent") << quint32(KtType::Integer) << vb("x", KtSyntax::NoSuchInstance) << "(absent)";
    }
    void valuesCompareByMeaning()
    {
        QFETCH(quint32, type);
        QFETCH(KtVarBind, value);
        QFETCH(QString, meaning);
        KtSnapshotColumn c;
        c.type = type;
        QCOMPARE(KtSnapshotCompare::Meaning(value, c), meaning);
    }

    void enumerationsShowTheirLabel()
    {
        const KtSnapshotColumn *state = nullptr;
        QVERIFY(KtSnapshotSchema::Instance().groupOf("1.3.6.1.4.1.32473.12.10.11.1.0", &state));
        QCOMPARE(KtSnapshotCompare::Meaning(vb("x", KtSyntax::Integer, 3), *state), QString("enabled"));
    }

    void restoreOrderAndWhatIsNeverWritten()
    {
        const KtSnapshotGroup *t = tableWithStatus();
        QVERIFY(t);
        const KtSnapshotColumn *ip = nullptr;
        for (const KtSnapshotColumn &c : t->columns)
            if (!c.index && !c.status && !ip)
                ip = &c;
        QVERIFY(ip);
        const QString status = t->columns.at(t->statusColumn()).oid;
        const KtSnapshotGroup *sntp = KtSnapshotSchema::Instance().findGroup("1.3.6.1.4.1.32473.12.10.11");
        QVERIFY(sntp);
        const KtSnapshotGroup *reset = nullptr;
        const KtSnapshotColumn *resetColumn = nullptr;
        QVERIFY((reset = KtSnapshotSchema::Instance().groupOf("1.3.6.1.4.1.32473.12.1.2.11.1.0", &resetColumn)));

        KtSnapshot s;
        for (const QString &row : {QString("7"), QString("8")}) {
            s.values.insert(ip->oid + "." + row, vb(ip->oid + "." + row, KtSyntax::Integer, 5));
            s.values.insert(status + "." + row, vb(status + "." + row, KtSyntax::Integer, 1));
        }
        s.values.insert("1.3.6.1.4.1.32473.12.10.11.1.0", vb("1.3.6.1.4.1.32473.12.10.11.1.0", KtSyntax::Integer, 2));
        s.values.insert("1.3.6.1.4.1.32473.12.10.11.5.0", vb("1.3.6.1.4.1.32473.12.10.11.5.0", KtSyntax::Integer, 60));
        s.values.insert("1.3.6.1.4.1.32473.12.1.2.11.1.0", vb("1.3.6.1.4.1.32473.12.1.2.11.1.0", KtSyntax::Integer, 2));

        KtSnapshotDifference usm = difference(KtSnapshotDifference::OnlyOnSwitch, *t, "1");
        usm.root = "1.3.6.1.6.3.15.1.2.2.1";
        const QList<KtSnapshotDifference> selected = {
            difference(KtSnapshotDifference::OnlyOnSwitch, *t, "9"),
            difference(KtSnapshotDifference::OnlyInSnapshot, *t, "7"),
            difference(KtSnapshotDifference::Changed, *sntp, {}, "1.3.6.1.4.1.32473.12.10.11.1.0"),
            difference(KtSnapshotDifference::Changed, *t, "8", ip->oid + ".8"),
            difference(KtSnapshotDifference::Changed, *sntp, {}, "1.3.6.1.4.1.32473.12.10.11.5.0"),
            difference(KtSnapshotDifference::Changed, *reset, {}, "1.3.6.1.4.1.32473.12.1.2.11.1.0"),
            usm,
            difference(KtSnapshotDifference::AbsentOnSwitch, *sntp, {}),
        };
        const KtRestorePlan plan = KtRestorePlan::Build(s, selected);
        QList<KtRestoreItem::Kind> kinds;
        for (const KtRestoreItem &i : plan.items)
            kinds.append(i.kind);
        using K = KtRestoreItem;
        QCOMPARE(kinds, (QList<K::Kind>{K::SetScalars, K::SetColumns, K::SetScalars, K::SetScalars, K::CreateRow,
                                        K::DestroyRow}));
        // A group the switch lacks is shown, never sent.
        QCOMPARE(plan.items.at(3).state, K::NotPossible);
        QVERIFY(plan.items.at(3).pdus.isEmpty());
        // One PDU for the two SNTP scalars, none of them an index.
        QCOMPARE(plan.items.at(0).pdus.size(), 1);
        QCOMPARE(plan.items.at(0).pdus.first().size(), 2);
        // Clearing the forwarding table is an action, never sent back.
        QCOMPARE(plan.items.at(2).state, K::NotPossible);
        QVERIFY(plan.items.at(2).pdus.isEmpty());
        // The created row: status createAndGo with its column, index not written.
        const QList<KtVarBind> create = plan.items.at(4).pdus.first();
        QCOMPARE(create.first().oid, status + ".7");
        QCOMPARE(create.first().integer, 4);
        QCOMPARE(create.size(), 2);
        QCOMPARE(plan.items.at(5).pdus.first().first().integer, 6);
        for (const KtRestoreItem &i : plan.items)
            for (const auto &pdu : i.pdus)
                for (const KtVarBind &v : pdu) {
                    const KtSnapshotColumn *c = nullptr;
                    QVERIFY(KtSnapshotSchema::Instance().groupOf(v.oid, &c));
                    QVERIFY(!c->index);
                }
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("port");
        QTest::newRow("backup") << QStringList{"backup", "f", "10.0.0.1"} << "" << 1 << 161;
        QTest::newRow("v1 port") << QStringList{"compare", "f", "h", "-p", "16161", "-v", "1"} << "" << 0 << 16161;
        QTest::newRow("v3") << QStringList{"backup", "f", "h", "-v", "3", "-u", "ops", "-l", "authPriv", "-a", "sha", "-x", "aes"}
                            << "" << 3 << 161;
        QTest::newRow("community in arguments") << QStringList{"backup", "f", "h", "-c", "secret"} << "environment" << 0 << 0;
        QTest::newRow("v3 without user") << QStringList{"backup", "f", "h", "-v", "3"} << "--user" << 0 << 0;
        QTest::newRow("bad port") << QStringList{"backup", "f", "h", "-p", "70000"} << "bad port" << 0 << 0;
        QTest::newRow("bad action") << QStringList{"restore", "f", "h"} << "unknown action" << 0 << 0;
        QTest::newRow("missing host") << QStringList{"backup", "f"} << "expected" << 0 << 0;
        QTest::newRow("value missing") << QStringList{"backup", "f", "h", "-p"} << "needs a value" << 0 << 0;
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        QProcessEnvironment env;
        env.insert("QSX_READ_COMMUNITY", "r-secret");
        env.insert("QSX_WRITE_COMMUNITY", "w-secret");
        env.insert("QSX_AUTH_PASSPHRASE", "authphrase1");
        env.insert("QSX_PRIV_PASSPHRASE", "privphrase1");
        KtSnapshotCommand c;
        const QString e = c.parse(args, env);
        if (!error.isEmpty()) {
            QVERIFY2(e.contains(error), qPrintable(e));
            return;
        }
        QVERIFY2(e.isEmpty(), qPrintable(e));
        QFETCH(int, version);
        QFETCH(int, port);
        QCOMPARE(int(c.link.target.version), version);
        QCOMPARE(int(c.link.target.port), port);
        QCOMPARE(c.link.forRead().community, QString("r-secret"));
        QCOMPARE(c.link.forWrite().community, QString("w-secret"));
        if (version == 3) {
            QCOMPARE(c.link.target.securityLevel, 3);
            QCOMPARE(c.link.target.authProtocol, 3);
            QCOMPARE(c.link.target.privProtocol, 4);
            QCOMPARE(c.link.target.privPassword, QString("privphrase1"));
        }
    }
};

QTEST_GUILESS_MAIN(TestSnapshotFile)
#include "tst_snapshotfile.moc"
