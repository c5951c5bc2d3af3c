#include "shell/KtAllDialogs.h"

#include "dialogs/monitors/KtMonitorDialogs.h"

void RegisterAllDialogs()
{
    RegisterMonitorDialogs();
}
