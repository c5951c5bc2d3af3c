#pragma once

#include <QList>

class KtSNMPRequest2Controls;

// Waiting for bindings to have nothing outstanding, as the dialogs do
// before they delete a binding, restart a stopped walk or edit a row.
namespace KtBindingWait {

// No exchange of the binding's request is waiting for an answer.
bool Quiet(const KtSNMPRequest2Controls &binding);

// A read or write of the binding is still on its way.
bool Running(const KtSNMPRequest2Controls &binding);

// How long an exchange can take at most: every try timed out, plus a margin.
int AnswerBoundMs(const KtSNMPRequest2Controls &binding);

// Runs a local event loop (user input held back) until every binding is
// quiet or maxMs have passed; true when all became quiet. A stopped
// request whose last answer has come in calls back no more, so the Busy
// flag it left behind is cleared here.
bool Wait(const QList<KtSNMPRequest2Controls *> &bindings, int maxMs);

// Stops the binding's walk at its next step and waits for it (bounded).
bool Stop(KtSNMPRequest2Controls &binding, int maxMs);

} // namespace KtBindingWait
