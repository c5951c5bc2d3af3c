#include "snapshot/widgets/TSnapshotCompareForm.h"

#include "snapshot/KtRestorePlan.h"
#include "snapshot/KtSnapshotBackup.h"
#include "snapshot/widgets/TRestorePlanForm.h"
#include "values/widgets/KtMessageService.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The difference a leaf of the list stands for, by its position.
constexpr int DifferenceRole = Qt::UserRole + 1;

QString whatText(const KtSnapshotDifference &d)
{
    if (d.kind == KtSnapshotDifference::Changed)
        return d.row.isEmpty() ? d.object : QObject::tr("row %1: %2").arg(d.row, d.object);
    if (!d.row.isEmpty())
        return QObject::tr("row %1").arg(d.row);
    return {};
}

} // namespace

TSnapshotCompareForm::TSnapshotCompareForm(const KtSnapshotLink &link, const KtSnapshot &snapshot, QWidget *parent)
    : QDialog(parent), m_link(link), m_snapshot(snapshot)
{
    setWindowTitle(tr("Compare with Switch"));
    auto *layout = new QVBoxLayout(this);
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_list = new QTreeWidget(this);
    m_list->setHeaderLabels({tr("Menu / table"), tr("Difference"), tr("Snapshot"), tr("Switch")});
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto *buttons = new QHBoxLayout;
    m_refresh = new QPushButton(tr("&Refresh"), this);
    m_export = new QPushButton(tr("&Export CSV..."), this);
    m_restore = new QPushButton(tr("Restore &Selected..."), this);
    auto *close = new QPushButton(tr("&Close"), this);
    buttons->addWidget(m_refresh);
    buttons->addStretch();
    buttons->addWidget(m_export);
    buttons->addWidget(m_restore);
    buttons->addWidget(close);
    layout->addWidget(m_status);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(820, 520);
    m_export->setEnabled(false);
    m_restore->setEnabled(false);
    connect(m_refresh, &QPushButton::clicked, this, &TSnapshotCompareForm::refresh);
    connect(close, &QPushButton::clicked, this, &TSnapshotCompareForm::reject);
    connect(m_export, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, tr("Export CSV"), QString(), tr("CSV files (*.csv)"));
        if (!path.isEmpty())
            exportCsv(path);
    });
    connect(m_restore, &QPushButton::clicked, this, &TSnapshotCompareForm::restoreSelected);
    // A group's check box checks its differences.
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (column != 0 || item->childCount() == 0)
            return;
        const QSignalBlocker block(m_list);
        for (int i = 0; i < item->childCount(); ++i)
            item->child(i)->setCheckState(0, item->checkState(0));
    });
}

TSnapshotCompareForm::~TSnapshotCompareForm() = default;

void TSnapshotCompareForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        QTimer::singleShot(0, this, &TSnapshotCompareForm::refresh);
    }
}

void TSnapshotCompareForm::refresh()
{
    if (m_backup && m_backup->running())
        return;
    delete m_backup;
    m_backup = new KtSnapshotBackup(m_link, this);
    connect(m_backup, &KtSnapshotBackup::progress, this, [this](int done, int total) {
        m_status->setText(tr("Reading the switch: %1 of %2 tables ...").arg(done).arg(total));
    });
    connect(m_backup, &KtSnapshotBackup::finished, this, &TSnapshotCompareForm::onFinished);
    m_refresh->setEnabled(false);
    m_restore->setEnabled(false);
    m_status->setText(tr("Reading the switch ..."));
    m_backup->start(m_version);
}

