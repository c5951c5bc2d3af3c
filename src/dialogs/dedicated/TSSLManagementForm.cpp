#include "dialogs/dedicated/TSSLManagementForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPRequest.h"
#include "values/widgets/KtMessageService.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace TSSLManagementFormRules;

TSSLManagementForm::TSSLManagementForm(QWidget *owner, const QString &caption)
    : KtDedicatedDialog(owner), cbxSSLVersion(new QComboBox(this)), edtciphersuites(new QLineEdit(this)),
      edtCacheTimeOut(new QLineEdit(this)), btnGet(new QPushButton(tr("&Refresh"), this)),
      btnSet(new QPushButton(tr("&Set"), this)), StatusBar(new QStatusBar(this))
{
    setWindowTitle(caption);
    AdoptEdits(SslList());

    cbxSSLVersion->setObjectName(QStringLiteral("cbxSSLVersion"));
    edtciphersuites->setObjectName(QStringLiteral("edtciphersuites"));
    edtciphersuites->hide();
    edtCacheTimeOut->setObjectName(QStringLiteral("edtCacheTimeOut"));
    btnGet->setObjectName(QStringLiteral("btnGet"));
    btnSet->setObjectName(QStringLiteral("btnSet"));

    auto *fields = new QFormLayout;
    auto *statusLabel = new QLabel(tr("SSL S&tatus"), this);
    statusLabel->setBuddy(cbxSSLVersion);
    fields->addRow(statusLabel, cbxSSLVersion);

    auto *suites = new QGroupBox(tr("Cipher Suites"), this);
    auto *suiteFields = new QFormLayout(suites);
    const char *names[SuiteCount] = {"RSA-with-RC4-128-MD5", "RSA-with-3DES-EDE-CBC-SHA",
                                     "DHE-DSS-with-3DES-EDE-CBC-SHA", "RSA-EXPORT-with-RC4-40-MD5"};
    for (int k = 0; k < SuiteCount; ++k) {
        auto *combo = new QComboBox(suites);
        combo->setObjectName(QStringLiteral("cbxciphersuites%1").arg(k + 1));
        combo->addItems({QStringLiteral("disabled"), QStringLiteral("enabled")});
        combo->setCurrentIndex(-1);
        combo->setMinimumWidth(120);
        auto *label = new QLabel(QStringLiteral("&%1 %2").arg(k + 1).arg(QLatin1String(names[k])), suites);
        label->setBuddy(combo);
        suiteFields->addRow(label, combo);
        cbxciphersuites[size_t(k)] = combo;
    }

    auto *timeout = new QFormLayout;
    auto *timeoutLabel = new QLabel(tr("Cache Time &Out"), this);
    timeoutLabel->setBuddy(edtCacheTimeOut);
    timeout->addRow(timeoutLabel, edtCacheTimeOut);

    Edits->BindControl(StatusColumn, cbxSSLVersion);
    Edits->BindEdits(CipherColumn, QStringLiteral("%s{l2}"), {edtciphersuites});
    Edits->BindEdits(TimeoutColumn, QStringLiteral("%s"), {edtCacheTimeOut});
    Edits->SetStatusBar(StatusBar);

    for (QPushButton *b : {btnGet, btnSet})
        b->setAutoDefault(false);

    QVBoxLayout *body = KtBodyOverStatusBar(this, StatusBar);
    body->addLayout(fields);
    body->addWidget(suites);
    body->addLayout(timeout);
    body->addLayout(KtButtonRow({btnGet, btnSet}));

    connect(btnGet, &QPushButton::clicked, this, [this] { Guard([this] { RefreshClicked(); }); });
    connect(btnSet, &QPushButton::clicked, this, [this] { Guard([this] { SetClicked(); }); });
    SetRefresh([this] { RefreshClicked(); });
    SetTabOrder({cbxSSLVersion, cbxciphersuites[0], cbxciphersuites[1], cbxciphersuites[2], cbxciphersuites[3],
                 edtCacheTimeOut, btnGet, btnSet});
}

void TSSLManagementForm::ReadDone(KtSNMPRequest2Controls *, const KtSNMPError &result)
{
    if (result.Code != 0)
        return;
    const auto suites = UnpackSuites(edtciphersuites->text());
    for (int k = 0; k < SuiteCount; ++k)
        cbxciphersuites[size_t(k)]->setCurrentIndex(suites ? int((*suites)[size_t(k)]) : -1);
}

void TSSLManagementForm::RefreshClicked()
{
    if (ReadyFor(*Edits))
        StartRead(*Edits);
}

void TSSLManagementForm::SetClicked()
{
    if (WritePending(*Edits) || !ReadyFor(*Edits))
        return;
    bool empty = cbxSSLVersion->currentIndex() < 0 || edtCacheTimeOut->text().isEmpty();
    for (const QComboBox *c : cbxciphersuites)
        empty = empty || c->currentIndex() < 0;
    if (empty) {
        KtMessageService::Warn(this, QStringLiteral("Some items are empty."));
        btnSet->setFocus();
        return;
    }
    const auto timeout = ParseCacheTimeout(edtCacheTimeOut->text());
    if (!timeout) {
        KtMessageService::Warn(this, tr("Cache Time Out must be a whole number from 0 to 4294967295."));
        edtCacheTimeOut->setFocus();
        return;
    }
    edtCacheTimeOut->setText(QString::number(*timeout));
    Suites suites{};
    for (int k = 0; k < SuiteCount; ++k)
        suites[size_t(k)] = cbxciphersuites[size_t(k)]->currentIndex() == 1;
    edtciphersuites->setText(PackSuites(suites, edtciphersuites->text()));
    StartWrite(*Edits, true, true, {});
}
