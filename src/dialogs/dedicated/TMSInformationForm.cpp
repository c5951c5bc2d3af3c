#include "dialogs/dedicated/TMSInformationForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtBindingGate.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TMSEditForm.h"
#include "dialogs/dedicated/TMSInformationFormRules.h"
#include "dialogs/generic/KtBindingWait.h"
#include "dialogs/registry/KtMainWindowServices.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPRequest.h"
#include "values/widgets/KtMessageService.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace TMSInformationFormRules;

TMSInformationForm::TMSInformationForm(KtMainWindowServices *main, const QString &captionPrefix, QWidget *parent)
    : QDialog(parent)
{
    const QString prefix =
        captionPrefix.isEmpty() ? QStringLiteral("Member Switch Information Table : ") : captionPrefix;
    setWindowTitle(prefix + (main ? main->HostText() : QString()));
    auto *outer = new QVBoxLayout(this);
    ListView1 = new QTreeWidget(this);
    ListView1->setMinimumSize(560, 180);
    outer->addWidget(ListView1, 1);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Total:"), this));
    StaticText1 = new QLabel(QStringLiteral("0"), this);
    row->addWidget(StaticText1);
    row->addStretch();
    GetButton = new QPushButton(tr("&Refresh"), this);
    AddButton = new QPushButton(tr("&Add"), this);
    DeleteButton = new QPushButton(tr("&Delete"), this);
    for (QPushButton *b : {GetButton, AddButton, DeleteButton}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    outer->addLayout(row);
    Memo1 = KtStatusMemo(this, 3);
    outer->addWidget(Memo1);
    DeleteButton->setEnabled(false);

    EditForm = new TMSEditForm(this);
    EditForm->Memo = Memo1;
    EditForm->Binding->SetStatusTarget(Memo1);

    Binding = std::make_unique<KtSNMPRequest2Edits>(this);
    Binding->Request.Vars = TableList();
    Binding->Request.Timeout = RequestTimeout;
    Binding->SetStatusTarget(Memo1);
    try {
        Binding->AttachListView(ListView1, false);
    } catch (const KtException &e) {
        Memo1->appendPlainText(e.message());
    }
    Binding->OnReadDone = [this](KtSNMPRequest2Controls *, const KtSNMPError &) { countRows(); };
    EditForm->ExistingIds = [this] {
        QStringList ids;
        const int column = Binding->ColumnOf(Id);
        for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
            ids.append(ListView1->topLevelItem(i)->text(column));
        return ids;
    };

    QAbstractItemModel *model = ListView1->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &TMSInformationForm::countRows);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &TMSInformationForm::countRows);
    connect(model, &QAbstractItemModel::modelReset, this, &TMSInformationForm::countRows);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this,
            [this] { DeleteButton->setEnabled(!ListView1->selectedItems().isEmpty()); });
    connect(GetButton, &QPushButton::clicked, this, &TMSInformationForm::GetButtonClick);
    connect(AddButton, &QPushButton::clicked, this, &TMSInformationForm::AddButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TMSInformationForm::DeleteButtonClick);
    KtRefreshKey(this, GetButton);
    GetButtonClick();
}

TMSInformationForm::~TMSInformationForm()
{
    // The list empties while the base class deletes the children: no count then.
    ListView1->model()->disconnect(this);
    ListView1->disconnect(this);
}

void TMSInformationForm::keyPressEvent(QKeyEvent *event)
{
    if (ListView1->hasFocus() && event->key() == Qt::Key_Delete) {
        DeleteButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TMSInformationForm::countRows()
{
    StaticText1->setText(QString::number(ListView1->topLevelItemCount()));
}

void TMSInformationForm::GetButtonClick()
{
    DeleteButton->setEnabled(false);
    if (KtBindingWait::Running(*Binding))
        return;
    KtBindingGate::Read(*Binding);
}

void TMSInformationForm::AddButtonClick()
{
    // The duplicate check needs the whole list.
    if (KtBindingGate::RefuseWhileBusy(this, Binding.get()))
        return;
    EditForm->mode = TMSEditForm::Add;
    EditForm->Row_Status->setCurrentIndex(CreateAndGo);
    EditForm->exec();
    GetButtonClick();
}

void TMSInformationForm::DeleteButtonClick()
{
    const QList<QTreeWidgetItem *> selected = ListView1->selectedItems();
    if (selected.isEmpty()) {
        KtMessageService::Inform(this, QStringLiteral("Choose the item first."));
        DeleteButton->setFocus();
        return;
    }
    if (KtBindingGate::RefuseWhileBusy(this, Binding.get()))
        return;
    const QString id = selected.first()->text(Binding->ColumnOf(Id));
    const QString suffix = SuffixOf(id);
    if (suffix.isEmpty()) {
        Memo1->appendPlainText(QStringLiteral("'%1' is no member switch ID.").arg(id));
        return;
    }
    try {
        EditForm->Destroy(suffix);
    } catch (const KtException &e) {
        EditForm->Binding->ShowStatus(e.message());
    }
    GetButtonClick();
}

void TMSInformationForm::done(int result)
{
    KtBindingGate::Close({Binding.get()});
    QDialog::done(result);
}
