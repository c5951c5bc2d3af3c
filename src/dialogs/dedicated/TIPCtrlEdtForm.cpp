#include "dialogs/dedicated/TIPCtrlEdtForm.h"

#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TIpCtrlFormRules.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace TIpCtrlFormRules;

TIPCtrlEdtForm::TIPCtrlEdtForm(QWidget *owner)
    : KtSubForm(owner), edtIPAddr(new QLineEdit(this)), edtIndex(new QLineEdit(this)), edtInterface(new QLineEdit(this)),
      edtMask(new QLineEdit(this)), edtVlan(new QLineEdit(this)), cbxMode(new QComboBox(this)),
      cbxSecondary(new QComboBox(this)), cbxState(new QComboBox(this)), cbxOper(new QComboBox(this)),
      cbxARP(new QComboBox(this)), btnSet(new QPushButton(tr("&Add"), this)),
      btnClose(new QPushButton(tr("&Close"), this))
{
    setWindowTitle(tr("IP Control Edit"));
    QFormLayout *fields = KtFormRows(this, {
        {edtIPAddr, "edtIPAddr", "IP Add&ress"},     {edtIndex, "edtIndex", "IF &Index"},
        {edtInterface, "edtInterface", "Interface &Name"}, {edtMask, "edtMask", "Subnet Mas&k"},
        {edtVlan, "edtVlan", "&VLAN Name"},           {cbxMode, "cbxMode", "&Mode"},
        {cbxSecondary, "cbxSecondary", "Secondar&y"}, {cbxState, "cbxState", "S&tate"},
        {cbxOper, "cbxOper", "&Oper State"},          {cbxARP, "cbxARP", "&Proxy ARP State"},
    });
    edtIPAddr->setMinimumWidth(160);
    btnSet->setObjectName(QStringLiteral("btnSet"));
    btnClose->setObjectName(QStringLiteral("btnClose"));

    Arrange(fields, btnSet, btnClose);
}

// The items stay those of the full state list in its order, or its first
// two, so that the binding's item-by-entry mapping holds either way.
void TIPCtrlEdtForm::offerStates(int mode)
{
    const QString current = cbxState->currentText();
    cbxState->clear();
    cbxState->addItems(StateChoices(mode));
    cbxState->setCurrentIndex(cbxState->findText(current));
}

void TIPCtrlEdtForm::showEvent(QShowEvent *event)
{
    activate();
    KtSubForm::showEvent(event);
}

void TIPCtrlEdtForm::hideEvent(QHideEvent *event)
{
    offerStates(AddMode);
    KtSubForm::hideEvent(event);
}

void TIPCtrlEdtForm::activate()
{
    ShowFailure(QString());
    btnSet->setEnabled(true);
    offerStates(Mode);
    const bool adding = Mode == AddMode;
    for (QWidget *w : std::initializer_list<QWidget *>{edtIPAddr, edtIndex, edtInterface, edtMask, edtVlan, cbxSecondary})
        w->setEnabled(adding);
    for (QWidget *w : std::initializer_list<QWidget *>{cbxMode, cbxOper, cbxARP})
        w->setEnabled(true);
    if (adding) {
        for (QLineEdit *e : {edtIPAddr, edtIndex, edtInterface, edtMask, edtVlan})
            e->clear();
        cbxState->setCurrentIndex(cbxState->findText(FixedState(Mode)));
        cbxState->setEnabled(false);
        btnSet->setText(tr("&Add"));
        edtIPAddr->setFocus();
    } else {
        cbxState->setEnabled(true);
        btnSet->setText(tr("&Edit"));
        cbxMode->setFocus();
    }
}
