#pragma once

#include "snapshot/KtSnapshotLink.h"

#include <QDialog>

class KtSnapshotBackup;
class QLabel;
class QProgressBar;
class QPushButton;

// "Back Up Configuration...": reads the switch with a progress bar of the
// tables done and writes the snapshot file only when every table was read;
// Cancel stops at once and leaves no file.
class TSnapshotBackupForm : public QDialog
{
    Q_OBJECT

public:
    TSnapshotBackupForm(const KtSnapshotLink &link, const QString &path, const QString &moduleVersion,
                        QWidget *parent = nullptr);
    ~TSnapshotBackupForm() override;

    // Asks for the file, then backs up; false when nothing was written.
    static bool Run(QWidget *parent, const KtSnapshotLink &link, const QString &moduleVersion);

    bool written() const { return m_written; }
    QPushButton *cancelButton() const { return m_cancel; }
    QLabel *statusLabel() const { return m_status; }

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void onProgress(int done, int total, const QString &menuPath);
    void onFinished(bool ok, const QString &error);

    QString m_path;
    QString m_version;
    KtSnapshotBackup *m_backup;
    QLabel *m_status;
    QProgressBar *m_bar;
    QPushButton *m_cancel;
    bool m_started = false;
    bool m_written = false;
};
