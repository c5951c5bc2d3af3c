// Backups, comparisons and restores against the simulated agent: a round
// trip through ten changes, a snapshot served by a second agent, refusals
// and the program's exit statuses.

#include "snapshot/KtRestorePlan.h"
#include "snapshot/KtRestoreRun.h"
#include "snapshot/KtSnapshot.h"
#include "snapshot/KtSnapshotBackup.h"
#include "snapshot/KtSnapshotCompare.h"

#include "support/SnapshotAgent.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Sntp = QStringLiteral("1.3.6.1.4.1.32473.12.10.11");
const QString Trust = QStringLiteral("1.3.6.1.4.1.32473.12.1.2.13.1.1");
const QString Vlan = QStringLiteral("1.3.6.1.2.1.17.7.1.4.3.1");

// One change made behind the module's back, and the difference it must show.
struct Change
{
    QStringList set;   // snmpset arguments: OID type value [...]
    KtSnapshotDifference::Kind kind;
    QString oid;       // changed instance, or the row's status instance
    QString before;
    QString after;
};

QList<Change> tenChanges()
{
    using K = KtSnapshotDifference;
    return {
        {{Sntp + ".1.0", "i", "3"}, K::Changed, Sntp + ".1.0", "disabled", "enabled"},
        {{Sntp + ".3.0", "a", "10.1.2.3"}, K::Changed, Sntp + ".3.0", "10.90.90.1", "10.1.2.3"},
        {{Sntp + ".5.0", "i", "600"}, K::Changed, Sntp + ".5.0", "300", "600"},
        {{"1.3.6.1.4.1.32473.12.10.10.4.0", "i", "60"}, K::Changed, "1.3.6.1.4.1.32473.12.10.10.4.0", "0", "60"},
        {{"1.3.6.1.4.1.32473.12.1.2.22.0", "i", "2"}, K::Changed, "1.3.6.1.4.1.32473.12.1.2.22.0", "enabled", "disabled"},
        {{Vlan + ".2.2", "x", "0000ff00"}, K::Changed, Vlan + ".2.2", "21-24", "17-24"},
        {{Vlan + ".1.2", "s", "v2-lab"}, K::Changed, Vlan + ".1.2", "v2", "v2-lab"},
        {{Trust + ".4.1", "a", "255.255.0.0"}, K::Changed, Trust + ".4.1", "10.90.90.1", "255.255.0.0"},
        {{Trust + ".3.3", "i", "4", Trust + ".2.3", "a", "10.9.9.9", Trust + ".4.3", "a", "255.255.255.255"},
         K::OnlyOnSwitch, Trust + ".3.3", {}, {}},
        {{Trust + ".3.2", "i", "6"}, K::OnlyInSnapshot, Trust + ".3.2", {}, {}},
    };
}

QString rowOf(const QString &instance)
{
    return instance.section('.', -1);
}

} // namespace

class TestSnapshotAgent : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    SnapshotAgent m_switch;
    AgentProcess &m_agent = m_switch.agent;
    KtSnapshotLink &m_link = m_switch.link;

    static KtSnapshot read(const KtSnapshotLink &link)
    {
        KtSnapshot s;
        QString error;
        if (!KtSnapshotBackup::Read(link, "qsx4810 test", s, &error))
            qWarning("backup failed: %s", qPrintable(error));
        return s;
    }

    // The snapshot program with the agent's communities in its environment.
    QProcess *program(const QStringList &args)
    {
        auto *p = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QSX_READ_COMMUNITY", "cobalt");
        env.insert("QSX_WRITE_COMMUNITY", "lantern");
        p->setProcessEnvironment(env);
        p->start(QSX_SNAPSHOT_EXE, args);
        return p;
    }

