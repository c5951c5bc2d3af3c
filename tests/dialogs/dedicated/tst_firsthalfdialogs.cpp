#include "GenericTestSupport.h"

#include "dialogs/dedicated/KtDedicatedFirstHalf.h"
#include "dialogs/dedicated/TCurrentTimeForm.h"
#include "dialogs/dedicated/TMSEditForm.h"
#include "dialogs/dedicated/TMSInformationForm.h"
#include "dialogs/dedicated/TOSPFDefaultInfoOriginateForm.h"
#include "dialogs/dedicated/TRouteRedistributForm.h"
#include "dialogs/dedicated/TRouteRedistributFormRules.h"
#include "dialogs/dedicated/TSTP_Info.h"
#include "dialogs/dedicated/TSummerTimeForm.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TSNMPEditorPanel.h"
#include "dialogs/registry/KtDialogRegistry.h"
#include "dialogs/registry/KtMainWindowServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

const QString Stp = QStringLiteral("1.3.6.1.4.1.32473.12.15.1.");
const QString Summer = QStringLiteral("1.3.6.1.4.1.32473.12.10.12.");
const QString Redistribution = QStringLiteral("1.3.6.1.4.1.32473.11.69.1.3.5.1.");
const QString Origination = QStringLiteral("1.3.6.1.4.1.32473.11.69.1.3.12.");
const QString Members = QStringLiteral("1.3.6.1.4.1.32473.12.8.1.3.1.");

class Services : public KtMainWindowServices
{
public:
    QWidget *Window() override { return nullptr; }
    QString HostText() const override { return QStringLiteral("127.0.0.1"); }
    void ShowStatus(const QString &text) override { status = text; }
    QString StpVersionText() const override { return stp; }
    void SetStpVersionText(const QString &text) override { stp = text; }

    QString stp;
    QString status;
};

QTreeWidgetItem *rowWith(QTreeWidget *view, const QList<QPair<int, QString>> &cells)
{
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = view->topLevelItem(i);
        bool all = true;
        for (const auto &[column, text] : cells)
            all = all && item->text(column) == text;
        if (all)
            return item;
    }
    return nullptr;
}

void choose(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(combo->findText(text));
    emit combo->activated(combo->currentIndex());
}

} // namespace

// The spanning-tree, time, routing and member-switch dialogs against the
// simulated agent: what they show, and what the agent holds after a write.
class TestFirstHalfDialogs : public QObject
{
    Q_OBJECT

    AgentSession m_session;
    ScriptedMessages m_boxes{ScriptedMessages::RecordOnly{}};

    QString agent(const QString &oid) const { return m_session.agent.value(oid); }

private slots:
    void initTestCase() { QVERIFY(m_session.start()); }
    void cleanupTestCase() { m_session.stop(); }
    void init() { m_boxes.clear(); }

    void registered()
    {
        RegisterDedicatedDialogsFirstHalf();
        for (const char *name : {"TSTP_Info", "TCurrentTimeForm", "TSummerTimeForm", "TRouteRedistributForm",
                                 "TOSPFDefaultInfoOriginateForm", "TMSInformationForm"})
            QVERIFY2(KtDialogRegistry::Has(QString::fromLatin1(name)), name);
    }

    void spanningTreeVersionFirst()
    {
        Services main;
        main.stp = QStringLiteral("rstp");
        TSTP_Info d(&main);
        QCOMPARE(d.windowTitle(), QStringLiteral("Spanning Tree Control : 127.0.0.1"));
        QCOMPARE(d.Combo_STPVersion->currentText(), QStringLiteral("rstp"));
        QCOMPARE(d.ET_AgingTime->text(), QStringLiteral("2000"));
        QCOMPARE(d.ET_ForwardDelay->text(), QStringLiteral("1500"));

        // Refused: nothing goes out, the record stays.
        d.ET_ForwardDelay->setText(QStringLiteral("1000"));
        d.BT_Set->click();
        QCOMPARE(d.StatusPanel->text(), QStringLiteral("Data Error !"));
        QCOMPARE(agent(Stp + "5.0"), QStringLiteral("1500"));

        choose(d.Combo_STPVersion, QStringLiteral("mstp"));
        QVERIFY(!d.ET_HelloTime->isEnabled());
        choose(d.Combo_STPVersion, QStringLiteral("stp"));
        QCOMPARE(d.ET_HelloTime->text(), QStringLiteral("200"));
        d.ET_ForwardDelay->setText(QStringLiteral("1500"));
        d.ET_AgingTime->setText(QStringLiteral("2400"));
        d.BT_Set->click();
        QCOMPARE(agent(Stp + "2.0"), QStringLiteral("0"));
        QCOMPARE(agent(Stp + "3.0"), QStringLiteral("2400"));
        QCOMPARE(main.stp, QStringLiteral("stp"));
    }

