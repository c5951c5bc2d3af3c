#include "dialogs/monitors/KtCounterMonitor.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/monitors/KtListCopy.h"
#include "dialogs/monitors/KtRatePlot.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPRequest.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QStringList kColumns = {
    QStringLiteral("Name"), QStringLiteral("Value"), QStringLiteral("Delta"),
    QStringLiteral("Rate"), QStringLiteral("Peak"),  QStringLiteral("Peak Occured at"),
};

QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

KtCounterMonitor::KtCounterMonitor(QWidget *parent, const Setup &setup)
    : QDialog(parent), m_model(setup.rowNames, setup.rule)
{
    setWindowTitle(setup.caption);
    setSizeGripEnabled(true);

    m_panel = new QWidget(this);
    auto *panelLayout = new QVBoxLayout(m_panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    m_list = new QTreeWidget(m_panel);
    m_list->setObjectName(setup.listName);
    m_list->setColumnCount(KtCounterModel::Columns);
    m_list->setHeaderLabels(kColumns);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(true);
    m_list->setMinimumSize(450, 160);
    KtListCopy::Install(m_list);
    panelLayout->addWidget(m_list, 1);
    if (setup.ratePlot) {
        m_plot = new KtRatePlot(KtCounterModel::RateLimit, m_panel);
        m_plot->setObjectName(QStringLiteral("RatePlot"));
        panelLayout->addWidget(m_plot);
        connect(m_list, &QTreeWidget::itemSelectionChanged, this, &KtCounterMonitor::showPlot);
    }

    // The binding's rows land here; the dialog never shows it.
    m_hidden = new QTreeWidget(this);
    m_hidden->setObjectName(setup.hiddenName);
    m_hidden->hide();

    m_interval = new QComboBox(this);
    m_interval->setObjectName(QStringLiteral("CB_Interval"));
    m_interval->addItems({QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("10")});
    auto *intervalLabel = new QLabel(tr("Poll  &Interval"), this);
    intervalLabel->setBuddy(m_interval);
    m_time = new QLabel(this);
    m_time->setObjectName(QStringLiteral("ST_Time"));
    m_time->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00:00:00 PM")) + 8);
    m_reset = button(QStringLiteral("BT_Reset"), tr("&Reset"), this);
    m_start = button(QStringLiteral("BT_Start"), tr("&Start"), this);
    m_stop = button(QStringLiteral("BT_Stop"), tr("&Pause"), this);
    m_exit = button(QStringLiteral("Button1"), tr("E&xit"), this);

    auto *controls = new QHBoxLayout;
    controls->addWidget(intervalLabel);
    controls->addWidget(m_interval);
    controls->addSpacing(12);
    controls->addWidget(new QLabel(setup.timeLabel, this));
    controls->addWidget(m_time);
    controls->addStretch(1);
    controls->addWidget(m_reset);
    controls->addWidget(m_start);
    controls->addWidget(m_stop);
    controls->addWidget(m_exit);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);
    m_status = new QLabel(m_statusBar);
    m_status->setObjectName(QStringLiteral("StatusPanel0"));
    m_status->setMinimumWidth(50);
    m_statusBar->addWidget(m_status, 1);

    m_body = new QVBoxLayout(this);
    m_body->addWidget(m_panel, 1);
    m_body->addLayout(controls);
    m_body->addWidget(m_statusBar);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);

    connect(m_timer, &QTimer::timeout, this, &KtCounterMonitor::Timer1Timer);
    connect(m_interval, &QComboBox::currentIndexChanged, this, &KtCounterMonitor::CB_IntervalChange);
    connect(m_reset, &QPushButton::clicked, this, &KtCounterMonitor::BT_ResetClick);
    connect(m_start, &QPushButton::clicked, this, &KtCounterMonitor::BT_StartClick);
    connect(m_stop, &QPushButton::clicked, this, &KtCounterMonitor::BT_StopClick);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);

    m_time->setText(Now());
}

// The binding goes first: an answer still out is dropped with it.
KtCounterMonitor::~KtCounterMonitor()
{
    m_counters.reset();
}

QString KtCounterMonitor::Now() const
{
    return KtCounterModel::TimeText(QTime::currentTime());
}

void KtCounterMonitor::PrepareBinding(KtSNMPRequest2Controls &binding)
{
    binding.Asynchronous = true;
    binding.SetStatusPanel(m_status);
}

