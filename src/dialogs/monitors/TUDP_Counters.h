#pragma once

#include "dialogs/monitors/KtProtocolMonitor.h"

// The UDP group's counters.
class TUDP_Counters : public KtProtocolMonitor
{
    Q_OBJECT

public:
    TUDP_Counters(QWidget *parent, const QString &prefix, const QString &host);

    static Family Definition();
};
