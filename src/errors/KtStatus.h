#pragma once

// Statuses in the StatusToError numbering: PDU error-statuses, session
// failures and those of the security and message processing models.
namespace KtStatus {
enum : int {
    // PDU error-statuses
    StNoSuchName = 2, StReadOnly = 4, StNoAccess = 6, StAuthorizationError = 16, StNotWritable = 17,
    // session failures
    StTimeout = -5, StOperationFailed = -1, StInvalidTarget = -12, StInvalidOid = -17, StInvalidAddress = -18,
    StTransportFailed = -22,
    // the user-based security model
    StUsmError = 1401, StUsmSecLevel = 1403, StUsmUnknownName = 1404, StUsmEncryption = 1405,
    StUsmDecryption = 1406, StUsmAuthError = 1407, StUsmAuthFailure = 1408, StUsmParse = 1409,
    StUsmUnknownEngine = 1410, StUsmTimeWindow = 1411, StUsmAuthProtocol = 1412, StUsmPrivProtocol = 1413,
    // message processing
    StMpSecModel = -1402, StMpInvalidMsg = -1405, StMpUnknownPdu = -1415, StMpUnavailableContext = -1416,
    StMpUnknownContext = -1417,
};
} // namespace KtStatus
