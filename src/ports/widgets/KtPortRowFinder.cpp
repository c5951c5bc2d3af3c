#include "ports/widgets/KtPortRowFinder.h"

#include "ports/KtPortPage.h"

#include "snmp/KtSNMPRequest.h"

KtPortRowFinder::KtPortRowFinder(const KtPortTable &table, int port, QWidget *owner)
    : KtSNMPRequest2Edits(owner), m_table(table), m_port(port)
{
    Request.Vars = KtPortPage::WalkList(table);
    // The end of the walk, however it ended, after the binding is done with it.
    connect(this, &KtSNMPRequest2Controls::WalkRunning, this, [this](bool running) {
        if (!running)
            QMetaObject::invokeMethod(this, [this] { emit Found(m_rows); }, Qt::QueuedConnection);
    });
}

void KtPortRowFinder::BeforeRead()
{
    KtSNMPRequest2Edits::BeforeRead();
    m_rows.clear();
}

void KtPortRowFinder::RowReceived()
{
    if (KtPortPage::Belongs(m_table, Request.Vars, m_port))
        m_rows.append(Request.Vars.EncodeIndexSuffix());
}
