#include "dialogs/dedicated/KtBindingGate.h"

#include "bindings/KtSNMPRequest2Controls.h"
#include "dialogs/generic/KtBindingWait.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/widgets/KtMessageService.h"

namespace KtBindingGate {

bool RefuseWhileBusy(QWidget *owner, const KtSNMPRequest2Controls *binding)
{
    if (!binding || !binding->Busy)
        return false;
    KtMessageService::Inform(owner, QString::fromLatin1(BusyText));
    return true;
}

void Read(KtSNMPRequest2Controls &binding)
{
    try {
        binding.Read();
    } catch (const KtException &e) {
        binding.LastOperation = 0;
        binding.ShowStatus(e.message());
    }
}

void Write(KtSNMPRequest2Controls &binding, bool refreshAfterSet, bool collect)
{
    try {
        binding.Write(refreshAfterSet, collect);
    } catch (const KtException &e) {
        binding.LastOperation = 1;
        binding.ShowStatus(e.message());
    }
}

void Close(const QList<KtSNMPRequest2Controls *> &bindings)
{
    int bound = 0;
    for (KtSNMPRequest2Controls *b : bindings) {
        if (!b)
            continue;
        b->Request.Alive = false;
        bound = qMax(bound, KtBindingWait::AnswerBoundMs(*b));
    }
    KtBindingWait::Wait(bindings, bound);
}

} // namespace KtBindingGate
