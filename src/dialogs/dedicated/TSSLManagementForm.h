#pragma once

#include "dialogs/dedicated/KtDedicatedDialog.h"
#include "dialogs/dedicated/TSSLManagementFormRules.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QStatusBar;

// "SSL Management Table": the SSL state, the four cipher suites (one
// drop-down per bit of the device's suite mask) and the cache timeout.
class TSSLManagementForm : public KtDedicatedDialog
{
    Q_OBJECT

public:
    static constexpr const char *CaptionPrefix = "SSL Control Table : ";

    TSSLManagementForm(QWidget *owner, const QString &caption);

    QComboBox *cbxSSLVersion;
    QLineEdit *edtciphersuites;  // the packed value, never shown
    QLineEdit *edtCacheTimeOut;
    std::array<QComboBox *, TSSLManagementFormRules::SuiteCount> cbxciphersuites;
    QPushButton *btnGet;
    QPushButton *btnSet;
    QStatusBar *StatusBar;

    void RefreshClicked();
    void SetClicked();

protected:
    void ReadDone(KtSNMPRequest2Controls *binding, const KtSNMPError &result) override;
};
