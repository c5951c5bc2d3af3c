// The MD5, BOOTP, IP interface, SSL, server-control, ACL meter, equipment
// and About dialogs against the simulated agent: what they show, what a
// change leaves on the agent, and what a refused or failed write leaves
// in the dialog.

#include "support/AgentSession.h"
#include "support/ScriptedMessages.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtDedicatedSecondHalf.h"
#include "dialogs/dedicated/TACLMeterForm.h"
#include "dialogs/dedicated/TACLMeterFormRules.h"
#include "dialogs/dedicated/TAboutForm.h"
#include "dialogs/dedicated/TBOOTCtrlTableForm.h"
#include "dialogs/dedicated/TBOOTCtrlTableFormRules.h"
#include "dialogs/dedicated/TEquipmentBasicInfoForm.h"
#include "dialogs/dedicated/TIPCtrlEdtForm.h"
#include "dialogs/dedicated/TIpCtrlForm.h"
#include "dialogs/dedicated/TMd5EditForm.h"
#include "dialogs/dedicated/TNewBootpCtrlForm.h"
#include "dialogs/dedicated/TMd5InformationForm.h"
#include "dialogs/dedicated/TMd5InformationFormRules.h"
#include "dialogs/dedicated/TSSLManagementForm.h"
#include "dialogs/dedicated/TfrmACCServerCtrl.h"
#include "dialogs/dedicated/TfrmACCServerCtrlRules.h"
#include "dialogs/registry/KtDialogRegistry.h"
#include "dialogs/registry/KtMainWindowServices.h"
#include "snmp/KtNetSnmpVersion.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

namespace {

const QString Host = QStringLiteral("127.0.0.1");

bool WaitIdle(const KtSNMPRequest2Controls *b, int ms = 20000)
{
    return QTest::qWaitFor([b] { return !b->Busy; }, ms);
}

QString LastLine(const QPlainTextEdit *memo)
{
    const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last();
}

// Every row of the list as the agent holds it now, one text per column.
QList<QStringList> agentRows(const KtSNMPVarList &list)
{
    KtSNMPRequest r(list);
    QList<QStringList> rows;
    for (bool more = r.Fetch(true); more; more = r.Fetch(false)) {
        QStringList row;
        for (int i = 0; i < r.Vars.Count(); ++i)
            row.append(r.Vars.Get(i).Value);
        rows.append(row);
    }
    return rows;
}

QStringList agentScalars(const KtSNMPVarList &list)
{
    KtSNMPRequest r(list);
    r.Fetch(true);
    QStringList values;
    for (int i = 0; i < r.Vars.Count(); ++i)
        values.append(r.Vars.Get(i).Value);
    return values;
}

// The agent's row whose first columns are key, or an empty list.
QStringList agentRow(const KtSNMPVarList &list, const QStringList &key)
{
    for (const QStringList &row : agentRows(list))
        if (row.mid(0, key.size()) == key)
            return row;
    return {};
}

QTreeWidgetItem *itemWith(QTreeWidget *view, const QString &text)
{
    for (int r = 0; r < view->topLevelItemCount(); ++r)
        for (int c = 0; c < view->columnCount(); ++c)
            if (view->topLevelItem(r)->text(c) == text)
                return view->topLevelItem(r);
    return nullptr;
}

void select(QTreeWidget *view, QTreeWidgetItem *item)
{
    view->clearSelection();
    view->setCurrentItem(item);
    item->setSelected(true);
}

// The status line a dialog shows: the last memo line or the status bar.
QString statusOf(QWidget *dialog)
{
    if (auto *memo = dialog->findChild<QPlainTextEdit *>(QStringLiteral("Memo1")))
        return LastLine(memo);
    if (auto *bar = dialog->findChild<QStatusBar *>())
        return bar->currentMessage();
    return {};
}

// Waits until the dialog has shown the outcome of its first read.
bool firstReadDone(QWidget *dialog, const KtSNMPRequest2Controls *binding)
{
    return QTest::qWaitFor([&] { return statusOf(dialog).startsWith(QStringLiteral("Get:")) && !binding->Busy; },
                           20000);
}

// Runs script once inside the modal loop of form, which trigger opens;
// a form the script leaves open is closed afterwards.
void whileModal(QDialog *form, const std::function<void()> &trigger, const std::function<void()> &script)
{
    bool ran = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, form, [&] {
        if (ran || !form->isVisible())
            return;
        ran = true;
        poll.stop();
        script();
        if (form->isVisible())
            form->reject();
    });
    poll.start();
    trigger();
    QVERIFY2(ran, "the form did not open");
}

