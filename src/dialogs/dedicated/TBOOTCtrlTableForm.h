#pragma once

#include "dialogs/dedicated/KtDedicatedDialog.h"

#include <QStringList>

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class TListViewPanel;
class TNewBootpCtrlForm;

// The BOOTP relay servers of each IP interface. A row exists through its
// two index values only: adding sets a new pair "valid", deleting sets the
// selected pair "invalid".
class TBOOTCtrlTableForm : public KtDedicatedDialog
{
    Q_OBJECT

public:
    static constexpr const char *CaptionPrefix = "BOOTP Ctrl Table: ";

    TBOOTCtrlTableForm(QWidget *owner, const QString &caption);

    TListViewPanel *ListPanel;
    QTreeWidget *ListView1;
    QPlainTextEdit *Memo1;
    QComboBox *ComboBox1;  // the state, never shown
    QPushButton *RefreshBtn;
    QPushButton *AddBtn;
    QPushButton *DeleteBtn;
    QPushButton *CloseBtn;
    TNewBootpCtrlForm *AddForm;

    void RefreshClicked();
    void AddClicked();
    void DeleteClicked();
    // The add form's Set.
    void SetClicked();

    // The interface names of the rows listed now.
    QStringList ListedInterfaces() const;
};
