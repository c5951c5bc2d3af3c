#include "dialogs/generic/TSNMPListViewPanel.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/KtBindingWait.h"
#include "dialogs/generic/KtPlacement.h"
#include "dialogs/generic/KtSlotGuard.h"
#include "dialogs/generic/KtWriteScope.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TListViewPanel.h"
#include "dialogs/generic/TMsgPanel.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardItemModel>
#include <QTreeWidget>

TSNMPListViewPanel::TSNMPListViewPanel(QWidget *owner, KtSNMPRequest2Edits *binding)
    : TSNMPEditorPanel(owner, binding), ListPanel(new TListViewPanel(Content, binding))
{
    QTreeWidget *view = ListPanel->ListView;
    connect(view, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!m_quietSelection && !ListPanel->IsSorting())
            RowClicked();
    });
    connect(ListPanel, &TListViewPanel::Sorted, this, &TSNMPListViewPanel::RowClicked);
    connect(view, &QTreeWidget::itemDoubleClicked, this, [this] { RowDoubleClicked(); });
    connect(ListPanel, &TListViewPanel::EditRequested, this, [this] {
        if (!Buttons->EditButton->isHidden() && Buttons->EditButton->isEnabled())
            RowDoubleClicked();
    });
    connect(ListPanel, &TListViewPanel::DeleteRequested, this, [this] {
        if (!Buttons->DeleteButton->isHidden() && Buttons->DeleteButton->isEnabled())
            KtRunGuarded(this, Edits, [this] { DeleteRow(); });
    });
    // While a walk runs the counter shows the rows so far.
    const auto count = [this] {
        const int rows = ListPanel->ListView->topLevelItemCount();
        Buttons->CountText->setText(Edits && Edits->Walking() ? tr("%1 rows...").arg(rows) : QString::number(rows));
    };
    connect(view->model(), &QAbstractItemModel::rowsInserted, this, count);
    // After the batch is in, not in the middle of its insertion.
    connect(view->model(), &QAbstractItemModel::rowsInserted, this, [this] {
        if (!m_pendingRow.isEmpty())
            QMetaObject::invokeMethod(this, &TSNMPListViewPanel::selectPendingRow, Qt::QueuedConnection);
    });
    connect(view->model(), &QAbstractItemModel::rowsRemoved, this, count);
    connect(view->model(), &QAbstractItemModel::modelReset, this, count);
    if (Edits)
        connect(Edits, &KtSNMPRequest2Controls::WalkRunning, this, [this, count](bool running) {
            Buttons->StopButton->setEnabled(running);
            count();
        });
    connect(Buttons->StopButton, &QPushButton::clicked, this, [this] {
        if (Edits)
            Edits->StopRead();
    });

    connect(Buttons->EditButton, &QPushButton::clicked, this,
            [this] { KtRunGuarded(this, Edits, [this] { EditClicked(Buttons->EditButton); }); });
    connect(Buttons->AddButton, &QPushButton::clicked, this,
            [this] { KtRunGuarded(this, Edits, [this] { AddClicked(Buttons->AddButton); }); });
    connect(Buttons->DeleteButton, &QPushButton::clicked, this,
            [this] { KtRunGuarded(this, Edits, [this] { DeleteRow(); }); });

    ListPanel->ArrangeCtrlBtn(Buttons);
    bool editable = false;
    if (Edits) {
        const KtSNMPVarList &vars = Edits->Request.Vars;
        for (int i = vars.IndexCount; i < vars.Count() && !editable; ++i)
            editable = vars.IsWritable(i);
    }
    if (!editable) {
        Buttons->EditButton->hide();
        Buttons->Arrange();
    }
    SetContent(ListPanel);
    BeforeAdd = [](TSNMPListViewPanel *panel, QAbstractButton *) { panel->EditsPanel->ClearValues(); };
}

// The list view outlives this part of the object while the widget dies:
// its last signals must not reach us.
TSNMPListViewPanel::~TSNMPListViewPanel()
{
    ListPanel->ListView->disconnect(this);
    ListPanel->ListView->model()->disconnect(this);
    ListPanel->disconnect(this);
}

// ---------------------------------------------------------------- tailoring

