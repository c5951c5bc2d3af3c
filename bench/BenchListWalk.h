#pragma once

// A table read into a list view by the editor binding, as a table panel
// reads it, timed. Beside BenchDaemon: this part links the bindings.

#include <functional>

class KtSNMPRequest;
class KtSNMPVarList;
class QPlainTextEdit;
class QTreeWidget;

namespace Bench {

struct ListWalk
{
    double ms = 0;
    int rows = 0;
    int code = 0;
};

// One asynchronous walk of vars into view (status lines into memo) of a
// shown window; prepare may aim the request elsewhere before it starts.
ListWalk walkIntoListView(QTreeWidget *view, QPlainTextEdit *memo, const KtSNMPVarList &vars,
                          const std::function<void(KtSNMPRequest &)> &prepare = {});

} // namespace Bench
