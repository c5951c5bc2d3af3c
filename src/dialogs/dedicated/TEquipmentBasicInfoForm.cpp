#include "dialogs/dedicated/TEquipmentBasicInfoForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
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
      Edit3(new QLineEdit(this)), Memo1(new QPlainTextEdit(this)), BitBtn1(new QPushButton(tr("&Refresh"), this))
{
    setWindowTitle(caption);
    auto binding = std::make_unique<KtSNMPRequest2Edits>(this);
    binding->Request.Vars = EquipmentList();
    Edits = Adopt(std::move(binding));

    const struct
    {
        QLineEdit *edit;
        const char *name;
        const char *label;
        int column;
        const char *format;
    } rows[] = {{Edit1, "Edit1", "Equipment &Capacity", CapacityColumn, "%s"},
                {Edit4, "Edit4", "&Stacking Version", StackingVersionColumn, "%i"},
                {Edit2, "Edit2", "&Max Supported Units", MaxUnitsColumn, "%i"},
                {Edit3, "Edit3", "&Number Of Unit", UnitsColumn, "%i"}};
    auto *fields = new QFormLayout;
    for (const auto &row : rows) {
        row.edit->setObjectName(QString::fromLatin1(row.name));
        row.edit->setReadOnly(true);
        row.edit->setMinimumWidth(150);
        auto *label = new QLabel(tr(row.label), this);
        label->setBuddy(row.edit);
        fields->addRow(label, row.edit);
        Edits->BindEdits(row.column, QString::fromLatin1(row.format), {row.edit});
    }
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setMaximumBlockCount(500);
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 3 + 10);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    Edits->SetStatusTarget(Memo1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(Memo1);
    resize(420, 240);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { Guard([this] { RefreshClicked(); }); });
    SetRefresh([this] { RefreshClicked(); });
    SetTabOrder({Edit1, Edit4, Edit2, Edit3, BitBtn1, Memo1});
}

void TEquipmentBasicInfoForm::FirstShown()
{
    StartRead(*Edits);
}

void TEquipmentBasicInfoForm::RefreshClicked()
{
    if (ReadyFor(*Edits))
        StartRead(*Edits);
}
