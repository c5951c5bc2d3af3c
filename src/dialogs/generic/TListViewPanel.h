#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class KtSNMPRequest2Edits;
class QMenu;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TCtrlBtnPanel;

// The list view of a table panel, one row per table row.
//
// A click on a column header sorts the rows in the column's natural order
// (numbers, hex strings, dotted addresses and text), a second click
// reverses it, and rows read later take their sorted places. Sorting moves
// the items themselves, and Edit, Delete and the hint read the item they
// act on, so they stay with the row the operator chose. Ctrl+C copies the
// selected row; the context menu copies the table or writes it as CSV.
class TListViewPanel : public QWidget
{
    Q_OBJECT

public:
    TListViewPanel(QWidget *owner, KtSNMPRequest2Edits *binding);
    ~TListViewPanel() override;

    QTreeWidget *ListView;
    int DeleteColumn = -1;
    int AddColumn = -1;
    QString AddValue;
    QString DeleteValue;

    static constexpr int MaxWidth = 450;
    static constexpr int DefaultHeight = 350;

    virtual void ArrangeCtrlBtn(TCtrlBtnPanel *buttons);

    // Sorting; column -1 keeps the order in which the rows were read.
    int SortColumn() const { return m_sortColumn; }
    Qt::SortOrder SortOrder() const { return m_sortOrder; }
    void SortBy(int column, Qt::SortOrder order);
    void HeaderClicked(int column);
    bool IsSorting() const { return m_sorting; }

    // The columns that show a value (hidden descriptors have none on screen).
    QList<int> ShownColumns() const;
    QStringList RowTexts(const QTreeWidgetItem *item) const;
    QString RowHint(const QTreeWidgetItem *item) const;
    QString SelectedRowText() const;
    QString TableText() const;  // tab-separated, header first
    QString CsvText() const;
    // Writes the CSV as UTF-8; an existing file is replaced only by a complete one.
    bool ExportCsv(const QString &path, QString *error = nullptr);

    void CopySelectedRow();
    void CopyTable();
    // Asks for a file (AskSavePath) and exports; failures are reported in a box.
    void ExportCsvAsked();
    std::function<QString(QWidget *parent)> AskSavePath;

    // Filled with the table's actions; the caller shows it.
    QMenu *ContextMenu();

    QSize sizeHint() const override;

signals:
    void EditRequested();    // Enter on a row
    void DeleteRequested();  // the Delete key
    void Sorted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void rowsArrived();
    void placeRows();

    QPointer<KtSNMPRequest2Edits> m_binding;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_sorting = false;
    qint64 m_nextSequence = 0;
    QTimer *m_sortTimer;
    QMenu *m_menu = nullptr;
};