void TSNMPListViewPanel::setStatus(int column, const QString &value, bool add)
{
    const KtOptionList *options = nullptr;
    if (Edits && column >= 0 && column < EditsPanel->Rows.size() && EditsPanel->Rows.at(column).Combo())
        options = Edits->Request.Vars.Get(column).Options;
    int index = -1;
    for (int k = 0; options && k < options->count() && index < 0; ++k)
        if (options->Get(k).Label.compare(value, Qt::CaseInsensitive) == 0)
            index = k;
    if (index < 0)
        throw KtException(-1, add ? QStringLiteral("TSNMPListViewPanel::SetAddStatus - Wrong AddStatusValue:") + value
                                  : QStringLiteral("TSNMPListViewPanel::SetDeleteStatus - Wrong DeleteStatusValue:")
                              + value);
    if (add) {
        ListPanel->AddColumn = column;
        ListPanel->AddValue = options->Get(index).Label;
        Buttons->AddButton->show();
    } else {
        ListPanel->DeleteColumn = column;
        ListPanel->DeleteValue = options->Get(index).Label;
        Buttons->DeleteButton->show();
    }
    Buttons->Arrange();
    UpdateTabOrder();
}

void TSNMPListViewPanel::SetAddStatus(int column, const QString &value)
{
    setStatus(column, value, true);
}

void TSNMPListViewPanel::SetDeleteStatus(int column, const QString &value)
{
    setStatus(column, value, false);
}

void TSNMPListViewPanel::SetNoEdit(bool noEdit)
{
    NoEdit = noEdit;
    Buttons->EditButton->setVisible(!noEdit);
    Buttons->EditButton->setEnabled(false);
    Buttons->Arrange();
    UpdateTabOrder();
}

// ---------------------------------------------------------------- list

void TSNMPListViewPanel::Refresh()
{
    RefreshList();
}

void TSNMPListViewPanel::RefreshList()
{
    if (!Edits || (Edits->Asynchronous && KtBindingWait::Running(*Edits)))
        return;
    Buttons->EditButton->setEnabled(false);
    Buttons->DeleteButton->setEnabled(false);
    try {
        Edits->Read();
    } catch (const KtException &e) {
        Edits->ShowStatus(e.message());
    }
}

void TSNMPListViewPanel::RowClicked()
{
    const bool selected = !ListPanel->ListView->selectedItems().isEmpty();
    if (selected) {
        Buttons->EditButton->setEnabled(!NoEdit);
        Buttons->DeleteButton->setEnabled(true);
    } else {
        if (!NoEdit)
            Buttons->EditButton->setEnabled(false);
        Buttons->DeleteButton->setEnabled(false);
        EditsPanel->ClearValues();
    }
}

void TSNMPListViewPanel::SelectRowByIndex(const QString &suffix)
{
    m_pendingRow = suffix;
    selectPendingRow();
}

void TSNMPListViewPanel::selectPendingRow()
{
    if (m_pendingRow.isEmpty() || !Edits)
        return;
    // The index columns' texts of that row, as the list view shows them.
    KtSNMPVarList wanted(Edits->Request.Vars);
    try {
        wanted.DecodeIndexSuffix(m_pendingRow);
    } catch (const KtException &e) {
        m_pendingRow.clear();
        Edits->ShowStatus(e.message());
        return;
    }
    QTreeWidget *view = ListPanel->ListView;
    for (int r = 0; r < view->topLevelItemCount(); ++r) {
        QTreeWidgetItem *item = view->topLevelItem(r);
        bool same = wanted.IndexCount > 0;
        for (int i = 0; i < wanted.IndexCount && same; ++i) {
            const int column = Edits->ColumnOf(i);
            same = column >= 0 && item->text(column) == wanted.Get(i).Value;
        }
        if (!same)
            continue;
        m_pendingRow.clear();
        view->setCurrentItem(item);
        view->scrollToItem(item);
        return;
    }
}

void TSNMPListViewPanel::RowDoubleClicked()
{
    if (NoEdit || ListPanel->ListView->selectedItems().isEmpty() || m_rowDialog)
        return;
    KtRunGuarded(this, Edits, [this] { EditClicked(Buttons->EditButton); });
}

// ---------------------------------------------------------------- row dialogs

