#pragma once

#include <QDialog>

#include <memory>

class KtSNMPRequest2Edits;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The switch's time sources, decoded from a bit mask into words, and its
// clock, which can be set. One asynchronous binding; its status lines go
// to the memo.
class TCurrentTimeForm : public QDialog
{
    Q_OBJECT

public:
    explicit TCurrentTimeForm(QWidget *parent = nullptr);
    ~TCurrentTimeForm() override;

    QLabel *tempText;  // hidden: the capacity's hex text
    QLineEdit *timecapacityEdit;
    QLineEdit *currentclockEdit;
    QComboBox *cbxReset;
    QPlainTextEdit *Memo1;
    QPushButton *GetButton;
    QPushButton *SetButton;
    QPushButton *CloseButton;

    std::unique_ptr<KtSNMPRequest2Edits> Binding;

    void GetButtonClick();
    void SetButtonClick();
    void CloseButtonClick();

protected:
    void done(int result) override;

private:
    void FormCreate();
    void decodeCapacity();
};
