#include "snapshot/widgets/TRestorePlanForm.h"

#include "snapshot/KtRestoreRun.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TRestorePlanForm::TRestorePlanForm(const KtSnapshotLink &link, const KtRestorePlan &plan,
                                   std::function<void()> saveChanges, QWidget *parent)
    : QDialog(parent), m_link(link), m_plan(plan), m_saveChanges(std::move(saveChanges)),
      m_run(new KtRestoreRun(m_link, m_plan, this))
{
    setWindowTitle(tr("Restore Selected"));
    auto *layout = new QVBoxLayout(this);
    m_status = new QLabel(tr("%n item(s) will be sent in this order; nothing has been sent yet.", nullptr,
                             int(m_plan.items.size())), this);
    m_list = new QTreeWidget(this);
    m_list->setHeaderLabels({tr("Step"), tr("Result"), tr("Menu"), tr("What")});
    m_list->setRootIsDecorated(false);
    for (int i = 0; i < m_plan.items.size(); ++i) {
        const KtRestoreItem &item = m_plan.items.at(i);
        new QTreeWidgetItem(m_list, {QString::number(i + 1), {}, item.menuPath, item.description});
        showItem(i);
    }
    m_list->header()->resizeSections(QHeaderView::ResizeToContents);
    auto *buttons = new QHBoxLayout;
    m_send = new QPushButton(tr("&Send"), this);
    m_save = new QPushButton(tr("Save &Changes"), this);
    m_close = new QPushButton(tr("C&lose"), this);
    m_save->setEnabled(false);
    buttons->addStretch();
    buttons->addWidget(m_send);
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    layout->addWidget(m_status);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(760, 420);
    connect(m_send, &QPushButton::clicked, this, &TRestorePlanForm::send);
    connect(m_close, &QPushButton::clicked, this, &TRestorePlanForm::reject);
    connect(m_save, &QPushButton::clicked, this, [this] {
        if (m_saveChanges)
            m_saveChanges();
    });
    connect(m_run, &KtRestoreRun::itemFinished, this, &TRestorePlanForm::showItem);
    connect(m_run, &KtRestoreRun::finished, this, [this] {
        m_status->setText(tr("%1 done, %2 refused, %3 not possible.")
                              .arg(m_plan.count(KtRestoreItem::Done))
                              .arg(m_plan.count(KtRestoreItem::Refused))
                              .arg(m_plan.count(KtRestoreItem::NotPossible)));
        m_list->resizeColumnToContents(1);
        m_close->setEnabled(true);
        m_save->setEnabled(m_plan.count(KtRestoreItem::Done) > 0);
        emit sent();
    });
}

TRestorePlanForm::~TRestorePlanForm() = default;

void TRestorePlanForm::showItem(int i)
{
    const KtRestoreItem &item = m_plan.items.at(i);
    QTreeWidgetItem *row = m_list->topLevelItem(i);
    QString text = KtRestoreItem::StateText(item.state);
    if (!item.reason.isEmpty())
        text += QStringLiteral(": ") + item.reason;
    row->setText(1, text);
}

void TRestorePlanForm::send()
{
    m_send->setEnabled(false);
    m_status->setText(tr("Sending ..."));
    m_run->start();
}

void TRestorePlanForm::reject()
{
    m_run->stop();
    QDialog::reject();
}
