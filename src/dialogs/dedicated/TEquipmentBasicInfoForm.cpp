#include "dialogs/dedicated/TEquipmentBasicInfoForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TEquipmentBasicInfoFormRules.h"
#include "snmp/KtSNMPRequest.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace TEquipmentBasicInfoFormRules;

TEquipmentBasicInfoForm::TEquipmentBasicInfoForm(QWidget *owner, const QString &caption)
    : KtDedicatedDialog(owner), Edit1(new QLineEdit(this)), Edit4(new QLineEdit(this)), Edit2(new QLineEdit(this)),
      Edit3(new QLineEdit(this)), Memo1(KtStatusMemo(this, 3)), BitBtn1(new QPushButton(tr("&Refresh"), this))
{
    setWindowTitle(caption);
    AdoptEdits(EquipmentList());

    QFormLayout *fields = KtFormRows(this, {{Edit1, "Edit1", "Equipment &Capacity"},
                                            {Edit4, "Edit4", "&Stacking Version"},
                                            {Edit2, "Edit2", "&Max Supported Units"},
                                            {Edit3, "Edit3", "&Number Of Unit"}});
    const std::pair<QLineEdit *, int> columns[] = {
        {Edit1, CapacityColumn}, {Edit4, StackingVersionColumn}, {Edit2, MaxUnitsColumn}, {Edit3, UnitsColumn}};
    for (const auto &[edit, column] : columns) {
        edit->setReadOnly(true);
        edit->setMinimumWidth(150);
        Edits->BindEdits(column, QLatin1String(column == CapacityColumn ? "%s" : "%i"), {edit});
    }
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    Edits->SetStatusTarget(Memo1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(KtButtonRow({BitBtn1}));
    layout->addWidget(Memo1);
    resize(420, 240);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { Guard([this] { RefreshClicked(); }); });
    SetRefresh([this] { RefreshClicked(); });
    SetTabOrder({Edit1, Edit4, Edit2, Edit3, BitBtn1, Memo1});
}

void TEquipmentBasicInfoForm::RefreshClicked()
{
    if (ReadyFor(*Edits))
        StartRead(*Edits);
}
