// The configuration form against a slow agent: layout calls in the wrong
// order, the deferred first read, pages read when shown, closing during a
// walk, and Refresh ignored while a walk runs.
#include "GenericTestSupport.h"

#include "bindings/KtRequestLink.h"
#include "dialogs/generic/TConfigForm.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TListViewPanel.h"
#include "dialogs/generic/TMsgPanel.h"
#include "dialogs/generic/TSNMPEditorPanel.h"
#include "dialogs/generic/TSNMPListViewPanel.h"
#include "errors/KtException.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

constexpr int PortRows = 28;

// A get-bulk of one row per exchange: the walk takes a while.
KtSNMPRequest2Edits *ports(QWidget *owner)
{
    KtSNMPRequest2Edits *b = Generic::Binding(owner, "TrafficSegmentationTable", KtKind::MVT_FMV, 1);
    b->Request.BulkRepetitions = 1;
    return b;
}

int rows(const TSNMPListViewPanel *panel)
{
    return panel->ListPanel->ListView->topLevelItemCount();
}

} // namespace

class TestConfigForm : public QObject
{
    Q_OBJECT

    AgentSession m_session;

private slots:
    // Every answer comes late, so a walk of the port table takes a while.
    void initTestCase() { QVERIFY(m_session.start({"--delay", "60"})); }
    void cleanupTestCase() { m_session.stop(); }

    void layoutCallsInOrder_data()
    {
        QTest::addColumn<int>("calls");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("type");  // what the form stays
        QTest::newRow("editor then table") << 0 << "Can not change Type of a Config Form!" << int(TConfigForm::Editor);
        QTest::newRow("paged twice") << 1 << "Can not change Type of a Config Form!" << int(TConfigForm::Paged);
        QTest::newRow("editor page unpaged") << 2 << "Can not add editor page to a none-page pannel!"
                                             << int(TConfigForm::None);
        QTest::newRow("table page on an editor") << 3 << "Can not add listview page to a none-page pannel!"
                                                 << int(TConfigForm::Editor);
        QTest::newRow("unknown add label")
            << 4 << "TSNMPListViewPanel::SetAddStatus - Wrong AddStatusValue:createAndWait" << int(TConfigForm::ListView);
        QTest::newRow("unknown delete label")
            << 5 << "TSNMPListViewPanel::SetDeleteStatus - Wrong DeleteStatusValue:gone" << int(TConfigForm::ListView);
    }
    void layoutCallsInOrder()
    {
        QFETCH(int, calls);
        QFETCH(QString, message);
        TConfigForm form;
        const auto editor = [&] { return Generic::Binding(&form, "BasicConfiguration", KtKind::SVT_SV, 0); };
        const auto trust = [&] { return Generic::Binding(&form, "TrustHostTable", KtKind::MVT_UMV, 1); };
        QString raised;
        try {
            switch (calls) {
            case 0: form.SetEditorPanel(editor()); form.SetListViewPanel(trust()); break;
            case 1: form.MakePaged(); form.MakePaged(); break;
            case 2: form.AddEditorPage("Page", editor()); break;
            case 3: form.SetEditorPanel(editor()); form.AddListViewPage("Page", trust()); break;
            case 4: form.SetListViewPanel(trust(), 2, "createAndWait", 2, "destroy"); break;
            case 5: form.SetListViewPanel(trust(), 2, "createAndGo", 2, "gone"); break;
            }
        } catch (const KtException &e) {
            raised = e.message();
        }
        QCOMPARE(raised, message);
        QTEST(int(form.FormType), "type");
    }

    void firstReadAfterTailoring()
    {
        TConfigForm form;
        TSNMPEditorPanel *panel = form.SetEditorPanel(Generic::Binding(&form, "Bridge8021dInformation", 0, 0));
        KtSNMPRequest2Edits *binding = form.EditsList.front().get();
        panel->SetEditWidth(150);  // tailoring, before the dialog runs
        QCOMPARE(binding->ResultCount, 0);
        QVERIFY(panel->MsgPanel->Memo->toPlainText().isEmpty());
        form.show();
        QTRY_VERIFY_WITH_TIMEOUT(binding->ResultCount == 1 && !binding->Busy, 20000);
        QVERIFY(Generic::LastLine(panel->MsgPanel->Memo).startsWith("Get: Ok!"));
    }

