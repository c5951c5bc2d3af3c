#include "dialogs/monitors/KtProtocolMonitor.h"

#include "dialogs/monitors/KtMonitorTables.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPVarList.h"
#include "values/KtTypes.h"

#include <QTimer>

namespace {

KtCounterMonitor::Setup setupOf(const KtProtocolMonitor::Family &f, const QString &prefix, const QString &host)
{
    KtCounterMonitor::Setup s;
    s.caption = (prefix.isEmpty() ? f.caption : prefix) + host;
    s.rowNames = f.rowNames;
    s.rule = KtCounterModel::Rule::ShowDelta;
    s.listName = f.listName;
    s.hiddenName = f.hiddenName;
    return s;
}

} // namespace

KtProtocolMonitor::KtProtocolMonitor(QWidget *parent, const Family &family, const QString &prefix,
                                     const QString &host)
    : KtCounterMonitor(parent, setupOf(family, prefix, host)), m_family(family)
{
    try {
        // A walk over the group's scalars brings exactly one row, the ".0" instances.
        SetCounterList(KtSNMPVarList(KtMonitorTables::Table(family.table), KtKind::MVT_FMV, 0), 0);
    } catch (const KtException &e) {
        ShowError(e.message());
    }
    MutableModel().PrepareRows(Now());
    ShowModel();
}

// The first read goes out once the dialog is on the screen, so that its
// answer always finds a running dialog.
void KtProtocolMonitor::showEvent(QShowEvent *event)
{
    KtCounterMonitor::showEvent(event);
    if (m_openedOnce)
        return;
    m_openedOnce = true;
    QTimer::singleShot(0, this, &KtProtocolMonitor::open);
}

void KtProtocolMonitor::open()
{
    if (m_family.runningBeforeRead)
        SetRunning(true);
    if (!m_family.sampleOnOpen)
        SkipNextSample();
    m_opening = Poll();
    Timer()->start();
}

void KtProtocolMonitor::PollAnswered(bool ok)
{
    if (!m_opening)
        return;
    m_opening = false;
    // The opening sample only loads the values: the first tick shows no Delta yet.
    MutableModel().ShowDelta = false;
    if (ok)
        SetRunning(true);
}