// The write and the read that follows it have ended.
bool writeDone(const KtSNMPRequest2Controls *binding)
{
    QTest::qWait(0);
    return WaitIdle(binding);
}

// The widgets Tab reaches, in the order it reaches them from the top left
// one, run from the top left to the bottom right of the dialog: "" when
// they do, else the first pair out of order.
QString tabOrderAgainstScreen(QWidget *dialog)
{
    QList<QWidget *> order;
    QWidget *w = dialog;
    for (int steps = 0; steps < 500; ++steps) {
        w = w->nextInFocusChain();
        if (w == dialog || (!order.isEmpty() && w == order.first()))
            break;
        if (w->window() == dialog && w->isVisibleTo(dialog) && (w->focusPolicy() & Qt::TabFocus))
            order.append(w);
    }
    if (order.size() < 2)
        return QStringLiteral("nothing to tab through");
    const auto at = [dialog](const QWidget *x) { return x->mapTo(dialog, QPoint()); };
    const auto first = std::min_element(order.begin(), order.end(), [&](const QWidget *a, const QWidget *b) {
        return std::pair(at(a).y(), at(a).x()) < std::pair(at(b).y(), at(b).x());
    });
    std::rotate(order.begin(), first, order.end());
    for (qsizetype i = 1; i < order.size(); ++i) {
        const QPoint a = at(order.at(i - 1));
        const QPoint b = at(order.at(i));
        const int height = qMin(order.at(i - 1)->height(), order.at(i)->height());
        const bool sameRow = qAbs(a.y() - b.y()) < height / 2;
        if (sameRow ? b.x() <= a.x() : b.y() < a.y())
            return order.at(i - 1)->objectName() + QStringLiteral(" before ") + order.at(i)->objectName();
    }
    return {};
}

class TestServices : public KtMainWindowServices
{
public:
    QWidget *Window() override { return &window; }
    QString HostText() const override { return Host; }
    void ShowStatus(const QString &) override {}
    QString StpVersionText() const override { return {}; }
    void SetStpVersionText(const QString &) override {}

    QWidget window;
};

} // namespace

class TestSecondHalfDialogs : public QObject
{
    Q_OBJECT

    AgentSession m_agent;

    // The binding's writes go with the read community: the agent refuses them.
    static void refuseWrites(KtSNMPRequest2Controls *binding)
    {
        binding->Request.WriteCommunity = binding->Request.ReadCommunity;
    }
    static void allowWrites(KtSNMPRequest2Controls *binding)
    {
        binding->Request.WriteCommunity = KtSNMPSession::Security().WriteCommunity;
    }

private slots:
    void initTestCase() { QVERIFY(m_agent.start()); }
    void cleanupTestCase() { m_agent.stop(); }

