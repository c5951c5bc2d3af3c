#include "snapshot/KtRestoreRun.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"

#include <QEventLoop>
#include <QTimer>

KtRestoreRun::KtRestoreRun(const KtSnapshotLink &link, KtRestorePlan &plan, QObject *parent)
    : QObject(parent), m_link(link), m_plan(plan)
{
}

KtRestoreRun::~KtRestoreRun()
{
    if (m_ticket)
        KtSnmpEngine::Instance().Detach(m_ticket);
}

void KtRestoreRun::start()
{
    m_running = true;
    m_item = 0;
    m_pdu = 0;
    sendNext();
}

void KtRestoreRun::stop()
{
    if (!m_running)
        return;
    m_running = false;
    if (m_ticket) {
        KtSnmpEngine::Instance().Detach(m_ticket);
        m_ticket = 0;
    }
    QTimer::singleShot(0, this, &KtRestoreRun::finished);
}

void KtRestoreRun::sendNext()
{
    while (m_running && m_item < m_plan.items.size()) {
        KtRestoreItem &item = m_plan.items[m_item];
        if (item.state != KtRestoreItem::Pending || item.pdus.isEmpty()) {
            ++m_item;
            m_pdu = 0;
            continue;
        }
        try {
            m_ticket = KtSnmpEngine::Instance().Send(m_link.forWrite(), KtPduCommand::Set, item.pdus.at(m_pdu),
                                                     [this](const KtPduResult &r) { onAnswer(r); });
            return;
        } catch (const KtException &e) {
            item.state = KtRestoreItem::Refused;
            item.reason = e.message();
            emit itemFinished(m_item);
            ++m_item;
            m_pdu = 0;
        }
    }
    if (m_running) {
        m_running = false;
        emit finished();
    }
}

void KtRestoreRun::onAnswer(const KtPduResult &r)
{
    m_ticket = 0;
    if (!m_running)
        return;
    KtRestoreItem &item = m_plan.items[m_item];
    const QList<KtVarBind> &pdu = item.pdus.at(m_pdu);
    if (r.status != 0) {
        const KtStatusError e = StatusToError(r.status);
        QString why = e.text.isEmpty() ? tr("error %1").arg(e.code) : e.text;
        if (r.errorIndex > 0 && r.errorIndex <= pdu.size())
            why += QStringLiteral(" (%1)").arg(pdu.at(r.errorIndex - 1).oid);
        item.state = KtRestoreItem::Refused;
        item.reason = item.pdus.size() > 1 ? tr("step %1: %2").arg(m_pdu + 1).arg(why) : why;
    } else if (m_pdu + 1 < item.pdus.size()) {
        ++m_pdu;
        sendNext();
        return;
    } else {
        item.state = KtRestoreItem::Done;
    }
    emit itemFinished(m_item);
    ++m_item;
    m_pdu = 0;
    sendNext();
}

void KtRestoreRun::Run(const KtSnapshotLink &link, KtRestorePlan &plan)
{
    KtRestoreRun run(link, plan);
    QEventLoop loop;
    QObject::connect(&run, &KtRestoreRun::finished, &loop, &QEventLoop::quit);
    run.start();
    if (run.running())
        loop.exec();
}
