#pragma once

#include <QString>
#include <QStringList>

// The seven process-wide message catalogues. Each starts with its built-in
// table; LoadCatalogue replaces it from a text file.
namespace KtCatalogue {

enum Id {
    Common,     // "common.err"
    Pdu,        // "snmp.err": error-status s is entry s-1
    SnmpV3,     // "snmpv3.err"
    Usm,        // "snmpusm.err"
    SnmpClass,  // "snmpclass.err"
    Engine,     // "ktsnmp.err": code -500-n is entry n
    Templates,  // "snmp.msg"
    Count
};

// Engine entry numbers named by the code.
enum EngineEntry {
    EngOk = 0,
    EngVarFileRead = 1,
    EngVarFileFormat = 2,
    EngVarFileItemType = 3,
    EngVarFileSyntax = 4,
    EngVarFileAccess = 5,
    EngNoSession = 6,
    EngBootsLoad = 7,
    EngBootsSave = 8,
    EngBadAddress = 9,
    EngGetNextSingle = 10,
    EngBadSyntax = 11,
    EngBadExprSyntax = 12,
    EngExprType = 13,
    EngSuffixShort = 14,
    EngBadItemType = 15,
    EngBadAssocItemType = 16,
    EngBadPartSyntax = 17,
    EngBadPartValue = 18,
    EngPartRange = 19,
    EngNoOptionList = 20,
    EngBadControlType = 21,
    EngTooFewControls = 22,
    EngNoStartTime = 23,
    EngTooFewHistory = 24,
    EngUnknownCode = 28,
    EngBadAnswer = 29,
};

// Common entries with a fixed meaning.
enum CommonEntry {
    ComOk = 0,
    ComBadLogicOperand = 1,
    ComBadConstraint = 2,
    ComStrTooLong = 3,
    ComStrExactLen = 4,
    ComHexTooLong = 5,
    ComHexExactLen = 6,
    ComNumberRange = 7,
    ComListTooMany = 8,
    ComListExactCount = 9,
    ComListRange = 10,
};

QString FileName(Id id);

// Entry n of a catalogue; "Unknown error code!" when the table has no such entry.
QString Text(Id id, int n);
int EntryCount(Id id);

// Replaces the table from the file. Blank lines are skipped, other lines
// are kept as they stand; lines longer than 1,023 characters give several
// entries. A missing or empty file keeps the current table; returns
// whether the table was replaced.
bool LoadCatalogue(Id id, const QString &path);

// Loads every catalogue file present in folder, in start-up order.
void LoadAll(const QString &folder);

// Puts the built-in table back (used by tests and re-initialisation).
void RestoreBuiltIn(Id id);
QStringList BuiltIn(Id id);

} // namespace KtCatalogue

struct KtStatusError
{
    int code = 0;
    QString text;
};

// Maps a session status or PDU error-status to the signed code and its text.
KtStatusError StatusToError(int status);

// The code of a request that the agent did not answer in time (status -5).
inline constexpr int KtTimeoutCode = -405;
