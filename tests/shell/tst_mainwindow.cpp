// The main window against the simulated agent: LEDs, menus by version and
// RMON state, device actions, exit question, help, destruction.

#include "support/AgentProcess.h"
#include "support/FakeProgram.h"
#include "support/LoopbackUdp.h"
#include "support/ScriptedMessages.h"

#include "shell/KtFrontPanelImage.h"
#include "shell/TMainForm.h"
#include "shell/catalogue/KtMenuCatalogue.h"

#include "bindings/KtLedShape.h"
#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/TConfigForm.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TSNMPEditorPanel.h"
#include "bindings/KtRequestLink.h"
#include "bindings/KtSNMPRequest2Leds.h"
#include "dialogs/registry/KtDialogRegistry.h"
#include "errors/KtCatalogue.h"
#include "snmp/KtSNMPSession.h"
#include "values/widgets/KtMessageService.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QtMath>

#include <memory>

namespace {

// Every message shown, as "caption | text".
QStringList shownLines(const ScriptedMessages &boxes)
{
    QStringList lines;
    for (const ScriptedMessages::Shown &m : boxes.shown())
        lines << m.caption + QLatin1String(" | ") + m.text;
    return lines;
}

const QString Ok = QStringLiteral("Get: Ok! Request: Led Status.");
const QString TimedOut = QStringLiteral("SNMP request timed out!");
const QString RmonStateOid = QStringLiteral("1.3.6.1.4.1.32473.11.69.1.2.1.2.3.0");

// Own commands plus the entries whose state the window keeps.
void buildWithStateEntries(TMainForm &form, QMenuBar *bar)
{
    static const QStringList state{"Statistics1", "History1", "AlarmEvent1", "Engine", "MPD", "USM", "Statistics2"};
    TMainForm::BuildMenus(form, bar, [&form](const KtMenuEntry &e) {
        return bool(form.OwnCommand(e)) || state.contains(e.name());
    });
}

QStringList version3Arguments(quint16 port)
{
    return {"/I127.0.0.1", "/v3", QStringLiteral("/t%1").arg(port), "/nSHA_DES_User", "/l3", "/a3", "/p2",
            "/Aqsx4810auth", "/Pqsx4810priv"};
}

QList<KtLedShape *> leds(TMainForm &form, const char *panel)
{
    return form.findChild<QWidget *>(QLatin1String(panel))->findChildren<KtLedShape *>();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    AgentProcess m_agent;

    // A module folder whose profile (v2c) aims at port; installation mode
    // when the folder is named orvix_ems.
    QString moduleFolder(const QString &name, quint16 port, bool withHelp = false)
    {
        const QDir folder(m_dir.filePath(QStringLiteral("%1-%2/%1").arg(name).arg(port)));
        folder.mkpath(QStringLiteral("."));
        QFile profile(folder.filePath(QStringLiteral("127.0.0.1.cfg")));
        if (profile.open(QIODevice::WriteOnly))
            profile.write(QStringLiteral("[Program Information]\r\nVersion=1\r\nAgentPort=%1").arg(port).toLatin1());
        if (withHelp)
            QFile::copy(QStringLiteral(QSX_HELP_SOURCE), folder.filePath(QString::fromLatin1(TMainForm::HelpFileName)));
        return folder.path();
    }

    std::unique_ptr<TMainForm> open(const QStringList &arguments, const QString &folder,
                                    const TMainForm::MenuBuilder &builder = buildWithStateEntries)
    {
        auto form = std::make_unique<TMainForm>(builder);
        if (!form->FormCreate(arguments, folder))
            return {};
        form->show();
        return form;
    }

    std::unique_ptr<TMainForm> openLive(const QString &folderName = QStringLiteral("orvix_ems"))
    {
        auto form = open({QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rcobalt"), QStringLiteral("/Wlantern")},
                         moduleFolder(folderName, m_agent.port(), true));
        if (form && !QTest::qWaitFor([&] { return form->StatusPanel()->text().startsWith(Ok); }, 30000))
            qWarning() << "no LED reading:" << form->StatusPanel()->text();
        return form;
    }

    bool setRmonState(int value)
    {
        return m_agent.tool("snmpset", {"-v2c", "-c", "lantern", "-t", "2", "-r", "1", m_agent.target(), RmonStateOid,
                                        "i", QString::number(value)})
                   .exitCode == 0;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));  // the engine-boots file goes here
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_STATE_HOME", m_dir.filePath(QStringLiteral("state")).toUtf8());  // the ledger of changes
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(m_agent.start());
    }
    void cleanup()
    {
        for (int id = 0; id < KtCatalogue::Count; ++id)
            KtCatalogue::RestoreBuiltIn(KtCatalogue::Id(id));
        // Every start applies its switches over what the last one left.
        KtSNMPSession::Device() = {};
        KtSNMPSession::Scope() = {};
        KtSNMPSession::Security() = {};
    }

