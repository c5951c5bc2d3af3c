#pragma once

#include <QString>

// Outcome of one asynchronous operation, handed to the caller's callback.
struct KtSNMPError
{
    qint32 Code = 0;        // 0 success, else the signed error code
    qint32 ErrorIndex = 0;  // error-index of the answer PDU
    QString Message;        // catalogue text of Code
    QString AgentHost;
    quint16 AgentPort = 0;
    bool Finished = false;  // no further answer follows (end of walk, single answer, error)
};