    void pagesReadWhenShown()
    {
        TConfigForm form;
        form.MakePaged();
        TSNMPListViewPanel *first = form.AddListViewPage("Ports", ports(&form));
        TSNMPEditorPanel *second =
            form.AddEditorPage("Log Control", Generic::Binding(&form, "SystemLogControl", 0, 0));
        TSNMPListViewPanel *third =
            form.AddListViewPage("Log Server", Generic::Binding(&form, "SystemLogServer", 3, 1), 6, "createAndGo", 6, "destroy");
        KtSNMPRequest2Edits *walk = form.EditsList.at(0).get();
        form.show();
        QTRY_VERIFY_WITH_TIMEOUT(rows(first) >= 3, 20000);
        QVERIFY(rows(first) < PortRows);
        QCOMPARE(form.EditsList.at(1)->ResultCount, 0);
        QCOMPARE(rows(third), 0);
        QVERIFY(second->MsgPanel->Memo->toPlainText().isEmpty());

        form.Pages->setCurrentIndex(2);
        QVERIFY(!walk->Walking());
        QTRY_VERIFY_WITH_TIMEOUT(rows(third) == 2 && !form.EditsList.at(2)->Busy, 20000);
        // The page left ends like a finished read once its last answer is in.
        QTRY_VERIFY_WITH_TIMEOUT(!walk->Busy && walk->Request.Pending == 0, 20000);
        QVERIFY(Generic::LastLine(first->Messages()->Memo).contains("Walk stopped!"));
        const int stopped = rows(first);
        QCOMPARE(first->Buttons->CountText->text(), QString::number(stopped));
        QVERIFY(AgentSession::fence(m_session.agent.port()));  // a walk still going would have a row more by now
        QCOMPARE(rows(first), stopped);
        QVERIFY(stopped < PortRows);
        QCOMPARE(form.EditsList.at(1)->ResultCount, 0);

        form.Pages->setCurrentIndex(0);
        QVERIFY(walk->Walking());
        QTRY_COMPARE_WITH_TIMEOUT(rows(first), PortRows, 30000);
        QVERIFY(Generic::WaitIdle(walk));
        QVERIFY(Generic::LastLine(first->Messages()->Memo).startsWith("Get: Ok!"));
        QCOMPARE(first->Buttons->CountText->text(), QString::number(PortRows));
    }

    void closeWaitsForTheWalk()
    {
        TConfigForm form;
        TSNMPListViewPanel *panel = form.SetListViewPanel(ports(&form));
        QTreeWidget *view = panel->ListPanel->ListView;
        form.show();
        QTRY_VERIFY_WITH_TIMEOUT(view->topLevelItemCount() >= 3, 20000);
        QSignalSpy closed(&form, &QDialog::finished);
        form.reject();
        QCOMPARE(closed.count(), 1);
        QVERIFY(form.EditsList.empty());
        // The answer on its way came in before the binding went.
        QCOMPARE(KtRequestLink::KeptRequests(), 0);
        const int shown = view->topLevelItemCount();
        QVERIFY(shown < PortRows);
        QVERIFY(AgentSession::fence(m_session.agent.port()));  // nothing was left on its way
        QCOMPARE(view->topLevelItemCount(), shown);
    }

    void refreshIgnoredDuringWalk()
    {
        TConfigForm form;
        TSNMPListViewPanel *panel = form.SetListViewPanel(ports(&form));
        KtSNMPRequest2Edits *binding = form.EditsList.front().get();
        form.show();
        QTRY_VERIFY_WITH_TIMEOUT(rows(panel) >= 2, 20000);
        QSignalSpy restarts(panel->ListPanel->ListView->model(), &QAbstractItemModel::modelReset);
        panel->Buttons->RefreshButton->click();
        panel->Buttons->RefreshButton->click();
        QCOMPARE(restarts.count(), 0);
        QVERIFY(Generic::WaitIdle(binding));
        QCOMPARE(rows(panel), PortRows);
        panel->Buttons->RefreshButton->click();
        panel->Buttons->RefreshButton->click();
        QCOMPARE(restarts.count(), 1);
        QVERIFY(Generic::WaitIdle(binding));
        QCOMPARE(rows(panel), PortRows);
    }
};

QTEST_MAIN(TestConfigForm)
#include "tst_configform.moc"