QDialog *TSNMPListViewPanel::openRowDialog(const QString &caption, TSNMPPanel **panelOut)
{
    auto *dialog = new QDialog(window());
    dialog->setWindowTitle(caption);
    dialog->resize(120, 80);
    Edits->SetConstraintOwner(dialog);
    auto *panel = new TSNMPPanel(dialog, Messages(), Edits);
    QPushButton *set = panel->Buttons->SetCheckedButton;
    TCtrlBtnPanel::SetTag(set, 1);
    set->setEnabled(false);
    connect(set, &QPushButton::clicked, panel, [this, panel, set] {
        KtRunGuarded(panel, Edits, [&] {
            const TEditsPanel::WriteOutcome outcome = EditsPanel->WriteChecked(set);
            if (outcome == TEditsPanel::WriteOutcome::Failed)
                panel->ShowFailure(EditsPanel->LastFailure);
            else if (outcome == TEditsPanel::WriteOutcome::Written)
                panel->ShowFailure(QString());
        });
    });
    connect(panel->Buttons->CheckAllButton, &QPushButton::clicked, EditsPanel, &TEditsPanel::CheckAll);
    connect(panel->Buttons->ClearChecksButton, &QPushButton::clicked, EditsPanel, &TEditsPanel::ClearChecks);
    *panelOut = panel;
    return dialog;
}

void TSNMPListViewPanel::runRowDialog(QDialog *dialog)
{
    dialog->adjustSize();
    KtPlacement::CentreOn(dialog, window());
    m_rowDialog = dialog;
    emit RowDialogOpening(dialog);
    dialog->exec();
}

void TSNMPListViewPanel::giveBack(QDialog *dialog)
{
    EditsPanel->hide();
    EditsPanel->setParent(Content);
    delete dialog;
    if (Edits)
        Edits->SetConstraintOwner(Form ? Form.data() : window());
    EditsPanel->SetRowStates(false);
}

void TSNMPListViewPanel::withhold(int row, const QString &label, QList<Withheld> &withheld, QList<int> &hiddenRows)
{
    if (row < 0 || row >= EditsPanel->Rows.size())
        return;
    QComboBox *combo = EditsPanel->Rows.at(row).Combo();
    auto *model = combo ? qobject_cast<QStandardItemModel *>(combo->model()) : nullptr;
    if (!model)
        return;
    // The item stays at its place, disabled and out of the list, so that
    // items keep the positions of their option-list entries.
    const int index = combo->findText(label, Qt::MatchFixedString);
    if (index < 0 || !model->item(index)->isEnabled())
        return;
    model->item(index)->setEnabled(false);
    if (auto *view = qobject_cast<QListView *>(combo->view()))
        view->setRowHidden(index, true);
    withheld.append({row, index});
    for (int k = 0; k < model->rowCount(); ++k)
        if (model->item(k)->isEnabled())
            return;
    if (!EditsPanel->RowHidden(row)) {
        EditsPanel->HideRow(row);
        hiddenRows.append(row);
    }
}

void TSNMPListViewPanel::release(const QList<Withheld> &withheld, const QList<int> &hiddenRows)
{
    for (int row : hiddenRows)
        EditsPanel->ShowRow(row);
    for (const Withheld &w : withheld) {
        QComboBox *combo = EditsPanel->Rows.at(w.row).Combo();
        if (auto *model = qobject_cast<QStandardItemModel *>(combo->model()))
            model->item(w.item)->setEnabled(true);
        if (auto *view = qobject_cast<QListView *>(combo->view()))
            view->setRowHidden(w.item, false);
    }
}

void TSNMPListViewPanel::EditClicked(QAbstractButton *clicked)
{
    if (!Edits || m_rowDialog)
        return;
    if (BeforeEdit)
        BeforeEdit(this, clicked);
    runEditDialog();
    if (AfterEdit)
        AfterEdit(this, clicked);
}

