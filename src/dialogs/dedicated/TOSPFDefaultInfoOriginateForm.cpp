#include "dialogs/dedicated/TOSPFDefaultInfoOriginateForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtBindingGate.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TOSPFDefaultInfoOriginateFormRules.h"
#include "dialogs/registry/KtMainWindowServices.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace TOSPFDefaultInfoOriginateFormRules;

TOSPFDefaultInfoOriginateForm::TOSPFDefaultInfoOriginateForm(KtMainWindowServices *main,
                                                             const QString &captionPrefix, QWidget *parent)
    : QDialog(parent)
{
    const QString prefix = captionPrefix.isEmpty() ? QStringLiteral("OSPF Default Information Originate: ")
                                                   : captionPrefix;
    setWindowTitle(prefix + (main ? main->HostText() : QString()));
    auto *outer = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    outer->addLayout(grid);
    CBoxState = new QComboBox(this);
    CBoxAlways = new QComboBox(this);
    CBoxMettype = new QComboBox(this);
    MetricEdit = new QLineEdit(this);
    const QList<QPair<const char *, QWidget *>> rows{
        {"S&tate", CBoxState}, {"&Always", CBoxAlways}, {"Met&type", CBoxMettype}, {"&Metric", MetricEdit}};
    for (int r = 0; r < rows.size(); ++r) {
        auto *box = new QCheckBox(this);
        box->setAccessibleName(QStringLiteral("Set %1").arg(QString::fromLatin1(rows.at(r).first).remove('&')));
        CheckBoxes.append(box);
        auto *label = new QLabel(QString::fromLatin1(rows.at(r).first), this);
        label->setBuddy(rows.at(r).second);
        rows.at(r).second->setMinimumWidth(160);
        grid->addWidget(box, r, 0);
        grid->addWidget(label, r, 1);
        grid->addWidget(rows.at(r).second, r, 2);
    }
    GetButton = new QPushButton(tr("&Refresh"), this);
    SetButton = new QPushButton(tr("&Set"), this);
    CloseButton = new QPushButton(tr("&Close"), this);
    outer->addLayout(KtButtonRow({GetButton, SetButton, CloseButton}));
    StatusBar = new QStatusBar(this);
    StatusBar->setSizeGripEnabled(false);
    outer->addWidget(StatusBar);

    Binding = std::make_unique<KtSNMPRequest2Edits>(this);
    Binding->Request.Vars = List();
    Binding->SetStatusBar(StatusBar);
    try {
        Binding->BindControl(State, CBoxState);
        Binding->BindControl(Always, CBoxAlways);
        Binding->BindControl(Mettype, CBoxMettype);
        Binding->BindEdits(Metric, QString::fromLatin1(MetricFormat), {MetricEdit});
    } catch (const KtException &e) {
        StatusBar->showMessage(e.message());
    }
    Binding->OnReadDone = [this](KtSNMPRequest2Controls *, const KtSNMPError &) { CBoxStateChange(); };
    // The fresh values follow a set only once the set has been answered,
    // and only a successful one: a failure stays in the status bar.
    Binding->OnWriteDone = [this](KtSNMPRequest2Controls *, const KtSNMPError &result) {
        if (result.Code == 0)
            GetButtonClick();
    };

    connect(GetButton, &QPushButton::clicked, this, &TOSPFDefaultInfoOriginateForm::GetButtonClick);
    connect(SetButton, &QPushButton::clicked, this, &TOSPFDefaultInfoOriginateForm::SetButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(CBoxState, &QComboBox::currentIndexChanged, this, &TOSPFDefaultInfoOriginateForm::CBoxStateChange);
    KtRefreshKey(this, GetButton);
    GetButtonClick();
}

TOSPFDefaultInfoOriginateForm::~TOSPFDefaultInfoOriginateForm() = default;

void TOSPFDefaultInfoOriginateForm::CBoxStateChange()
{
    const bool on = DependentsEnabled(CBoxState->currentIndex(), CBoxState->currentText());
    for (QWidget *w : QList<QWidget *>{CheckBoxes.at(Always), CheckBoxes.at(Mettype), CheckBoxes.at(Metric),
                                       CBoxAlways, CBoxMettype, MetricEdit})
        w->setEnabled(on);
    if (!on)
        for (int i : {Always, Mettype, Metric})
            CheckBoxes.at(i)->setChecked(false);  // a greyed field is not sent
}

void TOSPFDefaultInfoOriginateForm::GetButtonClick()
{
    if (KtBindingGate::RefuseWhileBusy(this, Binding.get()))
        return;
    for (QCheckBox *box : CheckBoxes)
        box->setChecked(false);
    KtBindingGate::Read(*Binding);
}

void TOSPFDefaultInfoOriginateForm::SetButtonClick()
{
    if (KtBindingGate::RefuseWhileBusy(this, Binding.get()))
        return;
    QList<bool> ticked;
    for (QCheckBox *box : CheckBoxes)
        ticked.append(box->isChecked());
    if (const QString refusal = Check(ticked, MetricEdit->text()); !refusal.isEmpty()) {
        KtMessageService::Inform(this, refusal);
        if (ticked.value(Metric) && MetricEdit->isEnabled())
            MetricEdit->setFocus();
        return;
    }
    // The set is built before Write returns; the bits come back on every path.
    KtAccessOverride leftOut(Binding->Request.Vars, LeftOut(ticked), KtAccess::Invalid);
    KtBindingGate::Write(*Binding, false, true);
}

void TOSPFDefaultInfoOriginateForm::done(int result)
{
    KtBindingGate::Close({Binding.get()});
    QDialog::done(result);
}
