// Table panels against the simulated agent: rows created and destroyed
// through their status column, the edit dialog and its status list, a
// failed write that keeps its dialog, sorting that keeps each row's
// identity, the port picker, row hint, copy and CSV.
#include "GenericTestSupport.h"

#include "dialogs/generic/TConfigForm.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TListViewPanel.h"
#include "dialogs/generic/TMsgPanel.h"
#include "dialogs/generic/TPortPicker.h"
#include "dialogs/generic/TSNMPListViewPanel.h"
#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "values/KtOptionList.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeWidget>
#include <QtTest>

namespace {

struct OpenTable
{
    OpenTable(const char *table, quint8 kind, int indexCount, int status = -1)
    {
        auto *b = Generic::Binding(&form, table, kind, indexCount);
        panel = status < 0 ? form.SetListViewPanel(b)
                           : form.SetListViewPanel(b, status, "CreateAndGo", status, "destroy");
        binding = b;
        view = panel->ListPanel->ListView;
    }
    bool showAndRead()
    {
        form.show();
        return QTest::qWaitFor([this] { return memo()->toPlainText().contains("Get:") && !binding->Busy; }, 20000);
    }
    bool reread()
    {
        return Generic::WaitIdle(binding);
    }
    QPlainTextEdit *memo() const { return panel->MsgPanel->Memo; }
    QTreeWidgetItem *row(int column, const QString &text) const
    {
        for (int r = 0; r < view->topLevelItemCount(); ++r)
            if (view->topLevelItem(r)->text(column) == text)
                return view->topLevelItem(r);
        return nullptr;
    }
    QStringList column(int c) const
    {
        QStringList texts;
        for (int r = 0; r < view->topLevelItemCount(); ++r)
            texts.append(view->topLevelItem(r)->text(c));
        return texts;
    }
    TEditsPanel *edits() const { return panel->EditsPanel; }

    TConfigForm form;
    TSNMPListViewPanel *panel;
    KtSNMPRequest2Edits *binding;
    QTreeWidget *view;
};

TSNMPPanel *framed(QDialog *d)
{
    return d->findChild<TSNMPPanel *>();
}

QStringList offered(QComboBox *combo)
{
    QStringList labels;
    auto *model = qobject_cast<QStandardItemModel *>(combo->model());
    for (int k = 0; k < combo->count(); ++k)
        if (model->item(k)->isEnabled())
            labels.append(combo->itemText(k));
    return labels;
}

QStringList rowOf(const QList<QStringList> &rows, const QString &index)
{
    for (const QStringList &r : rows)
        if (r.value(0) == index)
            return r;
    return {};
}

} // namespace

class TestTablePanel : public QObject
{
    Q_OBJECT

    AgentSession m_session;
    ScriptedMessages m_boxes{ScriptedMessages::RecordOnly{}};

    void typeNewTrustHost(TEditsPanel *edits, const QString &index)
    {
        edits->Rows[0].Edit()->setText(index);
        edits->Rows[1].Edit()->setText("172.16.4.0");
        edits->Rows[3].Edit()->setText("255.255.255.0");
    }

private slots:
    void initTestCase() { QVERIFY(m_session.start()); }
    void cleanupTestCase() { m_session.stop(); }
    void init() { m_boxes.clear(); }