    void spanningTreeUnderMstp()
    {
        Services main;
        main.stp = QStringLiteral("mstp");
        TSTP_Info d(&main);
        QVERIFY(!d.ET_HelloTime->isEnabled());
        QVERIFY(d.ET_HelloTime->text().isEmpty());
        choose(d.Combo_STPVersion, QStringLiteral("mstp"));
        const QString version = agent(Stp + "2.0");
        d.ET_AgingTime->setText(QStringLiteral("2600"));
        d.BT_Set->click();
        QCOMPARE(agent(Stp + "3.0"), QStringLiteral("2600"));
        // Neither the version nor Hello Time went out.
        QCOMPARE(agent(Stp + "2.0"), version);
        QCOMPARE(agent(Stp + "4.0"), QStringLiteral("200"));
    }

    void currentTime()
    {
        TCurrentTimeForm d;
        QVERIFY(Generic::WaitIdle(d.Binding.get()));
        QCOMPARE(d.timecapacityEdit->text(), QStringLiteral(" systemTime,SNTP,SummerTime,realTimeClock"));
        QCOMPARE(d.cbxReset->currentText(), QStringLiteral("false"));

        d.currentclockEdit->clear();
        d.SetButton->click();
        QCOMPARE(m_boxes.texts(), QStringList{"The Current Edit should not be empty!"});

        d.currentclockEdit->setText(QStringLiteral("2027-3-4,5:06:07.0"));
        d.SetButton->click();
        QVERIFY(Generic::WaitIdle(d.Binding.get()));
        QVERIFY2(Generic::LastLine(d.Memo1).startsWith(QLatin1String("Set: Ok!")), qPrintable(d.Memo1->toPlainText()));
        QCOMPARE(m_session.agent.octets(QStringLiteral("1.3.6.1.4.1.32473.12.10.2.0")).left(6).toHex(),
                 QByteArray("07eb03040506"));  // the seconds run on
    }

    void summerTime()
    {
        TSummerTimeForm d(nullptr);
        TEditsPanel *edits = d.Panel->EditsPanel;
        using namespace TSummerTimeFormRules;
        QCOMPARE(d.StatusItem(), int(Repeating));
        QStringList shown;
        for (const QWidget *part : d.CtrlsOf(RepeatingStart).Parts)
            shown << (qobject_cast<const QComboBox *>(part) ? static_cast<const QComboBox *>(part)->currentText()
                                                            : static_cast<const QLineEdit *>(part)->text());
        QCOMPARE(shown, (QStringList{"Mar", "last", "Sun", "2", "0"}));
        QVERIFY(d.CtrlsOf(RepeatingStart).Row->isVisibleTo(&d));
        QVERIFY(!d.CtrlsOf(AnnualStart).Row->isVisibleTo(&d));

        choose(edits->Rows.at(Status).Combo(), QStringLiteral("annual"));
        QVERIFY(d.CtrlsOf(AnnualStart).Row->isVisibleTo(&d));
        const auto fill = [&](int var, const QStringList &texts) {
            const QList<QWidget *> &parts = d.CtrlsOf(var).Parts;
            for (int k = 0; k < parts.size(); ++k) {
                if (auto *combo = qobject_cast<QComboBox *>(parts.at(k)))
                    combo->setCurrentIndex(combo->findText(texts.at(k)));
                else
                    static_cast<QLineEdit *>(parts.at(k))->setText(texts.at(k));
            }
        };
        for (int row : {int(Status), int(Offset), int(AnnualStart), int(AnnualEnd)})
            edits->Rows.at(row).CheckBox->setChecked(true);
        fill(AnnualStart, {"29", "Feb", "2", "0"});
        fill(AnnualEnd, {"1", "Oct", "3", "0"});
        d.SetChecked();
        QCOMPARE(m_boxes.texts(), QStringList{"Time error."});
        QCOMPARE(agent(Summer + "1.0"), QStringLiteral("1"));

        m_boxes.clear();
        fill(AnnualStart, {"30", "Apr", "2", "0"});
        d.SetChecked();
        QCOMPARE(m_boxes.texts(), QStringList());
        QCOMPARE(agent(Summer + "1.0"), QStringLiteral("2"));
        QCOMPARE(m_session.agent.octets(Summer + "5.0").toHex(), QByteArray("1e040200"));
        QCOMPARE(m_session.agent.octets(Summer + "6.0").toHex(), QByteArray("010a0300"));
        // The repeating pair was not written.
        QCOMPARE(m_session.agent.octets(Summer + "3.0").toHex(), QByteArray("000001030200"));
    }

