// The main window's view of the unsaved changes against the simulated
// agent: the count, the Changes window with its commands and revert, the
// exit question, a restart of the switch seen by the LED poll.

#include "support/AgentProcess.h"
#include "support/ScriptedMessages.h"

#include "../doctor/ShellWords.h"
#include "ledger/KtChangeLedger.h"
#include "shell/TChangesForm.h"
#include "shell/TChangesFormRules.h"
#include "shell/TMainForm.h"

#include "bindings/KtSNMPRequest2Leds.h"

#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

const QString SysName = QStringLiteral("1.3.6.1.2.1.1.5.0");

} // namespace

class TestChanges : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<AgentProcess> m_agent;
    QString m_seedName;

    std::unique_ptr<TMainForm> open()
    {
        // An installation folder: the profile beside the program.
        const QDir folder(m_dir.filePath(QStringLiteral("%1/orvix_ems").arg(m_agent->port())));
        folder.mkpath(QStringLiteral("."));
        QFile profile(folder.filePath(QStringLiteral("127.0.0.1.cfg")));
        if (profile.open(QIODevice::WriteOnly))
            profile.write(QStringLiteral("[Program Information]\r\nVersion=1\r\nAgentPort=%1").arg(m_agent->port()).toLatin1());
        profile.close();
        auto form = std::make_unique<TMainForm>(&TMainForm::BuildOwnMenus);
        if (!form->FormCreate({"/I127.0.0.1", "/Rcobalt", "/Wlantern"}, folder.path()))
            return {};
        form->show();
        return form;
    }

    // A write through the program, as any dialog makes it.
    static void change(const QString &value)
    {
        KtSNMPRequest r;
        r.Vars.AppendVar(SysName.chopped(2), QStringLiteral("System Name"), KtType::DisplayStr, KtAccess::ReadWrite);
        r.Vars.Kind = KtKind::SVT_SV;
        r.Vars.Get(0).Value = value;
        r.Store();
    }

    // sysName as the agent holds it now.
    QString name() const
    {
        QString text = m_agent->value(SysName);
        if (text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
            text = text.mid(1, text.size() - 2);
        return text;
    }

    // Behind the program's back.
    bool agentSet(const QString &oid, const QString &type, const QString &value)
    {
        return m_agent->tool("snmpset", {"-v2c", "-c", "lantern", m_agent->target(), oid, type, value}).exitCode == 0;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        QApplication::setQuitOnLastWindowClosed(false);
    }

    // Every test starts from the agent's seed and an empty state folder.
    void init()
    {
        QDir(m_dir.filePath(QStringLiteral("state"))).removeRecursively();
        qputenv("XDG_STATE_HOME", m_dir.filePath(QStringLiteral("state")).toUtf8());
        m_agent = std::make_unique<AgentProcess>();
        QVERIFY(m_agent->start({QStringLiteral("--factory-reset")}));
        m_seedName = name();
    }

    void cleanup() { m_agent.reset(); }

    void exitQuestion_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("choice");  // 0 No, 1 Yes, 2 Save Changes and Exit
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("left");    // changes listed at the next start
        QTest::newRow("nothing changed, No") << false << 0 << false << 0;
        QTest::newRow("nothing changed, Yes") << false << 1 << true << 0;
        QTest::newRow("changed, No") << true << 0 << false << 1;
        QTest::newRow("changed, Yes") << true << 1 << true << 1;
        QTest::newRow("changed, Save Changes and Exit") << true << 2 << true << 0;
    }

    void exitQuestion()
    {
        QFETCH(bool, changed);
        QFETCH(int, choice);
        QFETCH(bool, closes);
        QFETCH(int, left);
        std::unique_ptr<TMainForm> form = open();
        QVERIFY(form);
        if (changed)
            change(QStringLiteral("exit-test"));
        QCOMPARE(form->ChangesLabel()->isVisible(), changed);
        {
            ScriptedMessages boxes;
            if (changed)
                boxes.expectChoice("Are you sure to exit?\n1 changes are not saved to the switch and will be lost "
                                   "at its next restart.",
                                   "Save Changes and Exit", choice);
            else
                boxes.expectAsk("Are you sure to exit?", choice == 1);
            QCOMPARE(form->close(), closes);
            QVERIFY(boxes.pending().isEmpty());
            if (!changed)
                QCOMPARE(boxes.texts(), QStringList{"Are you sure to exit?"});
        }
        if (choice == 2)
            QVERIFY(QFile::exists(m_agent->stateDir() + "/saved.snmprec"));
        form.reset();
        // The next start for the same switch: what was not saved is still listed.
        std::unique_ptr<TMainForm> again = open();
        QVERIFY(again);
        QCOMPARE(again->Ledger()->Count(), left);
        QCOMPARE(again->ChangesLabel()->isVisible(), left > 0);
        if (left)
            QCOMPARE(again->ChangesLabel()->text(), QStringLiteral("1 unsaved changes"));
        ScriptedMessages boxes(ScriptedMessages::RecordOnly{true});
        again->close();
    }

    // The window lists the change, copies it as a command that sets it
    // again, and reverts the switch to its saved data.
    void changesWindow()
    {
        std::unique_ptr<TMainForm> form = open();
        QVERIFY(form);
        change(QStringLiteral("window-test"));
        QTRY_VERIFY(form->ChangesLabel()->isVisible());
        QTest::mouseClick(form->ChangesLabel(), Qt::LeftButton);
        TChangesForm *window = form->ChangesWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->LV_Changes->topLevelItemCount(), 1);
        const QTreeWidgetItem *row = window->LV_Changes->topLevelItem(0);
        QCOMPARE(row->text(2), QStringLiteral("System Name"));
        QCOMPARE(row->text(3), m_seedName);
        QCOMPARE(row->text(4), QStringLiteral("window-test"));

        window->BT_Copy->click();
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(!copied.contains("lantern") && !copied.contains("cobalt"));
        QVERIFY(agentSet(SysName, "s", m_seedName));
        QStringList words = shellWords(copied.trimmed());
        QCOMPARE(words.takeFirst(), QStringLiteral("snmpset"));
        words.replace(words.indexOf("<write community>"), "lantern");
        QCOMPARE(m_agent->tool("snmpset", words).exitCode, 0);
        QCOMPARE(name(), QStringLiteral("window-test"));

        const QString csv = m_dir.filePath("changes.csv");
        QVERIFY(window->ExportCsv(csv));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("\r\n"), 2);

        {
            ScriptedMessages boxes;
            boxes.expectAsk("saved configuration", true);
            window->BT_Revert->click();
        }
        QCOMPARE(name(), m_seedName);
        QCOMPARE(form->Ledger()->Count(), 0);
        QCOMPARE(window->LV_Changes->topLevelItemCount(), 0);
        QVERIFY(!form->ChangesLabel()->isVisible());
        QCOMPARE(window->ST_Note->text(), KtChangeLedger::EndText(KtChangeLedger::End::Reverted));
        ScriptedMessages boxes(ScriptedMessages::RecordOnly{true});
        form->close();
    }

    // A restart the program did not ask for shows as a lower up-time.
    void restartSeenByThePoll()
    {
        std::unique_ptr<TMainForm> form = open();
        QVERIFY(form);
        QTRY_VERIFY_WITH_TIMEOUT(form->StatusPanel()->text().startsWith("Get: Ok!"), 30000);
        change(QStringLiteral("reboot-test"));
        // Restarted well after a poll, as a real switch takes its time.
        QSignalSpy polled(form->FrontPanelLeds(), &KtSNMPRequest2Leds::PollAnswered);
        QVERIFY(polled.wait(10000));
        const qint64 polledAt = m_agent->uptime();
        QVERIFY(polledAt >= 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_agent->uptime() >= polledAt + 150, 30000);
        QVERIFY(agentSet(QString::fromLatin1(KtChangeLedger::RebootOid), "i", "1"));
        QTRY_COMPARE_WITH_TIMEOUT(form->Ledger()->Count(), 0, 30000);
        QVERIFY(!form->ChangesLabel()->isVisible());
        QTRY_COMPARE(form->StatusPanel()->text(), KtChangeLedger::EndText(KtChangeLedger::End::Rebooted));
        // Said once: the window opened later shows it, the next poll does not repeat it.
        form->Changes1Click();
        QCOMPARE(form->ChangesWindow()->ST_Note->text(), KtChangeLedger::EndText(KtChangeLedger::End::Rebooted));
        ScriptedMessages boxes(ScriptedMessages::RecordOnly{true});
        form->close();
    }
};

QTEST_MAIN(TestChanges)
#include "tst_changes.moc"
