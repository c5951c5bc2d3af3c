#pragma once

#include <QPointer>
#include <QWidget>

class KtChangeLedger;
class QLabel;
class QPushButton;
class QTreeWidget;

// The non-modal window that lists the switch's unsaved changes: when,
// where from, which object, the value before and after. It copies them as
// snmpset commands, exports them as CSV and reverts the switch to its
// saved configuration (Reset "config").
class TChangesForm : public QWidget
{
    Q_OBJECT

public:
    static constexpr const char *ResetOid = "1.3.6.1.4.1.32473.12.1.2.20";

    TChangesForm(KtChangeLedger &ledger, const QString &hostText, QWidget *owner = nullptr);

    QTreeWidget *LV_Changes = nullptr;
    QLabel *ST_Note = nullptr;
    QPushButton *BT_Copy = nullptr;
    QPushButton *BT_Export = nullptr;
    QPushButton *BT_Revert = nullptr;
    QPushButton *BT_Close = nullptr;

    // Rebuilds the list from the ledger.
    void Fill();
    // A line under the list: why the ledger ended, or what a button did.
    void ShowNote(const QString &text);

    void BT_CopyClick();
    void BT_ExportClick();
    // False, with the reason shown, when the file could not be written.
    bool ExportCsv(const QString &path);
    void BT_RevertClick();

signals:
    // The switch went back to its saved configuration: what shows its data must read again.
    void reverted();

private:
    QPointer<KtChangeLedger> m_ledger;
};