void TSNMPListViewPanel::runEditDialog()
{
    if (Edits->Asynchronous) {
        // A walk still running would refill the rows under the dialog.
        KtBindingWait::Stop(*Edits, StopWalkMs);
        Edits->Request.Alive = true;
    }
    TSNMPPanel *panel = nullptr;
    QDialog *dialog = openRowDialog(Form ? Form->windowTitle() : window()->windowTitle(), &panel);
    QList<Withheld> withheld;
    QList<int> hiddenRows;
    const auto restore = qScopeGuard([&] {
        release(withheld, hiddenRows);
        giveBack(dialog);
        RefreshList();
    });
    EditsPanel->SetRowStates(false);
    if (ListPanel->AddColumn >= 0)
        withhold(ListPanel->AddColumn, ListPanel->AddValue, withheld, hiddenRows);
    if (ListPanel->DeleteColumn >= 0)
        withhold(ListPanel->DeleteColumn, ListPanel->DeleteValue, withheld, hiddenRows);
    EditsPanel->ArrangeCtrlBtn(panel->Buttons);
    EditsPanel->LayoutRows(false);
    panel->Buttons->RefreshButton->hide();
    panel->Buttons->Arrange();
    EditsPanel->SetEditWidth(EditDialogWidth);
    panel->SetContent(EditsPanel);
    panel->AttachToForm(dialog);
    runRowDialog(dialog);
}

void TSNMPListViewPanel::AddClicked(QAbstractButton *clicked)
{
    if (!Edits || m_rowDialog || ListPanel->AddColumn < 0)
        return;
    if (BeforeAdd)
        BeforeAdd(this, clicked);
    runAddDialog();
    if (AfterAdd)
        AfterAdd(this, clicked);
}

void TSNMPListViewPanel::runAddDialog()
{
    QString caption = PageTitle;
    if (caption.isEmpty())
        caption = Form ? Form->windowTitle() : window()->windowTitle();
    TSNMPPanel *panel = nullptr;
    QDialog *dialog = openRowDialog(caption + QStringLiteral(" (Add)"), &panel);
    const auto restore = qScopeGuard([&] {
        giveBack(dialog);
        RefreshList();
    });
    const KtSNMPVarList &vars = Edits->Request.Vars;
    for (int i = 0; i < vars.IndexCount && i < EditsPanel->Rows.size(); ++i) {
        EditsPanel->EnableRow(i);
        QCheckBox *box = EditsPanel->Rows.at(i).CheckBox;
        box->setChecked(true);
        box->show();
        box->setEnabled(false);  // the index is always sent
    }
    const int status = ListPanel->AddColumn;
    if (status < EditsPanel->Rows.size()) {
        const TEditsPanel::EditRow &row = EditsPanel->Rows.at(status);
        row.Control->setEnabled(false);
        row.CheckBox->setEnabled(false);
        row.CheckBox->setChecked(true);
        if (QComboBox *combo = row.Combo())
            combo->setCurrentIndex(combo->findText(ListPanel->AddValue));
    }
    EditsPanel->ArrangeCtrlBtn(panel->Buttons);
    panel->Buttons->RefreshButton->hide();
    panel->Buttons->Arrange();
    EditsPanel->LayoutRows(true);
    panel->SetContent(EditsPanel);
    panel->AttachToForm(dialog);
    {
        m_quietSelection = true;
        const auto loud = qScopeGuard([this] { m_quietSelection = false; });
        ListPanel->ListView->clearSelection();
    }
    Buttons->EditButton->setEnabled(false);
    Buttons->DeleteButton->setEnabled(false);
    runRowDialog(dialog);
}

void TSNMPListViewPanel::DeleteRow()
{
    const int column = ListPanel->DeleteColumn;
    if (!Edits || column < 0 || column >= Edits->Request.Vars.Count() || ListPanel->ListView->selectedItems().isEmpty())
        return;
    if (!KtMessageService::Ask(window(), QStringLiteral("Are you sure to delete ?"), QStringLiteral("Delete")))
        return;
    const QPointer<KtSNMPRequest2Edits> binding = Edits;
    {
        KtWriteScope scope(binding);
        KtSNMPVarList &vars = binding->Request.Vars;
        for (int i = vars.IndexCount; i < vars.Count(); ++i)
            if (i != column)
                scope.Exclude(i);
        try {
            binding->CollectValues();
            vars.Get(column).Value = ListPanel->DeleteValue;
            binding->Write(false, false);
        } catch (const KtException &e) {
            binding->ShowStatus(e.message());
        }
    }
    // Read back in the binding's own mode, so a long table does not block.
    if (binding)
        RefreshList();
}
