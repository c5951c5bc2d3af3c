#include "dialogs/monitors/TTpBridgePortInfo_Table.h"

#include "dialogs/monitors/KtHistoryChart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

KtCounterMonitor::Setup setup(const QString &prefix, const QString &host)
{
    KtCounterMonitor::Setup s;
    s.caption = (prefix.isEmpty() ? QStringLiteral("Transparent Bridge Port Counter : ") : prefix) + host;
    s.rowNames = TTpBridgePortInfo_Table::RowNames();
    s.rule = KtCounterModel::Rule::SampleCount;
    s.listName = QStringLiteral("LV_TpBridge_Port_Info");
    s.hiddenName = QStringLiteral("LV_Chart");
    s.ratePlot = false;  // the history chart has its own page
    s.timeLabel = QStringLiteral("System Time:");
    return s;
}

KtInstanceMonitor::Picker picker()
{
    KtInstanceMonitor::Picker p;
    p.table = QStringLiteral("TpPortTable");
    p.listName = QStringLiteral("LV_TpBridge_Port_Index");
    p.indexLabel = QStringLiteral("Port Number");
    p.descrLabel = QStringLiteral("Max  Info ");
    p.refreshName = QStringLiteral("BT_Refresh");
    p.retries = 5;
    p.counterTable = QStringLiteral("TpPortTable");
    p.firstCounterVar = 2;  // in frames, out frames, in discards
    return p;
}

} // namespace

TTpBridgePortInfo_Table::TTpBridgePortInfo_Table(QWidget *parent, const QString &prefix, const QString &host)
    : KtInstanceMonitor(parent, setup(prefix, host), picker())
{
    m_chart = new KtHistoryChart(RowNames(), {Qt::red, Qt::green, Qt::yellow}, this);
    m_chart->setObjectName(QStringLiteral("CH_Utilization"));
    m_chart->setMinimumSize(450, 260);

    m_historyCount = new QComboBox(this);
    m_historyCount->setObjectName(QStringLiteral("CB_HistoryCount"));
    m_historyCount->addItems({QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30"),
                              QStringLiteral("60"), QStringLiteral("120")});
    auto *countLabel = new QLabel(tr("C&ount"), this);
    countLabel->setBuddy(m_historyCount);
    m_3d = new QCheckBox(tr("3&D Line"), this);
    m_3d->setObjectName(QStringLiteral("CK_U3D"));
    if (!KtHistoryChart::OpenGLAvailable()) {
        m_3d->setEnabled(false);
        m_3d->setToolTip(tr("The 3-D view needs OpenGL, and this display offers no OpenGL context."));
    }

    auto *traffic = new QWidget(this);
    auto *trafficLayout = new QVBoxLayout(traffic);
    auto *options = new QHBoxLayout;
    options->addWidget(m_3d);
    options->addStretch(1);
    options->addWidget(countLabel);
    options->addWidget(m_historyCount);
    trafficLayout->addLayout(options);
    trafficLayout->addWidget(m_chart, 1);

    m_pages = new QTabWidget(this);
    Body()->removeWidget(CounterPanel());
    m_pages->addTab(CounterPanel(), tr("Port Counter Table"));
    m_pages->addTab(traffic, tr("Port Traffic"));
    Body()->insertWidget(0, m_pages, 1);
    Body()->insertWidget(0, PickerPanel());

    QWidget::setTabOrder(m_pages, m_list);
    QWidget::setTabOrder(m_list, m_3d);
    QWidget::setTabOrder(m_3d, m_historyCount);
    QWidget::setTabOrder(m_historyCount, m_interval);

    MutableModel().SetHistoryCount(10);
    redraw();

    connect(m_historyCount, &QComboBox::currentIndexChanged, this,
            &TTpBridgePortInfo_Table::CB_HistoryCountChange);
    connect(m_3d, &QCheckBox::clicked, this, &TTpBridgePortInfo_Table::CK_U3DClick);
}

QStringList TTpBridgePortInfo_Table::RowNames()
{
    return {QStringLiteral("Input Frames"), QStringLiteral("Output Frames"), QStringLiteral("Discard Frames")};
}

void TTpBridgePortInfo_Table::CB_HistoryCountChange()
{
    MutableModel().SetHistoryCount(m_historyCount->currentText().toInt());
    ResetCounters();
    redraw();
}

void TTpBridgePortInfo_Table::CK_U3DClick()
{
    if (!m_chart->Set3D(m_3d->isChecked()))
        m_3d->setChecked(false);
}

void TTpBridgePortInfo_Table::redraw()
{
    QList<QList<KtCounterModel::HistoryEntry>> history;
    for (int i = 0; i < Model().RowCount(); ++i)
        history.append(Model().RowAt(i).History);
    m_chart->Redraw(history);
}

void TTpBridgePortInfo_Table::Sampled()
{
    redraw();
}

void TTpBridgePortInfo_Table::Restarted()
{
    redraw();
}
