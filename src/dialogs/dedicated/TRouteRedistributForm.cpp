#include "dialogs/dedicated/TRouteRedistributForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtBindingGate.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TRouteRedistributFormRules.h"
#include "dialogs/generic/KtBindingWait.h"
#include "dialogs/generic/KtWriteScope.h"
#include "dialogs/registry/KtMainWindowServices.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace TRouteRedistributFormRules;

namespace {

// A row click reaches the dialog after the binding has put the row into
// the controls.
class RedistributionBinding : public KtSNMPRequest2Edits
{
public:
    using KtSNMPRequest2Edits::KtSNMPRequest2Edits;
    std::function<void()> RowShown;

    void SelectionChanged(QTreeWidget *view, QTreeWidgetItem *item, bool selected) override
    {
        KtSNMPRequest2Edits::SelectionChanged(view, item, selected);
        if (RowShown)
            RowShown();
    }
};

} // namespace

TRouteRedistributForm::TRouteRedistributForm(KtMainWindowServices *main, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Route Redistribution Table: ") + (main ? main->HostText() : QString()));
    auto *outer = new QVBoxLayout(this);
    ListView1 = new QTreeWidget(this);
    ListView1->setMinimumSize(450, 160);
    outer->addWidget(ListView1, 1);

    auto *fields = new QGridLayout;
    outer->addLayout(fields);
    ComboBox1 = new QComboBox(this);
    ComboBox2 = new QComboBox(this);
    Edit1 = new QLineEdit(this);
    Edit1->setMaxLength(MetricLength);
    Label5 = new QLabel(QString::fromLatin1(OspfRange), this);
    const QList<QPair<const char *, QWidget *>> rows{
        {"&Source Protocol", ComboBox1}, {"&Destination Protocol", ComboBox2}, {"&Metric", Edit1}};
    KtGridRows(fields, this, rows, 140);
    fields->addWidget(Label5, 2, 2);
    ComboBox3 = new QComboBox(this);
    ComboBox3->hide();
    StComboBox = new QComboBox(this);
    StComboBox->hide();

    auto *types = new QGroupBox(QStringLiteral("Type"), this);
    auto *typeGrid = new QGridLayout(types);
    const QList<Radio> &radios = Radios();
    for (int r = 0; r < radios.size(); ++r) {
        auto *button = new QRadioButton(QString::fromLatin1(radios.at(r).caption), types);
        typeGrid->addWidget(button, r / 5, r % 5);
        RadioButtons.append(button);
        connect(button, &QRadioButton::clicked, this, [this, r] { RadioClick(r); });
    }
    fields->addWidget(types, 0, 3, 3, 1);

    auto *buttons = new QHBoxLayout;
    RefreshBtn = new QPushButton(tr("&Refresh"), this);
    EditBtn = new QPushButton(tr("S&et"), this);
    AddBtn = new QPushButton(tr("&Add"), this);
    DeleteBtn = new QPushButton(tr("De&lete"), this);
    CloseBtn = new QPushButton(tr("&Close"), this);
    buttons->addStretch();
    for (QPushButton *b : {RefreshBtn, EditBtn, AddBtn, DeleteBtn, CloseBtn}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);
    Memo1 = KtStatusMemo(this, 3);
    outer->addWidget(Memo1);
    DeleteBtn->setEnabled(false);

    auto binding = std::make_unique<RedistributionBinding>(this);
    binding->RowShown = [this] { RowClick(); };
    Binding = std::move(binding);
    Binding->Request.Vars = List();
    Binding->DisableWithoutSelection = false;
    Binding->SetStatusTarget(Memo1);
    try {
        Binding->AttachListView(ListView1, false);
        Binding->BindControl(Source, ComboBox1);
        Binding->BindControl(Destination, ComboBox2);
        Binding->BindControl(Type, ComboBox3);
        Binding->BindEdits(Metric, QString::fromLatin1(MetricFormat), {Edit1});
        Binding->BindControl(RowStatus, StComboBox);
    } catch (const KtException &e) {
        Memo1->appendPlainText(e.message());
    }

    connect(RefreshBtn, &QPushButton::clicked, this, &TRouteRedistributForm::RefreshBtnClick);
    connect(EditBtn, &QPushButton::clicked, this, &TRouteRedistributForm::EditBtnClick);
    connect(AddBtn, &QPushButton::clicked, this, &TRouteRedistributForm::AddBtnClick);
    connect(DeleteBtn, &QPushButton::clicked, this, &TRouteRedistributForm::DeleteBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ComboBox1, &QComboBox::activated, this, &TRouteRedistributForm::ProtocolChange);
    connect(ComboBox2, &QComboBox::activated, this, &TRouteRedistributForm::ProtocolChange);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, [this] {
        DeleteBtn->setEnabled(!ListView1->selectedItems().isEmpty());
    });
    KtRefreshKey(this, RefreshBtn);
    RefreshBtnClick();
}

