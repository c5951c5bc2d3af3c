#pragma once

#include "dialogs/generic/TSNMPEditorPanel.h"

#include <QPointer>

#include <functional>

class QAbstractButton;
class QDialog;
class TListViewPanel;

// A MIB table in a list view: Refresh re-reads it, Edit changes the
// selected row field by field, Add creates a row through its status
// column, Delete destroys the selected one. Editing and adding happen in
// small modal dialogs that borrow this panel's rows (EditsPanel) and give
// them back; they share this panel's memo.
//
// A write that fails keeps its dialog open, with the failure shown in it
// and every field as typed, so the operator can correct and retry.
class TSNMPListViewPanel : public TSNMPEditorPanel
{
    Q_OBJECT

public:
    // Called with the panel and the button that was clicked.
    using Hook = std::function<void(TSNMPListViewPanel *panel, QAbstractButton *clicked)>;

    TSNMPListViewPanel(QWidget *owner, KtSNMPRequest2Edits *binding);
    ~TSNMPListViewPanel() override;

    bool NoEdit = false;
    TListViewPanel *ListPanel;
    Hook BeforeAdd;  // default: ClearValues of the rows
    Hook AfterAdd;
    Hook BeforeEdit;
    Hook AfterEdit;
    // The page's caption when the panel sits on a page; the add dialog is named after it.
    QString PageTitle;

    static constexpr int EditDialogWidth = 200;
    static constexpr int StopWalkMs = 1000;

    // The labels are found in the status column's list regardless of case.
    void SetAddStatus(int column, const QString &value);
    void SetDeleteStatus(int column, const QString &value);
    // Rows can no longer be edited: Edit is hidden, a double click does nothing.
    void SetNoEdit(bool noEdit);

    void RefreshList();
    void Refresh() override;
    void RowClicked();
    void RowDoubleClicked();

    // The procedures behind Edit, Add and Delete (hooks included).
    void EditClicked(QAbstractButton *clicked);
    void AddClicked(QAbstractButton *clicked);
    void DeleteRow();

    // Selects the row of this instance suffix, now or as soon as a read
    // brings it (once).
    void SelectRowByIndex(const QString &suffix);
    const QString &PendingRow() const { return m_pendingRow; }

    // The add or edit dialog while it is open.
    QDialog *RowDialog() const { return m_rowDialog; }

signals:
    // An add or edit dialog is about to run modally.
    void RowDialogOpening(QDialog *dialog);

private:
    struct Withheld
    {
        int row;
        int item;
    };

    QDialog *openRowDialog(const QString &caption, TSNMPPanel **panel);
    void runRowDialog(QDialog *dialog);
    void giveBack(QDialog *dialog);
    void withhold(int row, const QString &label, QList<Withheld> &withheld, QList<int> &hiddenRows);
    void release(const QList<Withheld> &withheld, const QList<int> &hiddenRows);
    void runEditDialog();
    void runAddDialog();
    void setStatus(int column, const QString &value, bool add);
    void selectPendingRow();

    QPointer<QDialog> m_rowDialog;
    bool m_quietSelection = false;
    QString m_pendingRow;
};
