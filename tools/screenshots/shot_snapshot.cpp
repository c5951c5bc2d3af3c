// The comparison window after three changes behind the module's back, and
// the restore plan with each item's result.

#include "ShotSupport.h"

#include "snapshot/KtRestorePlan.h"
#include "snapshot/KtSnapshotBackup.h"
#include "snapshot/widgets/TRestorePlanForm.h"
#include "snapshot/widgets/TSnapshotCompareForm.h"

#include <QPushButton>

namespace {

KtVarBind value(const QString &oid, quint8 syntax, qint64 integer, const QByteArray &octets = {})
{
    KtVarBind vb;
    vb.oid = oid;
    vb.syntax = syntax;
    vb.integer = integer;
    vb.octets = octets;
    return vb;
}

// Runs the event loop until signal comes from sender or ms pass; false on time-out.
template <typename Sender, typename Signal>
bool waitFor(Sender *sender, Signal signal, int ms)
{
    QEventLoop loop;
    bool came = false;
    QObject::connect(sender, signal, &loop, [&] {
        came = true;
        loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return came;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!Shot::AimAtAgent(QStringLiteral("boots")))
        return 1;
    KtSNMPSession::Security().ReadCommunity = QStringLiteral("cobalt");
    KtSNMPSession::Security().WriteCommunity = QStringLiteral("lantern");
    const KtSnapshotLink link = KtSnapshotLink::FromSession();
    KtSnapshot snapshot;
    QString error;
    if (!KtSnapshotBackup::Read(link, KtSnapshot::ModuleVersion(), snapshot, &error)) {
        std::fprintf(stderr, "backup failed: %s\n", qPrintable(error));
        return 1;
    }
    // Changes as an operator at the console would make them.
    const QList<KtVarBind> changes = {
        value(QStringLiteral("1.3.6.1.4.1.32473.12.10.11.1.0"), KtSyntax::Integer, 3),
        value(QStringLiteral("1.3.6.1.2.1.17.7.1.4.3.1.2.2"), KtSyntax::OctetString, 0, QByteArray::fromHex("0000ff00")),
        value(QStringLiteral("1.3.6.1.4.1.32473.12.1.2.13.1.1.3.2"), KtSyntax::Integer, 6),
    };
    for (const KtVarBind &vb : changes)
        if (KtSnmpEngine::Instance().Exchange(link.forWrite(), KtPduCommand::Set, {vb}).status != 0) {
            std::fprintf(stderr, "could not set %s\n", qPrintable(vb.oid));
            return 1;
        }

    TSnapshotCompareForm form(link, snapshot);
    form.show();
    if (!waitFor(&form, &TSnapshotCompareForm::compared, 120000) || form.differences().size() != changes.size()) {
        std::fprintf(stderr, "the comparison did not list the changes\n");
        return 1;
    }
    Shot::Settle(200);
    if (!Shot::Save(&form, QStringLiteral("snapshot-compare")))
        return 1;

    TRestorePlanForm plan(link, KtRestorePlan::Build(snapshot, form.differences()), {}, &form);
    plan.show();
    QTimer::singleShot(0, plan.sendButton(), &QPushButton::click);
    if (!waitFor(&plan, &TRestorePlanForm::sent, 60000)) {
        std::fprintf(stderr, "the restore did not finish\n");
        return 1;
    }
    Shot::Settle(200);
    return Shot::Save(&plan, QStringLiteral("snapshot-restore")) ? 0 : 1;
}