void KtCounterMonitor::SetCounterList(const KtSNMPVarList &vars, int firstVar)
{
    const QString suffix = vars.Suffix;
    auto binding = std::make_unique<KtSNMPRequest2Edits>(this);
    binding->Request.Vars = vars;
    binding->Request.Vars.Suffix = suffix;
    PrepareBinding(*binding);
    binding->AttachListView(m_hidden, false);
    binding->OnReadDone = [this](KtSNMPRequest2Controls *b, const KtSNMPError &r) { answered(b, r); };
    m_counters = std::move(binding);
    m_firstVar = firstVar;
}

void KtCounterMonitor::DropCounterBinding()
{
    m_counters.reset();
}

void KtCounterMonitor::ShowError(const QString &text)
{
    if (m_counters) {
        m_counters->LastOperation = 0;
        m_counters->ShowStatus(text);
    } else {
        m_status->setText(text);
    }
}

bool KtCounterMonitor::Poll()
{
    if (!m_counters || m_counters->Busy)
        return false;
    try {
        m_counters->Read();
    } catch (const KtException &e) {
        ShowError(e.message());
        return false;
    }
    return m_counters && m_counters->Busy;
}

void KtCounterMonitor::answered(KtSNMPRequest2Controls *binding, const KtSNMPError &result)
{
    if (binding != m_counters.get())
        return;
    const bool sampled = result.Code == 0 && takeAnswer();
    const bool ok = result.Code == 0 && binding->ResultCount > 0;
    const QPointer<KtCounterMonitor> self(this);
    PollAnswered(ok);
    if (self)
        emit PollDone(sampled);
}

// A failed read is already in the status line; everything else that goes
// wrong with the answer goes there too and leaves the model as it was.
bool KtCounterMonitor::takeAnswer()
{
    const QTreeWidgetItem *row = m_hidden->topLevelItem(0);
    if (!row || m_counters->ResultCount == 0) {
        ShowError(tr("The answer holds no row of counters"));
        return false;
    }
    if (m_skipSample) {
        m_skipSample = false;
        return false;
    }
    QStringList values;
    for (int i = 0; i < m_model.RowCount(); ++i) {
        const int column = m_counters->ColumnOf(m_firstVar + i);
        values.append(column >= 0 ? row->text(column) : QString());
    }
    try {
        m_model.Sample(values, Now());
    } catch (const KtException &e) {
        ShowError(e.message());
        return false;
    }
    ShowModel();
    Sampled();
    return true;
}

void KtCounterMonitor::ShowModel()
{
    if (!m_model.RowsShown()) {
        m_list->clear();
        showPlot();
        return;
    }
    if (m_list->topLevelItemCount() != m_model.RowCount()) {
        m_list->clear();
        QList<QTreeWidgetItem *> items;
        for (int i = 0; i < m_model.RowCount(); ++i)
            items.append(new QTreeWidgetItem(QStringList{m_model.RowAt(i).Name}));
        m_list->addTopLevelItems(items);
    }
    for (int i = 0; i < m_model.RowCount(); ++i) {
        QTreeWidgetItem *item = m_list->topLevelItem(i);
        const QStringList cells = m_model.Cells(i);
        for (int c = 0; c < cells.size(); ++c) {
            item->setText(c + 1, cells.at(c));
            item->setTextAlignment(c + 1, c < 4 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    // Columns only ever grow, so the numbers do not make the list jump.
    for (int c = 0; c < m_list->columnCount() - 1; ++c) {
        const int before = m_list->columnWidth(c);
        m_list->resizeColumnToContents(c);
        if (m_list->columnWidth(c) < before)
            m_list->setColumnWidth(c, before);
    }
    showPlot();
}

void KtCounterMonitor::showPlot()
{
    if (!m_plot)
        return;
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    const int row = selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.first());
    if (row < 0 || row >= m_model.RowCount() || !m_model.RowsShown()) {
        m_plot->Show({}, {});
        return;
    }
    m_plot->Show(m_model.RowAt(row).Name, m_model.RowAt(row).Rates);
}

void KtCounterMonitor::Timer1Timer()
{
    m_time->setText(Now());
    if (m_running)
        Poll();
}

void KtCounterMonitor::CB_IntervalChange()
{
    const int seconds = qMax(1, m_interval->currentText().toInt());
    m_timer->setInterval(seconds * 1000);
    m_model.SetIntervalSeconds(seconds);
}

void KtCounterMonitor::BT_StartClick()
{
    m_running = true;
}

void KtCounterMonitor::BT_StopClick()
{
    m_running = false;
}

void KtCounterMonitor::BT_ResetClick()
{
    ResetCounters();
}

void KtCounterMonitor::ResetCounters()
{
    m_model.Reset(Now());
    m_running = true;
    ShowModel();
}

void KtCounterMonitor::done(int result)
{
    m_timer->stop();
    m_running = false;
    QDialog::done(result);
}
