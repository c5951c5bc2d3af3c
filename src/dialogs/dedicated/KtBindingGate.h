#pragma once

#include <QList>

class KtSNMPRequest2Controls;
class QWidget;

// What the dialogs with asynchronous bindings do around a request: no
// second request while one is on its way, and no closing before the
// bindings are idle.
namespace KtBindingGate {

inline constexpr char BusyText[] = "Get data not completed, please wait";

// True, after telling the user, while the binding still waits for an answer.
bool RefuseWhileBusy(QWidget *owner, const KtSNMPRequest2Controls *binding);

// Reads; a failure raised at once goes to the binding's status line.
void Read(KtSNMPRequest2Controls &binding);

// Writes; likewise.
void Write(KtSNMPRequest2Controls &binding, bool refreshAfterSet, bool collect);

// Stops every binding and waits, bounded by the longest answer time, until
// none has an exchange outstanding.
void Close(const QList<KtSNMPRequest2Controls *> &bindings);

} // namespace KtBindingGate
