#include "dialogs/dedicated/TMd5InformationForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TMd5EditForm.h"
#include "dialogs/dedicated/TMd5InformationFormRules.h"
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

using namespace TMd5InformationFormRules;

TMd5InformationForm::TMd5InformationForm(QWidget *owner, const QString &caption)
    : KtDedicatedDialog(owner), Memo1(KtStatusMemo(this, 4)), GetButton(new QPushButton(tr("&Refresh"), this)),
      EditButton(new QPushButton(tr("&Edit"), this)), AddButton(new QPushButton(tr("&Add"), this)),
      DeleteButton(new QPushButton(tr("&Delete"), this)), EditForm(new TMd5EditForm(this))
{
    setWindowTitle(caption);
    AdoptEdits(KeyList());

    ListPanel = KtListPanel(this, Edits);
    ListView1 = ListPanel->ListView;
    GetButton->setObjectName(QStringLiteral("GetButton"));
    EditButton->setObjectName(QStringLiteral("EditButton"));
    AddButton->setObjectName(QStringLiteral("AddButton"));
    DeleteButton->setObjectName(QStringLiteral("DeleteButton"));
    EditButton->setEnabled(false);
    for (QPushButton *b : {GetButton, EditButton, AddButton, DeleteButton})
        b->setAutoDefault(false);

    Edits->BindEdits(KeyIdColumn, QStringLiteral("%i{n1x255}"), {EditForm->KeyIDEdit});
    Edits->BindEdits(KeyColumn, QStringLiteral("%s{l16}"), {EditForm->KeyEdit});
    Edits->BindControl(StatusColumn, EditForm->ComboBox1);
    Edits->SetConstraintOwner(EditForm);
    Edits->SetStatusTarget(Memo1);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {GetButton, EditButton, AddButton, DeleteButton})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ListPanel, 1);
    layout->addLayout(buttons);
    layout->addWidget(Memo1);
    resize(460, 380);

    connect(GetButton, &QPushButton::clicked, this, [this] { Guard([this] { RefreshClicked(); }); });
    connect(EditButton, &QPushButton::clicked, this, [this] { Guard([this] { EditClicked(); }); });
    connect(AddButton, &QPushButton::clicked, this, [this] { Guard([this] { AddClicked(); }); });
    connect(DeleteButton, &QPushButton::clicked, this, [this] { Guard([this] { DeleteClicked(); }); });
    connect(EditForm->SetButton, &QPushButton::clicked, this, [this] { Guard([this] { SetClicked(); }); });
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, [this] { selectionChanged(); });
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] { Guard([this] { EditClicked(); }); });
    connect(ListPanel, &TListViewPanel::EditRequested, this, [this] { Guard([this] { EditClicked(); }); });
    connect(ListPanel, &TListViewPanel::DeleteRequested, this, [this] { Guard([this] { DeleteClicked(); }); });
    SetRefresh([this] { RefreshClicked(); });
    SetTabOrder({ListView1, GetButton, EditButton, AddButton, DeleteButton, Memo1});
}

void TMd5InformationForm::selectionChanged()
{
    EditButton->setEnabled(!ListView1->selectedItems().isEmpty());
}

// After every operation the operator picks the row again.
void TMd5InformationForm::forgetSelection()
{
    ListView1->clearSelection();
    EditButton->setEnabled(false);
}

QStringList TMd5InformationForm::ListedIds() const
{
    return KtColumnTexts(ListView1, Edits->ColumnOf(KeyIdColumn));
}

void TMd5InformationForm::RefreshClicked()
{
    forgetSelection();
    if (ReadyFor(*Edits))
        StartRead(*Edits);
}

void TMd5InformationForm::EditClicked()
{
    if (!ReadyFor(*Edits) || ListView1->selectedItems().isEmpty())
        return;
    // The form shows the selected row whatever it showed before.
    Edits->TakeSelectedRow();
    Edits->ShowValues();
    EditForm->Mode = ChangeMode;
    EditForm->setWindowTitle(windowTitle());
    EditForm->exec();
    forgetSelection();
}

void TMd5InformationForm::AddClicked()
{
    // The new ID is compared with every row, so the list must be whole.
    if (!ReadyToCompare(*Edits))
        return;
    EditForm->Mode = AddMode;
    EditForm->setWindowTitle(windowTitle() + QStringLiteral("(Add)"));
    EditForm->exec();
    forgetSelection();
}

void TMd5InformationForm::SetClicked()
{
    if (WritePending(*Edits))
        return;
    const int mode = EditForm->Mode;
    if (mode == AddMode ? !ReadyToCompare(*Edits) : !ReadyFor(*Edits))
        return;
    const auto refusal = CheckSet(mode, EditForm->KeyIDEdit->text(), EditForm->KeyEdit->text(),
                                  EditForm->ComboBox1->currentText(), ListedIds());
    if (refusal) {
        KtMessageService::Inform(EditForm, refusal->Message);
        QWidget *field = refusal->Focus == Field::KeyId ? static_cast<QWidget *>(EditForm->KeyIDEdit)
            : refusal->Focus == Field::Key              ? static_cast<QWidget *>(EditForm->KeyEdit)
                                                        : static_cast<QWidget *>(EditForm->ComboBox1);
        if (field->isEnabled())
            field->setFocus();
        return;
    }
    if (mode == AddMode)
        EditForm->KeyIDEdit->setText(QString::number(*KtDedicatedRules::ParseNumber(EditForm->KeyIDEdit->text(), 1, 255)));
    StartSubFormWrite(EditForm, EditForm->SetButton, true);
}

void TMd5InformationForm::DeleteClicked()
{
    if (!ReadyFor(*Edits))
        return;
    if (ListView1->selectedItems().isEmpty()) {
        KtMessageService::Inform(this, QStringLiteral("Choose the item first."));
        if (DeleteButton->isEnabled())
            DeleteButton->setFocus();
        return;
    }
    // The selected row is destroyed, whatever the edit form holds; only
    // its index and status go out.
    Edits->TakeSelectedRow();
    KtSNMPVarList &vars = Edits->Request.Vars;
    vars.Get(StatusColumn).Value = QStringLiteral("destroy");
    {
        KtAccessOverride leaveOut(vars, {KeyColumn}, KtAccess::Invalid);
        StartWrite(*Edits, true, false, {});
    }
    forgetSelection();
}
