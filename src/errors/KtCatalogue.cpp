#include "errors/KtCatalogue.h"
#include "errors/KtDoctorTexts.h"
#include "errors/KtTextCodec.h"

#include <QDir>
#include <QFile>

namespace KtCatalogue {
namespace {

const QString kUnknown = QStringLiteral("Unknown error code!");
constexpr qint64 kPieceLength = 1023;

QStringList builtInCommon()
{
    return {
        "Ok!",
        "Bad logic operand!",
        "Bad format specifier of edit's constraint!",
        "Please enter a string whose length is less than [MAXLEN]!",
        "Please enter a string whose length is [LEN]!",
        "Please enter a hex string whose length is less than [MAXLEN]!",
        "Please enter a hex string whose length is [LEN]!",
        "Please enter a number between [MIN] and [MAX]!",
        "Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count of the number is less than [MAXCOUNT]!",
        "Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count of the number is equal to [COUNT]!",
        "Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,each number is between [MIN] and [MAX]!",
        "Out of range at index of array or list!",
        "Destination buffer is undersize!",
        "The source to dncrypt is not encrypted!",
        "Fail to write value in ini file([FILENAME])!",
        "Fail to read option data from file([FILENAME])!",
    };
}

QStringList builtInPdu()
{
    return {
        "Response PDU Too Big!",
        "Variable does not exist!",
        "Cannot modify variable: Bad Value!",
        "Cannot modify object, Read Only!",
        "Cannot perform operation, General Error!",
        "Cannot access variable, No Access!",
        "Cannot create/modify variable, Wrong Type!",
        "Cannot create/set variable, Wrong Length!",
        "Cannot create/set variable, Wrong Encoding!",
        "Cannot create/set variable, Wrong Value!",
        "Cannot create variable, Creation Not Allowed!",
        "Cannot create/set variable, Inconsistent Value!",
        "Cannot create/set variable, Resource Unavailable!",
        "Cannot create/set variable, Commit Failed!",
        "Cannot create/set variable, Undo Failed!",
        "Cannot perform operation, Authorization Error!",
        "Cannot create/set variable, Not Writable!",
        "Cannot create variable, Inconsistent Name!",
    };
}

QStringList builtInV3()
{
    return {
        "Unsupported Security Model!",
        "Message not in Time Window!",
        "Received same Message twice!",
        "Invalid Message!",
        "Invalid EngineID!",
        "v3MP not initialized!",
        "Parse Error!",
        "Received Message with unknown MsgID!",
        "Message does not match known message!",
        "Community format error!",
        "Unknown UserName!",
        "Build error!",
        "USM: error!",
        "Unknown pdu handlers!",
        "Unavailable Context!",
        "Unknown Context!",
        "Report sent!",
    };
}

QStringList builtInUsm()
{
    return {
        "error!",
        "Configfile write error!",
        "Unsupported SecurityLevel!",
        "Unknown SecurityName!",
        "Encryption error!",
        "Decryption error!",
        "Authentication error!",
        "Authentication failure!",
        "Parse error!",
        "Unknown EngineID!",
        "Message not in TimeWindow!",
        "Unsupported AuthProtocol!",
        "Unsupported PrivProtocol!",
        "Address error!",
    };
}

QStringList builtInClass()
{
    return {
        "Operation failed!",
        "Resource unavailable!",
        "Internal error!",
        "Unsupported function!",
        "SNMP request timed out!",
        "Received SNMP Response!",
        "Received SNMP Notification (trap or inform)!",
        "Closing session with outstanding requests!",
        "Unknown error code!",
        "Class not valid!",
        "Invalid Pdu!",
        "Invalid Target!",
        "Invalid (null) Callback Function!",
        "Invalid Request Id!",
        "Invalid Notification Id!",
        "SNMP Operation not supported on specified Target!",
        "Invalid Object Identifier!",
        "Invalid Address!",
        "Agent indicates error in SNMP request!",
        "Transport is not supported!",
        "Transport is in use!",
        "Transport operation failed!",
        "Blocked Mode Shutdown!",
    };
}

QStringList builtInEngine()
{
    return {
        "Ok!",
        "Fail to read SNMP variables from file([FILENAME])!",
        "Bad format at line([LINENO])in SNMP variables file([FILENAME])!",
        "Bad item type at line([LINENO])in SNMP variables file([FILENAME])!",
        "Bad syntax at line([LINENO])in SNMP variables file([FILENAME])!",
        "Bad access type at line([LINENO])in SNMP variables file([FILENAME])!",
        "Cannot create the global KtSNMP++ session!",
        "Error when loading SNMP engine boots counter!",
        "Error when saving SNMP engine boots counter!",
        "Invalid IP Address or DNS name!",
        "Can't send get-next command for a SNMP variable list with single value!",
        "Bad SNMP syntax!",
        "Bad SNMP syntax in the expression!",
        "The SNMP variable's syntax cannot be used in an expression!",
        "The instance suffix is too short for the index columns of the SNMP variable list!",
        "Bad item type of SNMP variable list!",
        "Bad item type of associated SNMP variable list!",
        "Bad syntax of the associated SNMP variable's (partial) data!",
        "Bad value of the associated SNMP variable's (partial) data!",
        "Out of range for the bit(byte) index of the associated SNMP variable's (partial) data!",
        "No reference option list for a SNMP variable's (partial) data associating with a optional visual control!",
        "Bad type of the associated visual control!",
        "Count of the associated visual controls is not enough!",
        "No system start time for the timeaxis's associated data with syntax timeticks!",
        "Count of the value items for the chart's history data is not enough!",
        "Log database is not connected!",
        "Log database field not found!",
        "Bad syntax for the history chart of log!",
        "Unknown error code!",
        "The SNMP agent's answer does not match the request!",
    };
}

// The status-line templates, then the sentences of the connection test.
QStringList builtInTemplates()
{
    return QStringList{
        "Get: [ERROR] Request:[VARLIST]. Receive at [TIME].",
        "Set: [ERROR] Request:[VARLIST]. Receive at [TIME].",
    } + KtDoctorTexts::BuiltIn();
}

QStringList &table(Id id)
{
    static QStringList tables[Count] = {
        builtInCommon(), builtInPdu(), builtInV3(), builtInUsm(),
        builtInClass(), builtInEngine(), builtInTemplates(),
    };
    return tables[id];
}

bool isBlank(const QString &line)
{
    for (QChar c : line)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t'))
            return false;
    return true;
}

} // namespace

QStringList BuiltIn(Id id)
{
    switch (id) {
    case Common: return builtInCommon();
    case Pdu: return builtInPdu();
    case SnmpV3: return builtInV3();
    case Usm: return builtInUsm();
    case SnmpClass: return builtInClass();
    case Engine: return builtInEngine();
    case Templates: return builtInTemplates();
    case Count: break;
    }
    return {};
}

QString FileName(Id id)
{
    static const char *const names[Count] = {
        "common.err", "snmp.err", "snmpv3.err", "snmpusm.err",
        "snmpclass.err", "ktsnmp.err", "snmp.msg",
    };
    return id >= 0 && id < Count ? QString::fromLatin1(names[id]) : QString();
}

QString Text(Id id, int n)
{
    if (id < 0 || id >= Count)
        return kUnknown;
    const QStringList &t = table(id);
    if (n >= 0 && n < t.size())
        return t.at(n);
    // A shorter loaded file: fall back on the engine's text, then on ours.
    const QStringList &eng = table(Engine);
    return eng.size() > EngUnknownCode ? eng.at(EngUnknownCode) : kUnknown;
}

int EntryCount(Id id)
{
    return id >= 0 && id < Count ? int(table(id).size()) : 0;
}

bool LoadCatalogue(Id id, const QString &path)
{
    if (id < 0 || id >= Count)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QStringList entries;
    while (!file.atEnd()) {
        QByteArray bytes = file.readLine();
        if (bytes.endsWith('\n'))
            bytes.chop(1);
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        // Each piece of a long line is an entry. The line is decoded whole
        // and cut by characters, so no piece ends inside a multi-byte one.
        const QString line = KtTextCodec::Decode(bytes);
        qsizetype start = 0;
        while (start < line.size()) {
            qsizetype end = start;
            for (qint64 chars = 0; chars < kPieceLength && end < line.size(); ++chars)
                end += line.at(end).isHighSurrogate() && end + 1 < line.size()
                        && line.at(end + 1).isLowSurrogate() ? 2 : 1;
            const QString piece = line.mid(start, end - start);
            if (!isBlank(piece))
                entries.append(piece);
            start = end;
        }
    }
    if (entries.isEmpty())
        return false;
    table(id) = entries;
    return true;
}

void LoadAll(const QString &folder)
{
    static const Id order[] = {SnmpClass, Pdu, Templates, Engine, SnmpV3, Usm, Common};
    const QDir dir(folder);
    for (Id id : order)
        LoadCatalogue(id, dir.filePath(FileName(id)));
}

void RestoreBuiltIn(Id id)
{
    if (id >= 0 && id < Count)
        table(id) = BuiltIn(id);
}

} // namespace KtCatalogue

KtStatusError StatusToError(int status)
{
    using namespace KtCatalogue;
    if (status == 0 || status == 1400 || status == -1401)
        return {0, Text(Engine, EngOk)};
    if (status >= 1 && status <= 18)
        return {-100 - status, Text(Pdu, status - 1)};
    if (status >= 1401 && status <= 1414)
        return {1100 - status, Text(Usm, status - 1401)};
    if (status >= -1418 && status <= -1402)
        return {status + 1201, Text(SnmpV3, -1402 - status)};
    if (status >= -23 && status <= -1)
        return {status - 400, Text(SnmpClass, -1 - status)};
    return {-528, Text(Engine, EngUnknownCode)};
}
