// Pictures of the MD5, BOOTP, IP interface, SSL, server-control, ACL
// meter, equipment and About dialogs, each after its first read.
#include "ShotSupport.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/TACLMeterForm.h"
#include "dialogs/dedicated/TAboutForm.h"
#include "dialogs/dedicated/TBOOTCtrlTableForm.h"
#include "dialogs/dedicated/TEquipmentBasicInfoForm.h"
#include "dialogs/dedicated/TIPCtrlEdtForm.h"
#include "dialogs/dedicated/TIpCtrlForm.h"
#include "dialogs/dedicated/TMd5EditForm.h"
#include "dialogs/dedicated/TMd5InformationForm.h"
#include "dialogs/dedicated/TSSLManagementForm.h"
#include "dialogs/dedicated/TfrmACCServerCtrl.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

const QString Host = QStringLiteral("127.0.0.1");
int failures = 0;

// Shows the dialog and waits until its binding has ended its first read.
void showRead(QWidget *dialog, const KtSNMPRequest2Controls *binding)
{
    dialog->show();
    QElapsedTimer clock;
    clock.start();
    do
        Shot::Settle(50);
    while (clock.elapsed() < 15000 && (binding->Busy || binding->ResultCount == 0));
    Shot::Settle(150);
    if (binding->ResultCount == 0) {
        std::fprintf(stderr, "%s read nothing\n", qPrintable(dialog->windowTitle()));
        ++failures;
    }
}

void save(QWidget *w, const char *name)
{
    failures += Shot::Save(w, QString::fromLatin1(name)) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!Shot::AimAtAgent(QStringLiteral("boots-secondhalf")))
        return 2;
    {
        TMd5InformationForm form(nullptr, QStringLiteral("MD5 Information Table: ") + Host);
        showRead(&form, form.Edits);
        save(&form, "md5-information");
        form.ListView1->setCurrentItem(form.ListView1->topLevelItem(0));
        form.EditForm->Mode = 1;
        form.EditForm->setWindowTitle(form.windowTitle());
        form.EditForm->show();
        Shot::Settle(150);
        save(form.EditForm, "md5-edit");
        form.EditForm->hide();
    }
    {
        TBOOTCtrlTableForm form(nullptr, QStringLiteral("BOOTP Ctrl Table: ") + Host);
        showRead(&form, form.Edits);
        save(&form, "bootp-ctrl");
    }
    {
        TIpCtrlForm form(nullptr, Host);
        showRead(&form, form.Edits);
        form.ListView1->setCurrentItem(form.ListView1->topLevelItem(0));
        Shot::Settle(100);
        save(&form, "ip-control");
        form.ListView1->clearSelection();
        form.EditForm->Mode = 0;
        form.EditForm->setWindowTitle(QStringLiteral("IP Control Table(Add): ") + Host);
        form.EditForm->show();
        form.EditForm->edtIPAddr->setText(QStringLiteral("192.168.10.1"));
        form.EditForm->edtIndex->setText(QStringLiteral("10"));
        form.EditForm->edtInterface->setText(QStringLiteral("ipif10"));
        form.EditForm->edtMask->setText(QStringLiteral("255.255.255.0"));
        form.EditForm->edtVlan->setText(QStringLiteral("v10"));
        form.EditForm->cbxMode->setCurrentText(QStringLiteral("manual"));
        form.EditForm->cbxSecondary->setCurrentText(QStringLiteral("false"));
        form.EditForm->cbxOper->setCurrentText(QStringLiteral("up"));
        form.EditForm->cbxARP->setCurrentText(QStringLiteral("disabled"));
        Shot::Settle(150);
        save(form.EditForm, "ip-control-add");
        form.EditForm->hide();
    }
    {
        TSSLManagementForm form(nullptr, QStringLiteral("SSL Control Table : ") + Host);
        showRead(&form, form.Edits);
        save(&form, "ssl-control");
    }
    {
        TfrmACCServerCtrl form(nullptr, QStringLiteral("ACC Server Control Table : ") + Host);
        showRead(&form, form.Edits);
        form.edtGroupName->setText(QStringLiteral("radius"));
        form.edtIPAddr->setText(QStringLiteral("10.90.90.12"));
        form.cbAuthProtocol->setCurrentText(QStringLiteral("radius"));
        form.cbRowState->setCurrentText(QStringLiteral("add"));
        Shot::Settle(100);
        save(&form, "acc-server-control");
    }
    {
        TACLMeterForm form(nullptr, QStringLiteral("ACL Meter Table: ") + Host);
        showRead(&form, form.Edits);
        form.ListView1->setCurrentItem(form.ListView1->topLevelItem(1));
        Shot::Settle(100);
        save(&form, "acl-meter");
    }
    {
        TEquipmentBasicInfoForm form(nullptr, QStringLiteral("Equipment Basic Information :") + Host);
        showRead(&form, form.Edits);
        save(&form, "equipment-info");
    }
    {
        TAboutForm form(nullptr);
        form.show();
        Shot::Settle(150);
        save(&form, "about");
    }
    return failures == 0 ? 0 : 1;
}
