#pragma once

#include "snmp/KtVarBind.h"

#include <QDateTime>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// The configuration of one switch as a backup holds it: the raw value of
// every kept object by instance OID, which groups were read (present) and
// which the switch did not have (absent), and where and when it was taken.
//
// On disk it is the simulated agent's ".snmprec" form, "OID|tag|value" a
// line, with '#' comment lines carrying the header and the group states.
class KtSnapshot
{
public:
    static constexpr const char *Signature = "# QSX-4810 configuration snapshot";

    QString sysName;
    QString sysDescr;
    QString host;
    QDateTime taken;
    QString moduleVersion;

    QMap<QString, KtVarBind> values;   // instance OID -> value
    QSet<QString> present;             // group roots read from the switch
    QSet<QString> absent;              // group roots the switch does not have

    // Instances of one group, in OID order.
    QStringList instancesOf(const QString &root) const;

    // "qsx4810 <version>" of this build.
    static QString ModuleVersion();

    QString toText() const;
    // Parses the text form; false with "name:line: reason" lines in errors.
    // Nothing is kept from a text with errors.
    bool fromText(const QString &text, const QString &name, QStringList *errors);

    // Written through a temporary file renamed over the target, so that a
    // failure leaves the old file or none. False with the reason in error.
    bool save(const QString &path, QString *error) const;
    bool load(const QString &path, QStringList *errors);

    // One value in the file's "tag|value" form and back (tag 4x: hex octets).
    static QString FormatValue(const KtVarBind &vb);
    static bool ParseValue(const QString &tag, const QString &value, KtVarBind &out, QString *error);
};
