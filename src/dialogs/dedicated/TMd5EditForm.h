#pragma once

#include "dialogs/dedicated/KtSubForm.h"

class QComboBox;
class QLineEdit;
class QPushButton;

// "Md5 Edit": adds a key or changes the text of one. Its controls are
// bound by the list dialog, which also runs its Set.
class TMd5EditForm : public KtSubForm
{
    Q_OBJECT

public:
    explicit TMd5EditForm(QWidget *owner);

    QLineEdit *KeyIDEdit;
    QLineEdit *KeyEdit;
    QComboBox *ComboBox1;
    QPushButton *SetButton;
    QPushButton *CloseButton;

    // 1 changes the selected key, 2 adds one (TMd5InformationFormRules::Mode).
    int Mode = 1;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void activate();
};