    void md5Keys()
    {
        using namespace TMd5InformationFormRules;
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        TMd5InformationForm form(nullptr, QStringLiteral("MD5 Information Table: ") + Host);
        form.show();
        QVERIFY(firstReadDone(&form, form.Edits));
        QVERIFY(itemWith(form.ListView1, QStringLiteral("ospfkey1")));
        const int listed = form.ListView1->topLevelItemCount();
        TMd5EditForm *edit = form.EditForm;

        // A taken ID and a key with a blank are refused with nothing sent.
        for (const auto &[id, key, refusal] : {std::tuple{"1", "fresh", "KeyID must be different."},
                                               std::tuple{"9", "two words", "Invalid key."}}) {
            boxes.clear();
            whileModal(edit, [&] { form.AddButton->click(); }, [&] {
                QCOMPARE(edit->windowTitle(), form.windowTitle() + QStringLiteral("(Add)"));
                QCOMPARE(edit->ComboBox1->currentText(), QStringLiteral("createAndGo"));
                edit->KeyIDEdit->setText(QString::fromLatin1(id));
                edit->KeyEdit->setText(QString::fromLatin1(key));
                edit->SetButton->click();
                QCOMPARE(boxes.texts(), QStringList{QString::fromLatin1(refusal)});
                QVERIFY(edit->isVisible());
            });
        }
        QCOMPARE(agentRows(KeyList()).size(), listed);

        // Add: the row is created and listed.
        whileModal(edit, [&] { form.AddButton->click(); }, [&] {
            edit->KeyIDEdit->setText(QStringLiteral("09"));
            edit->KeyEdit->setText(QStringLiteral("newkey"));
            edit->SetButton->click();
            QVERIFY(QTest::qWaitFor([&] { return !edit->isVisible(); }, 20000));
        });
        QCOMPARE(agentRow(KeyList(), {"9"}), QStringList({"9", "newkey", "active"}));
        QVERIFY(WaitIdle(form.Edits));
        QVERIFY(itemWith(form.ListView1, QStringLiteral("newkey")));
        QVERIFY(!form.EditButton->isEnabled());

        // Change: the selected row's key, sent with status active.
        select(form.ListView1, itemWith(form.ListView1, QStringLiteral("newkey")));
        QVERIFY(form.EditButton->isEnabled());
        whileModal(edit, [&] { form.EditButton->click(); }, [&] {
            QVERIFY(!edit->KeyIDEdit->isEnabled());
            QCOMPARE(edit->KeyIDEdit->text(), QStringLiteral("9"));
            QCOMPARE(edit->ComboBox1->currentText(), QStringLiteral("active"));
            edit->KeyEdit->setText(QStringLiteral("changed"));
            edit->SetButton->click();
            QVERIFY(QTest::qWaitFor([&] { return !edit->isVisible(); }, 20000));
        });
        QCOMPARE(agentRow(KeyList(), {"9"}), QStringList({"9", "changed", "active"}));

        // A failed change keeps the form open with the typed key and the text.
        QVERIFY(WaitIdle(form.Edits));
        select(form.ListView1, itemWith(form.ListView1, QStringLiteral("changed")));
        refuseWrites(form.Edits);
        whileModal(edit, [&] { form.EditButton->click(); }, [&] {
            edit->KeyEdit->setText(QStringLiteral("typed"));
            edit->SetButton->click();
            QVERIFY(QTest::qWaitFor([&] { return edit->ResultLabel->isVisible(); }, 20000));
            QVERIFY(edit->isVisible());
            QCOMPARE(edit->KeyEdit->text(), QStringLiteral("typed"));
            QVERIFY(!edit->ResultLabel->text().isEmpty());
            QVERIFY(LastLine(form.Memo1).contains(edit->ResultLabel->text()));
        });
        QCOMPARE(agentRow(KeyList(), {"9"}).value(1), QStringLiteral("changed"));
        allowWrites(form.Edits);

        // Delete: the selected row goes without a question; with none chosen it asks for one.
        boxes.clear();
        form.ListView1->clearSelection();
        form.DeleteButton->click();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Choose the item first.")});
        // (a row other than the last one read, which the list's values still hold)
        select(form.ListView1, itemWith(form.ListView1, QStringLiteral("ospfkey2")));
        edit->KeyIDEdit->setText(QStringLiteral("1"));  // what the form holds does not matter
        form.DeleteButton->click();
        QVERIFY(writeDone(form.Edits));
        QVERIFY(agentRow(KeyList(), {"2"}).isEmpty());
        QVERIFY(!agentRow(KeyList(), {"1"}).isEmpty() && !agentRow(KeyList(), {"9"}).isEmpty());
        QVERIFY(!itemWith(form.ListView1, QStringLiteral("ospfkey2")));
        QCOMPARE(boxes.texts().size(), 1);
    }

