// The ledger of unsaved changes against the simulated agent: what a write
// through a binding or a request leaves in it, what ends it, and its file.

#include "support/AgentSession.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "ledger/KtChangeLedger.h"
#include "ledger/KtLedgerRules.h"
#include "mib/KtMibData.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString SysName = QStringLiteral("1.3.6.1.2.1.1.5");
const QString SysLocation = QStringLiteral("1.3.6.1.2.1.1.6");
const QString TrustHostEntry = QStringLiteral("1.3.6.1.4.1.32473.12.1.2.13.1.1");

KtSNMPVarList scalars(const QStringList &oids, const QStringList &labels)
{
    KtSNMPVarList list;
    for (int i = 0; i < oids.size(); ++i)
        list.AppendVar(oids.at(i), labels.at(i), KtType::DisplayStr, KtAccess::ReadWrite);
    list.Kind = KtKind::SVT_SV;
    return list;
}

// Sets one scalar through a request of its own: no read before.
void store(const char *oid, const QString &value, quint32 type = KtType::Integer)
{
    KtSNMPRequest r;
    r.Vars.AppendVar(QString::fromLatin1(oid).chopped(2), QStringLiteral("action"), type, KtAccess::ReadWrite);
    r.Vars.Kind = KtKind::SVT_SV;
    r.Vars.Get(0).Value = value;
    r.Store();
}

} // namespace

class TestChangeLedger : public QObject
{
    Q_OBJECT

    AgentSession m_session;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<KtChangeLedger> m_ledger;
    QString m_seedName;

    KtChangeLedger *newLedger()
    {
        auto *ledger = new KtChangeLedger(QStringLiteral("127.0.0.1"), m_session.agent.port(), m_folder->path());
        ledger->SetSourceProvider([] { return QStringLiteral("System > System Information"); });
        return ledger;
    }

    static QString engineValue(const QString &oid) { return AgentSession::value(oid, KtType::DisplayStr); }

private slots:
    // A fresh agent from its seed for every test: saves and reboots change what it holds.
    void init()
    {
        QVERIFY(m_session.start({QStringLiteral("--factory-reset")}));
        m_folder = std::make_unique<QTemporaryDir>();
        m_ledger.reset(newLedger());
        m_ledger->Load();
        m_ledger->Install();
        m_seedName = engineValue(SysName + ".0");
        QVERIFY(!m_seedName.isEmpty());
    }

    void cleanup()
    {
        m_ledger.reset();
        QVERIFY(!KtWriteObserver::Installed());
        m_session.stop();
    }

    void bindingWriteIsRecorded_data()
    {
        QTest::addColumn<bool>("asynchronous");
        QTest::addColumn<bool>("readFirst");
        QTest::newRow("editor, after its read") << false << true;
        QTest::newRow("editor, nothing read") << false << false;
        QTest::newRow("dedicated dialog, asynchronous") << true << true;
    }

    // Only the object that changed is listed, though the set carries all.
    void bindingWriteIsRecorded()
    {
        QFETCH(bool, asynchronous);
        QFETCH(bool, readFirst);
        const QString seedLocation = engineValue(SysLocation + ".0");
        KtSNMPRequest2Edits binding(nullptr);
        binding.Request.Vars = scalars({SysName, SysLocation}, {"System Name", "System Location"});
        binding.Asynchronous = asynchronous;
        if (readFirst) {
            binding.Read();
            QVERIFY(QTest::qWaitFor([&] { return !binding.Busy; }, 20000));
        } else {
            binding.Request.Vars.Get(1).Value = seedLocation;
        }
        binding.Request.Vars.Get(0).Value = QStringLiteral("edge-7");
        QSignalSpy changed(m_ledger.get(), &KtChangeLedger::changed);
        binding.Write(false, false);
        QVERIFY(QTest::qWaitFor([&] { return !binding.Busy; }, 20000));
        QCOMPARE(engineValue(SysName + ".0"), QStringLiteral("edge-7"));
        QCOMPARE(m_ledger->Count(), 1);
        const KtLedgerEntry &e = m_ledger->Entries().first();
        QCOMPARE(e.Oid, SysName + ".0");
        QCOMPARE(e.Label, QStringLiteral("System Name"));
        QVERIFY(e.OldKnown);
        QCOMPARE(e.Old, m_seedName);
        QCOMPARE(e.New, QStringLiteral("edge-7"));
        QCOMPARE(e.Where, QStringLiteral("System > System Information"));
        QCOMPARE(e.Type + " " + e.Value, QStringLiteral("s edge-7"));
        QVERIFY(qAbs(e.Time.secsTo(QDateTime::currentDateTime())) < 60);
        QCOMPARE(changed.last().first().toInt(), 1);
    }