    void addThenDelete()
    {
        OpenTable t("TrustHostTable", KtKind::MVT_UMV, 1, 2);
        t.panel->SetNoEdit(true);
        QVERIFY(t.showAndRead());
        QCOMPARE(t.panel->ListPanel->AddValue, QStringLiteral("createAndGo"));
        QCOMPARE(t.panel->Buttons->CountText->text(), QString::number(t.view->topLevelItemCount()));
        const QList<QStringList> before = Generic::EngineRows("TrustHostTable", KtKind::MVT_UMV, 1);

        QString caption, status;
        bool indexFixed = false, closed = false;
        Generic::WhenOpened(t.panel, &TSNMPListViewPanel::RowDialogOpening, [&](QDialog *d) {
            caption = d->windowTitle();
            TEditsPanel *edits = t.edits();
            status = edits->RowText(2);
            indexFixed = edits->Rows[0].CheckBox->isChecked() && !edits->Rows[0].CheckBox->isEnabled()
                && !edits->Rows[2].Control->isEnabled();
            typeNewTrustHost(edits, "12");
            framed(d)->Buttons->CheckAllButton->click();
            framed(d)->Buttons->SetCheckedButton->click();
            closed = !d->isVisible();
        });
        t.form.setWindowTitle("Trust Host Table : 127.0.0.1");
        t.panel->Buttons->AddButton->click();
        QCOMPARE(caption, QStringLiteral("Trust Host Table : 127.0.0.1 (Add)"));
        QCOMPARE(status, QStringLiteral("createAndGo"));
        QVERIFY(indexFixed);
        QVERIFY(closed);
        QVERIFY(m_boxes.texts().isEmpty());
        QCOMPARE(rowOf(Generic::EngineRows("TrustHostTable", KtKind::MVT_UMV, 1), "12"),
                 (QStringList{"12", "172.16.4.0", "active", "255.255.255.0"}));
        QVERIFY(t.reread());
        QVERIFY(t.row(0, "12"));

        // No sends nothing; Yes destroys exactly the selected row.
        for (bool yes : {false, true}) {
            t.view->setCurrentItem(t.row(0, "12"));
            QVERIFY(t.panel->Buttons->DeleteButton->isEnabled());
            m_boxes.answer({yes});
            QTest::keyClick(t.view, Qt::Key_Delete);
            QCOMPARE(m_boxes.texts().last(), QStringLiteral("Are you sure to delete ?"));
            QCOMPARE(m_boxes.captions().last(), QStringLiteral("Delete"));
            QCOMPARE(rowOf(Generic::EngineRows("TrustHostTable", KtKind::MVT_UMV, 1), "12").isEmpty(), yes);
        }
        QCOMPARE(Generic::EngineRows("TrustHostTable", KtKind::MVT_UMV, 1), before);
        QVERIFY(t.reread());
        QVERIFY(!t.row(0, "12"));
    }

    void failedAddKeepsItsDialog()
    {
        OpenTable t("TrustHostTable", KtKind::MVT_UMV, 1, 2);
        QVERIFY(t.showAndRead());
        QString failure, keptIndex, keptAddress;
        bool openAfterFailure = false, closedAfterRetry = false;
        Generic::WhenOpened(t.panel, &TSNMPListViewPanel::RowDialogOpening, [&](QDialog *d) {
            TEditsPanel *edits = t.edits();
            typeNewTrustHost(edits, "1");  // the agent has a row 1 already
            framed(d)->Buttons->CheckAllButton->click();
            framed(d)->Buttons->SetCheckedButton->click();
            openAfterFailure = d->isVisible();
            failure = framed(d)->FailureText->isHidden() ? QString() : framed(d)->FailureText->text();
            keptIndex = edits->RowText(0);
            keptAddress = edits->RowText(1);
            edits->Rows[0].Edit()->setText("13");
            framed(d)->Buttons->SetCheckedButton->click();
            closedAfterRetry = !d->isVisible();
        });
        t.panel->Buttons->AddButton->click();
        QVERIFY(openAfterFailure);
        QVERIFY2(failure.startsWith("Set: ") && !failure.contains("Ok!"), qPrintable(failure));
        QCOMPARE(keptIndex, QStringLiteral("1"));
        QCOMPARE(keptAddress, QStringLiteral("172.16.4.0"));
        QVERIFY(t.memo()->toPlainText().contains(failure.section(" Receive at", 0, 0)));
        QVERIFY(closedAfterRetry);
        const QList<QStringList> rows = Generic::EngineRows("TrustHostTable", KtKind::MVT_UMV, 1);
        QCOMPARE(rowOf(rows, "13").value(2), QStringLiteral("active"));
        QCOMPARE(rowOf(rows, "1").value(1), QStringLiteral("10.90.90.1"));
    }

    void editDialogWithholdsStatusLabels()
    {
        OpenTable t("SystemLogServer", KtKind::MVT_UMV, 1, 6);
        QVERIFY(t.showAndRead());
        QComboBox *status = t.edits()->Rows[6].Combo();
        const QStringList labels{"active", "createAndGo", "destroy"};
        QTreeWidgetItem *second = t.row(0, "2");
        QVERIFY(second);
        const QString address = second->text(1);
        t.view->setCurrentItem(second);
        QStringList offeredWhileEditing;
        QString shownAddress;
        Generic::WhenOpened(t.panel, &TSNMPListViewPanel::RowDialogOpening, [&](QDialog *d) {
            offeredWhileEditing = offered(status);
            shownAddress = t.edits()->RowText(1);
            t.edits()->Rows[4].Edit()->setText("5514");
            QTest::mouseClick(t.edits()->Rows[4].CheckBox, Qt::LeftButton);
            framed(d)->Buttons->SetCheckedButton->click();
        });
        QTest::keyClick(t.view, Qt::Key_Return);  // Enter on a row is Edit
        QCOMPARE(offeredWhileEditing, QStringList{"active"});
        QCOMPARE(shownAddress, address);
        QCOMPARE(offered(status), labels);
        QStringList items;
        for (int k = 0; k < status->count(); ++k)
            items.append(status->itemText(k));
        QCOMPARE(items, labels);
        const QList<QStringList> rows = Generic::EngineRows("SystemLogServer", KtKind::MVT_UMV, 1);
        QCOMPARE(rowOf(rows, "2").value(4), QStringLiteral("5514"));
        QCOMPARE(rowOf(rows, "1").value(4), QStringLiteral("1"));
    }

