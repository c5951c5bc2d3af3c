#pragma once

#include "dialogs/dedicated/KtDedicatedDialog.h"
#include "dialogs/dedicated/TIpCtrlFormRules.h"

class QPushButton;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;
class TIPCtrlEdtForm;
class TListViewPanel;

// The router's IP interfaces: listed, added with the address, mask,
// uniqueness and VLAN rules, changed in state, mode and proxy ARP, and
// deleted (never the system interface, a primary only after its
// secondary).
class TIpCtrlForm : public KtDedicatedDialog
{
    Q_OBJECT

public:
    static constexpr const char *CaptionPrefix = "IP Control Table : ";

    TIpCtrlForm(QWidget *owner, const QString &host, const QString &captionPrefix = QLatin1String(CaptionPrefix));

    TListViewPanel *ListPanel;
    QTreeWidget *ListView1;
    QStatusBar *stbResult;
    QPushButton *btnRefresh;
    QPushButton *btnAdd;
    QPushButton *btnEdit;
    QPushButton *btnDel;
    QPushButton *btnStop;
    QPushButton *btnClose;
    TIPCtrlEdtForm *EditForm;

    void RefreshClicked();
    void StopClicked();
    void AddClicked();
    void EditClicked();
    void DeleteClicked();
    // The edit form's button.
    void SetClicked();

    QList<TIpCtrlFormRules::Row> ListedRows() const;

protected:
    void FirstShown() override;
    void ReadDone(KtSNMPRequest2Controls *binding, const KtSNMPError &result) override;

private:
    TIpCtrlFormRules::Row rowOf(const QTreeWidgetItem *item) const;
    TIpCtrlFormRules::Entry entry() const;
    void read();
    void readEnded();
    void selectionChanged();
    void forgetSelection();
    void addSet();
    void editSet();

    QString m_host;
};
