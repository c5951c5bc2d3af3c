#pragma once

#include "dialogs/dedicated/KtSubForm.h"

class QLineEdit;
class QPushButton;

// "New Bootp Ctrl Entry": the interface and server address of a new relay
// server. Its edits are bound by the list dialog, which also runs its Set.
class TNewBootpCtrlForm : public KtSubForm
{
    Q_OBJECT

public:
    explicit TNewBootpCtrlForm(QWidget *owner);

    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QPushButton *DeleteBtn;  // "Set"
    QPushButton *BitBtn1;    // "Close"

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_activated = false;
};