    // The first old value stays; back where it began, the entry goes.
    void sameObjectAgain()
    {
        KtSNMPRequest r(scalars({SysName}, {"System Name"}));
        for (const QString &v : {QStringLiteral("first"), QStringLiteral("second")}) {
            r.Vars.Get(0).Value = v;
            r.Store();
        }
        QCOMPARE(m_ledger->Count(), 1);
        QCOMPARE(m_ledger->Entries().first().Old, m_seedName);
        QCOMPARE(m_ledger->Entries().first().New, QStringLiteral("second"));
        r.Vars.Get(0).Value = m_seedName;
        r.Store();
        QCOMPARE(m_ledger->Count(), 0);
    }

    // A row that did not exist has "(NULL)" before; a destroyed one its status.
    void tableRowAddedAndDeleted()
    {
        const KtSNMPVarTable *table = KtMibData::Instance().FindTable(QStringLiteral("TrustHostTable"));
        QVERIFY(table);
        KtSNMPRequest add(KtSNMPVarList(*table, KtKind::MVT_UMV, 1));
        const QStringList row{"12", "172.16.4.0", "createAndGo", "255.255.255.0"};
        for (int i = 0; i < row.size(); ++i)
            add.Vars.Get(i).Value = row.at(i);
        add.Store();
        KtSNMPRequest remove(KtSNMPVarList(*table, KtKind::MVT_UMV, 1));
        remove.Vars.Get(0).Value = "1";
        remove.Store(QStringLiteral("2"), {QStringLiteral("destroy")});

        QStringList seen;
        for (const KtLedgerEntry &e : m_ledger->Entries())
            seen << QStringLiteral("%1 %2 -> %3").arg(e.Oid.mid(TrustHostEntry.size() + 1), e.Old, e.New);
        QCOMPARE(seen, (QStringList{"2.12 (NULL) -> 172.16.4.0", "3.12 (NULL) -> createAndGo",
                                    "4.12 (NULL) -> 255.255.255.0", "3.1 active -> destroy"}));
        QCOMPARE(m_ledger->Entries().at(1).Type + " " + m_ledger->Entries().at(1).Value, QStringLiteral("i 4"));
    }

    void failedWriteIsNotRecorded()
    {
        KtSNMPRequest r(scalars({QStringLiteral("1.3.6.1.2.1.1.1")}, {"sysDescr"}));  // read-only on the agent
        r.Vars.Get(0).Value = QStringLiteral("not mine");
        QVERIFY_THROWS_EXCEPTION(KtException, r.Store());
        QCOMPARE(m_ledger->Count(), 0);
        QVERIFY(!QFile::exists(m_ledger->FilePath()));
    }

