#pragma once

#include "dialogs/dedicated/KtDedicatedDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QStatusBar;

// Adds a server to an authentication server group or removes it: one set
// of the row state of the row named by group, address and protocol.
class TfrmACCServerCtrl : public KtDedicatedDialog
{
    Q_OBJECT

public:
    static constexpr const char *CaptionPrefix = "ACC Server Control Table : ";

    TfrmACCServerCtrl(QWidget *owner, const QString &caption);

    QLineEdit *edtGroupName;
    QLineEdit *edtIPAddr;
    QComboBox *cbAuthProtocol;
    QComboBox *cbRowState;
    QPushButton *SetButton;
    QPushButton *CloseButton;
    QStatusBar *StatusBar;

    void SetClicked();

protected:
    void ReadDone(KtSNMPRequest2Controls *binding, const KtSNMPError &result) override;

private:
    void emptyFields();
};