    void bootpRelay()
    {
        using namespace TBOOTCtrlTableFormRules;
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        TBOOTCtrlTableForm form(nullptr, QStringLiteral("BOOTP Ctrl Table: ") + Host);
        form.show();
        QVERIFY(firstReadDone(&form, form.Edits));
        QCOMPARE(form.ListedInterfaces().count(QStringLiteral("System")), MaxServersPerInterface);
        const int listed = agentRows(RelayList()).size();
        TNewBootpCtrlForm *add = form.AddForm;

        // A fifth server of an interface: the warning, and nothing sent.
        whileModal(add, [&] { form.AddBtn->click(); }, [&] {
            QCOMPARE(add->windowTitle(), form.windowTitle() + QStringLiteral(" (Add)"));
            add->Edit1->setText(QStringLiteral("System"));
            add->Edit2->setText(QStringLiteral("10.90.90.204"));
            add->DeleteBtn->click();
            QCOMPARE(boxes.texts(), QStringList{QStringLiteral("One Interface Can Only With Four Bootp Servers")});
        });
        QCOMPARE(agentRows(RelayList()).size(), listed);

        // A failed add keeps the form open with what was typed.
        refuseWrites(form.Edits);
        whileModal(add, [&] { form.AddBtn->click(); }, [&] {
            add->Edit1->setText(QStringLiteral("ipif2"));
            add->Edit2->setText(QStringLiteral("223.1.1.1"));
            add->DeleteBtn->click();
            QVERIFY(QTest::qWaitFor([&] { return add->ResultLabel->isVisible(); }, 20000));
            QCOMPARE(add->Edit2->text(), QStringLiteral("223.1.1.1"));
        });
        QCOMPARE(agentRows(RelayList()).size(), listed);
        allowWrites(form.Edits);

        whileModal(add, [&] { form.AddBtn->click(); }, [&] {
            QCOMPARE(add->Edit1->text(), QStringLiteral("ipif2"));  // emptied on the first opening only
            add->DeleteBtn->click();
            QVERIFY(QTest::qWaitFor([&] { return !add->isVisible(); }, 20000));
        });
        QCOMPARE(agentRow(RelayList(), {"ipif2", "223.1.1.1"}).value(2), QStringLiteral("valid"));
        QVERIFY(WaitIdle(form.Edits));

        // Delete sets the selected pair invalid, and the agent drops it.
        select(form.ListView1, itemWith(form.ListView1, QStringLiteral("223.1.1.1")));
        form.DeleteBtn->click();
        QVERIFY(writeDone(form.Edits));
        QVERIFY(agentRow(RelayList(), {"ipif2", "223.1.1.1"}).isEmpty());
        QCOMPARE(agentRows(RelayList()).size(), listed);
        QVERIFY(QTest::qWaitFor([&] { return !itemWith(form.ListView1, QStringLiteral("223.1.1.1")); }, 20000));
    }