    void routeRedistribution()
    {
        TRouteRedistributForm d(nullptr);
        QVERIFY(Generic::WaitIdle(d.Binding.get()));
        QCOMPARE(d.ListView1->topLevelItemCount(), 6);
        const int source = d.Binding->ColumnOf(TRouteRedistributFormRules::Source);
        const int destination = d.Binding->ColumnOf(TRouteRedistributFormRules::Destination);

        d.ListView1->setCurrentItem(rowWith(d.ListView1, {{source, "ospf"}, {destination, "rip"}}));
        QVERIFY(d.DeleteBtn->isEnabled());
        QCOMPARE(d.Label5->text(), QStringLiteral("[0..16]"));
        QVERIFY(d.RadioButtons.at(1)->isChecked());  // "all"
        QVERIFY(!d.RadioButtons.at(2)->isEnabled());
        d.Edit1->setText(QStringLiteral("17"));
        d.EditBtn->click();
        QCOMPARE(m_boxes.texts(), QStringList{"Metric out of Bound [0..16]"});
        // A change goes to the selected row even when the fields were turned away.
        d.Edit1->setText(QStringLiteral("9"));
        choose(d.ComboBox1, QStringLiteral("static"));
        d.EditBtn->click();
        QVERIFY(Generic::WaitIdle(d.Binding.get()));
        QCOMPARE(agent(Redistribution + "4.3.2"), QStringLiteral("9"));
        QCOMPARE(agent(Redistribution + "4.4.2"), QStringLiteral("3"));

        m_boxes.clear();
        d.ListView1->clearSelection();
        choose(d.ComboBox1, QStringLiteral("ospf"));
        choose(d.ComboBox2, QStringLiteral("ospf"));
        QVERIFY(d.RadioButtons.at(2)->isEnabled() && !d.RadioButtons.at(1)->isEnabled());
        d.RadioButtons.at(2)->click();  // type-1
        d.Edit1->setText(QStringLiteral("100"));
        d.AddBtn->click();
        QVERIFY(Generic::WaitIdle(d.Binding.get()));
        QCOMPARE(m_boxes.texts(), QStringList());
        QCOMPARE(agent(Redistribution + "3.3.3"), QStringLiteral("3"));
        QCOMPARE(agent(Redistribution + "4.3.3"), QStringLiteral("100"));
        QCOMPARE(d.ListView1->topLevelItemCount(), 7);

        QTreeWidgetItem *added = rowWith(d.ListView1, {{source, "ospf"}, {destination, "ospf"}});
        QVERIFY(added);
        QCOMPARE(added->text(d.Binding->ColumnOf(TRouteRedistributFormRules::Type)), QStringLiteral("type-1"));
        d.ListView1->setCurrentItem(added);
        d.DeleteBtn->click();
        QVERIFY(Generic::WaitIdle(d.Binding.get()));
        QCOMPARE(agent(Redistribution + "5.3.3"), QString());
        QCOMPARE(d.ListView1->topLevelItemCount(), 6);
    }

