#include "dialogs/monitors/TIP_Routing.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/monitors/KtListCopy.h"
#include "dialogs/monitors/KtMonitorTables.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

TIP_Routing::TIP_Routing(QWidget *parent, const QString &prefix, const QString &host)
    : QDialog(parent)
{
    setWindowTitle((prefix.isEmpty() ? QStringLiteral("IP Routing : ") : prefix) + host);
    setSizeGripEnabled(true);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("LV_IP_Routing"));
    m_list->setMinimumSize(450, 350);
    KtListCopy::Install(m_list);

    auto *refresh = new QPushButton(tr("&Refresh"), this);
    refresh->setObjectName(QStringLiteral("BT_Get"));
    refresh->setAutoDefault(false);
    auto *close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("BT_Close"));
    close->setAutoDefault(false);

    auto *bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    m_status = new QLabel(bar);
    m_status->setObjectName(QStringLiteral("StatusPanel0"));
    bar->addWidget(m_status, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(refresh);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    layout->addWidget(bar);

    m_binding = std::make_unique<KtSNMPRequest2Edits>(this);
    m_binding->SetStatusPanel(m_status);
    try {
        m_binding->Request.Vars = KtSNMPVarList(KtMonitorTables::Table(QStringLiteral("IPRouteTable")),
                                                KtKind::MVT_FMV, 1);
        m_binding->AttachListView(m_list, false);
    } catch (const KtException &e) {
        m_binding->ShowStatus(e.message());
    }

    connect(refresh, &QPushButton::clicked, this, &TIP_Routing::BT_GetClick);
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this,
            &TIP_Routing::BT_GetClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

// The binding first: a walk still running is dropped with it.
TIP_Routing::~TIP_Routing()
{
    m_binding.reset();
}

void TIP_Routing::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    QTimer::singleShot(0, this, &TIP_Routing::BT_GetClick);
}

void TIP_Routing::BT_GetClick()
{
    if (m_binding->Busy)
        return;
    try {
        m_binding->Read();
    } catch (const KtException &e) {
        m_binding->ShowStatus(e.message());
    }
}
