#include "dialogs/dedicated/TIpCtrlForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TIPCtrlEdtForm.h"
#include "dialogs/generic/KtBindingWait.h"
#include "dialogs/generic/TListViewPanel.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace TIpCtrlFormRules;

TIpCtrlForm::TIpCtrlForm(QWidget *owner, const QString &host, const QString &captionPrefix)
    : KtDedicatedDialog(owner), stbResult(new QStatusBar(this)), btnRefresh(new QPushButton(tr("&Refresh"), this)),
      btnAdd(new QPushButton(tr("&Add"), this)), btnEdit(new QPushButton(tr("&Edit"), this)),
      btnDel(new QPushButton(tr("&Delete"), this)), btnStop(new QPushButton(tr("&Stop"), this)),
      btnClose(new QPushButton(tr("&Close"), this)), EditForm(new TIPCtrlEdtForm(this)), m_host(host)
{
    setWindowTitle(captionPrefix + host);
    AdoptEdits(InterfaceList());

    ListPanel = KtListPanel(this, Edits);
    ListView1 = ListPanel->ListView;
    stbResult->setObjectName(QStringLiteral("stbResult"));
    const struct
    {
        QPushButton *button;
        const char *name;
    } buttons[] = {{btnRefresh, "btnRefresh"}, {btnAdd, "btnAdd"},   {btnEdit, "btnEdit"},
                   {btnDel, "btnDel"},         {btnStop, "btnStop"}, {btnClose, "btnClose"}};
    auto *row = new QHBoxLayout;
    for (const auto &b : buttons) {
        b.button->setObjectName(QString::fromLatin1(b.name));
        b.button->setAutoDefault(false);
        if (b.button == btnClose)
            row->addStretch();
        row->addWidget(b.button);
    }
    btnEdit->setEnabled(false);
    btnDel->setEnabled(false);
    btnStop->setEnabled(false);

    Edits->BindEdits(AddressColumn, QStringLiteral("%s{l16}"), {EditForm->edtIPAddr});
    Edits->BindEdits(IfIndexColumn, QStringLiteral("%i{n0x65535l5}"), {EditForm->edtIndex});
    Edits->BindEdits(NameColumn, QStringLiteral("%s{l12}"), {EditForm->edtInterface});
    Edits->BindEdits(MaskColumn, QStringLiteral("%s{l16}"), {EditForm->edtMask});
    Edits->BindEdits(VlanColumn, QStringLiteral("%s{l32}"), {EditForm->edtVlan});
    Edits->BindControl(ModeColumn, EditForm->cbxMode);
    Edits->BindControl(SecondaryColumn, EditForm->cbxSecondary);
    Edits->BindControl(AdminColumn, EditForm->cbxState);
    Edits->BindControl(OperColumn, EditForm->cbxOper);
    Edits->BindControl(ArpColumn, EditForm->cbxARP);
    Edits->SetConstraintOwner(EditForm);
    Edits->SetStatusBar(stbResult);

    QVBoxLayout *body = KtBodyOverStatusBar(this, stbResult, 1);
    body->addWidget(ListPanel, 1);
    body->addLayout(row);
    resize(800, 380);

    connect(btnRefresh, &QPushButton::clicked, this, [this] { Guard([this] { RefreshClicked(); }); });
    connect(btnStop, &QPushButton::clicked, this, [this] { Guard([this] { StopClicked(); }); });
    connect(btnAdd, &QPushButton::clicked, this, [this] { Guard([this] { AddClicked(); }); });
    connect(btnEdit, &QPushButton::clicked, this, [this] { Guard([this] { EditClicked(); }); });
    connect(btnDel, &QPushButton::clicked, this, [this] { Guard([this] { DeleteClicked(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(EditForm->btnSet, &QPushButton::clicked, this, [this] { Guard([this] { SetClicked(); }); });
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, [this] { selectionChanged(); });
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] { Guard([this] { EditClicked(); }); });
    connect(ListPanel, &TListViewPanel::EditRequested, this, [this] { Guard([this] { EditClicked(); }); });
    connect(ListPanel, &TListViewPanel::DeleteRequested, this, [this] {
        if (btnDel->isEnabled())
            Guard([this] { DeleteClicked(); });
    });
    SetRefresh([this] { RefreshClicked(); });
    SetTabOrder({ListView1, btnRefresh, btnAdd, btnEdit, btnDel, btnStop, btnClose});
}

void TIpCtrlForm::FirstShown()
{
    read();
}

void TIpCtrlForm::read()
{
    forgetSelection();
    btnRefresh->setEnabled(false);
    btnStop->setEnabled(true);
    StartRead(*Edits);
    if (!Edits->Busy)
        readEnded();
}

void TIpCtrlForm::readEnded()
{
    btnRefresh->setEnabled(true);
    btnStop->setEnabled(false);
}

void TIpCtrlForm::ReadDone(KtSNMPRequest2Controls *, const KtSNMPError &)
{
    readEnded();
}

void TIpCtrlForm::selectionChanged()
{
    const QList<QTreeWidgetItem *> selected = ListView1->selectedItems();
    const bool one = !selected.isEmpty();
    btnEdit->setEnabled(one);
    btnAdd->setEnabled(!one);
    btnDel->setEnabled(one && rowOf(selected.first()).Name != SystemInterface);
}

void TIpCtrlForm::forgetSelection()
{
    ListView1->clearSelection();
    selectionChanged();
}

TIpCtrlFormRules::Row TIpCtrlForm::rowOf(const QTreeWidgetItem *item) const
{
    const auto text = [&](int column) { return item->text(Edits->ColumnOf(column)); };
    return {text(AddressColumn), text(IfIndexColumn), text(NameColumn),
            text(MaskColumn),    text(VlanColumn),    text(SecondaryColumn)};
}

QList<TIpCtrlFormRules::Row> TIpCtrlForm::ListedRows() const
{
    QList<Row> rows;
    for (int r = 0; r < ListView1->topLevelItemCount(); ++r)
        rows.append(rowOf(ListView1->topLevelItem(r)));
    return rows;
}

TIpCtrlFormRules::Entry TIpCtrlForm::entry() const
{
    const auto choice = [](const QComboBox *c) { return c->currentIndex() >= 0 ? c->currentText() : QString(); };
    const TIPCtrlEdtForm *f = EditForm;
    return {f->edtIPAddr->text(),   f->edtIndex->text(),       f->edtInterface->text(),
            f->edtMask->text(),     f->edtVlan->text(),        choice(f->cbxMode),
            choice(f->cbxSecondary), choice(f->cbxState),      choice(f->cbxOper)};
}

void TIpCtrlForm::RefreshClicked()
{
    if (KtBindingWait::Running(*Edits) || !ReadyFor(*Edits))
        return;
    read();
}

void TIpCtrlForm::StopClicked()
{
    StopRead(*Edits);
    readEnded();
}

void TIpCtrlForm::AddClicked()
{
    // Address, index and name are compared with every row: the list must be whole.
    if (!ReadyToCompare(*Edits))
        return;
    EditForm->Mode = AddMode;
    EditForm->setWindowTitle(QStringLiteral("IP Control Table(Add): ") + m_host);
    EditForm->exec();
}

void TIpCtrlForm::EditClicked()
{
    if (!ReadyFor(*Edits) || ListView1->selectedItems().isEmpty())
        return;
    Edits->TakeSelectedRow();
    Edits->ShowValues();
    EditForm->Mode = EditMode;
    EditForm->setWindowTitle(QStringLiteral("IP Control Table(Edit): ") + m_host);
    EditForm->exec();
    forgetSelection();
}

void TIpCtrlForm::SetClicked()
{
    if (WritePending(*Edits))
        return;
    if (EditForm->Mode == AddMode)
        addSet();
    else
        editSet();
}

namespace {

QWidget *fieldOf(TIPCtrlEdtForm *f, Field field)
{
    switch (field) {
    case Field::Address: return f->edtIPAddr;
    case Field::IfIndex: return f->edtIndex;
    case Field::Name: return f->edtInterface;
    case Field::Mask: return f->edtMask;
    case Field::Vlan: return f->edtVlan;
    case Field::Mode: return f->cbxMode;
    case Field::Secondary: return f->cbxSecondary;
    case Field::State: return f->cbxState;
    case Field::Oper: return f->cbxOper;
    }
    return nullptr;
}

void refuse(TIPCtrlEdtForm *f, const Refusal &refusal)
{
    KtMessageService::Inform(f, refusal.Message);
    if (QWidget *w = fieldOf(f, refusal.Focus); w && w->isEnabled())
        w->setFocus();
}

} // namespace

void TIpCtrlForm::addSet()
{
    if (!ReadyToCompare(*Edits))
        return;
    QString address;
    if (const auto refusal = CheckAdd(entry(), ListedRows(), &address)) {
        refuse(EditForm, *refusal);
        return;
    }
    EditForm->edtIPAddr->setText(address);
    EditForm->cbxState->setCurrentIndex(EditForm->cbxState->findText(FixedState(AddMode)));
    StartSubFormWrite(EditForm, EditForm->btnSet, true);
}

void TIpCtrlForm::editSet()
{
    if (!ReadyFor(*Edits))
        return;
    if (const auto refusal = CheckChoices(entry())) {
        refuse(EditForm, *refusal);
        return;
    }
    // Only state, mode and proxy ARP go out; the set is built before the bits come back.
    KtAccessOverride keep(Edits->Request.Vars, KeptByEdit(), KtAccess::Invalid);
    StartSubFormWrite(EditForm, EditForm->btnSet, false, [this] { read(); });
}

void TIpCtrlForm::DeleteClicked()
{
    // The secondary of a primary is looked for in the whole list.
    if (!ReadyToCompare(*Edits))
        return;
    const QList<QTreeWidgetItem *> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return;
    if (const auto refusal = CheckDelete(rowOf(selected.first()), ListedRows())) {
        KtMessageService::Inform(this, *refusal);
        return;
    }
    Edits->TakeSelectedRow();
    Edits->Request.Vars.Get(AdminColumn).Value = QStringLiteral("destroy");
    btnDel->setEnabled(false);
    KtAccessOverride leaveOut(Edits->Request.Vars, LeftOutOfDelete(), KtAccess::Invalid);
    StartWrite(*Edits, false, false, [this](const KtSNMPError &result) {
        if (result.Code == 0)
            read();
    });
}
