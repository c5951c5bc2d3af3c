#include "snapshot/KtSnapshotSchema.h"

#include "mib/KtMibData.h"
#include "shell/catalogue/KtMenuCatalogue.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {

bool readWrite(quint32 access)
{
    return (access & KtAccess::ReadOnly) && (access & KtAccess::WriteOnly) && !(access & KtAccess::Invalid);
}

qint32 optionValue(const KtOptionList *options, const QString &label)
{
    if (!options)
        return -1;
    for (const KtOptionEntry &e : options->entries())
        if (e.Label == label)
            return e.Value;
    return -1;
}

// How a status column creates and removes rows, as the agent reads it too.
bool classifyStatus(KtSnapshotGroup &g, const KtSnapshotColumn &c)
{
    if (c.type != KtType::Integer || !c.options)
        return false;
    const bool go = optionValue(c.options, QStringLiteral("createAndGo")) >= 0;
    const bool wait = optionValue(c.options, QStringLiteral("createAndWait")) >= 0;
    if ((go || wait) && optionValue(c.options, QStringLiteral("destroy")) >= 0) {
        g.rowStatus = true;
        g.createAndGo = go;
        return true;
    }
    for (const auto &[create, remove] : {std::pair{"valid", "invalid"}, std::pair{"add", "delete"}}) {
        const qint32 cv = optionValue(c.options, QLatin1String(create));
        const qint32 rv = optionValue(c.options, QLatin1String(remove));
        if (cv >= 0 && rv >= 0) {
            g.createValue = cv;
            g.removeValue = rv;
            return true;
        }
    }
    return false;
}

} // namespace

QString KtSnapshotSchema::MenuPath(const QString &described)
{
    // 'VLAN > 802.1Q > 802.1Q VLAN [page "VLAN Static Table"]': the page is one step more.
    static const QRegularExpression page(QStringLiteral("\\s*\\[page \"([^\"]*)\"\\]\\s*$"));
    QString path = described;
    const QRegularExpressionMatch m = page.match(path);
    if (m.hasMatch())
        path = path.left(m.capturedStart()) + QStringLiteral(" > ") + m.captured(1);
    return path.trimmed();
}

int KtSnapshotGroup::statusColumn() const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).status)
            return i;
    return -1;
}

const KtSnapshotColumn *KtSnapshotGroup::column(const QString &oid) const
{
    for (const KtSnapshotColumn &c : columns)
        if (c.oid == oid)
            return &c;
    return nullptr;
}

bool KtSnapshotSchema::IsEngineSecurity(const QString &oid)
{
    for (const char *prefix : {"1.3.6.1.6.3.15.", "1.3.6.1.6.3.16.", "1.3.6.1.6.3.18."})
        if (oid.startsWith(QLatin1String(prefix)))
            return true;
    return false;
}

const KtSnapshotSchema &KtSnapshotSchema::Instance()
{
    static const KtSnapshotSchema schema = [] {
        KtSnapshotSchema s;
        const KtMibData &mib = KtMibData::Instance();
        const KtMenuCatalogue &catalogue = KtMenuCatalogue::Instance();
        // Which descriptor tables the menus show as tables, with their index count.
        QHash<QString, int> tableIndex;
        for (int e = 0; e < catalogue.count(); ++e)
            for (const KtMenuPanel &p : catalogue.at(e).panels())
                if (p.layout == KtMenuPanel::Table && !p.tables.isEmpty())
                    tableIndex.insert(p.tables.first(), p.indexCount);

        QHash<QString, int> byRoot;   // root (and kind) -> group
        QSet<QString> seen;           // objects already taken
        for (const KtMibData::Table &t : mib.Tables()) {
            if (t.Roots.isEmpty())
                continue;
            const bool table = tableIndex.contains(t.Name);
            const QString key = (table ? QStringLiteral("T ") : QStringLiteral("S ")) + t.Roots.first();
            int gi = byRoot.value(key, -1);
            if (gi < 0) {
                KtSnapshotGroup g;
                g.name = t.Name;
                g.menuPath = MenuPath(t.MenuPaths.value(0));
                g.root = t.Roots.first();
                g.table = table;
                g.indexCount = table ? tableIndex.value(t.Name) : 0;
                g.engineSecurity = IsEngineSecurity(g.root + QLatin1Char('.'));
                s.m_groups.append(g);
                gi = int(s.m_groups.size()) - 1;
                byRoot.insert(key, gi);
            }
            KtSnapshotGroup &g = s.m_groups[gi];
            for (int r = 0; r < t.Vars.size() && !t.Vars.at(r).isEnd(); ++r) {
                const KtSNMPVar &v = t.Vars.at(r);
                const bool index = table && r < g.indexCount;
                const bool readable = (v.Access & KtAccess::ReadOnly) && !(v.Access & KtAccess::Invalid);
                if (v.Oid == QLatin1String(" ") || (index ? !readable : !readWrite(v.Access)))
                    continue;
                if (seen.contains(v.Oid))
                    continue;
                seen.insert(v.Oid);
                KtSnapshotColumn c{v.Oid, v.Label, v.Type, v.Options, index, false};
                if (table && !index && !g.hasStatus())
                    c.status = classifyStatus(g, c);
                // Index columns lead, so that a row's key is read first.
                if (index) {
                    int at = 0;
                    while (at < g.columns.size() && g.columns.at(at).index)
                        ++at;
                    g.columns.insert(at, c);
                } else {
                    g.columns.append(c);
                }
            }
        }
        // Groups with nothing to keep are not walked.
        QList<KtSnapshotGroup> kept;
        for (const KtSnapshotGroup &g : s.m_groups) {
            bool writable = false;
            for (const KtSnapshotColumn &c : g.columns)
                writable = writable || !c.index;
            if (writable && !g.engineSecurity)
                kept.append(g);
        }
        s.m_groups = kept;
        return s;
    }();
    return schema;
}

const KtSnapshotGroup *KtSnapshotSchema::findGroup(const QString &root) const
{
    for (const KtSnapshotGroup &g : m_groups)
        if (g.root == root)
            return &g;
    return nullptr;
}

const KtSnapshotGroup *KtSnapshotSchema::groupOf(const QString &instance, const KtSnapshotColumn **column,
                                                 QString *suffix) const
{
    for (const KtSnapshotGroup &g : m_groups) {
        for (const KtSnapshotColumn &c : g.columns) {
            if (instance.size() > c.oid.size() + 1 && instance.startsWith(c.oid)
                && instance.at(c.oid.size()) == QLatin1Char('.')) {
                if (column)
                    *column = &c;
                if (suffix)
                    *suffix = instance.mid(c.oid.size() + 1);
                return &g;
            }
        }
    }
    return nullptr;
}

int KtSnapshotSchema::objectCount() const
{
    int n = 0;
    for (const KtSnapshotGroup &g : m_groups)
        n += int(g.columns.size());
    return n;
}
