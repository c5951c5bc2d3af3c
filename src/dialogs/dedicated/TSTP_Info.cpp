#include "dialogs/dedicated/TSTP_Info.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TSTP_InfoRules.h"
#include "dialogs/registry/KtMainWindowServices.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace TSTP_InfoRules;

TSTP_Info::TSTP_Info(KtMainWindowServices *main, QWidget *parent) : QDialog(parent), m_main(main)
{
    auto *outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);  // a fixed border
    auto *grid = new QGridLayout;
    outer->addLayout(grid);

    Combo_STPVersion = new QComboBox(this);
    ET_AgingTime = new QLineEdit(this);
    ET_HelloTime = new QLineEdit(this);
    ET_ForwardDelay = new QLineEdit(this);
    ET_Priority = new QLineEdit(this);
    ED_TxHoldCount = new QLineEdit(this);
    Combo_BPDU = new QComboBox(this);
    const QList<QPair<const char *, QWidget *>> rows{
        {"STP Version", Combo_STPVersion},        {"Maxi Age (600-4000)", ET_AgingTime},
        {"Hello Time(100-1000)", ET_HelloTime},   {"Forward Delay(400-3000)", ET_ForwardDelay},
        {"Max Hops[1-20]", ET_Priority},          {"TX Hold Count (1-10)", ED_TxHoldCount},
        {"Forwarding BPDU", Combo_BPDU}};
    KtGridRows(grid, this, rows, 120);
    auto *buttons = new QVBoxLayout;
    BT_Get = new QPushButton(tr("&Refresh"), this);
    BT_Set = new QPushButton(tr("&Set"), this);
    buttons->addWidget(BT_Get);
    buttons->addWidget(BT_Set);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, int(rows.size()), 1);
    grid->setColumnMinimumWidth(2, 90);
    outer->addWidget(new QLabel(QStringLiteral("Max Age>= 2*(Hello Time + 100)"), this));
    outer->addWidget(new QLabel(QStringLiteral("Notes : 2*(Forward Delay - 100) >= Max Age"), this));

    ListView1 = new QTreeWidget(this);
    ListView1->hide();
    auto *bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    StatusPanel = new QLabel(bar);
    StatusPanel->setMinimumWidth(360);
    bar->addWidget(StatusPanel, 1);
    outer->addWidget(bar);

    connect(BT_Get, &QPushButton::clicked, this, &TSTP_Info::BT_GetClick);
    connect(BT_Set, &QPushButton::clicked, this, &TSTP_Info::BT_SetClick);
    connect(Combo_STPVersion, &QComboBox::activated, this, &TSTP_Info::Combo_STPVersionChange);
    KtRefreshKey(this, BT_Get);
    FormCreate();
}

TSTP_Info::~TSTP_Info() = default;

void TSTP_Info::showStatus(const QString &text)
{
    StatusPanel->setText(text);
}

void TSTP_Info::read(KtSNMPRequest2Edits &binding)
{
    try {
        binding.Read();
    } catch (const KtException &e) {
        showStatus(e.message());
    }
}

void TSTP_Info::FormCreate()
{
    setWindowTitle(QStringLiteral("Spanning Tree Control : ") + (m_main ? m_main->HostText() : QString()));
    const auto make = [this](KtSNMPVarList vars) {
        auto binding = std::make_unique<KtSNMPRequest2Edits>(this);
        binding->Request.Vars = std::move(vars);
        binding->Request.Timeout = RequestTimeout;
        binding->Asynchronous = false;
        binding->SetStatusPanel(StatusPanel);
        return binding;
    };
    MstpBinding = make(MstpList());
    EditBinding = make(EditList());
    try {
        MstpBinding->AttachListView(ListView1, false);
        EditBinding->BindControl(Version, Combo_STPVersion);
        const QList<QPair<int, QLineEdit *>> edits{{MaxAge, ET_AgingTime},    {HelloTime, ET_HelloTime},
                                                    {ForwardDelay, ET_ForwardDelay}, {MaxHops, ET_Priority},
                                                    {TxHoldCount, ED_TxHoldCount}};
        for (const auto &[var, edit] : edits)
            EditBinding->BindEdits(var, Format(var), {edit});
        EditBinding->BindControl(ForwardBpdu, Combo_BPDU);
    } catch (const KtException &e) {
        showStatus(e.message());
    }
    read(*MstpBinding);
    read(*EditBinding);
    if (m_main && m_main->StpVersionText() == QLatin1String(Mstp))
        SetHelloTime(false);
}

void TSTP_Info::SetHelloTime(bool on)
{
    ET_HelloTime->setEnabled(on);
    QPalette p = palette();
    if (!on) {
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            p.setColor(g, QPalette::Base, p.color(g, QPalette::Window));
        ET_HelloTime->clear();
    }
    ET_HelloTime->setPalette(p);
}

void TSTP_Info::BT_GetClick()
{
    read(*EditBinding);
    const bool mstp = m_main && m_main->StpVersionText() == QLatin1String(Mstp);
    if (mstp)
        read(*MstpBinding);
    SetHelloTime(!mstp);
}

void TSTP_Info::Combo_STPVersionChange()
{
    const bool mstp = Combo_STPVersion->currentText() == QLatin1String(Mstp);
    SetHelloTime(!mstp);
    if (!mstp)
        ET_HelloTime->setText(QStringLiteral("200"));
}

void TSTP_Info::fillMstpRow()
{
    if (ListView1->topLevelItemCount() == 0)
        ListView1->addTopLevelItem(new QTreeWidgetItem);
    QTreeWidgetItem *row = ListView1->topLevelItem(0);
    const QList<QWidget *> controls{Combo_STPVersion, ET_AgingTime, ET_ForwardDelay,
                                    ET_Priority,      ED_TxHoldCount, Combo_BPDU};
    for (int i = 0; i < MstpVarCount; ++i) {
        const int column = MstpBinding->ColumnOf(i);
        QWidget *w = controls.at(i);
        const auto *combo = qobject_cast<QComboBox *>(w);
        if (column >= 0)
            row->setText(column, combo ? combo->currentText() : static_cast<QLineEdit *>(w)->text());
    }
    ListView1->setCurrentItem(row);
    row->setSelected(true);
}

void TSTP_Info::BT_SetClick()
{
    const auto chosen = [](const QComboBox *combo) {
        return combo->currentIndex() >= 0 ? combo->currentText() : QString();
    };
    const QString selected = chosen(Combo_STPVersion);
    const QString refusal = Check({selected, ET_AgingTime->text(), ET_HelloTime->text(), ET_ForwardDelay->text(),
                                   ET_Priority->text(), ED_TxHoldCount->text(), chosen(Combo_BPDU)});
    if (!refusal.isEmpty()) {
        showStatus(refusal);
        return;
    }
    const QString running = m_main ? m_main->StpVersionText() : QString();
    for (const Set &set : Plan(selected, running)) {
        KtSNMPRequest2Edits &binding = set.mstp ? *MstpBinding : *EditBinding;
        QList<int> keep;
        for (int i = 0; i < binding.Request.Vars.Count(); ++i)
            if (!set.vars.contains(i))
                keep.append(i);
        try {
            if (set.mstp)
                fillMstpRow();
            KtAccessOverride readOnly(binding.Request.Vars, keep, KtAccess::ReadOnly);
            binding.Write(true, true);
        } catch (const KtException &e) {
            // The next set is not sent; the record keeps what the device runs.
            showStatus(e.message());
            return;
        }
        if (set.carriesVersion() && m_main)
            m_main->SetStpVersionText(selected);
    }
}
