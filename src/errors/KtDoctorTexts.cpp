#include "errors/KtDoctorTexts.h"

#include "errors/KtCatalogue.h"

namespace KtDoctorTexts {

QStringList BuiltIn()
{
    static const char *const texts[Count] = {
        "[HOST] is an IPv4 address.",
        "[HOST] resolves to [ADDRESS].",
        "The host name [HOST] does not resolve to an IPv4 address ([ERROR]): check the name and the name service.",
        "[HOST] is not a valid IPv4 address.",
        "The name service did not resolve [HOST] within [SECONDS] s.",
        "[PORT] is not a UDP port number (1 to 65535).",
        "Something answers on UDP port [PORT] of [ADDRESS].",
        "Nothing listens on UDP port [PORT] of [ADDRESS]: the host refused with ICMP port unreachable. "
        "Check the port and whether the SNMP agent runs.",
        "No answer from UDP port [PORT] of [ADDRESS]: a firewall, a wrong address, or SNMP off.",
        "Nothing could be sent to [ADDRESS] port [PORT]: [ERROR]",
        "SNMPv3 engine [ENGINEID] answers (engine boots [BOOTS], engine time [ENGINETIME] s).",
        "The device does not speak SNMPv3 on this port: it answers SNMPv1/v2c but not the SNMPv3 engine discovery.",
        "User [USER] is accepted with [LEVEL] ([PROTOCOLS]); sysUpTime is [VALUE].",
        "User [USER] is accepted with [LEVEL] ([PROTOCOLS]) after a resynchronised retry: the first request was "
        "not in the device's time window. sysUpTime is [VALUE].",
        "The device knows no user [USER] (unknown user name): check the security name.",
        "Wrong authentication pass phrase or protocol for user [USER] (tried [AUTH]).",
        "Wrong privacy pass phrase or protocol for user [USER] (tried [PROTOCOLS]): the device cannot decrypt "
        "the request and drops it.",
        "The security level [LEVEL] is not configured for user [USER] on the device: choose a lower level.",
        "The request was not in the device's time window, and a resynchronised retry failed too: the device's "
        "engine boots or time are not consistent.",
        "No answer to the requests of user [USER] although the device answered the engine discovery.",
        "The device accepts user [USER] and its keys but refuses the read with [LEVEL]: [ERROR]",
        "The privacy protocol [PRIV] is not available in this program: choose DES or AES.",
        "The authentication protocol [AUTH] is not available in this program.",
        "The authentication pass phrase is shorter than 8 characters; SNMPv3 needs at least 8.",
        "The privacy pass phrase is shorter than 8 characters; SNMPv3 needs at least 8.",
        "The security level [LEVEL] needs an authentication protocol, and authPriv a privacy protocol too.",
        "The device knows no context [CONTEXT].",
        "The device changed its engine identifier during the test: test again.",
        "The test's request could not go out in time: the module's requests of user [USER] with other keys are "
        "still waiting for their answers. Test again when they have ended.",
        "Read sysUpTime with the read community: [VALUE].",
        "No answer to a read with the read community: the community is probably wrong (the device ignores "
        "requests with a wrong community).",
        "The device refused the read: [ERROR]",
        "Set sysContact to its own value with [CREDENTIALS]: the device accepts writes.",
        "These credentials can read but not write ([ERROR]).",
        "No answer to a write with the write community: the write community is probably wrong (the device "
        "ignores requests with a wrong community).",
        "No answer to the write of user [USER]: the device drops writes it does not allow, or lost the request.",
        "The device refused the write: [ERROR]",
        "The device has no sysContact to write back, so writing could not be checked ([ERROR]).",
        "This step could not be run: [ERROR]",
        "The connection works: the device answers reads and writes with these settings.",
        "Test Connection, step [STEP] failed: [CAUSE]",
        "Testing the connection to [HOST]...",
    };
    QStringList list;
    for (const char *text : texts)
        list.append(QString::fromUtf8(text));
    return list;
}

QString Text(Entry entry)
{
    const int n = FirstEntry + int(entry);
    if (n < KtCatalogue::EntryCount(KtCatalogue::Templates))
        return KtCatalogue::Text(KtCatalogue::Templates, n);
    static const QStringList builtIn = BuiltIn();
    return entry >= 0 && entry < Count ? builtIn.at(entry)
                                       : KtCatalogue::Text(KtCatalogue::Engine, KtCatalogue::EngUnknownCode);
}

QString Fill(const QString &text, const QList<QPair<QString, QString>> &fields)
{
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        bool replaced = false;
        if (text.at(i) == QLatin1Char('[')) {
            for (const auto &[name, value] : fields) {
                const QString mark = QLatin1Char('[') + name + QLatin1Char(']');
                if (QStringView(text).mid(i).startsWith(mark)) {
                    out += value;
                    i += mark.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            out += text.at(i++);
    }
    return out;
}

} // namespace KtDoctorTexts