    void origination()
    {
        TOSPFDefaultInfoOriginateForm d(nullptr, {});
        QVERIFY(Generic::WaitIdle(d.Binding.get()));
        QCOMPARE(d.CBoxState->currentText(), QStringLiteral("disabled"));
        QVERIFY(!d.MetricEdit->isEnabled() && !d.CheckBoxes.at(3)->isEnabled());

        d.SetButton->click();
        QCOMPARE(m_boxes.texts(), QStringList{"Tick the items to set first."});
        d.CBoxState->setCurrentIndex(d.CBoxState->findText(QStringLiteral("enabled")));
        QVERIFY(d.MetricEdit->isEnabled());
        d.MetricEdit->setText(QStringLiteral("77"));  // not ticked: not sent
        d.CheckBoxes.at(0)->setChecked(true);
        d.SetButton->click();
        QVERIFY(QTest::qWaitFor([&] { return agent(Origination + "1.0") == QLatin1String("1"); }, 20000));
        QVERIFY(Generic::WaitIdle(d.Binding.get()));
        QCOMPARE(agent(Origination + "4.0"), QStringLiteral("1"));
        QCOMPARE(d.Binding->Request.Vars.Get(3).Access, quint32(KtAccess::ReadWrite));
        // The fresh read after the set shows the device's metric and clears the boxes.
        QTRY_COMPARE_WITH_TIMEOUT(d.MetricEdit->text(), QStringLiteral("1"), 20000);
        QVERIFY(!d.CheckBoxes.at(0)->isChecked());
    }

    void memberSwitches()
    {
        TMSInformationForm d(nullptr, {});
        QVERIFY(Generic::WaitIdle(d.Binding.get()));
        QCOMPARE(d.StaticText1->text(), QStringLiteral("3"));

        const auto addWith = [&](const QString &id, const QString &candidate) {
            QTimer::singleShot(0, d.EditForm, [&, id, candidate] {
                d.EditForm->MSIDEdit->setText(id);
                d.EditForm->KeyIDEdit->setText(candidate);
                d.EditForm->MS_Password->setText(QStringLiteral("secret"));
                d.EditForm->SetButton->click();
                if (d.EditForm->isVisible())
                    d.EditForm->reject();
            });
            d.AddButton->click();
            QVERIFY(Generic::WaitIdle(d.Binding.get()));
        };
        addWith(QStringLiteral("03"), QStringLiteral("2"));
        QCOMPARE(m_boxes.texts(),
                 QStringList{"There is already a record with the same Member Siwitch ID. Please modified it."});
        m_boxes.clear();
        addWith(QString(), QStringLiteral("2"));
        QCOMPARE(m_boxes.texts(), QStringList{"Member Siwitch ID is needed."});
        m_boxes.clear();
        addWith(QStringLiteral("05"), QStringLiteral("2"));
        QCOMPARE(m_boxes.texts(), QStringList());
        QCOMPARE(agent(Members + "10.5"), QStringLiteral("1"));
        QCOMPARE(agent(Members + "8.5"), QStringLiteral("2"));
        QCOMPARE(d.StaticText1->text(), QStringLiteral("4"));

        d.DeleteButton->setEnabled(true);
        d.ListView1->clearSelection();
        d.DeleteButton->click();
        QCOMPARE(m_boxes.texts(), QStringList{"Choose the item first."});
        d.ListView1->setCurrentItem(rowWith(d.ListView1, {{d.Binding->ColumnOf(0), "5"}}));
        d.DeleteButton->click();
        QVERIFY(Generic::WaitIdle(d.Binding.get()));
        QCOMPARE(agent(Members + "10.5"), QString());
        QCOMPARE(agent(Members + "10.3"), QStringLiteral("1"));
        QCOMPARE(d.StaticText1->text(), QStringLiteral("3"));
        QVERIFY(!d.DeleteButton->isEnabled());
        // Candidate and password were left out of the removal only.
        QCOMPARE(d.EditForm->Binding->Request.Vars.Get(1).Access, quint32(KtAccess::ReadWrite));
    }

    void closingDuringARead()
    {
        auto *d = new TMSInformationForm(nullptr, {});
        d->reject();  // waits for the walk it started
        QVERIFY(!d->Binding->Busy);
        delete d;
    }
};

QTEST_MAIN(TestFirstHalfDialogs)
#include "tst_firsthalfdialogs.moc"