void TSnapshotCompareForm::onFinished(bool ok, const QString &error)
{
    m_refresh->setEnabled(true);
    if (!ok) {
        m_status->setText(tr("The switch could not be read: %1").arg(error));
        return;
    }
    m_differences = KtSnapshotCompare::Compare(m_snapshot, m_backup->snapshot());
    fill();
    m_status->setText(m_differences.isEmpty()
                          ? tr("The switch holds the configuration of the snapshot (%1, %2).")
                                .arg(m_snapshot.sysName, m_snapshot.taken.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")))
                          : tr("%n difference(s) from the snapshot of %1 taken %2.", nullptr, int(m_differences.size()))
                                .arg(m_snapshot.sysName, m_snapshot.taken.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"))));
    m_export->setEnabled(true);
    m_restore->setEnabled(!m_differences.isEmpty());
    emit compared();
}

void TSnapshotCompareForm::fill()
{
    const QSignalBlocker block(m_list);
    m_list->clear();
    QTreeWidgetItem *group = nullptr;
    for (int i = 0; i < m_differences.size(); ++i) {
        const KtSnapshotDifference &d = m_differences.at(i);
        const QString title = d.menuPath + QStringLiteral(" (") + d.group + QLatin1Char(')');
        if (!group || group->text(0) != title) {
            group = new QTreeWidgetItem(m_list, {title});
            group->setFlags(group->flags() | Qt::ItemIsUserCheckable);
            group->setCheckState(0, Qt::Checked);
            group->setExpanded(true);
            group->setFirstColumnSpanned(true);
        }
        auto *leaf = new QTreeWidgetItem(group, {whatText(d), KtSnapshotDifference::KindText(d.kind), d.before, d.after});
        leaf->setData(0, DifferenceRole, i);
        leaf->setFlags(leaf->flags() | Qt::ItemIsUserCheckable);
        leaf->setCheckState(0, Qt::Checked);
    }
    // Sized by the leaves: the group titles span the whole row.
    QList<QTreeWidgetItem *> groups;
    for (int g = 0; g < m_list->topLevelItemCount(); ++g)
        groups.append(m_list->topLevelItem(g));
    for (QTreeWidgetItem *g : groups)
        g->setText(0, QString());
    m_list->header()->resizeSections(QHeaderView::ResizeToContents);
    for (QTreeWidgetItem *g : groups) {
        const KtSnapshotDifference &d = m_differences.at(g->child(0)->data(0, DifferenceRole).toInt());
        g->setText(0, d.menuPath + QStringLiteral(" (") + d.group + QLatin1Char(')'));
    }
}

QList<KtSnapshotDifference> TSnapshotCompareForm::selected() const
{
    QList<KtSnapshotDifference> out;
    for (int g = 0; g < m_list->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = m_list->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i)
            if (group->child(i)->checkState(0) == Qt::Checked)
                out.append(m_differences.at(group->child(i)->data(0, DifferenceRole).toInt()));
    }
    return out;
}

void TSnapshotCompareForm::exportCsv(const QString &path)
{
    QSaveFile file(path);
    const QByteArray data = KtSnapshotCompare::ToCsv(m_differences).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        KtMessageService::Warn(this, tr("%1 could not be written: %2").arg(path, file.errorString()));
}

void TSnapshotCompareForm::restoreSelected()
{
    const QList<KtSnapshotDifference> chosen = selected();
    if (chosen.isEmpty()) {
        KtMessageService::Inform(this, tr("Check the differences to restore first."));
        return;
    }
    const KtRestorePlan plan = KtRestorePlan::Build(m_snapshot, chosen);
    TRestorePlanForm form(m_link, plan, m_saveChanges, this);
    form.exec();
    refresh();
}

void TSnapshotCompareForm::Open(QWidget *parent, const KtSnapshotLink &link, const QString &moduleVersion,
                                std::function<void()> saveChanges)
{
    const QString path = QFileDialog::getOpenFileName(parent, tr("Compare with Switch"), QString(),
                                                      tr("Snapshots (*.snmprec);;All files (*)"));
    if (path.isEmpty())
        return;
    KtSnapshot snapshot;
    QStringList errors;
    if (!snapshot.load(path, &errors)) {
        KtMessageService::Warn(parent, tr("%1 is not a usable snapshot:\n%2")
                                           .arg(path, errors.mid(0, 10).join(QLatin1Char('\n'))));
        return;
    }
    auto *form = new TSnapshotCompareForm(link, snapshot, parent);
    form->m_version = moduleVersion;
    form->setSaveChanges(std::move(saveChanges));
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
}
