#include "snmp/KtWriteObserver.h"

namespace {

KtWriteObserver *installed = nullptr;

} // namespace

KtWriteObserver::~KtWriteObserver()
{
    if (installed == this)
        installed = nullptr;
}

void KtWriteObserver::Install(KtWriteObserver *observer)
{
    installed = observer;
}

KtWriteObserver *KtWriteObserver::Installed()
{
    return installed;
}
