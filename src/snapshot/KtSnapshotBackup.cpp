#include "snapshot/KtSnapshotBackup.h"

#include "snapshot/KtSnapshotSchema.h"

#include "errors/KtException.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

#include <QEventLoop>
#include <QHash>
#include <QTimer>

namespace {

// noSuchName of a v1 agent: the object is not there.
constexpr int NoSuchNameCode = -102;

// A request that keeps the raw varbinds of the row it read last.
class RawRequest : public KtSNMPRequest
{
public:
    RawRequest(const KtSnapshotLink &link, const KtSNMPVarList &vars) : KtSNMPRequest(vars)
    {
        const KtSnmpTarget t = link.forRead();
        Host = t.host;
        AgentPort = t.port;
        Version = t.version;
        Timeout = t.timeout;
        Retries = t.retries;
        ReadCommunity = t.community;
        SecurityLevel = t.securityLevel;
        SecurityName = t.securityName;
        AuthPassword = t.authPassword;
        PrivPassword = t.privPassword;
        AuthProtocol = t.authProtocol;
        PrivProtocol = t.privProtocol;
        ContextName = t.contextName;
        ContextEngineID = t.contextEngineID;
    }
    void TakeValue(int i, const KtVarBind &vb) override
    {
        KtSNMPRequest::TakeValue(i, vb);
        row.insert(i, vb);
    }
    QHash<int, KtVarBind> row;
};

const KtSnapshotGroup &headerGroup()
{
    static const KtSnapshotGroup g = [] {
        KtSnapshotGroup s;
        s.name = QStringLiteral("system");
        s.columns = {{QStringLiteral("1.3.6.1.2.1.1.5"), QStringLiteral("sysName"), KtType::DisplayStr},
                     {QStringLiteral("1.3.6.1.2.1.1.1"), QStringLiteral("sysDescr"), KtType::DisplayStr}};
        return s;
    }();
    return g;
}

} // namespace

struct KtSnapshotBackup::Private
{
    const KtSnapshotGroup *group = nullptr;
    QList<KtSnapshotColumn> asked;      // the columns of the running request
    std::unique_ptr<RawRequest> request;
    int rows = 0;
    int before = 0;                     // values before the group began
    QList<KtSnapshotColumn> oneByOne;   // scalars left to ask alone (v1 fallback)
    quint64 probeTicket = 0;
    QString moduleVersion;
};

KtSnapshotBackup::KtSnapshotBackup(const KtSnapshotLink &link, QObject *parent)
    : QObject(parent), m_link(link), d(std::make_unique<Private>())
{
}

KtSnapshotBackup::~KtSnapshotBackup()
{
    if (d->probeTicket)
        KtSnmpEngine::Instance().Detach(d->probeTicket);
}

int KtSnapshotBackup::GroupCount()
{
    return int(KtSnapshotSchema::Instance().groups().size());
}

void KtSnapshotBackup::start(const QString &moduleVersion)
{
    m_snapshot = KtSnapshot();
    m_snapshot.host = m_link.target.host;
    m_snapshot.taken = QDateTime::currentDateTimeUtc();
    m_snapshot.moduleVersion = moduleVersion;
    m_running = true;
    m_group = -1;
    d->group = &headerGroup();
    d->asked = d->group->columns;
    d->oneByOne.clear();
    readNext(true);
}

void KtSnapshotBackup::cancel()
{
    if (!m_running)
        return;
    m_running = false;
    if (d->request)
        d->request->Alive = false;
    if (d->probeTicket) {
        KtSnmpEngine::Instance().Detach(d->probeTicket);
        d->probeTicket = 0;
    }
    QTimer::singleShot(0, this, [this] { emit finished(false, tr("cancelled")); });
}

void KtSnapshotBackup::end(bool ok, const QString &error)
{
    m_running = false;
    emit finished(ok, error);
}

void KtSnapshotBackup::readNext(bool restart)
{
    if (restart) {
        KtSNMPVarList l;
        for (const KtSnapshotColumn &c : d->asked)
            l.AppendVarShared(c.oid, c.label, c.type, KtAccess::ReadOnly, c.options);
        l.Kind = d->group->table ? KtKind::MVT_UMV : KtKind::SVT_SV;
        l.DisplayName = d->group->name;   // index parts travel in the instance; none decoded
        d->request = std::make_unique<RawRequest>(m_link, l);
    }
    d->request->row.clear();
    try {
        d->request->FetchAsync(&KtSnapshotBackup::answer, this, restart);
    } catch (const KtException &e) {
        end(false, e.message());
    }
}

