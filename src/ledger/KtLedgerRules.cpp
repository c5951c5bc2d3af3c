#include "ledger/KtLedgerRules.h"

#include "snmp/KtVarBind.h"
#include "values/KtTypes.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QRegularExpression>
#include <QStringList>

namespace KtLedgerRules {

namespace {

bool printable(const QByteArray &octets)
{
    for (char c : octets)
        if (uchar(c) < 0x20 || uchar(c) > 0x7e)
            return false;
    return true;
}

QString hex(const QByteArray &octets)
{
    return QString::fromLatin1(octets.toHex().toUpper());
}

} // namespace

QString StateFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    // XDG_STATE_HOME must be absolute; a relative one is ignored.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/qsx4810");
}

QString FileName(const QString &host, quint16 port)
{
    QString name = host.trimmed();
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9.:_-]"));
    name.replace(unsafe, QStringLiteral("_"));
    if (port != 161)
        name += QLatin1Char('-') + QString::number(port);
    return QStringLiteral("changes-") + name + QStringLiteral(".jsonl");
}

QString AsideName(const QString &fileName, const QDateTime &when)
{
    return fileName + QStringLiteral(".damaged-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

QByteArray ToLine(const KtLedgerEntry &e)
{
    QJsonObject o;
    o.insert(QStringLiteral("time"), e.Time.toOffsetFromUtc(e.Time.offsetFromUtc()).toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("upTime"), qint64(e.UpTime));
    o.insert(QStringLiteral("where"), e.Where);
    o.insert(QStringLiteral("oid"), e.Oid);
    o.insert(QStringLiteral("label"), e.Label);
    if (e.Secret) {
        o.insert(QStringLiteral("secret"), true);
        o.insert(QStringLiteral("old"), QString::fromLatin1(Mask));
        o.insert(QStringLiteral("new"), QString::fromLatin1(Mask));
        o.insert(QStringLiteral("type"), e.Type);
    } else {
        o.insert(QStringLiteral("old"), e.OldKnown ? QJsonValue(e.Old) : QJsonValue(QJsonValue::Null));
        o.insert(QStringLiteral("new"), e.New);
        o.insert(QStringLiteral("type"), e.Type);
        o.insert(QStringLiteral("value"), e.Value);
    }
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

bool FromLine(const QByteArray &line, KtLedgerEntry &e, QString *why)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    const auto fail = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (error.error != QJsonParseError::NoError)
        return fail(error.errorString());
    if (!doc.isObject())
        return fail(QStringLiteral("not an object"));
    const QJsonObject o = doc.object();
    for (const char *key : {"time", "where", "oid", "label", "new", "type"})
        if (!o.value(QLatin1String(key)).isString())
            return fail(QStringLiteral("no text \"%1\"").arg(QLatin1String(key)));
    if (!o.value(QStringLiteral("upTime")).isDouble())
        return fail(QStringLiteral("no number \"upTime\""));
    e = KtLedgerEntry();
    e.Time = QDateTime::fromString(o.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    if (!e.Time.isValid())
        return fail(QStringLiteral("bad \"time\""));
    const double upTime = o.value(QStringLiteral("upTime")).toDouble();
    if (upTime < 0 || upTime > 4294967295.0)
        return fail(QStringLiteral("bad \"upTime\""));
    e.UpTime = quint32(upTime);
    e.Where = o.value(QStringLiteral("where")).toString();
    e.Oid = o.value(QStringLiteral("oid")).toString();
    static const QRegularExpression dotted(QStringLiteral("^[0-9]+(\\.[0-9]+)+$"));
    if (!dotted.match(e.Oid).hasMatch())
        return fail(QStringLiteral("bad \"oid\""));
    e.Label = o.value(QStringLiteral("label")).toString();
    e.Secret = o.value(QStringLiteral("secret")).toBool(false);
    e.Type = o.value(QStringLiteral("type")).toString();
    const QJsonValue old = o.value(QStringLiteral("old"));
    e.OldKnown = old.isString();
    if (e.Secret) {
        e.Old = e.New = QString::fromLatin1(Mask);
        return true;
    }
    e.Old = old.toString();
    e.New = o.value(QStringLiteral("new")).toString();
    e.Value = o.value(QStringLiteral("value")).toString();
    return true;
}

bool IsSecret(const QString &label, quint32 type)
{
    if (type != KtType::DisplayStr && type != KtType::OctetStr)
        return false;
    static const QRegularExpression words(
        QStringLiteral("pass(word|wd| ?phrase)|secret|communit|\\bkey\\b(?!\\s*(id|index))"),
        QRegularExpression::CaseInsensitiveOption);
    return words.match(label).hasMatch();
}

QString SetType(const KtVarBind &vb)
{
    switch (vb.syntax) {
    case KtSyntax::Integer: return QStringLiteral("i");
    case KtSyntax::OctetString: return printable(vb.octets) ? QStringLiteral("s") : QStringLiteral("x");
    case KtSyntax::ObjectId: return QStringLiteral("o");
    case KtSyntax::IpAddress: return QStringLiteral("a");
    case KtSyntax::TimeTicks: return QStringLiteral("t");
    case KtSyntax::Counter32:
    case KtSyntax::Gauge32:
    case KtSyntax::UInteger32:
    case KtSyntax::Counter64: return QStringLiteral("u");
    case KtSyntax::Opaque: return QStringLiteral("x");
    default: return QStringLiteral("n");
    }
}

QString SetValue(const KtVarBind &vb)
{
    switch (vb.syntax) {
    case KtSyntax::Integer:
    case KtSyntax::TimeTicks:
    case KtSyntax::Counter32:
    case KtSyntax::Gauge32:
    case KtSyntax::UInteger32: return QString::number(vb.integer);
    case KtSyntax::Counter64: return QString::number(vb.counter64);
    case KtSyntax::OctetString: return printable(vb.octets) ? QString::fromLatin1(vb.octets) : hex(vb.octets);
    case KtSyntax::Opaque: return hex(vb.octets);
    case KtSyntax::ObjectId: return vb.objectId;
    case KtSyntax::IpAddress: {
        QStringList parts;
        for (char c : vb.octets)
            parts.append(QString::number(uchar(c)));
        return parts.join(QLatin1Char('.'));
    }
    default: return QStringLiteral("0");
    }
}

bool Rebooted(quint32 known, quint32 now)
{
    return now < known;
}

} // namespace KtLedgerRules
