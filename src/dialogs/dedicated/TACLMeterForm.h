#pragma once

#include "dialogs/dedicated/KtDedicatedDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class TListViewPanel;

// "ACL Meter": the rate limit and exceed action of the selected meter;
// the IDs of the row are locked while it is selected.
class TACLMeterForm : public KtDedicatedDialog
{
    Q_OBJECT

public:
    static constexpr const char *CaptionPrefix = "ACL Meter Table: ";

    TACLMeterForm(QWidget *owner, const QString &caption);

    TListViewPanel *ListPanel;
    QTreeWidget *ListView1;
    QLineEdit *ProfileIDEdit;
    QLineEdit *AccessIDEdit;
    QLineEdit *RateEdit;
    QComboBox *CBox_Active;
    QPushButton *GetButton;
    QPushButton *EditButton;  // "Set"
    QStatusBar *StatusBar;

    void RefreshClicked();
    void SetClicked();

protected:
    void FirstShown() override;

private:
    void rowClicked();
    void emptyFields();
};
