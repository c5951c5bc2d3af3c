#pragma once

#include <QDialog>

#include <memory>

class KtSNMPRequest2Edits;
class QLabel;
class QTreeWidget;

// The IP routing table, shown only: read when the dialog opens and again
// on Refresh.
class TIP_Routing : public QDialog
{
    Q_OBJECT

public:
    TIP_Routing(QWidget *parent, const QString &prefix, const QString &host);
    ~TIP_Routing() override;

    KtSNMPRequest2Edits *Binding() const { return m_binding.get(); }

    // Refresh; does nothing while a read is running.
    void BT_GetClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<KtSNMPRequest2Edits> m_binding;
    QTreeWidget *m_list = nullptr;
    QLabel *m_status = nullptr;
    bool m_shown = false;
};
