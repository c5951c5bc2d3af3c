#pragma once

#include "snapshot/KtRestorePlan.h"
#include "snapshot/KtSnapshotLink.h"

#include <QDialog>
#include <functional>

class KtRestoreRun;
class QLabel;
class QPushButton;
class QTreeWidget;

// The restore plan before anything is sent; "Send" puts it on the switch
// item by item and shows each result; "Save Changes" follows at the end.
class TRestorePlanForm : public QDialog
{
    Q_OBJECT

public:
    TRestorePlanForm(const KtSnapshotLink &link, const KtRestorePlan &plan, std::function<void()> saveChanges,
                     QWidget *parent = nullptr);
    ~TRestorePlanForm() override;

    const KtRestorePlan &plan() const { return m_plan; }
    QTreeWidget *list() const { return m_list; }
    QPushButton *sendButton() const { return m_send; }
    QPushButton *saveButton() const { return m_save; }

signals:
    void sent();

protected:
    void reject() override;

private:
    void send();
    void showItem(int i);

    KtSnapshotLink m_link;
    KtRestorePlan m_plan;
    std::function<void()> m_saveChanges;
    KtRestoreRun *m_run;
    QTreeWidget *m_list;
    QLabel *m_status;
    QPushButton *m_send;
    QPushButton *m_save;
    QPushButton *m_close;
};
