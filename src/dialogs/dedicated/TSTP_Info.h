#pragma once

#include <QDialog>

#include <memory>

class KtMainWindowServices;
class KtSNMPRequest2Edits;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The switch's global spanning-tree settings. Two blocking bindings: one
// over all seven scalars shown in the controls, one over the six that
// MSTP uses (no Hello Time), whose values travel through a hidden row.
// A change of version is sent in a set of its own before the timers, and
// the main window's record of the running version follows each set that
// carried a version and succeeded.
class TSTP_Info : public QDialog
{
    Q_OBJECT

public:
    explicit TSTP_Info(KtMainWindowServices *main, QWidget *parent = nullptr);
    ~TSTP_Info() override;

    static constexpr int RequestTimeout = 300;  // 3 s

    QComboBox *Combo_STPVersion;
    QLineEdit *ET_AgingTime;
    QLineEdit *ET_HelloTime;
    QLineEdit *ET_ForwardDelay;
    QLineEdit *ET_Priority;
    QLineEdit *ED_TxHoldCount;
    QComboBox *Combo_BPDU;
    QTreeWidget *ListView1;  // hidden: the values of a set through MstpBinding
    QPushButton *BT_Get;
    QPushButton *BT_Set;
    QLabel *StatusPanel;  // panel 0 of the status bar

    std::unique_ptr<KtSNMPRequest2Edits> EditBinding;
    std::unique_ptr<KtSNMPRequest2Edits> MstpBinding;

    void BT_GetClick();
    void BT_SetClick();
    void Combo_STPVersionChange();
    void SetHelloTime(bool on);

private:
    void FormCreate();
    void showStatus(const QString &text);
    void read(KtSNMPRequest2Edits &binding);
    void fillMstpRow();

    KtMainWindowServices *m_main;
};