private slots:
    void initTestCase() { QVERIFY(m_switch.start()); }
    void cleanupTestCase() { m_switch.stop(); }

    void roundTripThroughTenChanges()
    {
        // Back up with the program: exit 0, a file with the header.
        const QString file = m_dir.filePath("switch.snmprec");
        QProcess *backup = program({"backup", file, "127.0.0.1", "-p", QString::number(m_agent.port())});
        QVERIFY(backup->waitForFinished(600000));
        QCOMPARE(backup->exitCode(), 0);
        KtSnapshot snapshot;
        QStringList errors;
        QVERIFY2(snapshot.load(file, &errors), qPrintable(errors.join('\n')));
        QCOMPARE(snapshot.sysName, QString("QSX-4810"));
        QCOMPARE(snapshot.host, QString("127.0.0.1"));
        QVERIFY(snapshot.taken.isValid());
        QVERIFY(snapshot.values.contains(Trust + ".3.2"));   // row status kept
        QVERIFY(!snapshot.values.contains("1.3.6.1.4.1.32473.12.1.1.12.0"));   // read-only left out
        for (const QString &oid : snapshot.values.keys())
            QVERIFY2(!oid.startsWith("1.3.6.1.6.3.15.") && !oid.startsWith("1.3.6.1.6.3.18."), qPrintable(oid));

        const QList<Change> changes = tenChanges();
        for (const Change &c : changes) {
            const auto r = m_agent.v2("snmpset", c.set, "lantern");
            QVERIFY2(r.exitCode == 0, qPrintable(c.set.join(' ') + ": " + r.err));
        }

        // The program lists exactly the ten, one a line, and exits 1.
        QProcess *compare = program({"compare", file, "127.0.0.1", "-p", QString::number(m_agent.port())});
        QVERIFY(compare->waitForFinished(600000));
        QCOMPARE(compare->exitCode(), 1);
        const QStringList lines = QString::fromUtf8(compare->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 10);
        QVERIFY2(lines.contains("Time Management > SNTP | SNTP | changed | State: disabled -> enabled")
                     || lines.filter("State: disabled -> enabled").size() == 1,
                 qPrintable(lines.join('\n')));

        // The library finds the same ten, by meaning.
        const KtSnapshot changed = read(m_link);
        const QList<KtSnapshotDifference> differences = KtSnapshotCompare::Compare(snapshot, changed);
        QCOMPARE(differences.size(), 10);
        for (const Change &c : changes) {
            const bool row = c.kind != KtSnapshotDifference::Changed;
            const auto found = std::find_if(differences.begin(), differences.end(), [&](const KtSnapshotDifference &d) {
                return d.kind == c.kind && (row ? d.row == rowOf(c.oid) && d.root == Trust : d.oid == c.oid);
            });
            QVERIFY2(found != differences.end(), qPrintable(c.oid));
            QCOMPARE(found->before, c.before);
            QCOMPARE(found->after, c.after);
        }
        const QString csv = KtSnapshotCompare::ToCsv(differences);
        QCOMPARE(csv.count('\n'), 11);
        QVERIFY(csv.contains(",row only in snapshot,"));

        // Restore all: every item done, changes first and the destroyed row last.
        KtRestorePlan plan = KtRestorePlan::Build(snapshot, differences);
        QCOMPARE(plan.items.last().kind, KtRestoreItem::DestroyRow);
        QCOMPARE(plan.items.at(plan.items.size() - 2).kind, KtRestoreItem::CreateRow);
        KtRestoreRun::Run(m_link, plan);
        for (const KtRestoreItem &i : plan.items)
            QVERIFY2(i.state == KtRestoreItem::Done, qPrintable(i.description + ": " + i.reason));

        QCOMPARE(KtSnapshotCompare::Compare(snapshot, read(m_link)).size(), 0);

        // A snapshot served by a second agent reads back equal to the switch it
        // was taken from: the changed one, with a row less and a row more
        // than the built-in seed.
        const QString changedFile = m_dir.filePath("changed.snmprec");
        QString error;
        QVERIFY2(changed.save(changedFile, &error), qPrintable(error));
        AgentProcess second;
        QVERIFY(second.start({"--seed", changedFile}));
        const KtSnapshot served = read(SnapshotAgent::linkTo(second.port()));
        const QList<KtSnapshotDifference> left = KtSnapshotCompare::Compare(changed, served);
        QStringList text;
        for (const KtSnapshotDifference &d : left)
            text.append(d.toLine());
        QVERIFY2(left.isEmpty(), qPrintable(text.join('\n')));
        // What the snapshot does not hold comes from the built-in seed.
        QVERIFY(!second.value("1.3.6.1.4.1.32473.12.1.1.12.0").isEmpty());
    }

    void refusedItemsKeepTheReasonAndTheRestGoesOn()
    {
        KtSnapshot s;
        KtVarBind bad;
        bad.oid = Sntp + ".5.0";
        bad.syntax = KtSyntax::Integer;
        bad.integer = 5;   // below the poll interval's range
        KtVarBind good = bad;
        good.oid = "1.3.6.1.4.1.32473.12.1.2.22.0";
        good.integer = 2;
        KtRestorePlan plan;
        for (const KtVarBind &vb : {bad, good}) {
            KtRestoreItem item;
            item.description = vb.oid;
            item.pdus = {{vb}};
            plan.items.append(item);
        }
        KtRestoreRun run(m_link, plan);
        QSignalSpy items(&run, &KtRestoreRun::itemFinished);
        QSignalSpy done(&run, &KtRestoreRun::finished);
        run.start();
        QVERIFY(done.wait(30000));
        QCOMPARE(items.size(), 2);
        QCOMPARE(plan.items.at(0).state, KtRestoreItem::Refused);
        QVERIFY2(plan.items.at(0).reason.contains(Sntp + ".5.0"), qPrintable(plan.items.at(0).reason));
        QCOMPARE(plan.items.at(1).state, KtRestoreItem::Done);
        QCOMPARE(m_agent.value("1.3.6.1.4.1.32473.12.1.2.22.0"), QString("2"));
        QCOMPARE(m_agent.v2("snmpset", {"1.3.6.1.4.1.32473.12.1.2.22.0", "i", "1"}, "lantern").exitCode, 0);
    }

    void cancelStopsAtOnce()
    {
        KtSnapshotBackup backup(m_link);
        QSignalSpy finished(&backup, &KtSnapshotBackup::finished);
        QSignalSpy progress(&backup, &KtSnapshotBackup::progress);
        QObject::connect(&backup, &KtSnapshotBackup::progress, &backup, [&](int done) {
            if (done == 3)
                backup.cancel();
        });
        backup.start("x");
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.first().at(0).toBool(), false);
        QCOMPARE(progress.size(), 3);
        QVERIFY(!backup.running());
    }

    void agentRefusesACorruptSnapshot()
    {
        const QString file = m_dir.filePath("corrupt.snmprec");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("# QSX-4810 configuration snapshot\n# empty: 1.3.6.1.4.1.32473.12.1.2.13.1.1 TrustHostTable\n"
                "1.3.6.1.4.1.32473.12.10.11.5.0|64|300\n");
        f.close();
        QProcess p;
        p.start(AgentProcess::executable(), {"--listen", QStringLiteral("udp:127.0.0.1:%1").arg(AgentProcess::FreePort()),
                                             "--state-dir", m_dir.filePath("corrupt-state"), "--seed", file});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(err.contains("corrupt.snmprec:3: not a dotted IPv4 address"), qPrintable(err));
    }

    void programFailures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("seed");
        QTest::addColumn<QString>("stderr");
        QTest::newRow("corrupt snapshot") << QStringList{"compare", "@file", "127.0.0.1", "-p", "@port"}
                                          << "# QSX-4810 configuration snapshot\n1.3.6.1.2.1.1.5.0|4|ok\n1.3.6.1.2.1.1.6.0|2|x\n"
                                          << "bad.snmprec:3: not a 32-bit integer";
        QTest::newRow("missing snapshot") << QStringList{"compare", "@missing", "127.0.0.1", "-p", "@port"} << ""
                                          << "none.snmprec";
        QTest::newRow("silent switch") << QStringList{"backup", "@file", "127.0.0.1", "-p", "@silent", "-t", "1"} << ""
                                       << "127.0.0.1:";
        QTest::newRow("community argument") << QStringList{"backup", "@file", "127.0.0.1", "-c", "cobalt"} << ""
                                            << "environment";
    }
    void programFailures()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, seed);
        QFETCH(QString, stderr);
        const QString file = m_dir.filePath("bad.snmprec");
        QFile::remove(file);
        if (!seed.isEmpty()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(seed.toUtf8());
        }
        args.replaceInStrings("@file", file);
        args.replaceInStrings("@missing", m_dir.filePath("none.snmprec"));
        args.replaceInStrings("@port", QString::number(m_agent.port()));
        args.replaceInStrings("@silent", QString::number(AgentProcess::FreePort()));
        QProcess *p = program(args);
        QVERIFY(p->waitForFinished(60000));
        QCOMPARE(p->exitCode(), 2);
        const QString err = QString::fromUtf8(p->readAllStandardError());
        QVERIFY2(err.contains(stderr), qPrintable(err));
        // A failed backup leaves no file.
        if (args.first() == "backup")
            QVERIFY(!QFile::exists(file));
    }
};

QTEST_GUILESS_MAIN(TestSnapshotAgent)
#include "tst_snapshotagent.moc"
