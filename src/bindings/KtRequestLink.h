#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class KtException;
class KtSNMPRequest;
class KtSNMPVarList;
struct KtSNMPError;

// The one road from the engine's asynchronous callbacks to widgets.
//
// The engine calls back with a raw user-data pointer. Here that pointer is
// a ticket that owns the request and outlives the link: the link clears its
// entry in the ticket when it goes. A link destroyed while exchanges are
// outstanding leaves the request to its ticket, which frees it once the last
// answer (or time-out) has come in, so nobody waits in a destructor and no
// answer reaches a freed object.
//
// The handlers run inside a try block: a KtException they raise is passed
// to the failure handler instead of unwinding through the engine and the
// event loop. A handler may destroy the link (and its owner).
class KtRequestLink
{
public:
    using AnswerHandler = std::function<void(bool read, const KtSNMPError &result)>;
    using FailureHandler = std::function<void(bool read, const KtException &error)>;

    KtRequestLink(AnswerHandler onAnswer, FailureHandler onFailure);
    ~KtRequestLink();

    KtRequestLink(const KtRequestLink &) = delete;
    KtRequestLink &operator=(const KtRequestLink &) = delete;

    KtSNMPRequest &Request() const;

    // Start one exchange; a failure to send raises KtException. Both do
    // nothing and answer false once the request is no longer alive.
    bool FetchAsync(bool restart);
    bool StoreAsync(const QString &columns, const QStringList &values);

    // Requests still held for outstanding exchanges after their link went.
    static int KeptRequests();

private:
    struct Ticket;
    struct Kept;
    static Kept &kept();

    static void readAnswer(void *userData, KtSNMPError *result, KtSNMPVarList *vars);
    static void writeAnswer(void *userData, KtSNMPError *result, KtSNMPVarList *vars);
    static void deliver(void *userData, bool read, const KtSNMPError &result);

    Ticket *m_ticket;
    std::shared_ptr<int> m_alive;  // expires with the link; handlers check it after running
    AnswerHandler m_onAnswer;
    FailureHandler m_onFailure;
};
