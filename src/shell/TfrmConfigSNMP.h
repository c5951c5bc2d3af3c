#pragma once

#include "shell/KtConfigSNMPRules.h"

#include <QDialog>

class KtRadioGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct KtDisplaySettings;

// "Device SNMP Configure": writes the profile of the device beside the
// executable; the running session is not changed, the next start reads it.
class TfrmConfigSNMP : public QDialog
{
    Q_OBJECT

public:
    // running: the settings the module runs with (host, version, security name).
    TfrmConfigSNMP(const KtDisplaySettings &running, const QString &executableFolder, QWidget *parent = nullptr);

    KtConfigSNMPState State() const;

    // Set by OK when the saved choice differs from the running version;
    // cleared when a dialog is created.
    static bool VersionChanged();

    // The dialog, then the restart question when the version changed.
    // True when the operator wants the module to end now.
    static bool Configure(QWidget *mainWindow, const KtDisplaySettings &running, const QString &executableFolder);

private:
    void rgpSNMPVersionChange(int position);
    void btnOkClick();
    void btnTestClick();
    void enableV3(bool on);

    QString m_folder;
    QString m_runningVersion;
    QString m_runningSecurityName;

    QLabel *lblIP;
    QLineEdit *edtPort;
    KtRadioGroup *rgpSNMPVersion;
    QComboBox *cbxSecurityName;
    QComboBox *cbxSecurityLevel;
    QComboBox *cbxAuthProtocol;
    QLineEdit *edtAuthPass;
    QComboBox *cbxPrivProtocol;
    QLineEdit *edtPrivPass;
    QLineEdit *edtContext;
    QLineEdit *edtContextEngine;
    QLineEdit *edtCommunity;
    QComboBox *cbxBulkWalk;
    QPushButton *btnTest;
    QPushButton *btnOk;
    QPushButton *btnExit;
};
