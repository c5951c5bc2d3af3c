#include "dialogs/dedicated/TACLMeterForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TACLMeterFormRules.h"
#include "dialogs/generic/TListViewPanel.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPRequest.h"
#include "values/widgets/KtMessageService.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace TACLMeterFormRules;

TACLMeterForm::TACLMeterForm(QWidget *owner, const QString &caption)
    : KtDedicatedDialog(owner), ProfileIDEdit(new QLineEdit(this)), AccessIDEdit(new QLineEdit(this)),
      RateEdit(new QLineEdit(this)), CBox_Active(new QComboBox(this)), GetButton(new QPushButton(tr("&Refresh"), this)),
      EditButton(new QPushButton(tr("&Set"), this)), StatusBar(new QStatusBar(this))
{
    setWindowTitle(caption);
    AdoptEdits(MeterList(), false);

    ListPanel = KtListPanel(this, Edits);
    ListView1 = ListPanel->ListView;
    QFormLayout *fields = KtFormRows(this, {{ProfileIDEdit, "ProfileIDEdit", "ACL Meter &Profile ID"},
                                            {AccessIDEdit, "AccessIDEdit", "ACL Meter &Access ID"},
                                            {RateEdit, "RateEdit", "&Meter Rate"},
                                            {CBox_Active, "CBox_Active", "Meter A&ction For Rate Exceed"}});
    auto *notes = new QLabel(QStringLiteral("Note: \"Meter Rate = 0\" means \"to disable ACL Meter\".\n"
                                            " User must set the \" Meter Rate\" and \" Meter Active For Rate "
                                            "Exceed\" to active this entry."),
                             this);
    notes->setWordWrap(true);
    GetButton->setObjectName(QStringLiteral("GetButton"));
    EditButton->setObjectName(QStringLiteral("EditButton"));

    Edits->BindEdits(ProfileColumn, QStringLiteral("%i{n1x255l3a}"), {ProfileIDEdit});
    Edits->BindEdits(AccessColumn, QStringLiteral("%i{n1x65535l5a}"), {AccessIDEdit});
    Edits->BindEdits(RateColumn, QStringLiteral("%i{n0x999936l6a}"), {RateEdit});
    Edits->BindControl(ActionColumn, CBox_Active);
    Edits->SetStatusBar(StatusBar);

    for (QPushButton *b : {GetButton, EditButton})
        b->setAutoDefault(false);

    QVBoxLayout *body = KtBodyOverStatusBar(this, StatusBar, 1);
    body->addWidget(ListPanel, 1);
    body->addLayout(fields);
    body->addWidget(notes);
    body->addLayout(KtButtonRow({GetButton, EditButton}));
    resize(620, 460);
    emptyFields();

    connect(GetButton, &QPushButton::clicked, this, [this] { Guard([this] { RefreshClicked(); }); });
    connect(EditButton, &QPushButton::clicked, this, [this] { Guard([this] { SetClicked(); }); });
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, [this] { Guard([this] { rowClicked(); }); });
    SetRefresh([this] { RefreshClicked(); });
    SetTabOrder({ListView1, ProfileIDEdit, AccessIDEdit, RateEdit, CBox_Active, GetButton, EditButton});
}

void TACLMeterForm::emptyFields()
{
    for (QLineEdit *e : {ProfileIDEdit, AccessIDEdit, RateEdit})
        e->clear();
    CBox_Active->setCurrentIndex(-1);
    EditButton->setEnabled(false);
    ProfileIDEdit->setEnabled(true);
    AccessIDEdit->setEnabled(true);
}

void TACLMeterForm::FirstShown()
{
    RefreshClicked();
}

// The binding has put the selected row into the fields already.
void TACLMeterForm::rowClicked()
{
    if (ListView1->selectedItems().isEmpty()) {
        emptyFields();
        return;
    }
    EditButton->setEnabled(true);
    ProfileIDEdit->setEnabled(false);
    AccessIDEdit->setEnabled(false);
}

void TACLMeterForm::RefreshClicked()
{
    StartRead(*Edits);
    emptyFields();
}

void TACLMeterForm::SetClicked()
{
    const bool selected = !ListView1->selectedItems().isEmpty();
    const auto refusal =
        CheckSet(selected, RateEdit->text(), CBox_Active->currentIndex() >= 0 ? CBox_Active->currentText() : QString());
    if (refusal) {
        KtMessageService::Inform(this, refusal->Message);
        if (refusal->Focus == Field::Rate)
            RateEdit->setFocus();
        else if (refusal->Focus == Field::Action)
            CBox_Active->setFocus();
        return;
    }
    RateEdit->setText(QString::number(*KtDedicatedRules::ParseNumber(RateEdit->text(), 0, MaxRate)));
    // The IDs are those of the selected row, so a set only changes a listed meter.
    Edits->TakeSelectedRow();
    Edits->ShowValues(ProfileColumn);
    Edits->ShowValues(AccessColumn);
    StartWrite(*Edits, false, true, [this](const KtSNMPError &result) {
        // A failed set's message stays; a successful one is followed by the new values.
        if (result.Code == 0)
            RefreshClicked();
    });
}