    // A status list that holds only the add label: the row goes while editing.
    void statusRowHiddenWhileEditing()
    {
        TConfigForm form;
        auto *b = new KtSNMPRequest2Edits(&form);
        const QString entry = QStringLiteral("1.3.6.1.4.1.32473.99.8.1.");
        KtOptionTable createOnly{KtOptionEntry{4, QString(), "createAndGo"}};
        b->Request.Vars.AppendVar(entry + "1", "Index", KtType::Integer, KtAccess::NotAccess);
        b->Request.Vars.AppendVar(entry + "2", "Name", KtType::DisplayStr, KtAccess::ReadWrite);
        b->Request.Vars.AppendVar(entry + "3", "Status", KtType::Integer, KtAccess::ReadWrite,
                                  std::make_unique<KtOptionList>(createOnly));
        b->Request.Vars.Kind = KtKind::MVT_UMV;
        b->Request.Vars.IndexCount = 1;
        TSNMPListViewPanel *panel = form.SetListViewPanel(b, 2, "createAndGo", -1, {});
        form.show();  // its first read finds no such table
        QTRY_VERIFY_WITH_TIMEOUT(panel->MsgPanel->Memo->toPlainText().contains("Get:") && !b->Busy, 20000);
        b->Request.Vars.Get(0).Value = "7";
        b->Request.Vars.Get(1).Value = "seven";
        b->AddRow();
        panel->ListPanel->ListView->setCurrentItem(panel->ListPanel->ListView->topLevelItem(0));
        bool hidden = false;
        QString name;
        Generic::WhenOpened(panel, &TSNMPListViewPanel::RowDialogOpening, [&](QDialog *) {
            hidden = panel->EditsPanel->RowHidden(2) && panel->EditsPanel->Rows[2].Control->isHidden();
            name = panel->EditsPanel->RowText(1);
        });
        panel->Buttons->EditButton->click();
        QVERIFY(hidden);
        QCOMPARE(name, QStringLiteral("seven"));
        QVERIFY(!panel->EditsPanel->RowHidden(2));
        QVERIFY(!panel->EditsPanel->Rows[2].Control->isHidden());
        QVERIFY(!panel->EditsPanel->Rows[2].Label->isHidden());
        QVERIFY(Generic::WaitIdle(b));
    }

