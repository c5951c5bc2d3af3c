#pragma once

#include "snapshot/KtSnapshot.h"
#include "snapshot/KtSnapshotCompare.h"
#include "snapshot/KtSnapshotLink.h"

#include <QDialog>
#include <functional>

class KtSnapshotBackup;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Compare with Switch...": reads the switch, lists how it differs from a
// snapshot by menu path and table, exports the list as CSV and restores the
// checked differences through a plan shown before anything is sent.
class TSnapshotCompareForm : public QDialog
{
    Q_OBJECT

public:
    TSnapshotCompareForm(const KtSnapshotLink &link, const KtSnapshot &snapshot, QWidget *parent = nullptr);
    ~TSnapshotCompareForm() override;

    // Asks for the snapshot file and opens the window over parent;
    // saveChanges runs when the operator asks to save after a restore.
    static void Open(QWidget *parent, const KtSnapshotLink &link, const QString &moduleVersion,
                     std::function<void()> saveChanges);

    void setSaveChanges(std::function<void()> f) { m_saveChanges = std::move(f); }
    // Reads the switch again and fills the list.
    void refresh();
    void exportCsv(const QString &path);
    // The checked differences.
    QList<KtSnapshotDifference> selected() const;

    QTreeWidget *list() const { return m_list; }
    QLabel *statusLabel() const { return m_status; }
    QPushButton *restoreButton() const { return m_restore; }
    const QList<KtSnapshotDifference> &differences() const { return m_differences; }

signals:
    void compared();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onFinished(bool ok, const QString &error);
    void fill();
    void restoreSelected();

    KtSnapshotLink m_link;
    KtSnapshot m_snapshot;
    QString m_version;
    KtSnapshotBackup *m_backup = nullptr;
    QList<KtSnapshotDifference> m_differences;
    std::function<void()> m_saveChanges;
    QTreeWidget *m_list;
    QLabel *m_status;
    QPushButton *m_refresh;
    QPushButton *m_export;
    QPushButton *m_restore;
    bool m_started = false;
};
