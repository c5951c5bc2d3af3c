#include "shell/TfrmConfigSNMP.h"

#include "shell/KtConfigSNMPDoctor.h"
#include "shell/KtDisplaySettings.h"

#include "doctor/widgets/TConnectionTestForm.h"

#include "values/widgets/KtMessageService.h"
#include "values/widgets/KtRadioGroup.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

bool s_versionChanged = false;

QComboBox *combo(QWidget *parent, const char *name, const QStringList &items, bool editable)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(editable);
    box->addItems(items);
    box->setCurrentIndex(-1);
    return box;
}

QLineEdit *edit(QWidget *parent, const char *name, const QString &text = {})
{
    auto *line = new QLineEdit(text, parent);
    line->setObjectName(QLatin1String(name));
    return line;
}

} // namespace

TfrmConfigSNMP::TfrmConfigSNMP(const KtDisplaySettings &running, const QString &executableFolder, QWidget *parent)
    : QDialog(parent)
    , m_folder(executableFolder)
    , m_runningVersion(running.Version)
    , m_runningSecurityName(running.SecurityName)
{
    using namespace KtConfigSNMPRules;
    s_versionChanged = false;
    setWindowTitle(QStringLiteral("Device SNMP Configure"));

    const KtConfigSNMPState defaults;
    lblIP = new QLabel(running.Host, this);
    lblIP->setObjectName(QStringLiteral("lblIP"));
    lblIP->setTextInteractionFlags(Qt::TextSelectableByMouse);
    edtPort = edit(this, "edtPort", defaults.Port);
    edtPort->setValidator(new QIntValidator(0, 65535, edtPort));

    rgpSNMPVersion = new KtRadioGroup(QStringLiteral("SNMP Version"), this);
    rgpSNMPVersion->setObjectName(QStringLiteral("rgpSNMPVersion"));
    rgpSNMPVersion->setColumns(3);
    rgpSNMPVersion->setItems(VersionItems());
    rgpSNMPVersion->setItemIndex(defaults.Version);

    cbxSecurityName = combo(this, "cbxSecurityName", SecurityNames(), true);
    cbxSecurityLevel = combo(this, "cbxSecurityLevel", SecurityLevels(), false);
    cbxAuthProtocol = combo(this, "cbxAuthProtocol", AuthProtocols(), false);
    edtAuthPass = edit(this, "edtAuthPass");
    cbxPrivProtocol = combo(this, "cbxPrivProtocol", PrivProtocols(), false);
    edtPrivPass = edit(this, "edtPrivPass");
    edtContext = edit(this, "edtContext", defaults.Context);
    edtContextEngine = edit(this, "edtContextEngine");
    edtCommunity = edit(this, "edtCommunity", defaults.Community);
    cbxBulkWalk = combo(this, "cbxBulkWalk", BulkWalkItems(), false);
    cbxBulkWalk->setCurrentIndex(defaults.BulkWalk);
    cbxBulkWalk->setToolTip(QStringLiteral("Tables are read with GETBULK in SNMPv2c and SNMPv3 unless this is Off"));
    // Pass phrases and communities are never shown.
    for (QLineEdit *secret : {edtAuthPass, edtPrivPass, edtContext, edtCommunity})
        secret->setEchoMode(QLineEdit::Password);

    btnTest = new QPushButton(QStringLiteral("&Test Connection..."), this);
    btnTest->setObjectName(QStringLiteral("btnTest"));
    btnTest->setAutoDefault(false);
    btnOk = new QPushButton(QStringLiteral("&OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnExit = new QPushButton(QStringLiteral("E&xit"), this);
    btnExit->setObjectName(QStringLiteral("btnExit"));

    auto *ipRow = new QHBoxLayout;
    ipRow->addWidget(new QLabel(QStringLiteral("IP : "), this));
    ipRow->addWidget(lblIP, 1);
    auto *portLabel = new QLabel(QStringLiteral("&Port : "), this);
    portLabel->setBuddy(edtPort);
    ipRow->addWidget(portLabel);
    ipRow->addWidget(edtPort);

    auto *form = new QFormLayout;
    auto addRow = [&](const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    addRow(QStringLiteral("Security &Name : "), cbxSecurityName);
    addRow(QStringLiteral("Security &Level : "), cbxSecurityLevel);
    addRow(QStringLiteral("&Auth Protocol : "), cbxAuthProtocol);
    addRow(QStringLiteral("A&uth Password : "), edtAuthPass);
    addRow(QStringLiteral("P&riv Protocol : "), cbxPrivProtocol);
    addRow(QStringLiteral("Pr&iv Password : "), edtPrivPass);
    addRow(QStringLiteral("&Context Name : "), edtContext);
    addRow(QStringLiteral("Context &Engine ID :  "), edtContextEngine);
    addRow(QStringLiteral("&Write Community String : "), edtCommunity);
    addRow(QStringLiteral("&Bulk walk : "), cbxBulkWalk);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnTest);
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnExit);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(ipRow);
    layout->addWidget(rgpSNMPVersion);
    layout->addLayout(form);
    layout->addLayout(buttons);
    // Not resizable: the dialog keeps the size its layout asks for.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    enableV3(false);
    cbxBulkWalk->setEnabled(false);  // SNMPv1 has no GETBULK

    connect(rgpSNMPVersion, &KtRadioGroup::itemIndexChanged, this, &TfrmConfigSNMP::rgpSNMPVersionChange);
    connect(btnTest, &QPushButton::clicked, this, &TfrmConfigSNMP::btnTestClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmConfigSNMP::btnOkClick);
    connect(btnExit, &QPushButton::clicked, this, &QDialog::reject);
}

KtConfigSNMPState TfrmConfigSNMP::State() const
{
    KtConfigSNMPState s;
    s.AgentIP = lblIP->text();
    s.Port = edtPort->text();
    s.Version = rgpSNMPVersion->itemIndex();
    s.SecurityName = cbxSecurityName->currentText();
    s.SecurityLevel = cbxSecurityLevel->currentIndex();
    s.AuthProtocol = cbxAuthProtocol->currentIndex();
    s.PrivProtocol = cbxPrivProtocol->currentIndex();
    s.AuthPassword = edtAuthPass->text();
    s.PrivPassword = edtPrivPass->text();
    s.Context = edtContext->text();
    s.ContextEngine = edtContextEngine->text();
    s.Community = edtCommunity->text();
    s.BulkWalk = cbxBulkWalk->currentIndex();
    return s;
}

bool TfrmConfigSNMP::VersionChanged()
{
    return s_versionChanged;
}

void TfrmConfigSNMP::rgpSNMPVersionChange(int position)
{
    if (position < 0)
        return;
    KtConfigSNMPState s = State();
    KtConfigSNMPRules::ChooseVersion(s, position);
    edtContext->setText(s.Context);
    edtCommunity->setText(s.Community);
    // The context edit holds the read community before v3.
    edtContext->setEchoMode(position == KtConfigSNMPRules::V3Position ? QLineEdit::Normal : QLineEdit::Password);
    enableV3(KtConfigSNMPRules::V3ControlsEnabled(s));
    cbxBulkWalk->setEnabled(position != 0);
}

void TfrmConfigSNMP::enableV3(bool on)
{
    const std::initializer_list<QWidget *> v3 = {cbxSecurityName, cbxSecurityLevel, cbxAuthProtocol, edtAuthPass,
                                                 cbxPrivProtocol, edtPrivPass, edtContextEngine};
    for (QWidget *w : v3)
        w->setEnabled(on);
}

void TfrmConfigSNMP::btnOkClick()
{
    const KtConfigSNMPState state = State();
    // Kept for profiles written elsewhere, but saved only when the operator insists.
    if (KtConfigSNMPRules::Validate(state).isEmpty() && KtConfigSNMPRules::AsksAboutPrivacy(state)
        && !KtMessageService::Ask(this, KtConfigSNMPRules::PrivacyQuestion()))
        return;
    bool changed = false;
    const QString message = KtConfigSNMPRules::Accept(state, m_folder, m_runningVersion, m_runningSecurityName,
                                                      QDateTime::currentDateTime(), &changed);
    if (!message.isEmpty()) {
        KtMessageService::Inform(this, message);
        return;
    }
    s_versionChanged = changed;
    accept();
}

// The values as typed, before anything is saved.
void TfrmConfigSNMP::btnTestClick()
{
    const KtConfigSNMPState state = State();
    if (const QString message = KtConfigSNMPRules::Validate(state); !message.isEmpty()) {
        KtMessageService::Inform(this, message);
        return;
    }
    TConnectionTestForm::Run(this, KtConfigSNMPDoctor::Settings(state, KtDoctorSettings::FromSession()),
                             state.AgentIP);
}

bool TfrmConfigSNMP::Configure(QWidget *mainWindow, const KtDisplaySettings &running, const QString &executableFolder)
{
    {
        TfrmConfigSNMP dialog(running, executableFolder, mainWindow);
        dialog.exec();
    }
    return VersionChanged() && KtMessageService::Ask(mainWindow, KtConfigSNMPRules::RestartQuestion());
}
