#include "dialogs/monitors/KtMonitorDialogs.h"

#include "dialogs/monitors/TICMP_Counters.h"
#include "dialogs/monitors/TIF_Counters.h"
#include "dialogs/monitors/TIP_Counters.h"
#include "dialogs/monitors/TIP_Routing.h"
#include "dialogs/monitors/TSNMP_Counters.h"
#include "dialogs/monitors/TTpBridgePortInfo_Table.h"
#include "dialogs/monitors/TUDP_Counters.h"
#include "dialogs/registry/KtDialogRegistry.h"
#include "dialogs/registry/KtMainWindowServices.h"

#include <QPointer>

namespace {

template <class Dialog>
void add(const char *className)
{
    KtDialogRegistry::Register(QString::fromLatin1(className), [](const KtDialogOpening &opening) {
        QWidget *owner = opening.main ? opening.main->Window() : nullptr;
        const QString host = opening.main ? opening.main->HostText() : QString();
        // The owner may go while the dialog runs (the program is closing).
        const QPointer<Dialog> dialog = new Dialog(owner, opening.captionPrefix, host);
        dialog->exec();
        delete dialog.data();
    });
}

} // namespace

void RegisterMonitorDialogs()
{
    add<TUDP_Counters>("TUDP_Counters");
    add<TIP_Counters>("TIP_Counters");
    add<TICMP_Counters>("TICMP_Counters");
    add<TSNMP_Counters>("TSNMP_Counters");
    add<TIF_Counters>("TIF_Counters");
    add<TIP_Routing>("TIP_Routing");
    add<TTpBridgePortInfo_Table>("TTpBridgePortInfo_Table");
}
