#include "dialogs/dedicated/KtDedicatedSecondHalf.h"

#include "dialogs/dedicated/TACLMeterForm.h"
#include "dialogs/dedicated/TAboutForm.h"
#include "dialogs/dedicated/TBOOTCtrlTableForm.h"
#include "dialogs/dedicated/TEquipmentBasicInfoForm.h"
#include "dialogs/dedicated/TIpCtrlForm.h"
#include "dialogs/dedicated/TMd5InformationForm.h"
#include "dialogs/dedicated/TSSLManagementForm.h"
#include "dialogs/dedicated/TfrmACCServerCtrl.h"
#include "dialogs/registry/KtDialogRegistry.h"
#include "dialogs/registry/KtMainWindowServices.h"

namespace {

QWidget *ownerOf(const KtDialogOpening &opening)
{
    return opening.main ? opening.main->Window() : nullptr;
}

QString hostOf(const KtDialogOpening &opening)
{
    return opening.main ? opening.main->HostText() : QString();
}

// The catalogue's prefix where the entry has one, else the dialog's own.
QString prefixOf(const KtDialogOpening &opening, const char *own)
{
    return opening.captionPrefix.isEmpty() ? QString::fromLatin1(own) : opening.captionPrefix;
}

template <class Form>
void registerCaptioned(const char *name)
{
    KtDialogRegistry::Register(QString::fromLatin1(name), [](const KtDialogOpening &opening) {
        Form form(ownerOf(opening), prefixOf(opening, Form::CaptionPrefix) + hostOf(opening));
        form.exec();
    });
}

} // namespace

void RegisterDedicatedDialogsSecondHalf()
{
    registerCaptioned<TMd5InformationForm>("TMd5InformationForm");
    registerCaptioned<TBOOTCtrlTableForm>("TBOOTCtrlTableForm");
    registerCaptioned<TSSLManagementForm>("TSSLManagementForm");
    registerCaptioned<TfrmACCServerCtrl>("TfrmACCServerCtrl");
    registerCaptioned<TACLMeterForm>("TACLMeterForm");
    registerCaptioned<TEquipmentBasicInfoForm>("TEquipmentBasicInfoForm");
    KtDialogRegistry::Register(QStringLiteral("TIpCtrlForm"), [](const KtDialogOpening &opening) {
        TIpCtrlForm form(ownerOf(opening), hostOf(opening), prefixOf(opening, TIpCtrlForm::CaptionPrefix));
        form.exec();
    });
    KtDialogRegistry::Register(QStringLiteral("TAboutForm"), [](const KtDialogOpening &opening) {
        TAboutForm form(ownerOf(opening));
        form.exec();
    });
}
