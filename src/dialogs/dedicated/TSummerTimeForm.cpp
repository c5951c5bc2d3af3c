#include "dialogs/dedicated/TSummerTimeForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtBindingGate.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TSNMPEditorPanel.h"
#include "dialogs/registry/KtMainWindowServices.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"
#include "values/widgets/KtOptionListWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace TSummerTimeFormRules;

namespace {

// The packed rows are shown from their parts, which a value too short for
// the rule must not stop: the parts it does not reach are emptied.
class SummerTimeBinding : public KtSNMPRequest2Edits
{
public:
    using KtSNMPRequest2Edits::KtSNMPRequest2Edits;

    std::function<void()> ShowPacked;

    void RowReceived() override
    {
        ShowValues(Status);
        ShowValues(Offset);
        if (ShowPacked)
            ShowPacked();
    }
};

QString partText(const QWidget *part)
{
    if (const auto *combo = qobject_cast<const QComboBox *>(part))
        return combo->currentIndex() >= 0 ? combo->currentText() : QString();
    return static_cast<const QLineEdit *>(part)->text();
}

} // namespace

TSummerTimeForm::TSummerTimeForm(KtMainWindowServices *main, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Summer Time : ") + (main ? main->HostText() : QString()));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto binding = std::make_unique<SummerTimeBinding>(this);
    binding->ShowPacked = [this] { showPacked(); };
    Binding = std::move(binding);
    Binding->Request.Vars = List();
    Binding->Asynchronous = false;
    Panel = new TSNMPEditorPanel(this, Binding.get());
    Panel->AttachToForm(this);
    try {
        Panel->SetEditWidth(ValueWidth);
        Panel->SetVarFormat(Offset, QString::fromLatin1(OffsetFormat));
        for (int var = RepeatingStart; var <= AnnualEnd; ++var)
            buildRow(var);
    } catch (const KtException &e) {
        Binding->ShowStatus(e.message());
    }

    // The panel's own Refresh and Set Checked give way to the two-step ones.
    TCtrlBtnPanel *buttons = Panel->Buttons;
    disconnect(buttons->RefreshButton, &QPushButton::clicked, Panel, nullptr);
    disconnect(buttons->SetCheckedButton, &QPushButton::clicked, Panel, nullptr);
    connect(buttons->RefreshButton, &QPushButton::clicked, this, &TSummerTimeForm::Refresh);
    connect(buttons->SetCheckedButton, &QPushButton::clicked, this, &TSummerTimeForm::SetChecked);
    QComboBox *status = Panel->EditsPanel->Rows.at(Status).Combo();
    connect(status, &QComboBox::activated, this, &TSummerTimeForm::LayoutByStatus);

    status->setCurrentIndex(Repeating);
    LayoutByStatus();
    Refresh();
}

TSummerTimeForm::~TSummerTimeForm() = default;

