#pragma once

#include "dialogs/monitors/KtProtocolMonitor.h"

// The 27 counters of the SNMP group (the authentication-trap switch is polled, not shown).
class TSNMP_Counters : public KtProtocolMonitor
{
    Q_OBJECT

public:
    TSNMP_Counters(QWidget *parent, const QString &prefix, const QString &host);

    static Family Definition();
};
