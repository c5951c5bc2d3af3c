#pragma once

#include <QDialog>
#include <QList>

#include <memory>

class KtMainWindowServices;
class KtSNMPRequest2Edits;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QStatusBar;

// OSPF default-route origination: four scalars, each with a box that
// chooses whether it takes part in the set; the fields that depend on the
// state are greyed while it is disabled. One asynchronous binding; its
// status goes to the status bar.
class TOSPFDefaultInfoOriginateForm : public QDialog
{
    Q_OBJECT

public:
    TOSPFDefaultInfoOriginateForm(KtMainWindowServices *main, const QString &captionPrefix, QWidget *parent = nullptr);
    ~TOSPFDefaultInfoOriginateForm() override;

    QComboBox *CBoxState;
    QComboBox *CBoxAlways;
    QComboBox *CBoxMettype;
    QLineEdit *MetricEdit;
    QList<QCheckBox *> CheckBoxes;  // CheckBox1-CheckBox4, one per scalar
    QPushButton *GetButton;
    QPushButton *SetButton;
    QPushButton *CloseButton;
    QStatusBar *StatusBar;

    std::unique_ptr<KtSNMPRequest2Edits> Binding;

    void GetButtonClick();
    void SetButtonClick();
    void CBoxStateChange();

protected:
    void done(int result) override;
};
