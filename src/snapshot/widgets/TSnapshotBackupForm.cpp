#include "snapshot/widgets/TSnapshotBackupForm.h"

#include "snapshot/KtSnapshotBackup.h"
#include "values/widgets/KtMessageService.h"

#include <QFileDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TSnapshotBackupForm::TSnapshotBackupForm(const KtSnapshotLink &link, const QString &path, const QString &moduleVersion,
                                         QWidget *parent)
    : QDialog(parent), m_path(path), m_version(moduleVersion), m_backup(new KtSnapshotBackup(link, this))
{
    setWindowTitle(tr("Back Up Configuration"));
    auto *layout = new QVBoxLayout(this);
    m_status = new QLabel(tr("Reading %1 ...").arg(link.target.host), this);
    m_status->setWordWrap(true);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, KtSnapshotBackup::GroupCount());
    m_bar->setFormat(tr("%v of %m tables"));
    m_cancel = new QPushButton(tr("&Cancel"), this);
    layout->addWidget(m_status);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    setMinimumWidth(420);
    connect(m_cancel, &QPushButton::clicked, this, &TSnapshotBackupForm::reject);
    connect(m_backup, &KtSnapshotBackup::progress, this, &TSnapshotBackupForm::onProgress);
    connect(m_backup, &KtSnapshotBackup::finished, this, &TSnapshotBackupForm::onFinished);
}

TSnapshotBackupForm::~TSnapshotBackupForm() = default;

void TSnapshotBackupForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    QTimer::singleShot(0, this, [this] { m_backup->start(m_version); });
}

void TSnapshotBackupForm::reject()
{
    if (m_backup->running()) {
        m_backup->cancel();
        m_status->setText(tr("Cancelled; no file was written."));
    }
    QDialog::reject();
}

void TSnapshotBackupForm::onProgress(int done, int total, const QString &menuPath)
{
    m_bar->setMaximum(total);
    m_bar->setValue(done);
    m_status->setText(menuPath);
}

void TSnapshotBackupForm::onFinished(bool ok, const QString &error)
{
    if (!isVisible())
        return;   // cancelled
    QString why = error;
    if (ok && m_backup->snapshot().save(m_path, &why)) {
        m_written = true;
        const KtSnapshot &s = m_backup->snapshot();
        KtMessageService::Inform(this, tr("%1 written: %2 objects, %3 tables absent on the switch.")
                                           .arg(m_path)
                                           .arg(s.values.size())
                                           .arg(s.absent.size()));
        accept();
        return;
    }
    KtMessageService::Warn(this, tr("The backup failed: %1\nNo file was written.").arg(why));
    QDialog::reject();
}

bool TSnapshotBackupForm::Run(QWidget *parent, const KtSnapshotLink &link, const QString &moduleVersion)
{
    QString path = QFileDialog::getSaveFileName(parent, tr("Back Up Configuration"),
                                                link.target.host + QStringLiteral(".snmprec"),
                                                tr("Snapshots (*.snmprec);;All files (*)"));
    if (path.isEmpty())
        return false;
    TSnapshotBackupForm form(link, path, moduleVersion, parent);
    form.exec();
    return form.written();
}
