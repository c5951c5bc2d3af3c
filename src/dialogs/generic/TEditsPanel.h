#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class KtSNMPRequest2Edits;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QScrollArea;
class TCtrlBtnPanel;

// One row per variable of a binding: a check box that selects the row
// for writing, the variable's label and its value control (an edit box,
// or a combo box for a writable variable with an option list).
//
// Kinds: 1 read-only without option list, 2 writable without, 3 writable
// with an option list (combo box), 4 read-only with an option list.
// Index columns of a table and read-only variables are disabled rows.
class TEditsPanel : public QWidget
{
    Q_OBJECT

public:
    struct EditRow
    {
        int Kind = 0;
        QString Format = QStringLiteral("%s");
        QWidget *Control = nullptr;  // QLineEdit (kinds 1, 2, 4) or QComboBox (kind 3)
        QCheckBox *CheckBox = nullptr;
        QLabel *Label = nullptr;
        int PickerPerRow = 0;  // port picker: boxes per line and count; 0 without picker
        int PickerCount = 0;
        bool Always = false;   // always sent: checked, its box hidden

        QLineEdit *Edit() const;
        QComboBox *Combo() const;
        bool HasPortPicker() const { return PickerCount > 0; }
    };

    enum class WriteOutcome { Refused, Failed, Written };

    TEditsPanel(QWidget *owner, KtSNMPRequest2Edits *binding);

    bool MulticastRangeCheck = false;
    QList<EditRow> Rows;
    int EditWidth = 121;
    QColor DisabledFontColor;
    QColor DisabledColor;
    QPointer<KtSNMPRequest2Edits> Edits;
    bool DefaultChecked = false;
    // The status line of the last write that failed.
    QString LastFailure;

    static constexpr int RowHeight = 21;

    void BuildRows();
    void EnableRow(int i);
    void DisableRow(int i);
    void SetRowStates(bool checked);
    void SetDisabledColors(const QColor &font, const QColor &background);
    void HideRow(int i);
    void ShowRow(int i);
    bool RowHidden(int i) const;
    void ClearValues();
    void SetEditWidth(int width);
    void SetPortListItem(int i, int perRow, int count);
    // The row is part of every write: ticked, its box hidden, Clear Checks leaves it.
    void SetAlwaysChecked(int i);
    // Presets a field: the edit's text or the combo item of that label, and the value text.
    void SetRowValue(int i, const QString &text);
    // The text a row's control shows (edit text, selected combo item).
    QString RowText(int i) const;

    virtual void ArrangeCtrlBtn(TCtrlBtnPanel *buttons);
    void CheckBoxClicked(int row);
    void CheckAll();
    void ClearChecks();
    // Writes the checked rows with one set. A button tagged 1 closes its
    // dialog after a successful write; after a failed one the dialog stays.
    WriteOutcome WriteChecked(QAbstractButton *clicked);
    void LayoutRows(bool resize);
    // The edit of row i becomes a grid of port check boxes until closed.
    void OpenPortPicker(int i);

    // The row controls in row order, for the dialog's tab order.
    QList<QWidget *> FocusChain() const;
    QSize sizeHint() const override;

signals:
    // A port picker is about to run modally (tests drive it from here).
    void PortPickerOpening(QWidget *picker);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void checkRange(int i) const;
    bool rowChecked(int i) const;
    bool anyVisibleChecked() const;
    void updateSetButton();
    void paintRow(int i, bool enabled);
    int rowOfEdit(const QObject *edit) const;
    QString validationRefusal() const;

    QScrollArea *m_scroll;
    QWidget *m_rowsWidget;
    QGridLayout *m_grid;
    QPointer<TCtrlBtnPanel> m_buttons;
    QHash<int, QList<bool>> m_hiddenBefore;
    // Disabled rows take their colours from the palette, and again when it
    // changes, until SetDisabledColors names colours of their own.
    bool m_ownDisabledColors = false;  // per hidden row: label, box, control hidden before HideRow
};
