#include "bindings/KtRequestLink.h"

#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"

#include <QLoggingCategory>

#include <exception>
#include <vector>

Q_LOGGING_CATEGORY(lcLink, "qsx.bindings.link")

struct KtRequestLink::Ticket
{
    KtSNMPRequest request;
    KtRequestLink *link = nullptr;
};

// Tickets whose link went while exchanges were outstanding. Built on first
// use, after the engine, so it is torn down before the engine is.
struct KtRequestLink::Kept
{
    std::vector<Ticket *> tickets;

    ~Kept()
    {
        for (Ticket *t : tickets)
            delete t;
    }

    // Frees every ticket with nothing outstanding. An exchange cut off by
    // the session closing never calls back, so this runs on every arrival.
    void sweep()
    {
        std::erase_if(tickets, [](Ticket *t) {
            if (t->request.Pending > 0)
                return false;
            delete t;
            return true;
        });
    }
};

KtRequestLink::Kept &KtRequestLink::kept()
{
    static Kept k;
    return k;
}

KtRequestLink::KtRequestLink(AnswerHandler onAnswer, FailureHandler onFailure)
    : m_ticket(new Ticket), m_alive(std::make_shared<int>(0)), m_onAnswer(std::move(onAnswer)),
      m_onFailure(std::move(onFailure))
{
    m_ticket->link = this;
}

KtRequestLink::~KtRequestLink()
{
    m_alive.reset();
    m_ticket->link = nullptr;
    if (m_ticket->request.Pending > 0) {
        kept().sweep();
        kept().tickets.push_back(m_ticket);
    } else {
        delete m_ticket;
    }
}

KtSNMPRequest &KtRequestLink::Request() const
{
    return m_ticket->request;
}

bool KtRequestLink::FetchAsync(bool restart)
{
    if (!m_ticket->request.Alive)
        return false;
    m_ticket->request.FetchAsync(&KtRequestLink::readAnswer, m_ticket, restart);
    return true;
}

bool KtRequestLink::StoreAsync(const QString &columns, const QStringList &values)
{
    if (!m_ticket->request.Alive)
        return false;
    m_ticket->request.StoreAsync(&KtRequestLink::writeAnswer, m_ticket, columns, values);
    return true;
}

int KtRequestLink::KeptRequests()
{
    kept().sweep();
    return int(kept().tickets.size());
}

void KtRequestLink::readAnswer(void *userData, KtSNMPError *result, KtSNMPVarList *)
{
    deliver(userData, true, *result);
}

void KtRequestLink::writeAnswer(void *userData, KtSNMPError *result, KtSNMPVarList *)
{
    deliver(userData, false, *result);
}

void KtRequestLink::deliver(void *userData, bool read, const KtSNMPError &result)
{
    auto *ticket = static_cast<Ticket *>(userData);
    KtRequestLink *link = ticket->link;
    if (!link) {
        // The owner has gone; the request goes too once nothing is outstanding.
        kept().sweep();
        return;
    }
    // The handler may destroy the link, the ticket and the request: the
    // copies keep the callables alive and the weak pointer tells whether
    // the link still is.
    const std::weak_ptr<int> alive = link->m_alive;
    const AnswerHandler onAnswer = link->m_onAnswer;
    const FailureHandler onFailure = link->m_onFailure;
    try {
        if (onAnswer)
            onAnswer(read, result);
    } catch (const KtException &e) {
        if (alive.expired() || !onFailure)
            return;
        try {
            onFailure(read, e);
        } catch (const std::exception &inner) {
            qCWarning(lcLink, "failure report raised: %s", inner.what());
        }
    } catch (const std::exception &e) {
        qCWarning(lcLink, "answer handler raised: %s", e.what());
    }
}
