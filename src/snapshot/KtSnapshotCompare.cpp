#include "snapshot/KtSnapshotCompare.h"

#include "snapshot/KtSnapshot.h"
#include "snapshot/KtSnapshotSchema.h"

#include "snmp/KtOid.h"
#include "snmp/KtVarBind.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QMap>
#include <QSet>

namespace {

const QString Absent = QStringLiteral("(absent)");

// Ports 1.. from the bits of a bitmap, most significant bit first; trailing
// zero octets name no port and so do not count.
QString portList(const QByteArray &bits)
{
    QList<int> ports;
    for (int i = 0; i < bits.size() * 8; ++i)
        if (uchar(bits.at(i / 8)) & (0x80 >> (i % 8)))
            ports.append(i + 1);
    QStringList parts;
    for (int i = 0; i < ports.size();) {
        int j = i;
        while (j + 1 < ports.size() && ports.at(j + 1) == ports.at(j) + 1)
            ++j;
        parts.append(j == i ? QString::number(ports.at(i))
                            : QStringLiteral("%1-%2").arg(ports.at(i)).arg(ports.at(j)));
        i = j + 1;
    }
    return parts.isEmpty() ? QStringLiteral("(none)") : parts.join(QLatin1Char(','));
}

// Rows of a table in one snapshot: suffix -> (column oid -> instance).
QMap<QString, QMap<QString, QString>> rowsOf(const KtSnapshot &s, const KtSnapshotGroup &g)
{
    QMap<QString, QMap<QString, QString>> rows;
    for (const KtSnapshotColumn &c : g.columns) {
        const QString prefix = c.oid + QLatin1Char('.');
        for (auto it = s.values.lowerBound(prefix); it != s.values.end() && it.key().startsWith(prefix); ++it)
            rows[it.key().mid(prefix.size())].insert(c.oid, it.key());
    }
    return rows;
}

QStringList sortedSuffixes(QList<QString> suffixes)
{
    std::sort(suffixes.begin(), suffixes.end(),
              [](const QString &a, const QString &b) { return KtOid::FromText(a) < KtOid::FromText(b); });
    return suffixes;
}

QString csvField(QString s)
{
    if (s.contains(QLatin1Char(',')) || s.contains(QLatin1Char('"')) || s.contains(QLatin1Char('\n'))) {
        s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        s = QLatin1Char('"') + s + QLatin1Char('"');
    }
    return s;
}

} // namespace

QString KtSnapshotDifference::KindText(Kind kind)
{
    switch (kind) {
    case Changed: return QStringLiteral("changed");
    case OnlyInSnapshot: return QStringLiteral("row only in snapshot");
    case OnlyOnSwitch: return QStringLiteral("row only on switch");
    case AbsentOnSwitch: return QStringLiteral("table absent on switch");
    case AbsentInSnapshot: return QStringLiteral("table absent in snapshot");
    }
    return {};
}

QString KtSnapshotDifference::toLine() const
{
    QString line = menuPath + QStringLiteral(" | ") + group;
    if (!row.isEmpty())
        line += QStringLiteral(" | row ") + row;
    line += QStringLiteral(" | ") + KindText(kind);
    if (kind == Changed)
        line += QStringLiteral(" | ") + object + QStringLiteral(": ") + before + QStringLiteral(" -> ") + after;
    return line;
}

QString KtSnapshotCompare::Meaning(const KtVarBind &vb, const KtSnapshotColumn &column)
{
    if (vb.syntax == KtSyntax::Null || vb.isException())
        return Absent;
    if (column.type == KtType::BitStr && (vb.syntax == KtSyntax::OctetString || vb.syntax == KtSyntax::Opaque))
        return portList(vb.octets);
    QString text = VarBindToText(vb, column.type);
    if (column.options && text != QLatin1String("(NULL)"))
        text = column.options->ValueToLabel(text);
    if (text == QLatin1String("(NULL)")) {
        // A value the type cannot hold still compares by its file form.
        text = KtSnapshot::FormatValue(vb);
    }
    return text;
}

QList<KtSnapshotDifference> KtSnapshotCompare::Compare(const KtSnapshot &snapshot, const KtSnapshot &live)
{
    QList<KtSnapshotDifference> out;
    for (const KtSnapshotGroup &g : KtSnapshotSchema::Instance().groups()) {
        KtSnapshotDifference base;
        base.menuPath = g.menuPath;
        base.group = g.name;
        base.root = g.root;
        const bool inSnapshot = snapshot.present.contains(g.root);
        const bool onSwitch = live.present.contains(g.root);
        if (!inSnapshot && !onSwitch)
            continue;
        if (inSnapshot != onSwitch) {
            base.kind = inSnapshot ? KtSnapshotDifference::AbsentOnSwitch : KtSnapshotDifference::AbsentInSnapshot;
            out.append(base);
            continue;
        }
        auto changed = [&](const KtSnapshotColumn &c, const QString &instance, const QString &row) {
            const auto a = snapshot.values.constFind(instance);
            const auto b = live.values.constFind(instance);
            const QString before = a == snapshot.values.cend() ? Absent : Meaning(*a, c);
            const QString after = b == live.values.cend() ? Absent : Meaning(*b, c);
            if (before == after)
                return;
            KtSnapshotDifference d = base;
            d.row = row;
            d.object = c.label;
            d.oid = instance;
            d.before = before;
            d.after = after;
            out.append(d);
        };
        if (!g.table) {
            for (const KtSnapshotColumn &c : g.columns)
                changed(c, c.oid + QStringLiteral(".0"), {});
            continue;
        }
        const auto before = rowsOf(snapshot, g);
        const auto after = rowsOf(live, g);
        QSet<QString> suffixes;
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            suffixes.insert(it.key());
        for (auto it = after.cbegin(); it != after.cend(); ++it)
            suffixes.insert(it.key());
        for (const QString &suffix : sortedSuffixes(suffixes.values())) {
            const bool a = before.contains(suffix);
            const bool b = after.contains(suffix);
            if (a != b) {
                KtSnapshotDifference d = base;
                d.kind = a ? KtSnapshotDifference::OnlyInSnapshot : KtSnapshotDifference::OnlyOnSwitch;
                d.row = suffix;
                out.append(d);
                continue;
            }
            for (const KtSnapshotColumn &c : g.columns)
                if (!c.index)
                    changed(c, c.oid + QLatin1Char('.') + suffix, suffix);
        }
    }
    return out;
}

QString KtSnapshotCompare::ToCsv(const QList<KtSnapshotDifference> &differences)
{
    QString out = QStringLiteral("Menu,Table,Row,Difference,Object,OID,Snapshot,Switch\n");
    for (const KtSnapshotDifference &d : differences) {
        const QStringList fields = {d.menuPath, d.group, d.row, KtSnapshotDifference::KindText(d.kind),
                                    d.object, d.oid, d.before, d.after};
        QStringList quoted;
        for (const QString &f : fields)
            quoted.append(csvField(f));
        out += quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}
