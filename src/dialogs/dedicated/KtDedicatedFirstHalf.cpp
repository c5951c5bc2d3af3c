#include "dialogs/dedicated/KtDedicatedFirstHalf.h"

#include "dialogs/dedicated/TCurrentTimeForm.h"
#include "dialogs/dedicated/TMSInformationForm.h"
#include "dialogs/dedicated/TOSPFDefaultInfoOriginateForm.h"
#include "dialogs/dedicated/TRouteRedistributForm.h"
#include "dialogs/dedicated/TSTP_Info.h"
#include "dialogs/dedicated/TSummerTimeForm.h"
#include "dialogs/registry/KtDialogRegistry.h"
#include "dialogs/registry/KtMainWindowServices.h"

#include <QPointer>

#include <functional>

namespace {

using Make = std::function<QDialog *(const KtDialogOpening &, QWidget *owner)>;

void add(const char *className, Make make)
{
    KtDialogRegistry::Register(QString::fromLatin1(className), [make](const KtDialogOpening &opening) {
        QWidget *owner = opening.main ? opening.main->Window() : nullptr;
        // The owner may go while the dialog runs (the program is closing).
        const QPointer<QDialog> dialog = make(opening, owner);
        dialog->exec();
        delete dialog.data();
    });
}

} // namespace

void RegisterDedicatedDialogsFirstHalf()
{
    add("TSTP_Info", [](const KtDialogOpening &o, QWidget *w) { return new TSTP_Info(o.main, w); });
    add("TCurrentTimeForm", [](const KtDialogOpening &o, QWidget *w) {
        auto *d = new TCurrentTimeForm(w);
        if (!o.captionPrefix.isEmpty() && o.main)
            d->setWindowTitle(o.captionPrefix + o.main->HostText());
        return d;
    });
    add("TSummerTimeForm", [](const KtDialogOpening &o, QWidget *w) { return new TSummerTimeForm(o.main, w); });
    add("TRouteRedistributForm",
        [](const KtDialogOpening &o, QWidget *w) { return new TRouteRedistributForm(o.main, w); });
    add("TOSPFDefaultInfoOriginateForm", [](const KtDialogOpening &o, QWidget *w) {
        return new TOSPFDefaultInfoOriginateForm(o.main, o.captionPrefix, w);
    });
    add("TMSInformationForm", [](const KtDialogOpening &o, QWidget *w) {
        return new TMSInformationForm(o.main, o.captionPrefix, w);
    });
}
