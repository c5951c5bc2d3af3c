#include "BenchListWalk.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "snmp/KtSNMPRequest.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTreeWidget>

namespace Bench {

ListWalk walkIntoListView(QTreeWidget *view, QPlainTextEdit *memo, const KtSNMPVarList &vars,
                          const std::function<void(KtSNMPRequest &)> &prepare)
{
    KtSNMPRequest2Edits edits(view->window());
    edits.Request.Vars = vars;
    if (prepare)
        prepare(edits.Request);
    edits.AttachListView(view);
    edits.SetStatusTarget(memo);
    QEventLoop loop;
    ListWalk w;
    edits.OnReadDone = [&](KtSNMPRequest2Controls *, const KtSNMPError &r) {
        w.code = r.Code;
        loop.quit();
    };
    QElapsedTimer clock;
    clock.start();
    edits.Read();
    loop.exec();
    w.ms = double(clock.nsecsElapsed()) / 1e6;
    w.rows = view->topLevelItemCount();
    return w;
}

} // namespace Bench
