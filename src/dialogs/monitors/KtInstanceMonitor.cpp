#include "dialogs/monitors/KtInstanceMonitor.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/monitors/KtListCopy.h"
#include "dialogs/monitors/KtMonitorTables.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

KtInstanceMonitor::KtInstanceMonitor(QWidget *parent, const Setup &setup, const Picker &picker)
    : KtCounterMonitor(parent, setup), m_picker(picker)
{
    m_pickerPanel = new QWidget(this);
    m_pickerList = new QTreeWidget(m_pickerPanel);
    m_pickerList->setObjectName(picker.listName);
    m_pickerList->setMinimumHeight(120);
    KtListCopy::Install(m_pickerList);
    m_indexText = new QLabel(m_pickerPanel);
    m_indexText->setObjectName(QStringLiteral("ST_Index"));
    m_descrText = new QLabel(m_pickerPanel);
    m_descrText->setObjectName(QStringLiteral("ST_Descr"));
    m_descrText->setWordWrap(true);
    auto *refresh = new QPushButton(tr("Re&fresh"), m_pickerPanel);
    refresh->setObjectName(picker.refreshName);
    refresh->setAutoDefault(false);

    auto *side = new QFormLayout;
    side->addRow(picker.indexLabel, m_indexText);
    side->addRow(picker.descrLabel, m_descrText);
    side->addRow(refresh);
    auto *layout = new QHBoxLayout(m_pickerPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pickerList, 1);
    layout->addLayout(side);

    m_pickerBinding = std::make_unique<KtSNMPRequest2Edits>(this);
    try {
        m_pickerBinding->Request.Vars = KtSNMPVarList(KtMonitorTables::Table(picker.table), KtKind::MVT_UMV, 1);
        if (picker.retries > 0)
            m_pickerBinding->Request.Retries = quint32(picker.retries);
        PrepareBinding(*m_pickerBinding);
        m_pickerBinding->AttachListView(m_pickerList, false);
        m_pickerBinding->BindStaticText(0, m_indexText);
        m_pickerBinding->BindStaticText(1, m_descrText);
    } catch (const KtException &e) {
        ShowError(e.message());
    }
    m_pickerBinding->OnReadDone = [this](KtSNMPRequest2Controls *, const KtSNMPError &r) { listAnswered(r); };

    connect(refresh, &QPushButton::clicked, this, &KtInstanceMonitor::RefreshClick);
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this,
            &KtInstanceMonitor::RefreshClick);
    // The picker comes first on the screen, though it is built after the counters.
    QWidget::setTabOrder(m_pickerList, refresh);
    QWidget::setTabOrder(refresh, m_list);
    connect(m_pickerList, &QTreeWidget::itemSelectionChanged, this, &KtInstanceMonitor::selectionChanged);
}

KtInstanceMonitor::~KtInstanceMonitor()
{
    m_pickerBinding.reset();
}

void KtInstanceMonitor::showEvent(QShowEvent *event)
{
    KtCounterMonitor::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    QTimer::singleShot(0, this, &KtInstanceMonitor::readList);
}

void KtInstanceMonitor::readList()
{
    if (m_pickerBinding->Busy)
        return;
    try {
        m_pickerBinding->Read();
    } catch (const KtException &e) {
        m_opening = false;
        ShowError(e.message());
    }
}

void KtInstanceMonitor::RefreshClick()
{
    readList();
}

void KtInstanceMonitor::listAnswered(const KtSNMPError &result)
{
    const bool opening = m_opening;
    m_opening = false;
    if (result.Code != 0)  // in the status line already
        return;
    if (m_pickerList->topLevelItemCount() == 0) {
        if (!opening)
            return;
        // Outside the engine's callback, so the box's own loop delays no answer.
        QTimer::singleShot(0, this, [this] {
            KtMessageService::Inform(this, UnsupportedText());
            reject();
        });
        return;
    }
    m_selecting = true;
    m_pickerList->setCurrentItem(m_pickerList->topLevelItem(0));
    m_selecting = false;
    ResetCounters();
}

void KtInstanceMonitor::selectionChanged()
{
    if (m_selecting || m_pickerBinding->Busy || m_pickerList->selectedItems().isEmpty())
        return;
    PickRow();
}

void KtInstanceMonitor::PickRow()
{
    ResetCounters();
}

bool KtInstanceMonitor::selectedIndex(QString &index)
{
    index.clear();
    const QList<QTreeWidgetItem *> selected = m_pickerList->selectedItems();
    const int column = m_pickerBinding->ColumnOf(0);
    if (selected.isEmpty() || column < 0)
        return true;
    const QString text = selected.first()->text(column).trimmed();
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,10}$"));
    bool ok = false;
    if (digits.match(text).hasMatch())
        text.toUInt(&ok);
    if (!ok) {
        ShowError(tr("'%1' is not a valid index").arg(text));
        return false;
    }
    index = text;
    return true;
}

bool KtInstanceMonitor::pollIndex(const QString &index)
{
    try {
        KtSNMPVarList vars(KtMonitorTables::Table(m_picker.counterTable), KtKind::MVT_SV, 0);
        vars.Suffix = index;
        SetCounterList(vars, m_picker.firstCounterVar);
    } catch (const KtException &e) {
        ShowError(e.message());
        return false;
    }
    m_index = index;
    return true;
}

// The counters start again from nothing: a fresh binding (an answer still
// out for the old one is dropped), no rows, zero state and history.
void KtInstanceMonitor::ResetCounters()
{
    QString index;
    if (!selectedIndex(index))
        return;
    SetRunning(false);
    if (index.isEmpty())
        index = m_index;
    if (index.isEmpty() || !pollIndex(index))
        return;
    KtCounterMonitor::ResetCounters();
    Restarted();
    if (!Timer()->isActive())
        Timer()->start();
}
