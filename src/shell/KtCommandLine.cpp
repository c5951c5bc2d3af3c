#include "shell/KtCommandLine.h"

#include "snmp/KtSNMPSession.h"

#include <limits>

QString KtSwitchError::Message() const
{
    return QStringLiteral("The value \"%1\" of the switch %2 is not a valid number.").arg(Value, Switch);
}

namespace KtCommandLine {

QString PrefixValue(const QString &argument, const QString &sw)
{
    if (argument.size() > sw.size() && argument.startsWith(sw, Qt::CaseSensitive))
        return argument.mid(sw.size());
    return {};
}

bool SearchValue(const QString &argument, const QString &sw, QString *value)
{
    const qsizetype at = argument.indexOf(sw, 0, Qt::CaseSensitive);
    if (at < 0)
        return false;
    if (value)
        *value = argument.mid(at + sw.size());
    return true;
}

QString TitleFor(const QString &host)
{
    return QString::fromLatin1(ApplicationTitle) + QStringLiteral(" : ") + host;
}

QString HostText(const QStringList &arguments)
{
    QString host;
    for (const QString &argument : arguments) {
        const QString value = PrefixValue(argument, QStringLiteral("/I"));
        if (!value.isEmpty())
            host = value;
    }
    return host;
}

QString Title(const QStringList &arguments)
{
    const QString host = HostText(arguments);
    return host.isEmpty() ? QString() : TitleFor(host);
}

std::optional<qint64> ParseInteger(const QString &value, qint64 min, qint64 max)
{
    bool ok = false;
    const qint64 n = value.toLongLong(&ok, 10);
    if (!ok || n < min || n > max)
        return std::nullopt;
    return n;
}

namespace {

struct Records
{
    KtSNMPDevice &device;
    KtSNMPScope &scope;
    KtSNMPSecurity &security;
};

enum class Kind { Host, Integer, Text };

struct Row
{
    const char *sw;
    Kind kind;
    qint64 min;
    qint64 max;
    void (*applyInt)(Records &, qint64);
    void (*applyText)(Records &, const QString &);
};

constexpr qint64 I32Min = std::numeric_limits<qint32>::min();
constexpr qint64 I32Max = std::numeric_limits<qint32>::max();

Row textRow(const char *sw, void (*apply)(Records &, const QString &))
{
    return {sw, Kind::Text, 0, 0, nullptr, apply};
}

Row intRow(const char *sw, qint64 min, qint64 max, void (*apply)(Records &, qint64))
{
    return {sw, Kind::Integer, min, max, apply, nullptr};
}

const QList<Row> &baseRows()
{
    static const QList<Row> rows = {
        {"/I", Kind::Host, 0, 0, nullptr, nullptr},
        intRow("/v", 0, 255, [](Records &r, qint64 n) { r.security.Version = quint8(n); }),
        textRow("/R", [](Records &r, const QString &v) { r.security.ReadCommunity = v; }),
        textRow("/W", [](Records &r, const QString &v) { r.security.WriteCommunity = v; }),
    };
    return rows;
}

const QList<Row> &v3Rows()
{
    static const QList<Row> rows = {
        intRow("/t", 0, 65535, [](Records &r, qint64 n) { r.device.AgentPort = quint16(n); }),
        textRow("/c", [](Records &r, const QString &v) { r.scope.ContextName = v; }),
        textRow("/d", [](Records &r, const QString &v) { r.scope.ContextEngineID = v; }),
        intRow("/m", I32Min, I32Max, [](Records &r, qint64 n) { r.security.SecurityModel = qint32(n); }),
        intRow("/l", I32Min, I32Max, [](Records &r, qint64 n) { r.security.SecurityLevel = qint32(n); }),
        textRow("/n", [](Records &r, const QString &v) { r.security.SecurityName = v; }),
        textRow("/A", [](Records &r, const QString &v) { r.security.AuthPassword = v; }),
        textRow("/P", [](Records &r, const QString &v) { r.security.PrivPassword = v; }),
        intRow("/a", I32Min, I32Max, [](Records &r, qint64 n) { r.security.AuthProtocol = qint32(n); }),
        intRow("/p", I32Min, I32Max, [](Records &r, qint64 n) { r.security.PrivProtocol = qint32(n); }),
    };
    return rows;
}

// The first row whose switch occurs in the argument, with its value.
const Row *matchRow(const QString &argument, quint8 version, QString *value)
{
    for (const Row &row : baseRows())
        if (SearchValue(argument, QString::fromLatin1(row.sw), value))
            return &row;
    if (version != 3)
        return nullptr;
    for (const Row &row : v3Rows())
        if (SearchValue(argument, QString::fromLatin1(row.sw), value))
            return &row;
    return nullptr;
}

} // namespace

Outcome Apply(const QStringList &arguments, const HostResolver &resolve, KtSNMPDevice &device,
              KtSNMPScope &scope, KtSNMPSecurity &security)
{
    Outcome outcome;
    Records records{device, scope, security};
    for (const QString &argument : arguments) {
        QString value;
        const Row *row = matchRow(argument, security.Version, &value);
        if (!row)
            continue;
        switch (row->kind) {
        case Kind::Host: {
            outcome.HostGiven = true;
            const QString address = resolve ? resolve(value) : QString();
            if (address.isEmpty())
                outcome.HostFailed = true;
            else
                device.Host = address;
            break;
        }
        case Kind::Integer: {
            const std::optional<qint64> n = ParseInteger(value, row->min, row->max);
            if (!n) {
                // Found inside the argument, the switch may have cut a pass
                // phrase or community ("/Pa/very-long"): its value is not shown.
                const QString sw = QString::fromLatin1(row->sw);
                outcome.Error = KtSwitchError{sw, argument.startsWith(sw) ? value : QString::fromLatin1(Mask)};
                return outcome;
            }
            row->applyInt(records, *n);
            break;
        }
        case Kind::Text:
            row->applyText(records, value);
            break;
        }
    }
    return outcome;
}

} // namespace KtCommandLine
