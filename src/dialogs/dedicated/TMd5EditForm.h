#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Md5 Edit": adds a key or changes the text of one. Its controls are
// bound by the list dialog, which also runs its Set.
class TMd5EditForm : public QDialog
{
    Q_OBJECT

public:
    explicit TMd5EditForm(QWidget *owner);

    QLineEdit *KeyIDEdit;
    QLineEdit *KeyEdit;
    QComboBox *ComboBox1;
    QPushButton *SetButton;
    QPushButton *CloseButton;
    // The failure of the last set, while the form stays open.
    QLabel *ResultLabel;

    // 1 changes the selected key, 2 adds one (TMd5InformationFormRules::Mode).
    int Mode = 1;

    void ShowFailure(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void activate();
};