TRouteRedistributForm::~TRouteRedistributForm()
{
    // The selection goes while the base class deletes the children.
    ListView1->disconnect(this);
    Binding.reset();
}

void TRouteRedistributForm::keyPressEvent(QKeyEvent *event)
{
    if (ListView1->hasFocus() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        Edit1->setFocus();  // the selected row is in the fields: edit it there
        return;
    }
    if (ListView1->hasFocus() && event->key() == Qt::Key_Delete) {
        DeleteBtn->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TRouteRedistributForm::RefreshBtnClick()
{
    if (KtBindingWait::Running(*Binding))
        return;
    KtBindingGate::Read(*Binding);
}

void TRouteRedistributForm::RowClick()
{
    const QList<QTreeWidgetItem *> selected = ListView1->selectedItems();
    DeleteBtn->setEnabled(!selected.isEmpty());
    if (selected.isEmpty())
        return;
    const int radio = RadioOfType(ComboBox3->currentIndex() >= 0 ? ComboBox3->currentText() : QString());
    for (int r = 0; r < RadioButtons.size(); ++r)
        RadioButtons.at(r)->setChecked(r == radio);
    ProtocolChange();
}

void TRouteRedistributForm::RadioClick(int radio)
{
    if (!RadioButtons.at(radio)->isChecked())
        return;
    const char *type = Radios().at(radio).type;
    ComboBox3->setCurrentIndex(type ? Types().IndexOfLabel(QString::fromLatin1(type)) : -1);
}

void TRouteRedistributForm::ProtocolChange()
{
    const PairRule rule = RuleOf(ComboBox1->currentText(), ComboBox2->currentText());
    if (!rule.applies)
        return;
    Label5->setText(rule.range);
    for (int r = 0; r < RadioButtons.size(); ++r)
        RadioButtons.at(r)->setEnabled(rule.enabled.at(r));
}

bool TRouteRedistributForm::selectedRow(QString *source, QString *destination) const
{
    const QList<QTreeWidgetItem *> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return false;
    *source = selected.first()->text(Binding->ColumnOf(Source));
    *destination = selected.first()->text(Binding->ColumnOf(Destination));
    return true;
}

void TRouteRedistributForm::EditBtnClick()
{
    write(Active);
}

void TRouteRedistributForm::AddBtnClick()
{
    write(CreateAndGo);
}

void TRouteRedistributForm::DeleteBtnClick()
{
    write(Destroy);
}

void TRouteRedistributForm::write(int statusItem)
{
    if (KtBindingGate::RefuseWhileBusy(this, Binding.get()))
        return;
    QString source, destination;
    if (statusItem != CreateAndGo) {
        // A change or a removal is for the row chosen in the list, whatever
        // the protocol fields were turned to since.
        if (!selectedRow(&source, &destination)) {
            KtMessageService::Inform(this, QStringLiteral("Choose the item first."));
            return;
        }
    } else {
        source = ComboBox1->currentIndex() >= 0 ? ComboBox1->currentText() : QString();
        destination = ComboBox2->currentIndex() >= 0 ? ComboBox2->currentText() : QString();
        if (source.isEmpty() || destination.isEmpty()) {
            KtMessageService::Inform(this, QStringLiteral("Choose the source and destination protocols."));
            return;
        }
    }
    if (statusItem != Destroy) {
        const QString metric = Edit1->text();
        QString refusal = MetricRefusal(destination, metric);
        if (MetricMissing(metric) || !refusal.isEmpty()) {
            if (!refusal.isEmpty())
                KtMessageService::Inform(this, refusal);
            if (Edit1->isEnabled())
                Edit1->setFocus();
            return;
        }
    }
    StComboBox->setCurrentIndex(statusItem);
    KtSNMPVarList &vars = Binding->Request.Vars;
    try {
        // Blocking for this one write, so the read that follows it starts
        // only after the answer.
        KtWriteScope scope(Binding.get());
        if (statusItem == Destroy) {
            scope.Exclude(Type);
            scope.Exclude(Metric);
        } else if (ComboBox3->currentIndex() < 0) {
            scope.Exclude(Type);  // "other": the device keeps its type
        }
        Binding->CollectValues();
        vars.Get(Source).Value = source;
        vars.Get(Destination).Value = destination;
        Binding->LastOperation = 1;
        Binding->Write(false, false);
    } catch (const KtException &e) {
        Binding->LastOperation = 1;
        Binding->ShowStatus(e.message());
        return;
    }
    RefreshBtnClick();
}

void TRouteRedistributForm::done(int result)
{
    KtBindingGate::Close({Binding.get()});
    QDialog::done(result);
}
