// The port page against the simulated agent: each section holds what the
// engine reads of the port's rows, an edit reaches the agent, and a link
// opens the table's own dialog on that row.

#include "ports/KtPortPage.h"
#include "ports/widgets/TPortListSection.h"
#include "ports/widgets/TPortPageForm.h"
#include "ports/widgets/TPortRowSection.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/TConfigForm.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TListViewPanel.h"
#include "dialogs/generic/TMsgPanel.h"
#include "dialogs/generic/TSNMPListViewPanel.h"
#include "mib/KtMibData.h"
#include "shell/TMainForm.h"
#include "shell/catalogue/KtMenuCatalogue.h"
#include "support/AgentSession.h"
#include "support/FormHarness.h"
#include "support/ScriptedMessages.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

constexpr int Port = 7;
constexpr int ReadMs = 60000;

// Values that move by themselves between two reads.
bool moving(quint32 type)
{
    return type == KtType::Counter || type == KtType::Counter64 || type == KtType::TimeTicks;
}

const KtPortTable *portTable(const QString &name)
{
    for (const KtPortTable &t : KtPortTables::Instance())
        if (t.table == name)
            return &t;
    return nullptr;
}

// The port's rows of a table as the engine reads them, by instance suffix.
QMap<QString, KtSNMPVarList> engineRows(const KtPortTable &t)
{
    QMap<QString, KtSNMPVarList> rows;
    if (KtPortPage::Direct(t)) {
        const QString suffix = KtPortPage::DirectSuffix(t, Port);
        KtSNMPRequest r;
        KtPortPage::LoadRow(r.Vars, t, suffix);
        r.Fetch(true);
        rows.insert(suffix, r.Vars);
        return rows;
    }
    KtSNMPRequest r;
    r.Vars = KtPortPage::WalkList(t);
    for (bool more = r.Fetch(true); more; more = r.Fetch(false))
        if (KtPortPage::Belongs(t, r.Vars, Port))
            rows.insert(r.Vars.EncodeIndexSuffix(), r.Vars);
    return rows;
}

} // namespace

class TstPortPage : public QObject
{
    Q_OBJECT

    AgentSession m_session;
    std::unique_ptr<FormHarness> m_harness;
    TPortPageForm *m_page = nullptr;

private slots:
    void initTestCase();
    void cleanupTestCase();
    void sectionsHoldEngineRows_data();
    void sectionsHoldEngineRows();
    void editReachesAgent();
    void membershipEditReachesAgent();
    void linkOpensEntryOnRow_data();
    void linkOpensEntryOnRow();
};

void TstPortPage::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(m_session.start());
    m_harness = std::make_unique<FormHarness>();
    m_page = m_harness->build<TPortPageForm>(Port, QStringLiteral("127.0.0.1"));
    QCOMPARE(m_page->windowTitle(), QStringLiteral("Port 7 : 127.0.0.1"));
    QVERIFY(!m_page->isModal());
    QVERIFY(m_harness->show());
    QTRY_VERIFY_WITH_TIMEOUT(m_page->Idle() && m_page->Sections().size() >= KtPortTables::Instance().size(), ReadMs);
    QVERIFY(!m_page->Messages()->Memo->toPlainText().isEmpty());
}

void TstPortPage::cleanupTestCase()
{
    m_harness.reset();
    m_session.stop();
}

void TstPortPage::sectionsHoldEngineRows_data()
{
    QTest::addColumn<QString>("table");
    for (const KtPortTable &t : KtPortTables::Instance())
        QTest::newRow(qPrintable(t.table)) << t.table;
}

