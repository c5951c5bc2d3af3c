#pragma once

#include "dialogs/dedicated/KtSubForm.h"

class QComboBox;
class QLineEdit;
class QPushButton;

// "IP Control Edit": a new IP interface (mode 0), or the state, mode and
// proxy ARP of an existing one (mode 1). Its controls are bound by the list
// dialog, which also runs its button.
class TIPCtrlEdtForm : public KtSubForm
{
    Q_OBJECT

public:
    explicit TIPCtrlEdtForm(QWidget *owner);

    QLineEdit *edtIPAddr;
    QLineEdit *edtIndex;
    QLineEdit *edtInterface;
    QLineEdit *edtMask;
    QLineEdit *edtVlan;
    QComboBox *cbxMode;
    QComboBox *cbxSecondary;
    QComboBox *cbxState;
    QComboBox *cbxOper;
    QComboBox *cbxARP;
    QPushButton *btnSet;
    QPushButton *btnClose;

    int Mode = 0;  // TIpCtrlFormRules::Mode

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void offerStates(int mode);
    void activate();
};
