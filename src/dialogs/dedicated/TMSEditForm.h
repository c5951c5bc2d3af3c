#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class KtSNMPRequest2Edits;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "MS Add": a member switch is added by one set of its candidate, password
// and "createAndGo" to the instance of the typed member ID. The binding
// blocks, so that the list is read again only after the answer.
class TMSEditForm : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Change = 1, Add = 2 };

    explicit TMSEditForm(QWidget *parent = nullptr);
    ~TMSEditForm() override;

    QLineEdit *MSIDEdit;
    QLineEdit *KeyIDEdit;
    QLineEdit *MS_Password;
    QComboBox *Row_Status;
    QPushButton *SetButton;
    QPushButton *CloseButton;

    int mode = Add;
    // The IDs of the rows the member list shows now.
    std::function<QStringList()> ExistingIds;
    // Where failures are written: the member list's memo.
    QPointer<QPlainTextEdit> Memo;

    std::unique_ptr<KtSNMPRequest2Edits> Binding;

    void SetButtonClick();
    // Writes the row status alone to the member's instance.
    void Destroy(const QString &suffix);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void report(const QString &text);
};