    void ipInterfaces()
    {
        using namespace TIpCtrlFormRules;
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        TIpCtrlForm form(nullptr, Host);
        QCOMPARE(form.windowTitle(), QStringLiteral("IP Control Table : ") + Host);
        form.show();
        QVERIFY(firstReadDone(&form, form.Edits));
        QVERIFY(form.btnRefresh->isEnabled() && !form.btnStop->isEnabled());
        QVERIFY(!form.btnEdit->isEnabled() && !form.btnDel->isEnabled());
        TIPCtrlEdtForm *edit = form.EditForm;

        // The system interface cannot be deleted.
        select(form.ListView1, itemWith(form.ListView1, SystemInterface));
        QVERIFY(form.btnEdit->isEnabled() && !form.btnAdd->isEnabled() && !form.btnDel->isEnabled());
        form.DeleteClicked();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("The system IP interface can't be deleted.")});
        QVERIFY(!agentRow(InterfaceList(), {"10.90.90.90"}).isEmpty());
        form.ListView1->clearSelection();

        const auto fill = [&](const char *address, const char *mask) {
            edit->edtIPAddr->setText(QString::fromLatin1(address));
            edit->edtIndex->setText(QStringLiteral("77"));
            edit->edtInterface->setText(QStringLiteral("ipif77"));
            edit->edtMask->setText(QString::fromLatin1(mask));
            edit->edtVlan->setText(QStringLiteral("v77"));
            edit->cbxMode->setCurrentText(QStringLiteral("manual"));
            edit->cbxSecondary->setCurrentText(QStringLiteral("false"));
            edit->cbxOper->setCurrentText(QStringLiteral("up"));
            edit->cbxARP->setCurrentText(QStringLiteral("disabled"));
        };
        // A mask the interfaces may not have: refused, nothing sent.
        boxes.clear();
        const int listed = agentRows(InterfaceList()).size();
        whileModal(edit, [&] { form.btnAdd->click(); }, [&] {
            QCOMPARE(edit->cbxState->currentText(), QStringLiteral("createAndGo"));
            fill("192.168.77.1", "255.255.255.128");
            edit->btnSet->click();
            QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Please input valid Subnet Mask.")});
        });
        QCOMPARE(agentRows(InterfaceList()).size(), listed);

        whileModal(edit, [&] { form.btnAdd->click(); }, [&] {
            fill("192.168.77.1", "255.255.255.0");
            edit->btnSet->click();
            QVERIFY(QTest::qWaitFor([&] { return !edit->isVisible(); }, 20000));
        });
        QStringList added = agentRow(InterfaceList(), {"192.168.77.1"});
        QCOMPARE(added.value(NameColumn), QStringLiteral("ipif77"));
        QCOMPARE(added.value(MaskColumn), QStringLiteral("255.255.255.0"));
        QCOMPARE(added.value(AdminColumn), QStringLiteral("active"));
        QVERIFY(QTest::qWaitFor([&] { return itemWith(form.ListView1, QStringLiteral("ipif77")); }, 20000));

        // Edit: state, mode and proxy ARP go out; the name stays as it was.
        QVERIFY(WaitIdle(form.Edits));
        select(form.ListView1, itemWith(form.ListView1, QStringLiteral("ipif77")));
        whileModal(edit, [&] { form.btnEdit->click(); }, [&] {
            QCOMPARE(edit->btnSet->text().remove(QLatin1Char('&')), QStringLiteral("Edit"));
            QVERIFY(!edit->edtInterface->isEnabled() && !edit->cbxSecondary->isEnabled());
            QCOMPARE(edit->cbxState->count(), 2);
            edit->edtInterface->setText(QStringLiteral("renamed"));
            edit->cbxARP->setCurrentText(QStringLiteral("enabled"));
            edit->cbxState->setCurrentText(QStringLiteral("active"));
            edit->btnSet->click();
            QVERIFY(QTest::qWaitFor([&] { return !edit->isVisible(); }, 20000));
        });
        QVERIFY(!form.btnEdit->isEnabled());
        added = agentRow(InterfaceList(), {"192.168.77.1"});
        QCOMPARE(added.value(ArpColumn), QStringLiteral("enabled"));
        QCOMPARE(added.value(NameColumn), QStringLiteral("ipif77"));
        QCOMPARE(form.Edits->Request.Vars.Get(NameColumn).Access, quint32(KtAccess::ReadWrite));

        // After an Edit, Add offers createAndGo again.
        QVERIFY(WaitIdle(form.Edits));
        whileModal(edit, [&] { form.btnAdd->click(); }, [&] {
            QCOMPARE(edit->cbxState->currentText(), QStringLiteral("createAndGo"));
            QVERIFY(edit->edtInterface->isEnabled());
        });

        // A failed edit keeps the form open with the choice made and the text.
        select(form.ListView1, itemWith(form.ListView1, QStringLiteral("ipif77")));
        refuseWrites(form.Edits);
        whileModal(edit, [&] { form.btnEdit->click(); }, [&] {
            edit->cbxARP->setCurrentText(QStringLiteral("disabled"));
            edit->btnSet->click();
            QVERIFY(QTest::qWaitFor([&] { return edit->ResultLabel->isVisible(); }, 20000));
            QCOMPARE(edit->cbxARP->currentText(), QStringLiteral("disabled"));
            QCOMPARE(form.stbResult->currentMessage().contains(edit->ResultLabel->text()), true);
        });
        QCOMPARE(agentRow(InterfaceList(), {"192.168.77.1"}).value(ArpColumn), QStringLiteral("enabled"));
        QCOMPARE(form.Edits->Request.Vars.Get(MaskColumn).Access, quint32(KtAccess::ReadWrite));
        allowWrites(form.Edits);

        // Delete destroys the selected interface.
        QVERIFY(WaitIdle(form.Edits));
        select(form.ListView1, itemWith(form.ListView1, QStringLiteral("ipif77")));
        QVERIFY(form.btnDel->isEnabled());
        form.btnDel->click();
        QVERIFY(QTest::qWaitFor([&] { return agentRow(InterfaceList(), {"192.168.77.1"}).isEmpty(); }, 20000));
        QVERIFY(QTest::qWaitFor([&] { return !itemWith(form.ListView1, QStringLiteral("ipif77")); }, 20000));
        QCOMPARE(form.Edits->Request.Vars.Get(VlanColumn).Access, quint32(KtAccess::ReadWrite));
        QCOMPARE(agentRows(InterfaceList()).size(), listed);
    }

    // Stop ends a running walk; the list it leaves is not complete, so
    // nothing is compared with it and Add refuses until a refresh.
    void ipStopLeavesIncompleteList()
    {
        AgentProcess slow;
        QVERIFY(slow.start({"--delay", "300"}));
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        TIpCtrlForm form(nullptr, Host);
        form.Edits->Request.AgentPort = slow.port();
        form.show();
        QVERIFY(QTest::qWaitFor([&] { return form.Edits->Busy; }, 20000));
        QVERIFY(form.btnStop->isEnabled() && !form.btnRefresh->isEnabled());
        form.btnStop->click();
        QVERIFY(!form.Edits->Busy);
        QVERIFY(!form.btnStop->isEnabled() && form.btnRefresh->isEnabled());
        QVERIFY(form.ListView1->topLevelItemCount() < 3);
        form.btnAdd->click();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("The list has not been read completely. Please refresh it first.")});
        QVERIFY(!form.EditForm->isVisible());

        // Refresh reads the list whole, and Add opens.
        form.btnRefresh->click();
        QVERIFY(QTest::qWaitFor([&] { return !form.Edits->Busy && form.btnRefresh->isEnabled(); }, 20000));
        QVERIFY(form.ListView1->topLevelItemCount() >= 3);
        whileModal(form.EditForm, [&] { form.btnAdd->click(); }, [] {});
        QCOMPARE(boxes.texts().size(), 1);
    }

    void sslControl()
    {
        using namespace TSSLManagementFormRules;
        TSSLManagementForm form(nullptr, QStringLiteral("SSL Control Table : ") + Host);
        form.show();
        QVERIFY(firstReadDone(&form, form.Edits));
        QStringList before = agentScalars(SslList());
        for (QComboBox *suite : form.cbxciphersuites)
            QCOMPARE(suite->currentText(), QStringLiteral("enabled"));  // F0
        QCOMPARE(form.edtCacheTimeOut->text(), before.at(TimeoutColumn));

        // Suites 1 and 3 only, and a new timeout.
        form.cbxciphersuites[1]->setCurrentIndex(0);
        form.cbxciphersuites[3]->setCurrentIndex(0);
        form.edtCacheTimeOut->setText(QStringLiteral("4294967295"));
        form.btnSet->click();
        QVERIFY(writeDone(form.Edits));
        QStringList after = agentScalars(SslList());
        QCOMPARE(after.at(CipherColumn).toUpper(), QStringLiteral("A0"));
        QCOMPARE(after.at(TimeoutColumn), QStringLiteral("4294967295"));
        QVERIFY(QTest::qWaitFor([&] { return form.cbxciphersuites[1]->currentText() == QLatin1String("disabled"); }, 20000));
        QCOMPARE(form.cbxciphersuites[2]->currentText(), QStringLiteral("enabled"));

        // A timeout past 32 bits is refused before anything goes out.
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        form.edtCacheTimeOut->setText(QStringLiteral("4294967296"));
        form.btnSet->click();
        QCOMPARE(boxes.texts().size(), 1);
        QCOMPARE(agentScalars(SslList()), after);

        // A failed set keeps the typed values and shows why.
        refuseWrites(form.Edits);
        form.edtCacheTimeOut->setText(QStringLiteral("90"));
        form.cbxciphersuites[3]->setCurrentIndex(1);
        form.btnSet->click();
        QVERIFY(writeDone(form.Edits));
        QVERIFY(form.StatusBar->currentMessage().startsWith(QStringLiteral("Set:")));
        QVERIFY(!form.StatusBar->currentMessage().contains(QStringLiteral("Ok!")));
        QCOMPARE(form.edtCacheTimeOut->text(), QStringLiteral("90"));
        QCOMPARE(form.cbxciphersuites[3]->currentText(), QStringLiteral("enabled"));
        QCOMPARE(agentScalars(SslList()), after);
        allowWrites(form.Edits);

        // The old state back for the tests after this one.
        form.edtCacheTimeOut->setText(before.at(TimeoutColumn));
        for (QComboBox *suite : form.cbxciphersuites)
            suite->setCurrentIndex(1);
        form.btnSet->click();
        QVERIFY(writeDone(form.Edits));
        QCOMPARE(agentScalars(SslList()).at(CipherColumn).toUpper(), QStringLiteral("F0"));
    }

    void serverControl()
    {
        using namespace TfrmACCServerCtrlRules;
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        TfrmACCServerCtrl form(nullptr, QStringLiteral("ACC Server Control Table : ") + Host);
        form.show();
        QVERIFY(firstReadDone(&form, form.Edits));
        QVERIFY(form.edtGroupName->text().isEmpty() && form.cbRowState->currentIndex() < 0);
        QVERIFY(form.cbAuthProtocol->count() == 4 && form.cbRowState->count() == 2);
        const int listed = agentRows(ServerList()).size();

        // An empty group name sends nothing.
        form.edtIPAddr->setText(QStringLiteral("10.90.90.12"));
        form.cbAuthProtocol->setCurrentText(QStringLiteral("radius"));
        form.cbRowState->setCurrentText(QStringLiteral("add"));
        form.SetButton->click();
        QCOMPARE(form.StatusBar->currentMessage(), QStringLiteral("Don't Leave Empty Fileds !"));
        QCOMPARE(agentRows(ServerList()).size(), listed);

        form.edtGroupName->setText(QStringLiteral("radius"));
        form.SetButton->click();
        QVERIFY(form.StatusBar->currentMessage().startsWith(QStringLiteral("Set: Ok!")));
        QCOMPARE(agentRow(ServerList(), {"radius", "10.90.90.12", "radius"}).value(RowStateColumn),
                 QStringLiteral("add"));
        QCOMPARE(form.edtGroupName->text(), QStringLiteral("radius"));

        // A failed set: the box with the reason; the fields keep their values.
        refuseWrites(form.Edits);
        form.cbRowState->setCurrentText(QStringLiteral("delete"));
        form.SetButton->click();
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY(boxes.texts().first().startsWith(QStringLiteral("Set entry failed!\n")));
        QVERIFY(boxes.texts().first().size() > QStringLiteral("Set entry failed!\n").size());
        QCOMPARE(form.cbRowState->currentText(), QStringLiteral("delete"));
        QCOMPARE(form.edtIPAddr->text(), QStringLiteral("10.90.90.12"));
        allowWrites(form.Edits);

        form.SetButton->click();
        QVERIFY(agentRow(ServerList(), {"radius", "10.90.90.12", "radius"}).isEmpty());
        QCOMPARE(agentRows(ServerList()).size(), listed);
    }

    void aclMeters()
    {
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        TACLMeterForm form(nullptr, QStringLiteral("ACL Meter Table: ") + Host);
        form.show();
        QVERIFY(firstReadDone(&form, form.Edits));
        const int rows = form.ListView1->topLevelItemCount();
        QVERIFY(rows >= 2);
        QVERIFY(!form.EditButton->isEnabled());
        const KtSNMPVarList meters = TACLMeterFormRules::MeterList();
        QCOMPARE(agentRows(meters).size(), rows);

        // The IDs lock while a row is chosen; the set changes that row only.
        QTreeWidgetItem *second = form.ListView1->topLevelItem(1);
        const QStringList ids{second->text(form.Edits->ColumnOf(0)), second->text(form.Edits->ColumnOf(1))};
        select(form.ListView1, second);
        QVERIFY(form.EditButton->isEnabled() && !form.ProfileIDEdit->isEnabled() && !form.AccessIDEdit->isEnabled());
        QCOMPARE(form.ProfileIDEdit->text(), ids.at(0));
        form.ProfileIDEdit->setText(QStringLiteral("200"));  // not a listed row: never created
        form.RateEdit->setText(QStringLiteral("0128"));
        form.CBox_Active->setCurrentText(QStringLiteral("set-drop-precedence"));
        form.EditButton->click();
        QCOMPARE(agentRow(meters, ids), ids + QStringList({"128", "set-drop-precedence"}));
        QCOMPARE(agentRows(meters).size(), rows);
        QVERIFY(form.StatusBar->currentMessage().startsWith(QStringLiteral("Get: Ok!")));
        QVERIFY(!form.EditButton->isEnabled() && form.RateEdit->text().isEmpty());

        // A rate out of range is refused; a failed set's text stays.
        select(form.ListView1, form.ListView1->topLevelItem(1));
        form.RateEdit->setText(QStringLiteral("999937"));
        form.EditButton->click();
        // (the box's own check may speak first when it loses the focus)
        QVERIFY(boxes.texts().contains(QStringLiteral("Meter Rate must be a whole number from 0 to 999936.")));
        QCOMPARE(agentRow(meters, ids).value(2), QStringLiteral("128"));
        refuseWrites(form.Edits);
        form.RateEdit->setText(QStringLiteral("64"));
        form.EditButton->click();
        const QString failure = form.StatusBar->currentMessage();
        QVERIFY(failure.startsWith(QStringLiteral("Set:")) && !failure.contains(QStringLiteral("Ok!")));
        QCOMPARE(form.RateEdit->text(), QStringLiteral("64"));
        QCOMPARE(agentRow(meters, ids).value(2), QStringLiteral("128"));
    }

    void equipment()
    {
        TEquipmentBasicInfoForm form(nullptr, QStringLiteral("Equipment Basic Information :") + Host);
        form.show();
        QVERIFY(firstReadDone(&form, form.Edits));
        QVERIFY(LastLine(form.Memo1).contains(QStringLiteral("Ok!")));
        QCOMPARE(form.Edit1->text(), QStringLiteral("Redundant Power"));
        QCOMPARE(form.Edit4->text(), QStringLiteral("1"));
        for (QLineEdit *e : {form.Edit1, form.Edit2, form.Edit3, form.Edit4})
            QVERIFY(e->isReadOnly() && !e->text().isEmpty());
        // Values other than 40 show their hex text.
        KtSNMPVar &capacity = form.Edits->Request.Vars.Get(0);
        capacity.Value = QStringLiteral("0A");
        form.Edits->ShowValues(0);
        QCOMPARE(form.Edit1->text().toUpper(), QStringLiteral("0A"));
    }

    void about()
    {
        TAboutForm form(nullptr);
        QVERIFY(form.ProductName->text().contains(QStringLiteral("QSX-4810")));
        QVERIFY(form.Version->text().endsWith(QStringLiteral(QSX_TEST_VERSION)));
        QVERIFY(form.Libraries->text().contains(QLatin1String(qVersion())));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+")).match(KtNetSnmpVersion()).hasMatch());
        QVERIFY(form.Libraries->text().endsWith(KtNetSnmpVersion()));
        form.show();
        form.OKButton->click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }

    // Each registered dialog opens from the registry with its caption,
    // reads without an error and closes, also while its first read runs.
    void registered_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("closeAtOnce");
        const QList<std::pair<const char *, const char *>> dialogs{
            {"TMd5InformationForm", "MD5 Information Table: "},   {"TBOOTCtrlTableForm", "BOOTP Ctrl Table: "},
            {"TIpCtrlForm", "IP Control Table : "},               {"TSSLManagementForm", "SSL Control Table : "},
            {"TfrmACCServerCtrl", "ACC Server Control Table : "}, {"TACLMeterForm", "ACL Meter Table: "},
            {"TEquipmentBasicInfoForm", "Equipment Basic Information :"}, {"TAboutForm", "About"}};
        for (const auto &[name, caption] : dialogs) {
            const QString host = QString::fromLatin1(caption) == QLatin1String("About") ? QString() : Host;
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption) + host << false;
            QTest::newRow(QByteArray(name) + " closed at once")
                << QString::fromLatin1(name) << QString::fromLatin1(caption) + host << true;
        }
    }
    void registered()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, closeAtOnce);
        RegisterDedicatedDialogsSecondHalf();
        QVERIFY(KtDialogRegistry::Has(name));
        TestServices services;
        KtDialogOpening opening;
        opening.main = &services;
        QString title;
        QString status;
        QString tabOrder;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            status = statusOf(dialog);
            const bool about = name == QLatin1String("TAboutForm");
            if (closeAtOnce || about || status.startsWith(QStringLiteral("Get:"))) {
                poll.stop();
                if (!about)
                    tabOrder = tabOrderAgainstScreen(dialog);
                QCOMPARE(dialog->parentWidget(), &services.window);
                dialog->reject();
            }
        });
        poll.start();
        QVERIFY(KtDialogRegistry::Open(name, opening));
        QCOMPARE(title, caption);
        QCOMPARE(tabOrder, QString());
        if (!closeAtOnce && name != QLatin1String("TAboutForm"))
            QVERIFY2(status.contains(QStringLiteral("Ok!")), qPrintable(status));
    }
};

QTEST_MAIN(TestSecondHalfDialogs)
#include "tst_secondhalfdialogs.moc"
