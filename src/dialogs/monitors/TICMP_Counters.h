#pragma once

#include "dialogs/monitors/KtProtocolMonitor.h"

// The 26 counters of the ICMP group.
class TICMP_Counters : public KtProtocolMonitor
{
    Q_OBJECT

public:
    TICMP_Counters(QWidget *parent, const QString &prefix, const QString &host);

    static Family Definition();
};
