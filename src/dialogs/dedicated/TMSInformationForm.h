#pragma once

#include <QDialog>

#include <memory>

class KtMainWindowServices;
class KtSNMPRequest2Edits;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class TMSEditForm;

// The member switches of single-IP management: the list with its row
// count, adding a member through "MS Add" and removing the selected one.
// The list's binding is asynchronous; its status lines go to the memo.
class TMSInformationForm : public QDialog
{
    Q_OBJECT

public:
    TMSInformationForm(KtMainWindowServices *main, const QString &captionPrefix, QWidget *parent = nullptr);
    ~TMSInformationForm() override;

    QTreeWidget *ListView1;
    QLabel *StaticText1;  // the number of rows
    QPlainTextEdit *Memo1;
    QPushButton *GetButton;
    QPushButton *AddButton;
    QPushButton *DeleteButton;

    std::unique_ptr<KtSNMPRequest2Edits> Binding;
    TMSEditForm *EditForm;

    void GetButtonClick();
    void AddButtonClick();
    void DeleteButtonClick();

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void countRows();
};