    void whoMayEdit_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("noEdit");
        QTest::addColumn<bool>("editShown");
        QTest::addColumn<bool>("opens");
        QTest::newRow("editable") << "SystemLogServer" << 6 << false << true << true;
        QTest::newRow("no edit") << "TrustHostTable" << 2 << true << false << false;
        // No Edit button, but a double click still shows the row field by field.
        QTest::newRow("all read-only") << "MIBCapabilities" << -1 << false << false << true;
    }
    void whoMayEdit()
    {
        QFETCH(QString, table);
        QFETCH(int, status);
        QFETCH(bool, noEdit);
        const QByteArray name = table.toLatin1();
        OpenTable t(name.constData(), table == "MIBCapabilities" ? KtKind::MVT_FMV : KtKind::MVT_UMV, 1, status);
        if (noEdit)
            t.panel->SetNoEdit(true);
        QTEST(!t.panel->Buttons->EditButton->isHidden(), "editShown");
        QCOMPARE(t.panel->Buttons->AddButton->isHidden(), status < 0);
        QVERIFY(t.showAndRead());
        QTreeWidgetItem *item = t.view->topLevelItem(0);
        QVERIFY(item);
        int opened = 0;
        QString shown;
        const QString expected = item->text(1);
        connect(t.panel, &TSNMPListViewPanel::RowDialogOpening, this, [&](QDialog *d) {
            ++opened;
            shown = t.edits()->RowText(1);
            QTimer::singleShot(0, d, &QDialog::reject);
        });
        const QPoint centre = t.view->visualItemRect(item).center();
        QTest::mouseClick(t.view->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(t.view->viewport(), Qt::LeftButton, {}, centre);
        QTEST(opened == 1, "opens");
        if (opened)
            QCOMPARE(shown, expected);
        QVERIFY(Generic::WaitIdle(t.binding));
    }

    // Stop ends a slow walk at once: the rows so far stay, the counter stops
    // counting, the status line says so, and nothing follows.
    void stopKeepsTheRowsSoFar()
    {
        AgentProcess slow;
        QVERIFY(slow.startClean({"--delay", "40"}));
        OpenTable t("TrafficSegmentationTable", KtKind::MVT_FMV, 1);
        t.binding->Request.AgentPort = slow.port();
        t.binding->Request.BulkRepetitions = 1;  // one row per exchange: the walk takes a while
        TCtrlBtnPanel *buttons = t.panel->Buttons;
        QVERIFY(!buttons->StopButton->isHidden() && !buttons->StopButton->isEnabled());
        t.form.show();
        QVERIFY(QTest::qWaitFor([&] { return t.view->topLevelItemCount() >= 3; }, 20000));
        QVERIFY(buttons->StopButton->isEnabled());
        QCOMPARE(buttons->CountText->text(), QStringLiteral("%1 rows...").arg(t.view->topLevelItemCount()));
        QTest::mouseClick(buttons->StopButton, Qt::LeftButton);
        const int rows = t.view->topLevelItemCount();
        QVERIFY(rows < 28);
        QCOMPARE(buttons->CountText->text(), QString::number(rows));
        QVERIFY(!buttons->StopButton->isEnabled());
        QVERIFY2(Generic::LastLine(t.memo()).startsWith("Get: Walk stopped!"), qPrintable(t.memo()->toPlainText()));
        QVERIFY(AgentSession::fence(slow.port()));
        QVERIFY(t.reread());
        QCOMPARE(t.view->topLevelItemCount(), rows);
        QTest::mouseClick(buttons->RefreshButton, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !t.binding->Busy && t.view->topLevelItemCount() == 28; }, 30000));
        QCOMPARE(buttons->CountText->text(), QStringLiteral("28"));
    }

    void sortKeepsRowsAndPortPicker()
    {
        OpenTable t("TrafficSegmentationTable", KtKind::MVT_FMV, 1);
        t.edits()->SetPortListItem(1, 20, 28);
        QVERIFY(t.showAndRead());
        QCOMPARE(t.view->topLevelItemCount(), 28);
        QHeaderView *header = t.view->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
        QCOMPARE(t.column(0).mid(8, 3), (QStringList{"9", "10", "11"}));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
        QCOMPARE(t.column(0).first(), QStringLiteral("28"));
        QCOMPARE(t.panel->ListPanel->RowHint(t.view->topLevelItem(0)),
                 QStringLiteral("Port\t\t\t\t\t\t\t\t\t  28\nForward Ports  %1\n").arg(t.view->topLevelItem(0)->text(1)));
        t.view->setCurrentItem(t.view->topLevelItem(0));

        QList<int> lineOf;
        QStringList numbers;
        QString afterPick, indexShown;
        QList<bool> reopened;
        bool closed = false;
        Generic::WhenOpened(t.panel, &TSNMPListViewPanel::RowDialogOpening, [&](QDialog *d) {
            indexShown = t.edits()->RowText(0);
            bool picked = false;
            Generic::WhenOpened(t.edits(), &TEditsPanel::PortPickerOpening, [&](QDialog *p) {
                auto *picker = static_cast<TPortPicker *>(p);
                for (QCheckBox *box : picker->Boxes)
                    lineOf.append(box->y());
                for (QLabel *label : picker->Numbers)
                    numbers.append(label->text());
                for (int n : {0, 2, 27})
                    picker->Boxes[n]->setChecked(true);
                picker->OkButton->click();
                picked = true;
            });
            QTest::mouseClick(t.edits()->Rows[1].Edit(), Qt::LeftButton);
            QTRY_VERIFY(picked);
            afterPick = t.edits()->RowText(1);
            bool again = false;
            Generic::WhenOpened(t.edits(), &TEditsPanel::PortPickerOpening, [&](QDialog *p) {
                for (QCheckBox *box : static_cast<TPortPicker *>(p)->Boxes)
                    reopened.append(box->isChecked());
                again = true;
            });
            QTest::keyClick(t.edits()->Rows[1].Edit(), Qt::Key_Space);
            QTRY_VERIFY(again);
            framed(d)->Buttons->SetCheckedButton->click();  // the single Set of the one writable column
            closed = !d->isVisible();
        });
        t.panel->Buttons->EditButton->click();
        QCOMPARE(indexShown, QStringLiteral("28"));
        QCOMPARE(lineOf.size(), 28);
        QCOMPARE(lineOf.count(lineOf.first()), 20);
        QCOMPARE(lineOf.count(lineOf.last()), 8);
        QVERIFY(lineOf.last() > lineOf.first());
        QCOMPARE(numbers.first(), QStringLiteral("1"));
        QCOMPARE(numbers.last(), QStringLiteral("28"));
        QCOMPARE(afterPick, QStringLiteral("A0000010"));
        QCOMPARE(reopened.count(true), 3);
        QVERIFY(reopened.value(0) && reopened.value(2) && reopened.value(27));
        QVERIFY(closed);
        const QList<QStringList> rows = Generic::EngineRows("TrafficSegmentationTable", KtKind::MVT_FMV, 1);
        QCOMPARE(rowOf(rows, "28").value(1), QStringLiteral("A0000010"));
        QCOMPARE(rowOf(rows, "27").value(1), QStringLiteral("00"));

        // The refresh after the dialog keeps the sort; the texts follow it.
        QVERIFY(t.reread());
        QTRY_COMPARE(t.column(0).first(), QStringLiteral("28"));
        QCOMPARE(t.view->topLevelItem(0)->text(1), QStringLiteral("A0000010"));
        QVERIFY(t.panel->ListPanel->CsvText().startsWith("Port,Forward Ports\r\n28,A0000010\r\n27,00\r\n"));
        t.view->setCurrentItem(t.view->topLevelItem(0));
        QTest::keySequence(t.view, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("28\tA0000010"));

        QTemporaryDir dir;
        QString error;
        QVERIFY(t.panel->ListPanel->ExportCsv(dir.filePath("ports.csv"), &error));
        QFile csv(dir.filePath("ports.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), t.panel->ListPanel->CsvText().toUtf8());
        t.panel->ListPanel->AskSavePath = [&](QWidget *) { return dir.filePath("missing/ports.csv"); };
        t.panel->ListPanel->ExportCsvAsked();
        QVERIFY(m_boxes.texts().value(0).startsWith("Could not write"));
    }

    // A row chosen by its instance suffix before the walk brings it, or after.
    void selectRowByIndex_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("indexCount");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("beforeRead");
        QTest::addColumn<QStringList>("selected");  // its index columns; empty: none
        QTest::newRow("one index, pending") << "TrafficSegmentationTable" << 1 << "7" << true << QStringList{"7"};
        QTest::newRow("one index, read") << "TrafficSegmentationTable" << 1 << "23" << false << QStringList{"23"};
        QTest::newRow("two indexes, pending") << "PortControlTable" << 2 << "7.1" << true
                                              << QStringList{"7", "copper"};
        QTest::newRow("no such row") << "TrafficSegmentationTable" << 1 << "99" << true << QStringList{};
        QTest::newRow("suffix too short") << "PortControlTable" << 2 << "7" << false << QStringList{};
    }

    void selectRowByIndex()
    {
        QFETCH(QString, table);
        QFETCH(int, indexCount);
        QFETCH(QString, suffix);
        QFETCH(bool, beforeRead);
        QFETCH(QStringList, selected);
        const QByteArray name = table.toLatin1();
        OpenTable t(name.constData(), KtKind::MVT_UMV, indexCount);
        if (beforeRead)
            t.panel->SelectRowByIndex(suffix);
        QVERIFY(t.showAndRead());
        if (!beforeRead)
            t.panel->SelectRowByIndex(suffix);
        if (selected.isEmpty()) {
            QVERIFY(t.view->selectedItems().isEmpty());
            if (!beforeRead) {
                QVERIFY(t.panel->PendingRow().isEmpty());
                QVERIFY(t.memo()->toPlainText().contains(KtCatalogue::Text(KtCatalogue::Engine, KtCatalogue::EngSuffixShort)));
            }
            return;
        }
        QTRY_COMPARE(t.view->selectedItems().size(), 1);
        QCOMPARE(t.view->currentItem(), t.view->selectedItems().first());
        QStringList index;
        for (int i = 0; i < indexCount; ++i)
            index.append(t.view->currentItem()->text(t.binding->ColumnOf(i)));
        QCOMPARE(index, selected);
        QVERIFY(t.panel->PendingRow().isEmpty());
        // The selection reached the rows as a click would.
        QVERIFY(t.panel->Buttons->EditButton->isEnabled());
    }
};

QTEST_MAIN(TestTablePanel)
#include "tst_tablepanel.moc"
