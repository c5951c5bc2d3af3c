#include "dialogs/monitors/TIF_Counters.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace {

KtCounterMonitor::Setup setup(const QString &prefix, const QString &host)
{
    KtCounterMonitor::Setup s;
    s.caption = (prefix.isEmpty() ? QStringLiteral("IF Counters : ") : prefix) + host;
    s.rowNames = TIF_Counters::RowNames();
    s.rule = KtCounterModel::Rule::SampleCount;
    s.listName = QStringLiteral("LV_IF_Counters");
    s.hiddenName = QStringLiteral("LV_IFCounterData");
    return s;
}

KtInstanceMonitor::Picker picker()
{
    KtInstanceMonitor::Picker p;
    p.table = QStringLiteral("IFTableIndex");
    p.listName = QStringLiteral("LV_IFTableIndex");
    p.indexLabel = QStringLiteral("Index");
    p.descrLabel = QStringLiteral("Description");
    p.refreshName = QStringLiteral("Button1");
    p.counterTable = QStringLiteral("IFCounters");
    p.firstCounterVar = 2;  // after ifIndex and ifDescr
    return p;
}

} // namespace

TIF_Counters::TIF_Counters(QWidget *parent, const QString &prefix, const QString &host)
    : KtInstanceMonitor(parent, setup(prefix, host), picker())
{
    m_exit->setObjectName(QStringLiteral("Button2"));
    Body()->insertWidget(0, PickerPanel());
}

QStringList TIF_Counters::RowNames()
{
    return QStringLiteral("InOctets InUcastPkts InNUcastPkts InDiscards InErrors InUnknownProtos "
                          "OutOctets OutUcastPkts OutNUcastPkts OutDiscards OutErrors")
        .split(QLatin1Char(' '));
}
