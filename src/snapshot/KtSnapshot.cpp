#include "snapshot/KtSnapshot.h"

#include "snapshot/KtSnapshotSchema.h"
#include "snmp/KtOid.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <limits>

namespace {

const QString AbsentKey = QStringLiteral("absent");
const QString EmptyKey = QStringLiteral("empty");

QList<QString> sortedByOid(QList<QString> oids)
{
    std::sort(oids.begin(), oids.end(),
              [](const QString &a, const QString &b) { return KtOid::FromText(a) < KtOid::FromText(b); });
    return oids;
}

bool printable(const QByteArray &bytes)
{
    if (!bytes.isEmpty() && (bytes.front() == ' ' || bytes.back() == ' '))
        return false;
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x20 && uchar(c) < 0x7f; });
}

QString oneLine(QString s)
{
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return s;
}

} // namespace

QString KtSnapshot::ModuleVersion()
{
    return QStringLiteral("qsx4810 " QSX_VERSION);
}

QStringList KtSnapshot::instancesOf(const QString &root) const
{
    const QString prefix = root + QLatin1Char('.');
    QStringList result;
    for (auto it = values.lowerBound(prefix); it != values.end() && it.key().startsWith(prefix); ++it)
        result.append(it.key());
    return sortedByOid(result);
}

QString KtSnapshot::FormatValue(const KtVarBind &vb)
{
    switch (vb.syntax) {
    case KtSyntax::Integer:
    case KtSyntax::Counter32:
    case KtSyntax::Gauge32:
    case KtSyntax::TimeTicks:
        return QString::number(vb.syntax) + QLatin1Char('|') + QString::number(vb.integer);
    case KtSyntax::UInteger32:   // the agent knows it as Gauge32
        return QStringLiteral("66|") + QString::number(vb.integer);
    case KtSyntax::Counter64:
        return QStringLiteral("70|") + QString::number(vb.counter64);
    case KtSyntax::ObjectId:
        return QStringLiteral("6|") + vb.objectId;
    case KtSyntax::IpAddress: {
        QStringList parts;
        for (char c : vb.octets)
            parts.append(QString::number(uchar(c)));
        return QStringLiteral("64|") + parts.join(QLatin1Char('.'));
    }
    case KtSyntax::OctetString:
    case KtSyntax::Opaque:
        if (printable(vb.octets))
            return QString::number(vb.syntax) + QLatin1Char('|') + QString::fromLatin1(vb.octets);
        return QString::number(vb.syntax) + QStringLiteral("x|") + QString::fromLatin1(vb.octets.toHex());
    default:
        return QStringLiteral("5|");
    }
}

bool KtSnapshot::ParseValue(const QString &tagText, const QString &value, KtVarBind &out, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    QString t = tagText.trimmed();
    const bool hex = t.endsWith(QLatin1Char('x'), Qt::CaseInsensitive);
    if (hex)
        t.chop(1);
    bool ok = false;
    const int tag = t.toInt(&ok);
    static const QList<int> known = {2, 4, 5, 6, 64, 65, 66, 67, 68, 70};
    if (!ok || !known.contains(tag))
        return fail(QStringLiteral("unknown tag \"%1\"").arg(tagText));
    if (hex && tag != 4 && tag != 68 && tag != 64)
        return fail(QStringLiteral("hex form is only allowed for octet strings"));
    out = KtVarBind();
    out.syntax = quint8(tag);
    switch (tag) {
    case 2: {
        const qint64 v = value.toLongLong(&ok);
        if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
            return fail(QStringLiteral("not a 32-bit integer: \"%1\"").arg(value));
        out.integer = v;
        return true;
    }
    case 65: case 66: case 67: {
        const qint64 v = value.toLongLong(&ok);
        if (!ok || v < 0 || v > std::numeric_limits<quint32>::max() || value.startsWith(QLatin1Char('+')))
            return fail(QStringLiteral("not an unsigned 32-bit number: \"%1\"").arg(value));
        out.integer = v;
        return true;
    }
    case 70:
        out.counter64 = value.toULongLong(&ok);
        if (!ok || value.startsWith(QLatin1Char('-')) || value.startsWith(QLatin1Char('+')))
            return fail(QStringLiteral("not an unsigned 64-bit number: \"%1\"").arg(value));
        return true;
    case 5:
        return true;
    case 6: {
        KtOid::FromText(value, &ok);
        if (!ok)
            return fail(QStringLiteral("not an object identifier: \"%1\"").arg(value));
        out.objectId = value;
        return true;
    }
    default:
        break;
    }
    if (hex) {
        const QByteArray digits = value.toLatin1();
        const bool allHex = std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(uchar(c)); });
        if (!allHex || digits.size() % 2)
            return fail(QStringLiteral("bad hex octets: \"%1\"").arg(value));
        out.octets = QByteArray::fromHex(digits);
    } else if (tag == 64) {
        const QStringList parts = value.split(QLatin1Char('.'));
        if (parts.size() != 4)
            return fail(QStringLiteral("not a dotted IPv4 address: \"%1\"").arg(value));
        for (const QString &p : parts) {
            const uint n = p.toUInt(&ok);
            if (!ok || n > 255)
                return fail(QStringLiteral("not a dotted IPv4 address: \"%1\"").arg(value));
            out.octets.append(char(n));
        }
    } else {
        out.octets = value.toLatin1();
    }
    if (tag == 64 && out.octets.size() != 4)
        return fail(QStringLiteral("not four octets: \"%1\"").arg(value));
    return true;
}