    void endings_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("nameAfter");  // "seed" or "changed"
        QTest::addColumn<int>("why");
        QTest::newRow("Save Changes") << "save" << "changed" << int(KtChangeLedger::End::Saved);
        QTest::newRow("Reset config") << "revert" << "seed" << int(KtChangeLedger::End::Reverted);
        QTest::newRow("Reboot") << "reboot" << "seed" << int(KtChangeLedger::End::Rebooted);
        QTest::newRow("up-time went back") << "uptime" << "seed" << int(KtChangeLedger::End::Rebooted);
    }

    void endings()
    {
        QFETCH(QString, how);
        QFETCH(QString, nameAfter);
        QFETCH(int, why);
        m_ledger->NoteUpTime(quint32(m_session.agent.uptime()));
        KtSNMPRequest r(scalars({SysName}, {"System Name"}));
        r.Vars.Get(0).Value = QStringLiteral("changed");
        r.Store();
        QCOMPARE(m_ledger->Count(), 1);
        QVERIFY(QFile::exists(m_ledger->FilePath()));
        QSignalSpy ended(m_ledger.get(), &KtChangeLedger::ended);

        if (how == "save") {
            store(KtChangeLedger::SaveOid, "3");
        } else if (how == "revert") {
            store(KtChangeLedger::ResetOid, "2");
        } else if (how == "reboot") {
            store(KtChangeLedger::RebootOid, "1");
        } else {
            // Restarted behind the program's back, after more than the
            // margin for the way there; the next poll shows it.
            const qint64 notedAt = m_session.agent.uptime();
            QVERIFY(notedAt >= 0);
            QTRY_VERIFY_WITH_TIMEOUT(m_session.agent.uptime() >= notedAt + 150, 30000);
            QCOMPARE(m_session.agent.v2("snmpset", {QString::fromLatin1(KtChangeLedger::RebootOid), "i", "1"}, "lantern")
                         .exitCode,
                     0);
            m_ledger->NoteUpTime(quint32(m_session.agent.uptime()));
        }
        QCOMPARE(m_ledger->Count(), 0);
        QVERIFY(!QFile::exists(m_ledger->FilePath()));
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.first().first().toString(), KtChangeLedger::EndText(KtChangeLedger::End(why)));
        QCOMPARE(engineValue(SysName + ".0"), nameAfter == "seed" ? m_seedName : QStringLiteral("changed"));
        // An up-time that only grows ends nothing more.
        m_ledger->NoteUpTime(quint32(m_session.agent.uptime()));
        QCOMPARE(ended.size(), 1);
    }

    // Another program run for the same switch finds the same changes.
    void survivesTheProgram()
    {
        KtSNMPRequest r(scalars({SysName, SysLocation}, {"System Name", "System Location"}));
        r.Vars.Get(0).Value = QStringLiteral("one");
        r.Vars.Get(1).Value = QStringLiteral("it's \"quoted\"");
        r.Store();
        const QFileDevice::Permissions mode = QFile::permissions(m_ledger->FilePath());
        QVERIFY(mode.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(!(mode & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
                          | QFileDevice::WriteOther | QFileDevice::ExeOwner)));
        QVERIFY(m_ledger->FilePath().contains(QStringLiteral("127.0.0.1-%1").arg(m_session.agent.port())));

        std::unique_ptr<KtChangeLedger> again(newLedger());
        again->Load();
        QCOMPARE(again->Count(), 2);
        for (int i = 0; i < 2; ++i) {
            const KtLedgerEntry &a = m_ledger->Entries().at(i);
            const KtLedgerEntry &b = again->Entries().at(i);
            QCOMPARE(b.Oid, a.Oid);
            QCOMPARE(b.Old, a.Old);
            QCOMPARE(b.New, a.New);
            QCOMPARE(b.Value, a.Value);
            QCOMPARE(b.UpTime, a.UpTime);
            QCOMPARE(b.Time, a.Time);
        }
        // At most the switch's up-time, so that only a restart goes below it.
        QVERIFY(again->Entries().first().UpTime <= quint32(m_session.agent.uptime()));
    }

    void unreadableFileIsSetAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not JSON") << QByteArray("{\"time\": \n\x01\x02garbage\n");
        QTest::newRow("a field missing") << QByteArray("{\"time\":\"2024-05-01T10:00:00.000+02:00\",\"oid\":\"1.3.6\"}\n");
        QTest::newRow("a bad OID") << KtLedgerRules::ToLine([] {
            KtLedgerEntry e;
            e.Time = QDateTime::currentDateTime();
            e.Oid = "1.3.6.x";
            e.Type = "s";
            return e;
        }()) + "\n";
    }

    void unreadableFileIsSetAside()
    {
        QFETCH(QByteArray, content);
        QFile file(m_ledger->FilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        std::unique_ptr<KtChangeLedger> ledger(newLedger());
        QSignalSpy message(ledger.get(), &KtChangeLedger::message);
        ledger->Load();
        QCOMPARE(ledger->Count(), 0);
        QCOMPARE(message.size(), 1);
        QVERIFY2(message.first().first().toString().contains("set aside"), qPrintable(message.first().first().toString()));
        const QStringList aside = QDir(m_folder->path()).entryList({"*.damaged-*"});
        QCOMPARE(aside.size(), 1);
        QFile kept(QDir(m_folder->path()).filePath(aside.first()));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), content);
        QVERIFY(!QFile::exists(ledger->FilePath()));
    }
};

QTEST_MAIN(TestChangeLedger)
#include "tst_changeledger.moc"
