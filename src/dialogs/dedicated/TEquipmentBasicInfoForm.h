#pragma once

#include "dialogs/dedicated/KtDedicatedDialog.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Equipment Basic Information": four equipment scalars, read only.
class TEquipmentBasicInfoForm : public KtDedicatedDialog
{
    Q_OBJECT

public:
    static constexpr const char *CaptionPrefix = "Equipment Basic Information :";

    TEquipmentBasicInfoForm(QWidget *owner, const QString &caption);

    QLineEdit *Edit1;  // Equipment Capacity
    QLineEdit *Edit4;  // Stacking Version
    QLineEdit *Edit2;  // Max Supported Units
    QLineEdit *Edit3;  // Number Of Unit
    QPlainTextEdit *Memo1;
    QPushButton *BitBtn1;  // "Refresh"

    void RefreshClicked();
};
