#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

struct KtSNMPDevice;
struct KtSNMPScope;
struct KtSNMPSecurity;

// A switch whose value is not a whole number, or one too large for its setting.
struct KtSwitchError
{
    QString Switch;  // "/t"
    QString Value;   // the text after the switch; masked when the switch stood inside the argument
    QString Message() const;
};

// The module's command line: "/I<host>" plus optional SNMP settings, one
// switch per argument with the value right after it.
namespace KtCommandLine {

inline constexpr const char *ApplicationTitle = "QSX-4810";
// What a community or pass phrase is shown as.
inline constexpr const char *Mask = "****";

// Prefix form: the rest of the argument when it is longer than the switch
// and starts with it (case-sensitive); otherwise empty.
QString PrefixValue(const QString &argument, const QString &sw);

// Search form: the switch anywhere in the argument; the value is what
// follows its first occurrence. False when the switch does not occur.
bool SearchValue(const QString &argument, const QString &sw, QString *value);

// "QSX-4810 : host".
QString TitleFor(const QString &host);

// The value of the last argument starting with "/I"; empty when no argument does.
QString HostText(const QStringList &arguments);

// The window title of the host named by the last argument starting with
// "/I"; empty when no argument does.
QString Title(const QStringList &arguments);

// Whole-number value of a switch, decimal, within [min, max].
std::optional<qint64> ParseInteger(const QString &value, qint64 min, qint64 max);

// Host text to dotted IPv4; empty when the host cannot be resolved.
using HostResolver = std::function<QString(const QString &host)>;

struct Outcome
{
    bool HostGiven = false;   // a /I row was applied
    bool HostFailed = false;  // and its look-up failed
    std::optional<KtSwitchError> Error;  // the first bad number; later arguments were not applied
};

// Applies the switch table to the records, argument by argument; for each
// argument the first matching row counts, and the v3 rows only once the
// version is 3.
Outcome Apply(const QStringList &arguments, const HostResolver &resolve, KtSNMPDevice &device,
              KtSNMPScope &scope, KtSNMPSecurity &security);

} // namespace KtCommandLine
