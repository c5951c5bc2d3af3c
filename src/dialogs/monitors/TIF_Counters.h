#pragma once

#include "dialogs/monitors/KtInstanceMonitor.h"

// The counters of one interface, picked from the interface table.
class TIF_Counters : public KtInstanceMonitor
{
    Q_OBJECT

public:
    TIF_Counters(QWidget *parent, const QString &prefix, const QString &host);

    static QStringList RowNames();
};
