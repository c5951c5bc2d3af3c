// Where the connection test is started and shown: its report window and
// Copy, the settings dialog's button (the values as typed), the main
// window's menu entry (the running settings), and the test that runs by
// itself once the LED poll has failed three times in a row.

#include "support/AgentProcess.h"
#include "support/FormHarness.h"
#include "support/ScriptedMessages.h"

#include "bindings/KtSNMPRequest2Leds.h"
#include "doctor/widgets/TConnectionTestForm.h"
#include "shell/KtDisplaySettings.h"
#include "shell/KtDoctorWatch.h"
#include "shell/TMainForm.h"
#include "shell/TfrmConfigSNMP.h"
#include "snmp/KtSNMPSession.h"
#include "values/widgets/KtRadioGroup.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

namespace T = KtDoctorTexts;

const QString WrongCommunity = QStringLiteral("wrong-community-7");
constexpr int Finish = 20000;  // the longest a whole test may take here, generously

KtDoctorSettings v2c(quint16 port, const QString &read = QStringLiteral("cobalt"))
{
    KtDoctorSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = port;
    s.version = 1;
    s.readCommunity = read;
    s.writeCommunity = QStringLiteral("lantern");
    s.timeout = 50;
    return s;
}

// Runs script on the report window once a test has opened it modally and
// finished; closes the window afterwards.
void whenReported(const std::function<void(TConnectionTestForm *)> &script)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, script] {
        auto *form = qobject_cast<TConnectionTestForm *>(QApplication::activeModalWidget());
        if (!form || !form->Report().finished)
            return;
        poll->stop();
        poll->deleteLater();
        script(form);
        form->reject();
    });
    poll->start(10);
}

} // namespace

class TestConnectionTestForm : public QObject
{
    Q_OBJECT

