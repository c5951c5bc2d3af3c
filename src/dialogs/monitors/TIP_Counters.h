#pragma once

#include "dialogs/monitors/KtProtocolMonitor.h"

// The first ten counters of the IP group; the others are polled and not shown.
class TIP_Counters : public KtProtocolMonitor
{
    Q_OBJECT

public:
    TIP_Counters(QWidget *parent, const QString &prefix, const QString &host);

    static Family Definition();
};
