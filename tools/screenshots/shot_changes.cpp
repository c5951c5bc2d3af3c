// The Changes window after three writes to the agent, which is then reset
// to its saved data so that the other pictures show it unchanged.

#include "ShotSupport.h"

#include "errors/KtException.h"
#include "ledger/KtChangeLedger.h"
#include "mib/KtMibData.h"
#include "shell/TChangesForm.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QTemporaryDir>

namespace {

void set(const char *oid, const QString &label, quint32 type, const QString &value)
{
    KtSNMPRequest r;
    r.Vars.AppendVar(QString::fromLatin1(oid), label, type, KtAccess::ReadWrite);
    r.Vars.Kind = KtKind::SVT_SV;
    r.Vars.Get(0).Value = value;
    r.Store();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!Shot::AimAtAgent(QStringLiteral("boots")))
        return 1;
    QTemporaryDir folder;
    KtChangeLedger ledger(KtSNMPSession::Device().Host, KtSNMPSession::Device().AgentPort, folder.path());
    ledger.Load();
    ledger.Install();
    QString where;
    ledger.SetSourceProvider([&where] { return where; });
    try {
        where = QStringLiteral("System > System Information");
        set("1.3.6.1.2.1.1.5", QStringLiteral("System Name"), KtType::DisplayStr, QStringLiteral("core-sw-02"));
        set("1.3.6.1.2.1.1.6", QStringLiteral("System Location"), KtType::DisplayStr, QStringLiteral("Rack 4, room 112"));
        where = QStringLiteral("Basic Configuration > Basic > Trust Host Management > Trust Host Table");
        const KtSNMPVarTable *table = KtMibData::Instance().FindTable(QStringLiteral("TrustHostTable"));
        KtSNMPRequest row(KtSNMPVarList(*table, KtKind::MVT_UMV, 1));
        const QStringList values{"12", "172.16.4.0", "createAndGo", "255.255.255.0"};
        for (int i = 0; i < values.size(); ++i)
            row.Vars.Get(i).Value = values.at(i);
        row.Store();
    } catch (const KtException &e) {
        std::fprintf(stderr, "write failed: %s\n", qPrintable(e.message()));
        return 1;
    }
    TChangesForm form(ledger, KtSNMPSession::Device().Host);
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    form.show();
    Shot::Settle(300);
    const bool saved = Shot::Save(&form, QStringLiteral("changes"));
    set(TChangesForm::ResetOid, QStringLiteral("Reset"), KtType::Integer, QStringLiteral("2"));
    return saved ? 0 : 1;
}
