// The backup progress dialog and the comparison window against the agent:
// cancel leaves no file, a restore shows its plan first, then each result,
// then offers to save.

#include "snapshot/KtSnapshotBackup.h"
#include "snapshot/widgets/TRestorePlanForm.h"
#include "snapshot/widgets/TSnapshotBackupForm.h"
#include "snapshot/widgets/TSnapshotCompareForm.h"

#include "support/AgentSession.h"
#include "support/SnapshotAgent.h"
#include "support/ScriptedMessages.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {
const QString PollInterval = QStringLiteral("1.3.6.1.4.1.32473.12.10.11.5.0");
}

class TestSnapshotForms : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    SnapshotAgent m_switch;
    AgentProcess &m_agent = m_switch.agent;
    KtSnapshotLink &m_link = m_switch.link;

private slots:
    void initTestCase() { QVERIFY(m_switch.start()); }
    void cleanupTestCase() { m_switch.stop(); }

    void backupWritesOnlyWhenDone_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancelled") << true;
        QTest::newRow("whole") << false;
    }
    void backupWritesOnlyWhenDone()
    {
        QFETCH(bool, cancel);
        const QString path = m_dir.filePath(cancel ? "cancelled.snmprec" : "whole.snmprec");
        ScriptedMessages messages;
        if (!cancel)
            messages.expectInform("whole.snmprec written");
        TSnapshotBackupForm form(m_link, path, "qsx4810 test");
        QSignalSpy closed(&form, &QDialog::finished);
        form.show();
        auto *bar = form.findChild<QProgressBar *>();
        QVERIFY(bar);
        if (cancel) {
            QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 2, 30000);
            QTest::keyClick(&form, Qt::Key_Escape);
            QCOMPARE(closed.size(), 1);
            QCOMPARE(form.result(), int(QDialog::Rejected));
            QVERIFY(AgentSession::fence(m_switch.agent.port()));  // an answer still on its way has come and gone
            QVERIFY(!QFile::exists(path));
            QVERIFY(!form.written());
        } else {
            QVERIFY(closed.wait(300000));
            QVERIFY(form.written());
            QCOMPARE(bar->value(), bar->maximum());
            QVERIFY(QFile::exists(path));
        }
        QCOMPARE(QDir(m_dir.path()).entryList({"*.snmprec*"}, QDir::Files).contains("cancelled.snmprec"), false);
    }

    void compareRestoreAndSave()
    {
        KtSnapshot snapshot;
        QString error;
        QVERIFY2(KtSnapshotBackup::Read(m_link, "qsx4810 test", snapshot, &error), qPrintable(error));
        QCOMPARE(m_agent.v2("snmpset", {PollInterval, "i", "900"}, "lantern").exitCode, 0);

        int saves = 0;
        TSnapshotCompareForm form(m_link, snapshot);
        form.setSaveChanges([&saves] { ++saves; });
        QSignalSpy compared(&form, &TSnapshotCompareForm::compared);
        form.show();
        QVERIFY(compared.wait(300000));
        QCOMPARE(form.differences().size(), 1);
        QCOMPARE(form.list()->topLevelItemCount(), 1);
        QTreeWidgetItem *leaf = form.list()->topLevelItem(0)->child(0);
        QCOMPARE(leaf->text(2), QString("300"));
        QCOMPARE(leaf->text(3), QString("900"));

        const QString csv = m_dir.filePath("diff.csv");
        form.exportCsv(csv);
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains(",300,900"));

        // Unchecked: nothing to restore.
        {
            ScriptedMessages messages;
            messages.expectInform("Check the differences");
            form.list()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
            QCOMPARE(leaf->checkState(0), Qt::Unchecked);
            form.restoreButton()->click();
        }
        form.list()->topLevelItem(0)->setCheckState(0, Qt::Checked);

        // The plan is shown before anything is sent; Send, then Save Changes.
        bool planShown = false;
        QString before, result;
        QTimer drive;
        drive.setInterval(50);
        connect(&drive, &QTimer::timeout, this, [&] {
            auto *plan = qobject_cast<TRestorePlanForm *>(QApplication::activeModalWidget());
            if (!plan)
                return;
            if (!planShown) {
                planShown = true;
                before = m_agent.value(PollInterval);
                QCOMPARE(plan->list()->topLevelItemCount(), 1);
                QVERIFY(!plan->saveButton()->isEnabled());
                plan->sendButton()->click();
            } else if (plan->saveButton()->isEnabled()) {
                result = plan->list()->topLevelItem(0)->text(1);
                plan->saveButton()->click();
                drive.stop();
                QTest::keyClick(plan, Qt::Key_Escape);
            }
        });
        drive.start();
        compared.clear();
        form.restoreButton()->click();
        QVERIFY(planShown);
        QCOMPARE(before, QString("900"));
        QCOMPARE(result, QString("done"));
        QCOMPARE(saves, 1);
        QCOMPARE(m_agent.value(PollInterval), QString("300"));
        // The window reads the switch again: no difference left.
        QVERIFY(compared.wait(300000));
        QCOMPARE(form.differences().size(), 0);
        QVERIFY(!form.restoreButton()->isEnabled());
    }
};

QTEST_MAIN(TestSnapshotForms)
#include "tst_snapshotforms.moc"