QString KtSnapshot::toText() const
{
    QString out;
    out += QLatin1String(Signature) + QLatin1Char('\n');
    out += QStringLiteral("# sysName: ") + oneLine(sysName) + QLatin1Char('\n');
    out += QStringLiteral("# sysDescr: ") + oneLine(sysDescr) + QLatin1Char('\n');
    out += QStringLiteral("# host: ") + oneLine(host) + QLatin1Char('\n');
    out += QStringLiteral("# date: ") + taken.toUTC().toString(Qt::ISODate) + QLatin1Char('\n');
    out += QStringLiteral("# module: ") + oneLine(moduleVersion) + QLatin1Char('\n');
    const KtSnapshotSchema &schema = KtSnapshotSchema::Instance();
    for (const QString &root : sortedByOid(absent.values())) {
        const KtSnapshotGroup *g = schema.findGroup(root);
        out += QStringLiteral("# absent: ") + root + (g ? QLatin1Char(' ') + g->name : QString()) + QLatin1Char('\n');
    }
    // Groups read without a single object: the file shows they were looked at.
    for (const QString &root : sortedByOid(present.values())) {
        if (!instancesOf(root).isEmpty())
            continue;
        const KtSnapshotGroup *g = schema.findGroup(root);
        out += QStringLiteral("# empty: ") + root + (g ? QLatin1Char(' ') + g->name : QString()) + QLatin1Char('\n');
    }
    for (const QString &oid : sortedByOid(values.keys()))
        out += oid + QLatin1Char('|') + FormatValue(values.value(oid)) + QLatin1Char('\n');
    return out;
}

bool KtSnapshot::fromText(const QString &text, const QString &name, QStringList *errors)
{
    KtSnapshot s;
    QStringList bad;
    const QStringList lines = text.split(QLatin1Char('\n'));
    const KtSnapshotSchema &schema = KtSnapshotSchema::Instance();
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        auto fail = [&](const QString &why) { bad.append(QStringLiteral("%1:%2: %3").arg(name).arg(n + 1).arg(why)); };
        if (trimmed.startsWith(QLatin1Char('#'))) {
            const QString body = trimmed.mid(1).trimmed();
            const int colon = body.indexOf(QLatin1Char(':'));
            if (colon < 0)
                continue;
            const QString key = body.left(colon).trimmed();
            const QString value = body.mid(colon + 1).trimmed();
            if (key == QLatin1String("sysName"))
                s.sysName = value;
            else if (key == QLatin1String("sysDescr"))
                s.sysDescr = value;
            else if (key == QLatin1String("host"))
                s.host = value;
            else if (key == QLatin1String("date"))
                s.taken = QDateTime::fromString(value, Qt::ISODate);
            else if (key == QLatin1String("module"))
                s.moduleVersion = value;
            else if (key == AbsentKey || key == EmptyKey) {
                const QString root = value.section(QLatin1Char(' '), 0, 0);
                bool ok = false;
                KtOid::FromText(root, &ok);
                if (!ok)
                    fail(QStringLiteral("bad OID \"%1\"").arg(root));
                else
                    (key == AbsentKey ? s.absent : s.present).insert(root);
            }
            continue;
        }
        const int bar1 = line.indexOf(QLatin1Char('|'));
        const int bar2 = bar1 < 0 ? -1 : line.indexOf(QLatin1Char('|'), bar1 + 1);
        if (bar2 < 0) {
            fail(QStringLiteral("expected OID|tag|value"));
            continue;
        }
        const QString oid = line.left(bar1).trimmed();
        bool ok = false;
        const KtOid parsed = KtOid::FromText(oid, &ok);
        if (!ok || parsed.Size() < 2) {
            fail(QStringLiteral("bad OID \"%1\"").arg(oid));
            continue;
        }
        KtVarBind vb;
        QString why;
        if (!ParseValue(line.mid(bar1 + 1, bar2 - bar1 - 1), line.mid(bar2 + 1), vb, &why)) {
            fail(why);
            continue;
        }
        vb.oid = parsed.ToText();
        if (s.values.contains(vb.oid)) {
            fail(QStringLiteral("%1 given twice").arg(vb.oid));
            continue;
        }
        s.values.insert(vb.oid, vb);
        if (const KtSnapshotGroup *g = schema.groupOf(vb.oid))
            s.present.insert(g->root);
    }
    for (const QString &root : s.absent)
        if (s.present.contains(root) && !s.instancesOf(root).isEmpty())
            bad.append(QStringLiteral("%1: %2 is listed as absent but has values").arg(name, root));
    if (!bad.isEmpty()) {
        if (errors)
            *errors = bad;
        return false;
    }
    *this = s;
    return true;
}

bool KtSnapshot::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    const QByteArray data = toText().toUtf8();
    // Keys of routing and access-control servers are configuration too: the
    // file is for its owner only.
    const bool opened = file.open(QIODevice::WriteOnly)
        && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!opened || file.write(data) != data.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool KtSnapshot::load(const QString &path, QStringList *errors)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errors)
            *errors = {QStringLiteral("%1: %2").arg(path, file.errorString())};
        return false;
    }
    return fromText(QString::fromUtf8(file.readAll()), path, errors);
}
