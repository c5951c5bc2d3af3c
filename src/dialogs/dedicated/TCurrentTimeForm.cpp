#include "dialogs/dedicated/TCurrentTimeForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtBindingGate.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TCurrentTimeFormRules.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/widgets/KtMessageService.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace TCurrentTimeFormRules;

TCurrentTimeForm::TCurrentTimeForm(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Current Time"));
    auto *outer = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    outer->addLayout(grid);
    tempText = new QLabel(this);
    tempText->hide();
    timecapacityEdit = new QLineEdit(this);
    timecapacityEdit->setEnabled(false);
    currentclockEdit = new QLineEdit(this);
    cbxReset = new QComboBox(this);
    cbxReset->setEnabled(false);
    const QList<QPair<const char *, QWidget *>> rows{{"Time Capacity", timecapacityEdit},
                                                     {"Current Clock(Example  2007-5-26,15:30:15.0)", currentclockEdit},
                                                     {"Clock Reset On Reboot", cbxReset}};
    KtGridRows(grid, this, rows, 220);
    GetButton = new QPushButton(tr("&Refresh"), this);
    SetButton = new QPushButton(tr("&Set"), this);
    CloseButton = new QPushButton(tr("&Close"), this);
    outer->addLayout(KtButtonRow({GetButton, SetButton, CloseButton}));
    Memo1 = KtStatusMemo(this, 3);
    outer->addWidget(Memo1);

    connect(GetButton, &QPushButton::clicked, this, &TCurrentTimeForm::GetButtonClick);
    connect(SetButton, &QPushButton::clicked, this, &TCurrentTimeForm::SetButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &TCurrentTimeForm::CloseButtonClick);
    KtRefreshKey(this, GetButton);
    FormCreate();
}

TCurrentTimeForm::~TCurrentTimeForm() = default;

void TCurrentTimeForm::FormCreate()
{
    Binding = std::make_unique<KtSNMPRequest2Edits>(this);
    Binding->Request.Vars = List();
    try {
        Binding->BindStaticText(Capacity, tempText);
        Binding->BindEdits(Clock, QString::fromLatin1(ClockFormat), {currentclockEdit});
        Binding->BindControl(ResetOnReboot, cbxReset);
    } catch (const KtException &e) {
        Memo1->appendPlainText(e.message());
    }
    Binding->SetStatusTarget(Memo1);
    Binding->OnReadDone = [this](KtSNMPRequest2Controls *, const KtSNMPError &) { decodeCapacity(); };
    GetButtonClick();
}

void TCurrentTimeForm::decodeCapacity()
{
    if (tempText->text().isEmpty())
        return;
    timecapacityEdit->setText(CapacityText(tempText->text()).value_or(QString()));
}

void TCurrentTimeForm::GetButtonClick()
{
    if (KtBindingGate::RefuseWhileBusy(this, Binding.get()))
        return;
    KtBindingGate::Read(*Binding);
}

void TCurrentTimeForm::SetButtonClick()
{
    if (currentclockEdit->text().isEmpty()) {
        KtMessageService::Inform(this, QString::fromLatin1(EmptyClockText));
        currentclockEdit->setFocus();
        return;
    }
    if (KtBindingGate::RefuseWhileBusy(this, Binding.get()))
        return;
    KtBindingGate::Write(*Binding, false, true);
}

void TCurrentTimeForm::CloseButtonClick()
{
    reject();
}

void TCurrentTimeForm::done(int result)
{
    KtBindingGate::Close({Binding.get()});
    QDialog::done(result);
}
