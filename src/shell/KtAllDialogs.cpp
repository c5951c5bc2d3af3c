#include "shell/KtAllDialogs.h"

#include "dialogs/dedicated/KtDedicatedFirstHalf.h"
#include "dialogs/dedicated/KtDedicatedSecondHalf.h"
#include "dialogs/monitors/KtMonitorDialogs.h"

void RegisterAllDialogs()
{
    RegisterMonitorDialogs();
    RegisterDedicatedDialogsFirstHalf();
    RegisterDedicatedDialogsSecondHalf();
}
