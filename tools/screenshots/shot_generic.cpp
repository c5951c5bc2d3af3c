// Pictures of the generic dialog: an editor, a table, pages, the add
// dialog and the port picker, each read from the agent first.
#include "ShotSupport.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/TConfigForm.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TListViewPanel.h"
#include "dialogs/generic/TPortPicker.h"
#include "dialogs/generic/TSNMPListViewPanel.h"
#include "mib/KtMibData.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <functional>
#include <memory>

namespace {

const QString Host = QStringLiteral("127.0.0.1");

KtSNMPRequest2Edits *binding(QWidget *owner, const char *table, quint8 kind, int indexCount)
{
    const KtSNMPVarTable *vars = KtMibData::Instance().FindTable(QString::fromLatin1(table));
    if (!vars)
        qFatal("no descriptor table %s", table);
    auto *b = new KtSNMPRequest2Edits(owner);
    b->Request.Vars = KtSNMPVarList(*vars, kind, indexCount);
    return b;
}

// Shows the form and waits until its visible binding has read everything.
bool showRead(TConfigForm &form)
{
    form.show();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 15000) {
        Shot::Settle(50);
        const KtSNMPRequest2Edits *b = form.VisibleBinding();
        if (b && !b->Busy && b->ResultCount > 0)
            break;
    }
    Shot::Settle(150);
    return form.VisibleBinding() && form.VisibleBinding()->ResultCount > 0;
}

// Runs work inside the modal loop of the next dialog that sender announces.
template <typename Sender, typename Signal>
void inside(Sender *sender, Signal signal, std::function<void(QDialog *)> work)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(sender, signal, sender, [connection, work](QWidget *w) {
        QObject::disconnect(*connection);
        auto *dialog = qobject_cast<QDialog *>(w);
        QTimer::singleShot(0, dialog, [dialog, work] {
            dialog->show();
            Shot::Settle(150);
            work(dialog);
            dialog->reject();
        });
    });
}

int failures = 0;

void save(QWidget *w, const char *name)
{
    if (!Shot::Save(w, QString::fromLatin1(name)))
        ++failures;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!Shot::AimAtAgent(QStringLiteral("shot_generic")))
        return 1;
    // Starting the session resets the device record; aim it again.
    const QString agent = qEnvironmentVariable("QSX_AGENT", QStringLiteral("127.0.0.1:16161"));
    KtSNMPSession::Device().Host = agent.section(':', 0, -2);
    KtSNMPSession::Device().AgentPort = agent.section(':', -1).toUShort();
    KtSNMPSession::Security().Version = 1;

    {
        TConfigForm form;
        form.setWindowTitle("MIB-II Information : " + Host);
        form.SetEditorPanel(binding(&form, "MIBIIInformation", KtKind::SVT_SV, 0))->SetEditWidth(180);
        if (showRead(form))
            save(&form, "generic_editor");
        form.reject();
    }
    {
        TConfigForm form;
        form.setWindowTitle("Trust Host Table : " + Host);
        TSNMPListViewPanel *panel =
            form.SetListViewPanel(binding(&form, "TrustHostTable", KtKind::MVT_UMV, 1), 2, "createAndGo", 2, "destroy");
        panel->SetNoEdit(true);
        if (showRead(form)) {
            panel->ListPanel->SortBy(1, Qt::AscendingOrder);
            panel->ListPanel->ListView->setCurrentItem(panel->ListPanel->ListView->topLevelItem(0));
            Shot::Settle(100);
            save(&form, "generic_table");
            inside(panel, &TSNMPListViewPanel::RowDialogOpening, [](QDialog *d) {
                auto *edits = d->findChild<TEditsPanel *>();
                edits->SetRowValue(0, "3");
                edits->SetRowValue(1, "172.16.4.0");
                edits->SetRowValue(3, "255.255.255.0");
                edits->CheckAll();
                Shot::Settle(100);
                save(d, "generic_add");
            });
            panel->Buttons->AddButton->click();
        }
        form.reject();
    }
    {
        TConfigForm form;
        form.setWindowTitle("System Log : " + Host);
        form.MakePaged();
        form.AddEditorPage("System Log Control", binding(&form, "SystemLogControl", KtKind::SVT_SV, 0));
        form.AddListViewPage("System Log Server", binding(&form, "SystemLogServer", KtKind::MVT_UMV, 1), 6,
                             "createAndGo", 6, "destroy");
        if (showRead(form)) {
            form.Pages->setCurrentIndex(1);
            showRead(form);
            save(&form, "generic_paged");
        }
        form.reject();
    }
    {
        TConfigForm form;
        form.setWindowTitle("Traffic Segmentation Table : " + Host);
        form.MakePaged();
        TSNMPListViewPanel *panel = form.AddListViewPage(
            "Traffic Segment Table", binding(&form, "TrafficSegmentationTable", KtKind::MVT_FMV, 1));
        panel->EditsPanel->SetPortListItem(1, 20, 28);
        if (showRead(form)) {
            panel->ListPanel->ListView->setCurrentItem(panel->ListPanel->ListView->topLevelItem(2));
            inside(panel, &TSNMPListViewPanel::RowDialogOpening, [panel](QDialog *) {
                inside(panel->EditsPanel, &TEditsPanel::PortPickerOpening, [](QDialog *picker) {
                    const QList<QCheckBox *> &boxes = static_cast<TPortPicker *>(picker)->Boxes;
                    for (int n : {0, 1, 4, 5, 6, 17, 24})
                        if (n < boxes.size())
                            boxes.at(n)->setChecked(true);
                    Shot::Settle(100);
                    save(picker, "generic_portpicker");
                });
                panel->EditsPanel->OpenPortPicker(1);
            });
            panel->Buttons->EditButton->click();
        }
        form.reject();
    }
    return failures == 0 ? 0 : 1;
}
