#include "dialogs/dedicated/TfrmACCServerCtrl.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TfrmACCServerCtrlRules.h"
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
#include <QTime>
#include <QVBoxLayout>

using namespace TfrmACCServerCtrlRules;

TfrmACCServerCtrl::TfrmACCServerCtrl(QWidget *owner, const QString &caption)
    : KtDedicatedDialog(owner), edtGroupName(new QLineEdit(this)), edtIPAddr(new QLineEdit(this)),
      cbAuthProtocol(new QComboBox(this)), cbRowState(new QComboBox(this)), SetButton(new QPushButton(tr("&Set"), this)),
      CloseButton(new QPushButton(tr("&Close"), this)), StatusBar(new QStatusBar(this))
{
    setWindowTitle(caption);
    AdoptEdits(ServerList(), false);

    QFormLayout *fields = KtFormRows(this, {{edtGroupName, "edtGroupName", "&Group Name"},
                                            {edtIPAddr, "edtIPAddr", "&IP Addr"},
                                            {cbAuthProtocol, "cbAuthProtocol", "&Auth Protocol"},
                                            {cbRowState, "cbRowState", "&Row State"}});
    edtGroupName->setMinimumWidth(160);
    SetButton->setObjectName(QStringLiteral("SetButton"));
    CloseButton->setObjectName(QStringLiteral("CloseButton"));

    Edits->BindEdits(GroupColumn, QStringLiteral("%s{l16}"), {edtGroupName});
    Edits->BindEdits(AddressColumn, QStringLiteral("%s{l16}"), {edtIPAddr});
    Edits->BindControl(ProtocolColumn, cbAuthProtocol);
    Edits->BindControl(RowStateColumn, cbRowState);
    Edits->SetStatusBar(StatusBar);

    SetButton->setDefault(true);

    QVBoxLayout *body = KtBodyOverStatusBar(this, StatusBar);
    body->addLayout(fields);
    body->addLayout(KtButtonRow({SetButton, CloseButton}));
    emptyFields();

    connect(SetButton, &QPushButton::clicked, this, [this] { Guard([this] { SetClicked(); }); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmACCServerCtrl::emptyFields()
{
    edtGroupName->clear();
    edtIPAddr->clear();
    cbAuthProtocol->setCurrentIndex(-1);
    cbRowState->setCurrentIndex(-1);
}

// Reading shows the rows one after the other in the fields; the operator
// starts from empty ones.
void TfrmACCServerCtrl::ReadDone(KtSNMPRequest2Controls *, const KtSNMPError &)
{
    emptyFields();
}

void TfrmACCServerCtrl::SetClicked()
{
    const auto choice = [](const QComboBox *c) { return c->currentIndex() >= 0 ? c->currentText() : QString(); };
    QString address;
    const auto refusal = CheckSet(edtGroupName->text(), edtIPAddr->text(), choice(cbAuthProtocol), choice(cbRowState),
                                  &address);
    if (refusal) {
        StatusBar->showMessage(refusal->Message);
        const Field f = refusal->Focus;
        (f == Field::Group ? static_cast<QWidget *>(edtGroupName)
         : f == Field::Address ? static_cast<QWidget *>(edtIPAddr)
         : f == Field::Protocol ? static_cast<QWidget *>(cbAuthProtocol)
                                : static_cast<QWidget *>(cbRowState))
            ->setFocus();
        return;
    }
    edtIPAddr->setText(address);
    // The fields keep what was typed after the set; reading the table again
    // would put its last row into them.
    StartWrite(*Edits, false, true, [this](const KtSNMPError &result) {
        if (result.Code != 0)
            KtMessageService::Inform(this, QStringLiteral("Set entry failed!\n") + result.Message);
    });
}