void TstPortPage::sectionsHoldEngineRows()
{
    QFETCH(QString, table);
    const KtPortTable &t = *portTable(table);
    const QMap<QString, KtSNMPVarList> expected = engineRows(t);
    // A table the port is one index of may have no row of it (VRRP: only the system's interface).
    if (KtPortPage::Direct(t))
        QVERIFY2(!expected.isEmpty(), "the agent holds no row of port 7");

    if (t.kind == KtPortTable::Index) {
        QStringList shown;
        for (TPortSection *s : m_page->Sections())
            if (s->Table().table == table)
                shown.append(static_cast<TPortRowSection *>(s)->RowSuffix());
        shown.sort();
        QCOMPARE(shown, QStringList(expected.keys()));
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            auto *section = static_cast<TPortRowSection *>(m_page->FindSection(table, it.key()));
            const KtSNMPVarList &page = section->Bindings().first()->Request.Vars;
            for (int i = 0; i < it->Count(); ++i) {
                if (moving(it->Get(i).Type) || !it->IsReadable(i))
                    continue;
                const QString where = QStringLiteral("%1 row %2: %3").arg(table, it.key(), it->Get(i).Label);
                QVERIFY2(page.Get(i).Value == it->Get(i).Value, qPrintable(where + " " + page.Get(i).Value));
                // The control shows the value text (a combo box its label).
                if (!section->EditsPanel->Rows.at(i).HasPortPicker())
                    QVERIFY2(section->EditsPanel->RowText(i) == it->Get(i).Value, qPrintable(where));
            }
        }
        return;
    }
    auto *section = qobject_cast<TPortListSection *>(m_page->FindSection(table));
    QVERIFY(section);
    QStringList shown;
    for (int r = 0; r < section->RowCount(); ++r)
        shown.append(section->RowAt(r).suffix);
    shown.sort();
    QCOMPARE(shown, QStringList(expected.keys()));
    for (int r = 0; r < section->RowCount(); ++r) {
        const KtSNMPVarList &row = expected.value(section->RowAt(r).suffix);
        for (int k = 0; k < t.columns.size(); ++k) {
            const KtSNMPVar &v = row.Get(t.columns.at(k));
            QVERIFY2(section->RowAt(r).boxes.at(k)->isChecked() == KtPortPage::Member(v.Value, v.Type, Port),
                     qPrintable(QStringLiteral("%1 row %2: %3 %4").arg(table, section->RowAt(r).suffix, v.Label, v.Value)));
        }
    }
}

void TstPortPage::editReachesAgent()
{
    auto *section = static_cast<TPortRowSection *>(m_page->FindSection(QStringLiteral("PortSecurityTable"), "7"));
    QVERIFY(section);
    const int row = 1;  // Max Lern Address
    const QString oid = KtMibData::Instance().FindTable(QStringLiteral("PortSecurityTable"))->at(row).Oid + ".7";
    const QString before = AgentSession::value(oid, KtType::Integer);
    const QString wanted = before == QLatin1String("12") ? QStringLiteral("13") : QStringLiteral("12");
    TEditsPanel *rows = section->EditsPanel;
    m_harness->click(rows->Rows.at(row).CheckBox);
    m_harness->enter(rows->Rows.at(row).Edit(), wanted);
    QPushButton *set = section->Buttons->SetCheckedButton;
    QVERIFY(set->isEnabled());
    m_harness->click(set);
    QTRY_COMPARE_WITH_TIMEOUT(AgentSession::value(oid, KtType::Integer), wanted, ReadMs);
    QTRY_VERIFY_WITH_TIMEOUT(m_page->Idle(), ReadMs);
    QVERIFY(m_page->Messages()->Memo->toPlainText().contains(QLatin1String("Set: Ok!")));
}

// Only this port's bit of the row's list changes.
void TstPortPage::membershipEditReachesAgent()
{
    const KtPortTable &t = *portTable(QStringLiteral("VLANStaticTable"));
    auto *section = qobject_cast<TPortListSection *>(m_page->FindSection(t.table));
    QVERIFY(section && section->RowCount() > 0);
    const TPortListSection::Row &row = section->RowAt(0);
    const KtSNMPVar &egress = KtMibData::Instance().FindTable(t.table)->at(t.columns.first());
    const QString oid = egress.Oid + QLatin1Char('.') + row.suffix;
    const QByteArray before = KtValue::TextToRaw(AgentSession::value(oid, egress.Type), egress.Type);
    QByteArray wanted = before;
    wanted[0] = char(quint8(wanted.at(0)) ^ 0x02);  // port 7
    QCOMPARE(row.boxes.first()->isChecked(), bool(quint8(before.at(0)) & 0x02));
    QVERIFY(!section->Buttons->SetCheckedButton->isEnabled());
    m_harness->click(row.boxes.first());
    QVERIFY(section->Buttons->SetCheckedButton->isEnabled());
    m_harness->click(section->Buttons->SetCheckedButton);
    QTRY_COMPARE_WITH_TIMEOUT(KtValue::TextToRaw(AgentSession::value(oid, egress.Type), egress.Type), wanted, ReadMs);
    QVERIFY(!section->Buttons->SetCheckedButton->isEnabled());
    // Read back: the box shows what the switch holds now.
    QTRY_VERIFY_WITH_TIMEOUT(m_page->Idle(), ReadMs);
    QCOMPARE(row.boxes.first()->isChecked(), bool(quint8(wanted.at(0)) & 0x02));
    QCOMPARE(row.binding->Request.Vars.Get(t.columns.first()).Value, KtValue::RawToText(wanted, egress.Type));
}

