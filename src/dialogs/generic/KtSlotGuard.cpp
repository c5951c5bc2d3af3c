#include "dialogs/generic/KtSlotGuard.h"

#include "bindings/KtSNMPRequest2Controls.h"
#include "errors/KtException.h"
#include "values/widgets/KtMessageService.h"

#include <QPointer>

void KtRunGuarded(QWidget *owner, KtSNMPRequest2Controls *binding, const std::function<void()> &work)
{
    const QPointer<KtSNMPRequest2Controls> guard(binding);
    try {
        work();
    } catch (const KtException &e) {
        if (guard && guard->StatusTarget)
            guard->ShowStatus(e.message());
        else
            KtMessageService::Warn(owner, e.message());
    }
}