void KtSnapshotBackup::answer(void *self, KtSNMPError *result, KtSNMPVarList *)
{
    static_cast<KtSnapshotBackup *>(self)->onAnswer(*result);
}

void KtSnapshotBackup::onAnswer(const KtSNMPError &result)
{
    if (!m_running)
        return;
    const KtSnapshotGroup &g = *d->group;
    if (result.Code != 0) {
        // A v1 agent refuses the whole PDU for one missing scalar: ask one by one.
        if (result.Code == NoSuchNameCode && !g.table && d->asked.size() > 1) {
            d->oneByOne = d->asked;
        } else if (!(result.Code == NoSuchNameCode && !g.table)) {
            end(false, result.Message.isEmpty() ? tr("error %1").arg(result.Code) : result.Message);
            return;
        }
    } else {
        for (auto it = d->request->row.cbegin(); it != d->request->row.cend(); ++it) {
            if (it->isException() || it->syntax == KtSyntax::Null)
                continue;
            const QString oid = g.table ? it->oid : d->asked.at(it.key()).oid + QStringLiteral(".0");
            m_snapshot.values.insert(oid, *it);
        }
        if (g.table && !result.Finished) {
            ++d->rows;
            readNext(false);
            return;
        }
    }
    if (!g.table && !d->oneByOne.isEmpty()) {
        d->asked = {d->oneByOne.takeFirst()};
        readNext(true);
        return;
    }
    // The group is done.
    if (m_group < 0) {
        auto text = [this](const char *oid) {
            return QString::fromUtf8(m_snapshot.values.take(QLatin1String(oid)).octets);
        };
        m_snapshot.sysName = text("1.3.6.1.2.1.1.5.0");
        m_snapshot.sysDescr = text("1.3.6.1.2.1.1.1.0");
    } else if (g.table && d->rows == 0) {
        probe();
        return;
    } else {
        (int(m_snapshot.values.size()) > d->before ? m_snapshot.present : m_snapshot.absent).insert(g.root);
        emit progress(m_group + 1, GroupCount(), g.menuPath);
    }
    nextGroup();
}

// Nothing walked: an empty table, or one the agent does not have. A get of
// its first column tells them apart (noSuchInstance / noSuchObject).
void KtSnapshotBackup::probe()
{
    KtVarBind vb;
    vb.oid = d->group->columns.first().oid + QStringLiteral(".0");
    try {
        d->probeTicket = KtSnmpEngine::Instance().Send(m_link.forRead(), KtPduCommand::Get, {vb},
                                                       [this](const KtPduResult &r) {
            d->probeTicket = 0;
            if (!m_running)
                return;
            if (r.status == KtPduResult::Closed) {
                end(false, tr("the SNMP session was closed"));
                return;
            }
            const bool missing = r.status == 0 && !r.vbs.isEmpty() && r.vbs.first().syntax == KtSyntax::NoSuchObject;
            (missing ? m_snapshot.absent : m_snapshot.present).insert(d->group->root);
            emit progress(m_group + 1, GroupCount(), d->group->menuPath);
            nextGroup();
        });
    } catch (const KtException &e) {
        end(false, e.message());
    }
}

void KtSnapshotBackup::nextGroup()
{
    const QList<KtSnapshotGroup> &groups = KtSnapshotSchema::Instance().groups();
    ++m_group;
    if (m_group >= groups.size()) {
        d->request.reset();
        end(true, {});
        return;
    }
    d->group = &groups.at(m_group);
    d->asked = d->group->columns;
    d->rows = 0;
    d->before = int(m_snapshot.values.size());
    d->oneByOne.clear();
    readNext(true);
}

bool KtSnapshotBackup::Read(const KtSnapshotLink &link, const QString &moduleVersion, KtSnapshot &out, QString *error)
{
    KtSnapshotBackup backup(link);
    QEventLoop loop;
    bool ok = false;
    QObject::connect(&backup, &KtSnapshotBackup::finished, &loop, [&](bool success, const QString &why) {
        ok = success;
        if (error)
            *error = why;
        loop.quit();
    });
    backup.start(moduleVersion);
    if (backup.running())
        loop.exec();
    out = backup.snapshot();
    return ok;
}
