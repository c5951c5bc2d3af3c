// The recipe that turns a catalogue entry into a configuration dialog:
// independent openings, captions, row-status labels, add hooks, and
// entries that do not fit their tables.

#include "GenericTestSupport.h"

#include "shell/KtMenuRecipe.h"
#include "shell/catalogue/KtMenuCatalogue.h"

#include "dialogs/generic/TConfigForm.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TListViewPanel.h"
#include "dialogs/generic/TSNMPListViewPanel.h"
#include "errors/KtException.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

const QString Host = QStringLiteral("127.0.0.1");

std::unique_ptr<TConfigForm> build(const char *name)
{
    const KtMenuEntry *entry = KtMenuCatalogue::Instance().Find(QLatin1String(name));
    if (!entry)
        qFatal("no entry %s", name);
    return std::unique_ptr<TConfigForm>(KtMenuRecipe::Build(*entry, Host, nullptr));
}

TSNMPListViewPanel *tablePanel(TConfigForm &form, int page)
{
    if (page >= 0) {
        form.Pages->setCurrentIndex(page);
        return form.Pages->currentWidget()->findChild<TSNMPListViewPanel *>();
    }
    return form.findChild<TSNMPListViewPanel *>();
}

bool readFinished(const KtSNMPRequest2Edits *binding)
{
    return QTest::qWaitFor([binding] { return binding->ResultCount > 0 && !binding->Busy; }, 20000);
}

} // namespace

class TestMenuRecipe : public QObject
{
    Q_OBJECT