void TSummerTimeForm::buildRow(int var)
{
    TEditsPanel::EditRow &row = Panel->EditsPanel->Rows[var];
    TCtrlsList ctrls;
    ctrls.Var = var;
    ctrls.Carrier = row.Edit();
    ctrls.Row = new QWidget(ctrls.Carrier->parentWidget());
    ctrls.Row->setFixedWidth(ValueWidth);
    ctrls.Row->setEnabled(Binding->Request.Vars.IsWritable(var));
    auto *h = new QHBoxLayout(ctrls.Row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(4);
    Binding->Unbind(var);
    for (const Part &p : PartsOf(var)) {
        QWidget *part = nullptr;
        if (p.options) {
            auto *combo = new QComboBox(ctrls.Row);
            Binding->BindControlAs(var, p.offset, p.type, p.options, combo);
            part = combo;
        } else {
            auto *edit = new QLineEdit(ctrls.Row);
            edit->setPlaceholderText(QString::fromLatin1(p.hint));
            Binding->BindEditsAs(var, p.offset, p.type, nullptr, QString::fromLatin1(PartFormat), {edit});
            part = edit;
        }
        part->setMinimumWidth(0);
        h->addWidget(part, 1);
        ctrls.Parts.append(part);
        if (QLatin1String(p.hint) == QLatin1String("Hour")) {
            auto *colon = new QLabel(QStringLiteral(":"), ctrls.Row);
            QFont bold = colon->font();
            bold.setBold(true);
            colon->setFont(bold);
            h->addWidget(colon, 0, Qt::AlignTop);
        }
    }
    if (auto *grid = qobject_cast<QGridLayout *>(ctrls.Carrier->parentWidget()->layout()))
        delete grid->replaceWidget(ctrls.Carrier, ctrls.Row);  // the old item is ours
    ctrls.Carrier->hide();
    row.Label->setBuddy(ctrls.Parts.first());
    QWidget *previous = CtrlsLists.isEmpty() ? Panel->EditsPanel->Rows.at(Offset).Control : CtrlsLists.last().Parts.last();
    for (QWidget *part : ctrls.Parts) {
        setTabOrder(previous, part);
        previous = part;
    }
    CtrlsLists.append(ctrls);
}

int TSummerTimeForm::StatusItem() const
{
    return Panel->EditsPanel->Rows.at(Status).Combo()->currentIndex();
}

TSummerTimeFormRules::Entry TSummerTimeForm::CurrentEntry() const
{
    const TEditsPanel *edits = Panel->EditsPanel;
    Entry e;
    e.statusTicked = edits->Rows.at(Status).CheckBox->isChecked();
    e.statusItem = StatusItem();
    e.offsetTicked = edits->Rows.at(Offset).CheckBox->isChecked();
    e.offset = edits->RowText(Offset);
    const QList<int> pair = PairOf(e.statusItem);
    for (int k = 0; k < pair.size(); ++k) {
        Row &row = k == 0 ? e.start : e.end;
        row.ticked = edits->Rows.at(pair.at(k)).CheckBox->isChecked();
        for (const QWidget *part : CtrlsOf(pair.at(k)).Parts)
            row.parts.append(partText(part));
    }
    return e;
}

void TSummerTimeForm::LayoutByStatus()
{
    TEditsPanel *edits = Panel->EditsPanel;
    const QList<int> pair = PairOf(StatusItem());
    for (const TCtrlsList &ctrls : CtrlsLists) {
        const bool shown = pair.contains(ctrls.Var);
        if (shown && edits->RowHidden(ctrls.Var))
            edits->ShowRow(ctrls.Var);
        else if (!shown)
            edits->HideRow(ctrls.Var);
        ctrls.Row->setVisible(shown);
        if (!shown) {
            edits->Rows.at(ctrls.Var).CheckBox->setChecked(false);
            edits->CheckBoxClicked(ctrls.Var);  // the Set Checked button follows
        }
    }
    edits->LayoutRows(true);
    Panel->SetContent(edits);
    Panel->AttachToForm(this);
}

void TSummerTimeForm::showPacked()
{
    const KtSNMPVarList &vars = Binding->Request.Vars;
    for (const TCtrlsList &ctrls : CtrlsLists) {
        if (vars.Get(ctrls.Var).Access & KtAccess::Invalid)
            continue;
        const QList<std::optional<QString>> texts = Unpack(vars.Get(ctrls.Var).Value, ctrls.Var);
        const QList<Part> &parts = PartsOf(ctrls.Var);
        for (int k = 0; k < ctrls.Parts.size(); ++k) {
            const std::optional<QString> text = texts.value(k);
            if (auto *combo = qobject_cast<QComboBox *>(ctrls.Parts.at(k))) {
                if (text)
                    SelectInComboBox(*parts.at(k).options, combo, *text);
                else
                    combo->setCurrentIndex(-1);
            } else {
                static_cast<QLineEdit *>(ctrls.Parts.at(k))->setText(text.value_or(QString()));
            }
        }
    }
}

void TSummerTimeForm::setValid(const QList<int> &valid)
{
    KtSNMPVarList &vars = Binding->Request.Vars;
    for (int i = 0; i < vars.Count(); ++i) {
        if (valid.contains(i))
            vars.Get(i).Access &= ~quint32(KtAccess::Invalid);
        else
            vars.Get(i).Access |= KtAccess::Invalid;
    }
}

void TSummerTimeForm::read()
{
    KtBindingGate::Read(*Binding);
}

void TSummerTimeForm::Refresh()
{
    setValid(FirstRead());
    read();
    LayoutByStatus();
    setValid(FirstRead() + SecondRead(StatusItem()));
    read();
}

void TSummerTimeForm::SetChecked()
{
    const Entry entry = CurrentEntry();
    if (const QString refusal = Check(entry); !refusal.isEmpty()) {
        KtMessageService::Inform(this, refusal);
        return;
    }
    if (EmptyTicked(entry)) {
        KtMessageService::Warn(this, QStringLiteral("Some items are empty!"), QStringLiteral("Warning"));
        return;
    }
    const QList<QList<int>> steps = WriteSteps(entry);
    if (steps.isEmpty()) {
        KtMessageService::Inform(this, QStringLiteral("Tick the rows to set first."));
        return;
    }
    for (const TCtrlsList &ctrls : CtrlsLists) {
        bool full = true;
        for (const QWidget *part : ctrls.Parts)
            full = full && !partText(part).isEmpty();
        ctrls.Carrier->setText(full ? QStringLiteral("-") : QString());
    }
    KtSNMPVarList &vars = Binding->Request.Vars;
    for (const QList<int> &step : steps) {
        QList<int> others;
        for (int i = 0; i < vars.Count(); ++i)
            if (!step.contains(i))
                others.append(i);
        // What the reads left out is given back after each set, also after a failed one.
        KtAccessOverride sent(vars, step, KtAccess::ReadWrite);
        KtAccessOverride left(vars, others, KtAccess::Invalid);
        const auto outcome = Panel->EditsPanel->WriteChecked(Panel->Buttons->SetCheckedButton);
        if (outcome != TEditsPanel::WriteOutcome::Written)
            return;  // the second set is not sent after a failed first one
    }
}
