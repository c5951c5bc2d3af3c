#pragma once

#include "dialogs/monitors/KtInstanceMonitor.h"

class KtHistoryChart;
class QCheckBox;
class QComboBox;
class QTabWidget;

// The transparent-bridge frame counters of one port, picked from all
// ports, with the per-poll deltas of the last HistoryCount polls charted.
class TTpBridgePortInfo_Table : public KtInstanceMonitor
{
    Q_OBJECT

public:
    TTpBridgePortInfo_Table(QWidget *parent, const QString &prefix, const QString &host);

    KtHistoryChart *Chart() const { return m_chart; }

    // The form's handlers.
    void CB_HistoryCountChange();
    void CK_U3DClick();

    static QStringList RowNames();

protected:
    void Sampled() override;
    void Restarted() override;

private:
    void redraw();

    KtHistoryChart *m_chart = nullptr;
    QComboBox *m_historyCount = nullptr;
    QCheckBox *m_3d = nullptr;
    QTabWidget *m_pages = nullptr;
};
