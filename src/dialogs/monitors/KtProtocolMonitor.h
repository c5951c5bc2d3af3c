#pragma once

#include "dialogs/monitors/KtCounterMonitor.h"

// The design the UDP, IP, ICMP and SNMP monitors share: one group of
// scalars polled as one row, the first rows of it shown.
class KtProtocolMonitor : public KtCounterMonitor
{
    Q_OBJECT

public:
    struct Family
    {
        QString caption;      // the caption before the host text, e.g. "UDP Counters : "
        QString table;        // KtMonitorTables name
        QString listName;
        QString hiddenName;
        QStringList rowNames;
        bool sampleOnOpen = true;        // take the first sample when opened
        bool runningBeforeRead = false;  // Running set before the first read
    };

    // prefix: the menu entry's caption prefix; empty takes the family's.
    KtProtocolMonitor(QWidget *parent, const Family &family, const QString &prefix, const QString &host);

protected:
    void showEvent(QShowEvent *event) override;
    void PollAnswered(bool ok) override;

private:
    void open();

    Family m_family;
    bool m_opening = false;
    bool m_openedOnce = false;
};
