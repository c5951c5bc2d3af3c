#pragma once

#include <QDialog>
#include <QList>

#include <memory>

class KtMainWindowServices;
class KtSNMPRequest2Edits;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

// The route redistribution rules between routing protocols. The route
// types a protocol pair allows are radio buttons enabled per pair; rows are
// created, changed and destroyed through their row status. One
// asynchronous binding; its status lines go to the memo.
class TRouteRedistributForm : public QDialog
{
    Q_OBJECT

public:
    explicit TRouteRedistributForm(KtMainWindowServices *main, QWidget *parent = nullptr);
    ~TRouteRedistributForm() override;

    QTreeWidget *ListView1;
    QComboBox *ComboBox1;  // source protocol
    QComboBox *ComboBox2;  // destination protocol
    QComboBox *ComboBox3;  // hidden: the type the radio buttons choose
    QComboBox *StComboBox;  // hidden: the row status of a write
    QLineEdit *Edit1;  // metric
    QLabel *Label5;  // the metric range
    QList<QRadioButton *> RadioButtons;
    QPlainTextEdit *Memo1;
    QPushButton *RefreshBtn;
    QPushButton *EditBtn;
    QPushButton *AddBtn;
    QPushButton *DeleteBtn;
    QPushButton *CloseBtn;

    std::unique_ptr<KtSNMPRequest2Edits> Binding;

    void RefreshBtnClick();
    void EditBtnClick();
    void AddBtnClick();
    void DeleteBtnClick();
    void ProtocolChange();
    void RowClick();
    void RadioClick(int radio);

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void write(int statusItem);
    bool selectedRow(QString *source, QString *destination) const;
};