void TstPortPage::linkOpensEntryOnRow_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("page");  // of a paged dialog
    QTest::newRow("port index") << "PortSecurityTable" << "7" << "";
    QTest::newRow("port and medium") << "PortControlTable" << "7.1" << "";
    QTest::newRow("vlan on its page") << "VLANStaticTable" << "1" << "VLAN Static Table";
}

void TstPortPage::linkOpensEntryOnRow()
{
    QFETCH(QString, table);
    QFETCH(QString, row);
    QFETCH(QString, page);
    TMainForm main(&TMainForm::BuildOwnMenus);
    main.OpenPortPage(Port);
    TPortPageForm *portPage = main.PortPage(Port);
    QVERIFY(portPage && portPage->isVisible());
    main.OpenPortPage(Port);
    QCOMPARE(main.findChildren<TPortPageForm *>().size(), 1);
    QCOMPARE(portPage->windowTitle(), TPortPageForm::Caption(Port, main.HostText()));
    QTRY_VERIFY_WITH_TIMEOUT(portPage->Idle() && portPage->FindSection(table), ReadMs);
    TPortSection *section = portPage->FindSection(table, table == QLatin1String("VLANStaticTable") ? QString() : row);
    QVERIFY(section);
    QPushButton *link = nullptr;
    for (QPushButton *l : section->Links())
        if (l->objectName() == QLatin1String("Link") + row)
            link = l;
    QVERIFY(link);
    QVERIFY(link->focusPolicy() & Qt::TabFocus);

    const KtPortTable &t = *portTable(table);
    // The dialog runs modally: it is looked at from inside its loop.
    QString selected, visiblePage, caption;
    bool seen = false;
    QTimer watch;
    watch.setInterval(20);
    QElapsedTimer clock;
    clock.start();
    connect(&watch, &QTimer::timeout, this, [&] {
        auto *form = main.findChild<TConfigForm *>(t.entry + QLatin1String("Form"));
        if (clock.elapsed() > ReadMs && form)
            form->reject();
        if (!form || !form->isVisible())
            return;
        caption = form->windowTitle();
        if (form->Pages)
            visiblePage = form->Pages->tabText(form->Pages->currentIndex());
        for (TSNMPListViewPanel *p : form->findChildren<TSNMPListViewPanel *>()) {
            const QList<QTreeWidgetItem *> items = p->ListPanel->ListView->selectedItems();
            if (!p->isVisible() || items.isEmpty())
                continue;
            KtSNMPVarList vars(p->Edits->Request.Vars);
            for (int i = 0; i < vars.Count(); ++i)
                if (p->Edits->ColumnOf(i) >= 0)
                    vars.Get(i).Value = items.first()->text(p->Edits->ColumnOf(i));
            selected = vars.EncodeIndexSuffix();
            seen = true;
            form->reject();
        }
    });
    watch.start();
    m_harness->click(link);
    watch.stop();
    QVERIFY2(seen, qPrintable(caption));
    QCOMPARE(selected, row);
    QCOMPARE(visiblePage, page);
    QVERIFY(caption.startsWith(KtMenuCatalogue::Instance().Find(t.entry)->captionPrefix()));
    QTest::keyClick(portPage, Qt::Key_Escape);
    QTRY_VERIFY(!main.PortPage(Port));
}

QTEST_MAIN(TstPortPage)
#include "tst_portpage.moc"
