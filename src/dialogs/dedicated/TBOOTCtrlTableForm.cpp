#include "dialogs/dedicated/TBOOTCtrlTableForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TBOOTCtrlTableFormRules.h"
#include "dialogs/dedicated/TNewBootpCtrlForm.h"
#include "dialogs/generic/TListViewPanel.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace TBOOTCtrlTableFormRules;

TBOOTCtrlTableForm::TBOOTCtrlTableForm(QWidget *owner, const QString &caption)
    : KtDedicatedDialog(owner), Memo1(KtStatusMemo(this, 4)), ComboBox1(new QComboBox(this)),
      RefreshBtn(new QPushButton(tr("&Refresh"), this)), AddBtn(new QPushButton(tr("&Add"), this)),
      DeleteBtn(new QPushButton(tr("&Delete"), this)), CloseBtn(new QPushButton(tr("&Close"), this)),
      AddForm(new TNewBootpCtrlForm(this))
{
    setWindowTitle(caption);
    AdoptEdits(RelayList());

    ListPanel = KtListPanel(this, Edits);
    ListView1 = ListPanel->ListView;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->hide();
    RefreshBtn->setObjectName(QStringLiteral("RefreshBtn"));
    AddBtn->setObjectName(QStringLiteral("AddBtn"));
    DeleteBtn->setObjectName(QStringLiteral("DeleteBtn"));
    CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
    for (QPushButton *b : {RefreshBtn, AddBtn, DeleteBtn, CloseBtn})
        b->setAutoDefault(false);

    Edits->BindEdits(InterfaceColumn, QStringLiteral("%s"), {AddForm->Edit1});
    Edits->BindEdits(ServerColumn, QStringLiteral("%s"), {AddForm->Edit2});
    Edits->BindControl(StateColumn, ComboBox1);
    Edits->SetConstraintOwner(AddForm);
    Edits->SetStatusTarget(Memo1);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {RefreshBtn, AddBtn, DeleteBtn})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(CloseBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ListPanel, 1);
    layout->addLayout(buttons);
    layout->addWidget(Memo1);
    resize(420, 360);

    connect(RefreshBtn, &QPushButton::clicked, this, [this] { Guard([this] { RefreshClicked(); }); });
    connect(AddBtn, &QPushButton::clicked, this, [this] { Guard([this] { AddClicked(); }); });
    connect(DeleteBtn, &QPushButton::clicked, this, [this] { Guard([this] { DeleteClicked(); }); });
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(AddForm->DeleteBtn, &QPushButton::clicked, this, [this] { Guard([this] { SetClicked(); }); });
    connect(ListPanel, &TListViewPanel::DeleteRequested, this, [this] { Guard([this] { DeleteClicked(); }); });
    SetRefresh([this] { RefreshClicked(); });
    SetTabOrder({ListView1, RefreshBtn, AddBtn, DeleteBtn, CloseBtn, Memo1});
}

QStringList TBOOTCtrlTableForm::ListedInterfaces() const
{
    return KtColumnTexts(ListView1, Edits->ColumnOf(InterfaceColumn));
}

void TBOOTCtrlTableForm::RefreshClicked()
{
    if (ReadyFor(*Edits))
        StartRead(*Edits);
}

void TBOOTCtrlTableForm::AddClicked()
{
    // The servers of an interface are counted over the whole list.
    if (!ReadyToCompare(*Edits))
        return;
    AddForm->setWindowTitle(windowTitle() + QStringLiteral(" (Add)"));
    AddForm->exec();
}

void TBOOTCtrlTableForm::SetClicked()
{
    if (WritePending(*Edits) || !ReadyToCompare(*Edits))
        return;
    QString server;
    const auto refusal = CheckAdd(AddForm->Edit1->text(), AddForm->Edit2->text(), ListedInterfaces(), &server);
    if (refusal) {
        if (refusal->Warning)
            KtMessageService::Warn(AddForm, refusal->Message);
        else
            KtMessageService::Inform(AddForm, refusal->Message);
        (refusal->Focus == Field::Server ? AddForm->Edit2 : AddForm->Edit1)->setFocus();
        return;
    }
    AddForm->Edit2->setText(server);
    ComboBox1->setCurrentIndex(ComboBox1->findText(QStringLiteral("valid")));
    StartSubFormWrite(AddForm, AddForm->DeleteBtn, true, [this] {
        AddForm->Edit1->clear();
        AddForm->Edit2->clear();
    });
}

void TBOOTCtrlTableForm::DeleteClicked()
{
    if (!ReadyFor(*Edits))
        return;
    if (ListView1->selectedItems().isEmpty()) {
        KtMessageService::Inform(this, QStringLiteral("Choose the item first."));
        return;
    }
    // The selected pair goes, whatever the add form holds.
    Edits->TakeSelectedRow();
    Edits->Request.Vars.Get(StateColumn).Value = QStringLiteral("invalid");
    StartWrite(*Edits, true, false, {});
}