    AgentSession m_session;

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(m_session.start());
    }
    void cleanupTestCase() { m_session.stop(); }

    void twoOpeningsAreIndependent()
    {
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        std::unique_ptr<TConfigForm> first = build("SystemTime1");
        first->show();
        KtSNMPRequest2Edits *firstBinding = first->VisibleBinding();
        QVERIFY(readFinished(firstBinding));
        auto *zone = first->findChild<TEditsPanel *>()->Rows.at(3).Edit();
        const QString read = zone->text();
        zone->setText(QStringLiteral("999"));
        first->reject();
        first.reset();

        std::unique_ptr<TConfigForm> second = build("SystemTime1");
        KtSNMPRequest2Edits *secondBinding = second->VisibleBinding();
        QCOMPARE(secondBinding->ResultCount, 0);  // nothing read before it is shown
        QCOMPARE(second->findChild<TEditsPanel *>()->Rows.at(3).Edit()->text(), QString());
        // The format of the first opening is the second one's too, from the catalogue.
        QCOMPARE(second->findChild<TEditsPanel *>()->Rows.at(3).Format, QStringLiteral("%i{n-779x839}"));
        second->show();
        QVERIFY(readFinished(secondBinding));
        QCOMPARE(second->findChild<TEditsPanel *>()->Rows.at(3).Edit()->text(), read);
        QCOMPARE(boxes.texts(), QStringList());
    }

    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("no separator, table") << "PortStateInformation1" << "MSTP Port State Information127.0.0.1";
        QTest::newRow("no separator, editor") << "ConfigurationIdentification1"
                                              << "MSTP Configuration Identication127.0.0.1";
        QTest::newRow("one text") << "BasicConfiguration2" << "Basic Configuration : 127.0.0.1";
        QTest::newRow("name and ':'") << "ARP1" << "ARP Table:127.0.0.1";
        QTest::newRow("name and ': '") << "DualConfiguration1" << "Dual Configuration Table: 127.0.0.1";
    }
    void captions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QCOMPARE(build(qPrintable(name))->windowTitle(), caption);
    }

    void rowStatusLabelsIgnoreCase()
    {
        // The catalogue writes "CreateAndGo"/"Destroy"; the column offers the lower-case labels.
        std::unique_ptr<TConfigForm> form = build("N8021QVLAN1");
        const KtMenuPanel &page = KtMenuCatalogue::Instance().Find(QStringLiteral("N8021QVLAN1"))->panels().at(0);
        QCOMPARE(page.addValue, QStringLiteral("CreateAndGo"));
        TSNMPListViewPanel *panel = tablePanel(*form, 0);
        QCOMPARE(panel->ListPanel->AddColumn, 5);
        QCOMPARE(panel->ListPanel->AddValue, QStringLiteral("createAndGo"));
        QCOMPARE(panel->ListPanel->DeleteColumn, 5);
        QCOMPARE(panel->ListPanel->DeleteValue, QStringLiteral("destroy"));
        QVERIFY(!panel->Buttons->AddButton->isHidden());
        QVERIFY(!panel->Buttons->DeleteButton->isHidden());
    }

    void addHooksPresetAndRestore_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("page");
        QTest::addColumn<QList<int>>("locked");
        QTest::addColumn<QStringList>("presets");  // "row=label"
        QTest::newRow("A") << "ViewMIBTreeFamilyTable1" << 1 << QList<int>{}
                           << QStringList{"3=included", "4=nonVolatile"};
        QTest::newRow("B") << "CommunityStringTable1" << -1 << QList<int>{1, 2} << QStringList{"6=nonVolatile"};
        QTest::newRow("C") << "N8021QVLAN1" << 0 << QList<int>{1} << QStringList{};
    }
    void addHooksPresetAndRestore()
    {
        QFETCH(QString, name);
        QFETCH(int, page);
        QFETCH(QList<int>, locked);
        QFETCH(QStringList, presets);
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        std::unique_ptr<TConfigForm> form = build(qPrintable(name));
        form->show();
        TSNMPListViewPanel *panel = tablePanel(*form, page);
        QVERIFY(panel);
        QVERIFY(readFinished(panel->Edits));
        TEditsPanel *rows = panel->EditsPanel;
        // Leftovers of an earlier edit that the hook must clear.
        for (const TEditsPanel::EditRow &row : rows->Rows)
            if (QLineEdit *edit = row.Edit())
                edit->setText(QStringLiteral("left over"));
        for (int i : locked)
            rows->Rows.at(i).CheckBox->setChecked(false);

        QMap<int, QString> expected;
        for (const QString &p : presets)
            expected.insert(p.section('=', 0, 0).toInt(), p.section('=', 1));
        bool ran = false;
        Generic::WhenOpened(panel, &TSNMPListViewPanel::RowDialogOpening, [&](QDialog *) {
            ran = true;
            for (int i : locked) {
                QVERIFY2(rows->Rows.at(i).CheckBox->isChecked(), qPrintable(QString::number(i)));
                QVERIFY2(!rows->Rows.at(i).CheckBox->isEnabled(), qPrintable(QString::number(i)));
            }
            for (int i = 0; i < rows->Rows.size(); ++i) {
                const QString want = i == panel->ListPanel->AddColumn ? panel->ListPanel->AddValue
                                                                      : expected.value(i);
                QVERIFY2(rows->RowText(i) == want,
                         qPrintable(QStringLiteral("row %1: \"%2\"").arg(i).arg(rows->RowText(i))));
            }
        });
        panel->AddClicked(panel->Buttons->AddButton);
        QVERIFY(ran);
        for (int i : locked)
            QVERIFY2(rows->Rows.at(i).CheckBox->isEnabled(), qPrintable(QString::number(i)));
        QCOMPARE(boxes.texts(), QStringList());
    }

    // Entries that do not fit their tables are refused with the place in the catalogue.
    void catalogueErrorsAreFound_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("message");
        const QString trust = QStringLiteral("T 3/1 vars 4 table TrustHostTable root 1.3.6.1.4.1.32473.12.1.2.13.1.1 ");
        QTest::newRow("add label") << trust + "rows 2 \"createAndWait\" \"destroy\""
                                   << "TSNMPListViewPanel::SetAddStatus - Wrong AddStatusValue:createAndWait";
        QTest::newRow("status column without labels") << trust + "rows 1 \"createAndGo\" \"destroy\""
                                                      << "Wrong AddStatusValue:createAndGo";
        QTest::newRow("format on a combo box") << trust + "fmt 2 \"%i{n1x4}\"" << "Can not set Var format to a ComboBox!";
        QTest::newRow("ports on a combo box") << trust + "ports 2" << "You can only assign Octet Item to a Edit!";
        QTest::newRow("hook row missing") << trust + "rows 2 \"createAndGo\" \"destroy\" hook A" << "hook A: row 3";
        QTest::newRow("hook label missing")
            << QStringLiteral("T 3/1 vars 8 table CommunityStringTable root 1.3.6.1.6.3.18.1.1.1 rows 7 \"createAndGo\" "
                              "\"destroy\" hook A")
            << "hook A: row 3 does not offer \"included\"";
        QTest::newRow("hook without add") << trust + "hook C" << "add hook on a panel without Add";
        QTest::newRow("unknown table") << "T 3/1 vars 4 table NoSuchTable root 1.3.6.1.4.1.1" << "no descriptor table NoSuchTable";
        QTest::newRow("variable count") << "T 3/1 vars 3 table TrustHostTable root 1.3.6.1.4.1.32473.12.1.2.13.1.1"
                                        << "3 variables, the tables hold 4";
    }
    void catalogueErrorsAreFound()
    {
        QFETCH(QString, panel);
        QFETCH(QString, message);
        const KtMenuCatalogue catalogue = KtMenuCatalogue::FromText(
            QStringLiteral("menu \"Top\" Top1\n  generic \"Odd\" Odd1 prefix \"Odd : \" T\n    panel ") + panel + '\n',
            QStringLiteral("menu.txt"));
        QString raised;
        try {
            delete KtMenuRecipe::Build(*catalogue.Find(QStringLiteral("Odd1")), Host, nullptr);
        } catch (const KtException &e) {
            raised = e.message();
        }
        QVERIFY2(raised.startsWith(QLatin1String("Menu catalogue, line 3 (Top > Odd): ")), qPrintable(raised));
        QVERIFY2(raised.contains(message), qPrintable(raised));
    }
};

QTEST_MAIN(TestMenuRecipe)
#include "tst_menurecipe.moc"