    AgentProcess m_agent;
    QTemporaryDir m_folder;

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(m_agent.start());
        KtSNMPSession::StartSession(m_folder.path());
    }

    void cleanupTestCase() { KtSNMPSession::StopSession(); }

    void windowShowsTheStepsAndCopiesTheReport()
    {
        FormHarness harness;
        auto *form = harness.build<TConnectionTestForm>(v2c(m_agent.port(), WrongCommunity), "127.0.0.1");
        QVERIFY(harness.show());
        QCOMPARE(form->windowTitle(), QStringLiteral("Test Connection : 127.0.0.1"));
        form->Test();
        QVERIFY(!harness.find<QPushButton>("BT_Copy")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(form->Report().finished, Finish);
        const KtDoctorStep *failed = form->Report().FailedStep();
        QVERIFY(failed && failed->cause == T::WrongCommunity);
        QCOMPARE(FormHarness::text(harness.find<QLabel>("ST_Summary")), form->Report().Summary());
        QCOMPARE(FormHarness::text(harness.find<QLabel>("ST_Sentence2")), failed->sentence);
        QCOMPARE(FormHarness::text(harness.find<QLabel>("ST_Result3")), QStringLiteral("not run"));
        QLabel *command = harness.find<QLabel>("ST_Command2");
        QVERIFY(command->isVisible() && command->text().startsWith(QLatin1String("snmpget -v 2c -c ****")));
        QVERIFY(!harness.find<QLabel>("ST_Command1")->isVisible());

        QGuiApplication::clipboard()->clear();
        harness.click(harness.find<QPushButton>("BT_Copy"));
        QCOMPARE(QGuiApplication::clipboard()->text(), form->Report().Text());
        QVERIFY(QGuiApplication::clipboard()->text().contains(failed->command));
        for (const QLabel *label : form->findChildren<QLabel *>())
            QVERIFY2(!label->text().contains(WrongCommunity) && !label->text().contains(QLatin1String("lantern")),
                     qPrintable(label->objectName()));

        // Test Again runs anew with the same settings.
        harness.click(harness.find<QPushButton>("BT_Again"));
        QVERIFY(form->Doctor().Running());
        QTRY_VERIFY_WITH_TIMEOUT(form->Report().finished, Finish);
        QCOMPARE(form->Report().FailedStep()->cause, T::WrongCommunity);
    }

    void settingsDialogTestsTheValuesAsTyped()
    {
        KtDisplaySettings running;
        running.Host = QStringLiteral("127.0.0.1");
        running.Version = QStringLiteral("1");
        FormHarness harness;
        auto *dialog = harness.build<TfrmConfigSNMP>(running, m_folder.path());
        QVERIFY(harness.show());
        QTest::mouseClick(harness.find<KtRadioGroup>("rgpSNMPVersion")->button(1), Qt::LeftButton);
        harness.enter(harness.find<QLineEdit>("edtPort"), QString::number(m_agent.port()));
        harness.enter(harness.find<QLineEdit>("edtContext"), WrongCommunity);
        KtDoctorReport seen;
        whenReported([&](TConnectionTestForm *form) { seen = form->Report(); });
        harness.click(harness.find<QPushButton>("btnTest"));
        QVERIFY(seen.finished);
        QCOMPARE(seen.settings.port, m_agent.port());
        QCOMPARE(seen.settings.version, quint8(1));
        QVERIFY(seen.FailedStep() && seen.FailedStep()->cause == T::WrongCommunity);
        QVERIFY(dialog->isVisible());  // nothing was saved, the dialog stays
        QVERIFY(!QFile::exists(m_folder.filePath(QStringLiteral("127.0.0.1.cfg"))));

        // SNMPv3 needs its fields first, as OK does.
        ScriptedMessages boxes;
        boxes.expectInform(QStringLiteral("SecurityName is empty!"));
        QTest::mouseClick(harness.find<KtRadioGroup>("rgpSNMPVersion")->button(2), Qt::LeftButton);
        harness.click(harness.find<QPushButton>("btnTest"));
        QVERIFY(boxes.pending().isEmpty());
    }

    void menuEntryTestsTheRunningSettings()
    {
        KtSNMPSession::Device().AgentPort = TestSupport::freeUdpPort();
        KtSNMPSession::Security().Version = 1;
        TMainForm window(&TMainForm::BuildOwnMenus);
        QAction *entry = window.MenuItem(QStringLiteral("TestConnection1"));
        QVERIFY(entry && entry->isEnabled());
        QCOMPARE(qobject_cast<QMenu *>(entry->parent())->objectName(), QStringLiteral("BasicConfiguration1"));
        KtDoctorReport seen;
        whenReported([&](TConnectionTestForm *form) { seen = form->Report(); });
        entry->trigger();
        QVERIFY(seen.FailedStep() && seen.FailedStep()->cause == T::PortRefused);
        QCOMPARE(seen.settings.port, KtSNMPSession::Device().AgentPort);
    }

    void failingPollStartsTheTestOnce()
    {
        QWidget window;
        auto *bar = new QStatusBar(&window);
        auto *panel = new QLabel(bar);
        bar->addWidget(panel, 1);
        KtSNMPRequest2Leds leds(&window);
        leds.SetStatusPanel(panel);
        KtDoctorWatch watch(&leds, panel, QStringLiteral("127.0.0.1"), &window);
        const quint16 closed = TestSupport::freeUdpPort();
        watch.Settings = [closed] { return v2c(closed); };

        for (int n = 1; n < KtDoctorWatch::FailuresBeforeTest; ++n)
            emit leds.PollFailed(n);
        QVERIFY(!watch.Started());
        leds.FailedInARow = KtDoctorWatch::FailuresBeforeTest;
        emit leds.PollFailed(KtDoctorWatch::FailuresBeforeTest);
        QVERIFY(watch.Started());
        QTRY_VERIFY_WITH_TIMEOUT(watch.Doctor().Report().finished, Finish);
        const KtDoctorReport report = watch.Doctor().Report();
        QCOMPARE(report.FailedStep()->cause, T::PortRefused);
        QVERIFY(panel->text().contains(report.Summary().toHtmlEscaped()));
        QVERIFY(panel->text().contains(QLatin1String(KtDoctorWatch::ReportLink)));

        // The poll goes on failing: its lines do not cover the finding, and no second test starts.
        leds.ShowStatus(QStringLiteral("poll failed again"));
        emit leds.PollFailed(KtDoctorWatch::FailuresBeforeTest + 1);
        QVERIFY(!watch.Doctor().Running());
        QVERIFY(!panel->text().contains(QLatin1String("poll failed again")));

        // The link shows the report made.
        KtDoctorReport shown;
        whenReported([&](TConnectionTestForm *form) { shown = form->Report(); });
        emit panel->linkActivated(QLatin1String(KtDoctorWatch::ReportLink));
        QCOMPARE(shown.Text(), report.Text());

        // Answered again: the poll has the panel back.
        emit leds.PollAnswered();
        leds.ShowStatus(QStringLiteral("Ok!"));
        QVERIFY(panel->text().startsWith(QLatin1String("Get: Ok!")));
    }
};

QTEST_MAIN(TestConnectionTestForm)
#include "tst_connectiontestform.moc"
