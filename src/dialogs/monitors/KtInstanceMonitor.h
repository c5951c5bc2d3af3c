#pragma once

#include "dialogs/monitors/KtCounterMonitor.h"

// A counter monitor of one table row (an interface, a bridge port) picked
// from a list of all rows: the list is read when the dialog opens and on
// Refresh; the counters of the picked row are polled with its index as
// the instance suffix, and picking another row restarts the counting.
//
// The index always comes from the selected row of the list and must be a
// whole number; with an empty list nothing is polled. A device whose list
// is empty when the dialog opens gets "This device don't support it!" and
// the dialog closes; the rest of the program carries on.
class KtInstanceMonitor : public KtCounterMonitor
{
    Q_OBJECT

public:
    struct Picker
    {
        QString table;          // KtMonitorTables name of the list
        QString listName;
        QString indexLabel;
        QString descrLabel;
        QString refreshName;    // object name of the Refresh button
        int retries = 0;        // 0: the connection's own
        QString counterTable;   // polled with the row's index as suffix
        int firstCounterVar = 0;
    };

    KtInstanceMonitor(QWidget *parent, const Setup &setup, const Picker &picker);
    ~KtInstanceMonitor() override;

    KtSNMPRequest2Edits *PickerBinding() const { return m_pickerBinding.get(); }
    // The index whose counters are polled; empty before one was picked.
    QString PolledIndex() const { return m_index; }

    // The form's handlers.
    void RefreshClick();
    void PickRow();

    static QString UnsupportedText() { return QStringLiteral("This device don't support it!"); }

protected:
    void showEvent(QShowEvent *event) override;
    void ResetCounters() override;
    // After the counting restarted (a pick, Reset, a new history length).
    virtual void Restarted() {}

    QWidget *PickerPanel() const { return m_pickerPanel; }
    QTreeWidget *PickerList() const { return m_pickerList; }

private:
    void readList();
    void listAnswered(const KtSNMPError &result);
    void selectionChanged();
    // The selected row's index, empty without a selected row; false (with
    // the reason in the status line) when it is no whole number.
    bool selectedIndex(QString &index);
    bool pollIndex(const QString &index);

    Picker m_picker;
    std::unique_ptr<KtSNMPRequest2Edits> m_pickerBinding;
    QWidget *m_pickerPanel = nullptr;
    QTreeWidget *m_pickerList = nullptr;
    QLabel *m_indexText = nullptr;
    QLabel *m_descrText = nullptr;
    QString m_index;
    bool m_opening = true;
    bool m_shown = false;
    bool m_selecting = false;
};
