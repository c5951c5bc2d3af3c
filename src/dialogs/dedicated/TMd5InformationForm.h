#pragma once

#include "dialogs/dedicated/KtDedicatedDialog.h"

#include <QStringList>

class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class TListViewPanel;
class TMd5EditForm;

// The router's MD5 authentication keys: listed, added, changed and
// deleted. One binding serves the list and the edit form at once, so that
// selecting a row fills the form.
class TMd5InformationForm : public KtDedicatedDialog
{
    Q_OBJECT

public:
    static constexpr const char *CaptionPrefix = "MD5 Information Table: ";

    TMd5InformationForm(QWidget *owner, const QString &caption);

    TListViewPanel *ListPanel;
    QTreeWidget *ListView1;
    QPlainTextEdit *Memo1;
    QPushButton *GetButton;
    QPushButton *EditButton;
    QPushButton *AddButton;
    QPushButton *DeleteButton;
    TMd5EditForm *EditForm;

    void RefreshClicked();
    void EditClicked();
    void AddClicked();
    void DeleteClicked();
    // The edit form's Set.
    void SetClicked();

    // The key IDs of the rows listed now.
    QStringList ListedIds() const;

private:
    void selectionChanged();
    void forgetSelection();
};