    void liveFrontPanel_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("version3");
        QTest::newRow("v2c profile, installation") << "orvix_ems" << false;
        QTest::newRow("v3 command line") << "bin" << true;
    }
    void liveFrontPanel()
    {
        QFETCH(QString, folder);
        QFETCH(bool, version3);
        const QStringList arguments = version3 ? version3Arguments(m_agent.port()) : QStringList{"/I127.0.0.1"};
        // Outside installation mode no profile is found (no host application).
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        std::unique_ptr<TMainForm> form = open(arguments, moduleFolder(folder, m_agent.port()));
        QVERIFY(form);
        QTRY_VERIFY_WITH_TIMEOUT(form->StatusPanel()->text().startsWith(Ok), 30000);
        QCOMPARE(shownLines(boxes), QStringList());
        QCOMPARE(form->windowTitle(), QStringLiteral("QSX-4810 : 127.0.0.1"));
        QCOMPARE(form->HostText(), QStringLiteral("127.0.0.1"));

        // The agent's power octet is 1 and its ports have links: green.
        QCOMPARE(leds(*form, "PowerLedPanel").value(0)->Color(), KtLedColors::Green);
        const QList<KtLedShape *> ports = leds(*form, "LedPanel1") + leds(*form, "LedPanel2");
        QCOMPARE(ports.size(), 24);
        QVERIFY(std::any_of(ports.begin(), ports.end(), [](KtLedShape *s) { return s->Color() == KtLedColors::Green; }));

        QCOMPARE(form->MenuItem(QStringLiteral("SNMPConfigure1"))->isVisible(), folder == QLatin1String("orvix_ems"));
        for (const char *name : {"Engine", "MPD", "USM"}) {
            QAction *item = form->MenuItem(QLatin1String(name));
            QVERIFY2(item && item->isVisible(), name);
            QCOMPARE(item->isEnabled(), version3);
        }
        QCOMPARE(form->findChild<QLabel *>(QStringLiteral("ST_RmonState"))->text(), QStringLiteral("enabled"));
    }

    void pictureDrawnOnce_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1") << 1.0;
        QTest::newRow("1.5") << 1.5;
        QTest::newRow("2") << 2.0;
    }
    void pictureDrawnOnce()
    {
        QFETCH(qreal, ratio);
        const QPixmap picture = KtFrontPanelImage::Render(ratio);
        QCOMPARE(picture.devicePixelRatio(), ratio);
        QCOMPARE(picture.size(), QSize(qCeil(919 * ratio), qCeil(113 * ratio)));
        QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(919, 113));

        KtFrontPanelImage image;
        image.show();
        QVERIFY(QTest::qWaitForWindowExposed(&image));
        for (int i = 0; i < 3; ++i)
            image.repaint();
        QCOMPARE(image.RenderCount(), 1);
    }

    void ownMenusFollowTheCatalogue_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("enabled");
        for (const char *name : {"SaveConfig", "Reset", "H1", "SNMPConfigure1"})
            QTest::newRow(name) << name << true;
        QTest::newRow("Exit1") << "Exit1" << false;  // hidden, so disabled too
        // Their dialogs are not registered here.
        QTest::newRow("About1") << "About1" << false;
        QTest::newRow("BridgeSTPInformation") << "BridgeSTPInformation" << false;
    }
    void ownMenusFollowTheCatalogue()
    {
        QFETCH(QString, name);
        QFETCH(bool, enabled);
        TMainForm form(&TMainForm::BuildOwnMenus);
        const KtMenuEntry *entry = KtMenuCatalogue::Instance().Find(name);
        QVERIFY(entry);
        QAction *item = form.MenuItem(name);
        QVERIFY(item);
        QCOMPARE(item->text(), entry->caption());
        QCOMPARE(item->isVisible(), !entry->hidden());
        QCOMPARE(item->isEnabled(), enabled);
        // Under the menus of its catalogue path.
        QStringList path;
        for (QObject *o = item->parent(); qobject_cast<QMenu *>(o); o = o->parent())
            path.prepend(static_cast<QMenu *>(o)->title());
        QCOMPARE((path << item->text()).join(QLatin1String(" > ")), entry->path());
        // Nothing but the window's own commands and their menus.
        QVERIFY(!form.MenuItem(QStringLiteral("Statistics1")));
    }

    void exitQuestion()
    {
        std::unique_ptr<TMainForm> form = openLive();
        QVERIFY(form);
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        boxes.answer({false});
        QVERIFY(!form->close());
        QCOMPARE(shownLines(boxes), QStringList{QStringLiteral("Exit | Are you sure to exit?")});
        QVERIFY(form->isVisible());
        // Still polling: the next reading shows up again.
        form->StatusPanel()->clear();
        QTRY_VERIFY_WITH_TIMEOUT(form->StatusPanel()->text().startsWith(Ok), 20000);

        // The hidden Exit entry asks the same.
        boxes.answer({true});
        form->MenuItem(QStringLiteral("Exit1"))->trigger();
        QCOMPARE(boxes.shown().size(), 2);
        QVERIFY(!form->isVisible());
    }

    void deviceActions_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        QTest::newRow("save, no") << "SaveConfig" << false << "Save Configure | Save Configurations into NV-RAM ?";
        QTest::newRow("save, yes") << "SaveConfig" << true << "Save Configure | Save Configurations into NV-RAM ?";
        QTest::newRow("reboot, no") << "Reset" << false << "Reboot | Are you sure to reboot the device?";
        QTest::newRow("reboot, yes") << "Reset" << true << "Reboot | Are you sure to reboot the device?";
    }
    void deviceActions()
    {
        QFETCH(QString, item);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        std::unique_ptr<TMainForm> form = openLive();
        QVERIFY(form);
        const QString saved = QDir(m_agent.stateDir()).filePath(QStringLiteral("saved.snmprec"));
        QFile::remove(saved);
        qint64 upBefore = 0;
        QTRY_VERIFY_WITH_TIMEOUT((upBefore = m_agent.uptime()) >= 120, 20000);  // so a reboot shows in sysUpTime
        const QString status = form->StatusPanel()->text();

        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        boxes.answer({yes});
        QElapsedTimer clock;
        clock.start();
        form->MenuItem(item)->trigger();
        QCOMPARE(shownLines(boxes), QStringList{question});
        const bool save = item == QLatin1String("SaveConfig");
        QCOMPARE(QFile::exists(saved), save && yes);
        const qint64 upAfter = m_agent.uptime();
        const qint64 sinceQuestion = clock.elapsed() / 10 + 1;
        QVERIFY(upAfter >= 0);
        // A reboot counts from after the question, an agent that went on from
        // before it (at least 1.2 s more), on a machine of any speed.
        if (!save && yes)
            QVERIFY2(upAfter <= sinceQuestion, qPrintable(QString("%1 ticks, %2 since the question").arg(upAfter).arg(sinceQuestion)));
        else
            QVERIFY2(upAfter >= upBefore, qPrintable(QString("%1 -> %2").arg(upBefore).arg(upAfter)));
        // Success adds nothing to the status line.
        QCOMPARE(form->StatusPanel()->text(), status);
    }

    // The RMON entries need both: the switch's RMON on and the Rmon program there.
    void rmonStateGatesItsEntries()
    {
        const QString program = TestSupport::writeProgram(moduleFolder("orvix_ems", m_agent.port()), QStringLiteral("Rmon"));
        QVERIFY(!program.isEmpty());
        QVERIFY(setRmonState(2));
        std::unique_ptr<TMainForm> form = openLive();
        QVERIFY(form);
        const auto enabled = [&form](bool expected) {
            for (const char *name : {"Statistics1", "History1", "AlarmEvent1"})
                if (form->MenuItem(QLatin1String(name))->isEnabled() != expected)
                    return false;
            return true;
        };
        QVERIFY(enabled(false));
        QCOMPARE(form->findChild<QLabel *>(QStringLiteral("ST_RmonState"))->text(), QStringLiteral("disabled"));
        form->UpdateSiblingEntries();  // as when the menu opens
        QVERIFY(enabled(false));

        // As when the "RMON State" dialog closes after the operator enabled it.
        QVERIFY(setRmonState(3));
        form->RmonStateCheck();
        QVERIFY(enabled(true));

        QVERIFY(QFile::remove(program));
        form->UpdateSiblingEntries();
        QVERIFY(enabled(false));
        form->RmonStateCheck();
        QVERIFY(enabled(false));
    }

    // The operator disables RMON in its dialog and closes it: the three
    // sibling entries follow at once.
    void rmonStateDialogGatesOnClose()
    {
        QVERIFY(setRmonState(3));
        std::unique_ptr<TMainForm> form = open({QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rcobalt"),
                                                QStringLiteral("/Wlantern")},
                                               moduleFolder("orvix_ems", m_agent.port()), &TMainForm::BuildCatalogueMenus);
        QVERIFY(form);
        const char *items[] = {"Statistics1", "History1", "AlarmEvent1"};
        for (const char *name : items)
            QVERIFY2(form->MenuItem(QLatin1String(name))->isEnabled(), name);

        QString caption;
        QString written;
        auto *poll = new QTimer(form.get());
        connect(poll, &QTimer::timeout, poll, [&] {
            auto *dialog = qobject_cast<TConfigForm *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll->stop();
            caption = dialog->windowTitle();
            KtSNMPRequest2Edits *binding = dialog->VisibleBinding();
            auto *memo = qobject_cast<QPlainTextEdit *>(binding->StatusTarget.data());
            if (QTest::qWaitFor([&] { return binding->ResultCount > 0 && !binding->Busy; }, 15000)) {
                auto *panel = dialog->findChild<TSNMPEditorPanel *>();
                const TEditsPanel::EditRow &row = panel->EditsPanel->Rows.at(0);
                row.Combo()->setCurrentIndex(row.Combo()->findText(QStringLiteral("disabled")));
                row.CheckBox->setChecked(true);
                panel->Buttons->SetCheckedButton->click();
                QTest::qWaitFor([&] { return memo->toPlainText().contains(QLatin1String("Set: ")) && !binding->Busy; },
                                15000);
                for (const QString &line : memo->toPlainText().split(QLatin1Char('\n')))
                    if (line.startsWith(QLatin1String("Set: ")))
                        written = line;
                // Items change only when the dialog closes.
                if (!form->MenuItem(QStringLiteral("Statistics1"))->isEnabled())
                    written = QStringLiteral("changed before closing");
            }
            dialog->reject();
        });
        poll->start(10);
        form->MenuItem(QStringLiteral("RMONState1"))->trigger();
        QCOMPARE(caption, QStringLiteral("RMON State:127.0.0.1"));
        QCOMPARE(form->LastDialogName(), QStringLiteral("RMON State"));
        QVERIFY2(written.startsWith(QLatin1String("Set: Ok!")), qPrintable(written));
        QCOMPARE(m_agent.value(RmonStateOid), QStringLiteral("2"));
        for (const char *name : items)
            QVERIFY2(!form->MenuItem(QLatin1String(name))->isEnabled(), name);
        QVERIFY(setRmonState(3));
    }

    void agentStopped()
    {
        AgentProcess agent;
        QVERIFY(agent.start());
        std::unique_ptr<TMainForm> form = open({QStringLiteral("/I127.0.0.1")}, moduleFolder("orvix_ems", agent.port()));
        QVERIFY(form);
        QTRY_VERIFY_WITH_TIMEOUT(form->StatusPanel()->text().startsWith(Ok), 30000);
        const QList<KtLedShape *> all = form->findChildren<KtLedShape *>();
        QCOMPARE(all.size(), 31);
        QVERIFY(std::any_of(all.begin(), all.end(), [](KtLedShape *s) { return s->Color() != KtLedColors::Black; }));

        agent.stop();
        QTRY_VERIFY_WITH_TIMEOUT(form->StatusPanel()->text().startsWith(QStringLiteral("Get: ") + TimedOut), 30000);
        QVERIFY(std::all_of(all.begin(), all.end(), [](KtLedShape *s) { return s->Color() == KtLedColors::Black; }));

        // A save the switch did not answer says so.
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        boxes.answer({true});
        form->SaveConfigClick();
        QCOMPARE(form->StatusPanel()->text(), TimedOut);

        // An RMON read that times out leaves the entries as they were.
        form->StatusPanel()->clear();
        form->RmonStateCheck();
        QCOMPARE(form->StatusPanel()->text(), TimedOut);
        QVERIFY(form->MenuItem(QStringLiteral("Statistics1"))->isEnabled());
    }

    // A switch may restart before it answers the reboot set; other failures read as they are.
    void deviceActionsWithoutAnswer()
    {
        TestSupport::SilentPort silent;
        QVERIFY(silent.isOpen());
        std::unique_ptr<TMainForm> form = open({QStringLiteral("/I127.0.0.1")}, moduleFolder("orvix_ems", silent.port()));
        QVERIFY(form);
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        const QList<QPair<QString, QString>> cases = {
            {QStringLiteral("Reset"), QString::fromLatin1(TMainForm::RebootTimeoutText)},
            {QStringLiteral("SaveConfig"), TimedOut},
        };
        for (const auto &[item, status] : cases) {
            boxes.answer({true});
            form->MenuItem(item)->trigger();
            QCOMPARE(form->StatusPanel()->text(), status);
        }
        QCOMPARE(boxes.shown().size(), 2);
    }

    void destructionWaitsForTheReading()
    {
        auto form = std::make_unique<TMainForm>();
        QVERIFY(form->FormCreate({QStringLiteral("/I127.0.0.1")}, moduleFolder("orvix_ems", m_agent.port())));
        // The first reading went out during creation and is still open.
        QVERIFY(form->FrontPanelLeds()->Busy);
        form.reset();
        QCOMPARE(KtRequestLink::KeptRequests(), 0);
    }

    void help_data()
    {
        QTest::addColumn<bool>("present");
        QTest::newRow("present") << true;
        QTest::newRow("missing") << false;
    }
    void help()
    {
        QFETCH(bool, present);
        const QString folder = moduleFolder(present ? "orvix_ems" : "plain", m_agent.port(), present);
        // With the window's own menus only: outside an installation the
        // SNMP V3 menu holds nothing visible and goes too.
        // Outside an installation only the command line reaches the agent.
        const QStringList arguments = present ? QStringList{"/I127.0.0.1"} : version3Arguments(m_agent.port());
        std::unique_ptr<TMainForm> form = open(arguments, folder, &TMainForm::BuildOwnMenus);
        QVERIFY(form);
        QAction *configure = form->MenuItem(QStringLiteral("SNMPConfigure1"));
        QCOMPARE(configure->isVisible(), present);
        QCOMPARE(qobject_cast<QMenu *>(configure->parent())->menuAction()->isVisible(), present);
        QVERIFY(form->MenuItem(QStringLiteral("H1"))->isVisible());
        form->StatusPanel()->clear();
        form->MenuItem(QStringLiteral("H1"))->trigger();
        if (present) {
            QTextBrowser *help = form->HelpWindow();
            QVERIFY(help && help->isVisible());
            QCOMPARE(help->windowTitle(), QStringLiteral("QSX-4810 Help"));
            QVERIFY(help->toPlainText().contains(QStringLiteral("Save Configurations into NV-RAM ?")));
            QCOMPARE(form->StatusPanel()->text(), QString());
        } else {
            QVERIFY(!form->HelpWindow());
            QCOMPARE(form->StatusPanel()->text(),
                     QStringLiteral("Help file not found: ") + QDir(folder).filePath(TMainForm::HelpFileName));
        }
    }

    void stpControlReadsTheVersionFirst()
    {
        QString seen;
        KtDialogRegistry::Register(QStringLiteral("TSTP_Info"), [&seen](const KtDialogOpening &o) {
            seen = o.main->StpVersionText();
        });
        std::unique_ptr<TMainForm> form = openLive();
        QVERIFY(form);
        QAction *item = form->MenuItem(QStringLiteral("BridgeSTPInformation"));
        QVERIFY(item->isEnabled());
        item->trigger();
        KtDialogRegistry::Unregister(QStringLiteral("TSTP_Info"));
        QCOMPARE(seen, QStringLiteral("rstp"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
