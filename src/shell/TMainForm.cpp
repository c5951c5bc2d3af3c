#include "shell/TMainForm.h"

#include "shell/KtCommandLine.h"
#include "shell/KtDoctorWatch.h"
#include "shell/KtFrontPanelImage.h"
#include "shell/KtMenuRecipe.h"
#include "shell/KtSiblingModule.h"
#include "shell/KtStartup.h"
#include "shell/TChangesForm.h"
#include "shell/TChangesFormRules.h"
#include "shell/TfrmConfigSNMP.h"
#include "shell/catalogue/KtMenuCatalogue.h"

#include "bindings/KtFrontPanelLeds.h"
#include "bindings/KtSNMPRequest2Edits.h"
#include "bindings/KtSNMPRequest2Leds.h"
#include "dialogs/generic/TConfigForm.h"
#include "dialogs/generic/TSNMPListViewPanel.h"
#include "dialogs/registry/KtDialogRegistry.h"
#include "doctor/widgets/TConnectionTestForm.h"
#include "ports/KtPortColumns.h"
#include "ports/widgets/KtPortPanel.h"
#include "snapshot/widgets/TSnapshotBackupForm.h"
#include "snapshot/widgets/TSnapshotCompareForm.h"
#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "ledger/KtChangeLedger.h"
#include "mib/KtMibData.h"
#include "ports/KtPortMap.h"
#include "ports/widgets/TPortPageForm.h"
#include "snmp/KtSNMPSession.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSet>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace {

const char *const Version3Items[] = {"Engine", "MPD", "TARGET", "USM", "VACM", "Notification1", "CommunityMIB"};
const char *const RmonItems[] = {"Statistics1", "History1", "AlarmEvent1"};
// On a sibling entry: why it is disabled; empty while its program is there.
const char *const NotInstalledProperty = "qsxNotInstalled";

bool isRmonItem(const QString &name)
{
    return std::any_of(std::begin(RmonItems), std::end(RmonItems),
                       [&name](const char *item) { return name == QLatin1String(item); });
}

const KtOptionList &stpVersions()
{
    static const KtOptionList list(KtOptionTable{{0, {}, QStringLiteral("stp")},
                                                 {1, {}, QStringLiteral("rstp")},
                                                 {2, {}, QStringLiteral("mstp")}});
    return list;
}

KtSNMPVarList oneScalar(const char *oid, const QString &label, const KtOptionList *options)
{
    KtSNMPVar record;
    record.Oid = QString::fromLatin1(oid);
    record.Label = label;
    record.Type = KtType::Integer;
    record.Access = KtAccess::ReadWrite;
    record.Options = options;
    return KtSNMPVarList(KtSNMPVarTable{record}, KtKind::SVT_SV, 0);
}

// A synchronous binding of one scalar to a hidden static text.
KtSNMPRequest2Edits *stateBinding(QWidget *owner, const char *oid, const QString &label,
                                  const KtOptionList *options, QLabel *text)
{
    auto *binding = new KtSNMPRequest2Edits(owner);
    binding->Request.Vars = oneScalar(oid, label, options);
    binding->Asynchronous = false;
    binding->BindStaticText(0, text);
    return binding;
}

QFrame *ledPanel(QWidget *picture, const char *name, int left, int top, int width, int height)
{
    auto *panel = new QFrame(picture);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(left, top, width, height);
    return panel;
}

QLabel *hiddenText(QWidget *owner, const char *name)
{
    auto *label = new QLabel(owner);
    label->setObjectName(QString::fromLatin1(name));
    label->hide();
    return label;
}

// Every entry is found by its component name, a submenu through its menu action.
QAction *namedAction(QAction *action, const KtMenuEntry &entry)
{
    action->setObjectName(entry.name());
    action->setVisible(!entry.hidden());
    return action;
}

} // namespace

TMainForm::TMainForm(const MenuBuilder &buildMenus, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QString::fromLatin1(KtCommandLine::ApplicationTitle));
    buildFace();
    try {
        (buildMenus ? buildMenus : MenuBuilder(&TMainForm::BuildCatalogueMenus))(*this, menuBar());
    } catch (const KtException &e) {
        ShowStatus(e.message());
    }
    auto *find = new QAction(QStringLiteral("Find entry..."), this);
    find->setObjectName(QStringLiteral("FindEntry"));
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    connect(find, &QAction::triggered, this, [this] { guarded([this] { FindEntryClick(); }); });
    addAction(find);
    adjustSize();
}

TMainForm::~TMainForm()
{
    stopFrontPanel();
    delete m_stpStateBinding;
    delete m_rmonStateBinding;
}

void TMainForm::buildFace()
{
    auto *panel1 = new QFrame(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *layout = new QVBoxLayout(panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ScrollBox1 = new QScrollArea(panel1);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ScrollBox1->setLineWidth(2);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Image1 = new KtFrontPanelImage;
    Image1->setObjectName(QStringLiteral("Image1"));
    ScrollBox1->setWidget(Image1);
    const int frame = 2 * ScrollBox1->frameWidth();
    ScrollBox1->setMinimumSize(KtFrontPanelImage::Width + frame, KtFrontPanelImage::Height + frame);
    layout->addWidget(ScrollBox1, 1);
    m_portPanel = new KtPortPanel(Image1, {}, panel1);
    layout->insertWidget(0, m_portPanel);

    // The LED panels lie over the picture, so they move with it.
    PowerLedPanel = ledPanel(Image1, "PowerLedPanel", 66, 36, 7, 7);
    ConsoleLedPanel = ledPanel(Image1, "ConsoleLedPanel", 66, 53, 7, 7);
    RPSPanel = ledPanel(Image1, "RPSPanel", 66, 69, 7, 7);
    GEPanel1 = ledPanel(Image1, "GEPanel1", 115, 36, 7, 7);
    GEPanel2 = ledPanel(Image1, "GEPanel2", 115, 70, 7, 7);
    LedPanel1 = ledPanel(Image1, "LedPanel1", 430, 6, 163, 7);
    LedPanel2 = ledPanel(Image1, "LedPanel2", 622, 6, 163, 7);
    Combo1Panel = ledPanel(Image1, "Combo1Panel", 803, 6, 7, 9);
    Combo2Panel = ledPanel(Image1, "Combo2Panel", 852, 6, 7, 9);

    StatusBar1 = new QStatusBar(panel1);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setMinimumHeight(20);
    m_statusPanel = new QLabel(StatusBar1);
    m_statusPanel->setObjectName(QStringLiteral("StatusPanel0"));
    // A long message must not widen the window.
    m_statusPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_statusPanel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    StatusBar1->addWidget(m_statusPanel, 1);
    m_changesLabel = new QLabel(StatusBar1);
    m_changesLabel->setObjectName(QStringLiteral("ChangesLabel"));
    m_changesLabel->setToolTip(QStringLiteral("Changes not saved to the switch; click to list them"));
    m_changesLabel->setCursor(Qt::PointingHandCursor);
    m_changesLabel->installEventFilter(this);
    m_changesLabel->hide();
    StatusBar1->addPermanentWidget(m_changesLabel);
    layout->addWidget(StatusBar1);
    setCentralWidget(panel1);

    ST_RmonState = hiddenText(this, "ST_RmonState");
    stSTP = hiddenText(this, "stSTP");
}

void TMainForm::BuildMenus(TMainForm &form, QMenuBar *bar, const std::function<bool(const KtMenuEntry &)> &include)
{
    const KtMenuCatalogue &catalogue = KtMenuCatalogue::Instance();
    QHash<const KtMenuEntry *, QMenu *> menus;
    QSet<QMenu *> siblingMenus;
    // The menu of an entry's parent, made on first need together with its own parents.
    const std::function<QMenu *(const KtMenuEntry *)> menuOf = [&](const KtMenuEntry *entry) -> QMenu * {
        if (QMenu *made = menus.value(entry))
            return made;
        QMenu *menu = nullptr;
        if (const KtMenuEntry *parent = entry->parent())
            menu = menuOf(parent)->addMenu(entry->caption());
        else
            menu = bar->addMenu(entry->caption());
        menu->setObjectName(entry->name());
        namedAction(menu->menuAction(), *entry);
        menus.insert(entry, menu);
        return menu;
    };
    for (int i = 0; i < catalogue.count(); ++i) {
        const KtMenuEntry &entry = catalogue.at(i);
        if (!include(entry))
            continue;
        if (entry.action() == KtMenuEntry::Submenu) {
            menuOf(&entry);
            continue;
        }
        QMenu *parent = entry.parent() ? menuOf(entry.parent()) : nullptr;
        QAction *action = namedAction(parent ? parent->addAction(entry.caption()) : bar->addAction(entry.caption()),
                                      entry);
        if (std::function<void()> command = form.Command(entry)) {
            QObject::connect(action, &QAction::triggered, &form, [&form, command] { form.guarded(command); });
            // A dialog that is not built yet leaves its entry visible but disabled.
            if (entry.action() == KtMenuEntry::Dedicated)
                action->setEnabled(KtDialogRegistry::Has(entry.formClass()));
            else if (entry.action() == KtMenuEntry::MainWindow && entry.mainAction() == KtMenuEntry::About)
                action->setEnabled(KtDialogRegistry::Has(QStringLiteral("TAboutForm")));
        }
        if (entry.action() == KtMenuEntry::MainWindow && entry.mainAction() == KtMenuEntry::Help)
            action->setShortcut(QKeySequence::HelpContents);
        // Whether the sibling's program is there is looked at each time its menu opens.
        if (entry.action() == KtMenuEntry::Sibling && parent) {
            form.m_siblingItems.append({action, entry.siblingModule()});
            if (!siblingMenus.contains(parent)) {
                siblingMenus.insert(parent);
                parent->setToolTipsVisible(true);
                QObject::connect(parent, &QMenu::aboutToShow, &form, [&form, parent] { form.UpdateSiblingEntries(parent); });
            }
        }
    }
}

void TMainForm::BuildCatalogueMenus(TMainForm &form, QMenuBar *bar)
{
    BuildMenus(form, bar, [](const KtMenuEntry &) { return true; });
}

void TMainForm::BuildOwnMenus(TMainForm &form, QMenuBar *bar)
{
    BuildMenus(form, bar, [&form](const KtMenuEntry &entry) { return bool(form.OwnCommand(entry)); });
}

std::function<void()> TMainForm::OwnCommand(const KtMenuEntry &entry)
{
    if (entry.action() == KtMenuEntry::MainWindow) {
        switch (entry.mainAction()) {
        case KtMenuEntry::SaveChanges: return [this] { SaveConfigClick(); };
        case KtMenuEntry::Reboot: return [this] { ResetClick(); };
        case KtMenuEntry::Help: return [this] { H1Click(); };
        case KtMenuEntry::About: return [this] { About1Click(); };
        case KtMenuEntry::SNMPConfigure: return [this] { SNMPConfigure1Click(); };
        case KtMenuEntry::TestConnection: return [this] { TestConnection1Click(); };
        case KtMenuEntry::BackUp: return [this] { BackUpConfiguration1Click(); };
        case KtMenuEntry::CompareWithSwitch: return [this] { CompareWithSwitch1Click(); };
        case KtMenuEntry::Changes: return [this] { Changes1Click(); };
        }
    }
    // The spanning-tree entry reads the version into the window before its dialog opens.
    if (entry.action() == KtMenuEntry::Dedicated && entry.formClass() == QLatin1String("TSTP_Info"))
        return [this] { BridgeSTPInformationClick(); };
    if (entry.action() == KtMenuEntry::NoAction && entry.name() == QLatin1String("Exit1"))
        return [this] { close(); };
    return {};
}

std::function<void()> TMainForm::Command(const KtMenuEntry &entry)
{
    std::function<void()> command = OwnCommand(entry);
    const KtMenuEntry *e = &entry;  // entries live as long as the catalogue
    if (!command) {
        switch (entry.action()) {
        case KtMenuEntry::Generic: command = [this, e] { OpenGeneric(*e); }; break;
        case KtMenuEntry::Dedicated: command = [this, e] { openDedicatedEntry(*e); }; break;
        case KtMenuEntry::Sibling: command = [this, e] { LaunchSibling(*e); }; break;
        default: return {};
        }
    }
    // The ledger names the entry as the place its dialog's writes come from.
    return [this, e, command] {
        const QString outer = std::exchange(m_runningEntry, e->path());
        struct Restore
        {
            QString &running;
            QString outer;
            ~Restore() { running = outer; }
        } restore{m_runningEntry, outer};
        command();
    };
}

void TMainForm::rememberDialogName(const KtMenuEntry &entry)
{
    if (entry.captionNamed())
        m_lastDialogName = entry.dialogName();
}

void TMainForm::OpenGeneric(const KtMenuEntry &entry)
{
    rememberDialogName(entry);
    KtMenuRecipe::Run(entry, m_hostText, this, [this] { RmonStateCheck(); });
}

void TMainForm::openDedicatedEntry(const KtMenuEntry &entry)
{
    rememberDialogName(entry);
    openDedicated(entry.formClass(), entry.hasCaptionPrefix() ? entry.captionPrefix() : QString());
}

QString TMainForm::siblingFolder() const
{
    return m_executableFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_executableFolder;
}

void TMainForm::LaunchSibling(const KtMenuEntry &entry)
{
    const KtSiblingCommand command = KtSiblingModule::CommandLine(entry.siblingArgument(), m_hostText, m_display);
    QString reason;
    if (KtSiblingModule::Start(command, siblingFolder(), &reason))
        ShowStatus(command.Text);
    else
        ShowStatus(KtSiblingModule::FailureText(command.Module, reason));
}

void TMainForm::UpdateSiblingEntries(const QMenu *menu)
{
    const QString folder = siblingFolder();
    for (const SiblingItem &sibling : std::as_const(m_siblingItems)) {
        if (menu && sibling.Action->parent() != menu)
            continue;
        const QString reason = KtSiblingModule::Locate(sibling.Module, folder).isEmpty()
            ? KtSiblingModule::NotInstalledText(sibling.Module, folder)
            : QString();
        sibling.Action->setProperty(NotInstalledProperty, reason);
        sibling.Action->setToolTip(reason);
        enableEntry(sibling.Action);
    }
}

// Enabled while its program is there and, for the RMON entries, while the switch's RMON is on.
void TMainForm::enableEntry(QAction *item)
{
    const bool installed = item->property(NotInstalledProperty).toString().isEmpty();
    item->setEnabled(installed && !(m_rmonDisabled && isRmonItem(item->objectName())));
}

QList<TFindEntryDialog::Entry> TMainForm::FindableEntries()
{
    UpdateSiblingEntries();
    QList<TFindEntryDialog::Entry> entries;
    const KtMenuCatalogue &catalogue = KtMenuCatalogue::Instance();
    for (int i = 0; i < catalogue.count(); ++i) {
        const KtMenuEntry &entry = catalogue.at(i);
        if (entry.action() == KtMenuEntry::Submenu)
            continue;
        QAction *item = MenuItem(entry.name());
        bool shown = item != nullptr;
        for (const KtMenuEntry *e = &entry; shown && e; e = e->parent()) {
            QAction *a = MenuItem(e->name());
            shown = a && a->isVisible();
        }
        if (shown)
            entries.append({entry.name(), entry.path(), item->isEnabled(),
                            item->property(NotInstalledProperty).toString()});
    }
    return entries;
}

void TMainForm::FindEntryClick()
{
    TFindEntryDialog dialog(FindableEntries(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The entry runs after the finder has gone, so its own dialog is the only one open.
    if (QAction *item = MenuItem(dialog.ChosenName()); item && item->isEnabled())
        item->trigger();
}

QAction *TMainForm::MenuItem(const QString &name) const
{
    return menuBar()->findChild<QAction *>(name);
}

bool TMainForm::FormCreate(const QStringList &arguments, const QString &executableFolder)
{
    m_executableFolder = executableFolder;
    const KtStartupResult started = KtStartup::Run(arguments, executableFolder, this, [this] { emit startFailed(); });
    if (QAction *configure = MenuItem(QStringLiteral("SNMPConfigure1")))
        configure->setVisible(started.InstallationMode);
    hideEmptyMenus(menuBar()->actions());
    if (!started.Proceed) {
        m_exitCode = started.ExitCode;
        return false;
    }
    m_display = started.Display;
    m_hostText = started.HostText;

    setUpFrontPanel();
    StartLedger();
    setWindowTitle(started.Title);
    enableVersion3Items();
    guarded([this] { createRmonStateBinding(); });
    RmonStateCheck();

    adjustSize();
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    return true;
}

// A menu left without a visible entry (SNMP Configure outside an
// installation) would open onto nothing.
bool TMainForm::hideEmptyMenus(const QList<QAction *> &actions)
{
    bool anyVisible = false;
    for (QAction *action : actions) {
        if (QMenu *menu = action->menu(); menu && action->isVisible() && !hideEmptyMenus(menu->actions()))
            action->setVisible(false);
        anyVisible = anyVisible || (action->isVisible() && !action->isSeparator());
    }
    return anyVisible;
}

void TMainForm::setUpFrontPanel()
{
    const KtFrontPanelWidgets panels{PowerLedPanel, ConsoleLedPanel, RPSPanel, LedPanel1, LedPanel2,
                                     Combo1Panel, Combo2Panel, GEPanel1, GEPanel2};
    m_frontPanelLeds = KtFrontPanelLeds::SetUp(this, panels, m_statusPanel);
    m_portPanel->SetHost(m_hostText);
    connect(m_portPanel, &KtPortPanel::portActivated, this, &TMainForm::OpenPortPage);
    try {
        m_portPanel->SetColumns(KtPortColumns::Shared());
    } catch (const KtException &e) {
        ShowStatus(e.message());
    }
    connect(m_portPanel, &KtPortPanel::message, this, &TMainForm::ShowStatus);
    // The ports get their names and tool tips once the switch has answered.
    if (m_frontPanelLeds) {
        auto *once = new QObject(this);
        connect(m_frontPanelLeds, &KtSNMPRequest2Leds::PollAnswered, once, [this, once] {
            once->deleteLater();
            m_portPanel->PollNow();
        });
    }
    m_doctorWatch = new KtDoctorWatch(m_frontPanelLeds, m_statusPanel, m_hostText, this);
}

void TMainForm::enableVersion3Items()
{
    const bool version3 = m_display.Version == QLatin1String("3");
    for (const char *name : Version3Items)
        if (QAction *item = MenuItem(QString::fromLatin1(name)))
            item->setEnabled(version3);
}

void TMainForm::createRmonStateBinding()
{
    m_rmonStateBinding = stateBinding(this, RmonStateOid, QStringLiteral("RMON State"),
                                      &KtOptionLists::DisabledEnabled(), ST_RmonState);
}

void TMainForm::RmonStateCheck()
{
    if (!m_rmonStateBinding)
        return;
    try {
        m_rmonStateBinding->Read();
    } catch (const KtException &e) {
        ShowStatus(e.message());
        return;
    }
    const QString state = ST_RmonState->text();
    const bool disabled = state == QLatin1String("disabled");
    if (!disabled && state != QLatin1String("enabled"))
        return;
    m_rmonDisabled = disabled;
    for (const char *name : RmonItems)
        if (QAction *item = MenuItem(QString::fromLatin1(name)))
            enableEntry(item);
}

void TMainForm::deviceAction(const char *oid, const QString &value, const QString &question, const QString &caption,
                             const QString &timeoutText)
{
    auto request = std::make_unique<KtSNMPRequest>(oneScalar(oid, QString(), nullptr));
    request->Vars.Get(0).Value = value;
    if (!KtMessageService::Ask(this, question, caption))
        return;
    // The operator must know when the switch did not do it.
    try {
        request->Store();
    } catch (const KtException &e) {
        ShowStatus(e.code() == KtTimeoutCode && !timeoutText.isEmpty() ? timeoutText : e.message());
    }
}

void TMainForm::SaveConfigClick()
{
    deviceAction(SaveConfigOid, QStringLiteral("3"), QStringLiteral("Save Configurations into NV-RAM ?"),
                 QStringLiteral("Save Configure"));
}

void TMainForm::ResetClick()
{
    deviceAction(RebootOid, QStringLiteral("1"), QStringLiteral("Are you sure to reboot the device?"),
                 QStringLiteral("Reboot"), QString::fromLatin1(RebootTimeoutText));
}

void TMainForm::H1Click()
{
    const QString path = QDir(m_executableFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                           : m_executableFolder)
                             .filePath(QString::fromLatin1(HelpFileName));
    if (!QFileInfo(path).isFile()) {
        ShowStatus(QStringLiteral("Help file not found: %1").arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!m_help) {
        m_help = new QTextBrowser(this);
        m_help->setWindowFlag(Qt::Window);
        m_help->setAttribute(Qt::WA_DeleteOnClose);
        m_help->setObjectName(QStringLiteral("HelpWindow"));
        m_help->setOpenExternalLinks(true);
        m_help->resize(720, 560);
        auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_help);
        connect(escape, &QShortcut::activated, m_help.data(), &QWidget::close);
    }
    m_help->setSource(QUrl::fromLocalFile(path));
    m_help->setWindowTitle(m_help->documentTitle().isEmpty() ? QFileInfo(path).completeBaseName()
                                                             : m_help->documentTitle());
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void TMainForm::About1Click()
{
    openDedicated(QStringLiteral("TAboutForm"));
}

void TMainForm::SNMPConfigure1Click()
{
    if (TfrmConfigSNMP::Configure(this, m_display, m_executableFolder))
        close();
}

void TMainForm::TestConnection1Click()
{
    TConnectionTestForm::Run(this, KtDoctorSettings::FromSession(), m_hostText);
}

void TMainForm::BackUpConfiguration1Click()
{
    TSnapshotBackupForm::Run(this, KtSnapshotLink::FromSession(), KtSnapshot::ModuleVersion());
}

void TMainForm::CompareWithSwitch1Click()
{
    TSnapshotCompareForm::Open(this, KtSnapshotLink::FromSession(), KtSnapshot::ModuleVersion(), [this] { SaveConfigClick(); });
}

void TMainForm::BridgeSTPInformationClick()
{
    if (!m_stpStateBinding)
        m_stpStateBinding = stateBinding(this, StpVersionOid, QStringLiteral("Version"), &stpVersions(), stSTP);
    try {
        m_stpStateBinding->Read();
    } catch (const KtException &e) {
        ShowStatus(e.message());
    }
    openDedicated(QStringLiteral("TSTP_Info"));
}

void TMainForm::openDedicated(const QString &className, const QString &captionPrefix)
{
    KtDialogOpening opening;
    opening.main = this;
    opening.captionPrefix = captionPrefix;
    KtDialogRegistry::Open(className, opening);
}

void TMainForm::guarded(const std::function<void()> &work)
{
    try {
        work();
    } catch (const KtException &e) {
        ShowStatus(e.message());
    } catch (const std::exception &e) {
        ShowStatus(QString::fromLocal8Bit(e.what()));
    }
}

void TMainForm::ShowStatus(const QString &text)
{
    m_statusPanel->setText(text);
}

QString TMainForm::StpVersionText() const
{
    return stSTP->text();
}

void TMainForm::SetStpVersionText(const QString &text)
{
    stSTP->setText(text);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    const int unsaved = m_ledger ? m_ledger->Count() : 0;
    if (unsaved == 0) {
        if (KtMessageService::Ask(this, TChangesFormRules::ExitText(0), QStringLiteral("Exit")))
            event->accept();
        else
            event->ignore();
        return;
    }
    switch (KtMessageService::AskWithExtra(this, TChangesFormRules::ExitText(unsaved), QStringLiteral("Exit"),
                                           QStringLiteral("Save Changes and Exit"))) {
    case 1: event->accept(); return;
    // The changes must not be lost because a save failed: the window stays.
    case 2: saveForExit() ? event->accept() : event->ignore(); return;
    default: event->ignore(); return;
    }
}

bool TMainForm::saveForExit()
{
    KtSNMPRequest request(oneScalar(SaveConfigOid, QString(), nullptr));
    request.Vars.Get(0).Value = QStringLiteral("3");
    try {
        request.Store();
    } catch (const KtException &e) {
        ShowStatus(QStringLiteral("The changes were not saved: ") + e.message());
        return false;
    }
    if (m_ledger)
        m_ledger->Finish(KtChangeLedger::End::Saved);
    return true;
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_changesLabel && event->type() == QEvent::MouseButtonRelease) {
        guarded([this] { Changes1Click(); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::StartLedger(const QString &folder)
{
    if (m_ledger)
        return;
    const KtSNMPDevice &device = KtSNMPSession::Device();
    m_ledger = new KtChangeLedger(device.Host, device.AgentPort, folder, this);
    m_ledger->SetSourceProvider([this] {
        if (!m_runningEntry.isEmpty())
            return m_runningEntry;
        const QWidget *active = QApplication::activeModalWidget();
        return active ? active->windowTitle() : QString();
    });
    connect(m_ledger, &KtChangeLedger::changed, this, &TMainForm::showChangeCount);
    connect(m_ledger, &KtChangeLedger::ended, this, &TMainForm::ledgerEnded);
    connect(m_ledger, &KtChangeLedger::message, this, &TMainForm::ShowStatus);
    m_ledger->Load();
    m_ledger->Install();
    if (m_frontPanelLeds)
        connect(m_frontPanelLeds, &KtSNMPRequest2Leds::PollAnswered, this, [this] {
            quint32 ticks = 0;
            if (m_frontPanelLeds && m_ledger && KtFrontPanelLeds::PolledUpTime(*m_frontPanelLeds, ticks))
                m_ledger->NoteUpTime(ticks);
        });
}

void TMainForm::showChangeCount(int count)
{
    m_changesLabel->setText(TChangesFormRules::CountText(count));
    m_changesLabel->setVisible(count > 0);
}

void TMainForm::ledgerEnded(const QString &text)
{
    // After the status line of the poll that noticed it, not under it.
    QTimer::singleShot(0, this, [this, text] { ShowStatus(text); });
    if (m_changes && m_changes->isVisible())
        m_changes->ShowNote(text);
    else
        m_endedNote = text;
}

void TMainForm::Changes1Click()
{
    if (!m_ledger)
        return;
    if (!m_changes) {
        m_changes = new TChangesForm(*m_ledger, m_hostText, this);
        connect(m_changes, &TChangesForm::reverted, this, &TMainForm::ReadAgain);
    }
    if (!m_endedNote.isEmpty())
        m_changes->ShowNote(std::exchange(m_endedNote, QString()));
    m_changes->show();
    m_changes->raise();
    m_changes->activateWindow();
}

TChangesForm *TMainForm::ChangesWindow() const
{
    return m_changes;
}

void TMainForm::ReadAgain()
{
    RmonStateCheck();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *form = qobject_cast<TConfigForm *>(w); form && form->isVisible())
            form->RefreshActive();
}

// An answer still on its way paints the LEDs one last time; the shapes are
// still there. The wait ends at the read's own time-out at the latest.
void TMainForm::stopFrontPanel()
{
    if (!m_frontPanelLeds)
        return;
    KtSNMPRequest2Leds *leds = m_frontPanelLeds;
    leds->Stop();
    if (m_portPanel)
        m_portPanel->Stop();
    const auto busy = [this, leds] { return leds->Busy || (m_portPanel && m_portPanel->Busy()); };
    if (busy()) {
        const KtSNMPRequest &r = leds->Request;
        const int bound = int(r.Timeout) * 10 * int(r.Retries + 1) + 1000;
        QEventLoop loop;
        QTimer poll;
        QElapsedTimer clock;
        clock.start();
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!busy() || clock.elapsed() > bound)
                loop.quit();
        });
        poll.start(10);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    leds->Request.Alive = false;
    m_frontPanelLeds = nullptr;
    delete leds;
}

TPortPageForm *TMainForm::PortPage(int port) const
{
    // A closed page is on its way out (deleted later); it is not the page.
    for (TPortPageForm *page : findChildren<TPortPageForm *>(TPortPageForm::ObjectName(port), Qt::FindDirectChildrenOnly))
        if (!page->Closed())
            return page;
    return nullptr;
}

void TMainForm::OpenPortPage(int port)
{
    if (!KtPortMap::IsPort(port))
        return;
    TPortPageForm *page = PortPage(port);
    if (!page) {
        guarded([&] {
            page = new TPortPageForm(port, m_hostText, this);
            page->setAttribute(Qt::WA_DeleteOnClose);
            connect(page, &TPortPageForm::openEntry, this, &TMainForm::OpenEntryRow);
        });
        if (!page)
            return;
    }
    page->show();
    page->raise();
    page->activateWindow();
}

void TMainForm::OpenEntryRow(const QString &componentName, const QString &rowIndex, const QString &table)
{
    const KtMenuEntry *entry = KtMenuCatalogue::Instance().Find(componentName);
    if (!entry || entry->action() != KtMenuEntry::Generic)
        return;
    const std::function<void()> command = Command(*entry);
    if (!command)
        return;
    // The dialog runs modally inside the command; this runs in its loop,
    // once the form is up.
    const QString formName = entry->name() + QLatin1String("Form");
    const KtSNMPVarTable *descriptors = KtMibData::Instance().FindTable(table);
    const QString firstOid = descriptors && !descriptors->isEmpty() ? descriptors->first().Oid : QString();
    QTimer::singleShot(0, this, [this, formName, firstOid, rowIndex] {
        TConfigForm *form = findChild<TConfigForm *>(formName);
        if (!form || !form->isVisible())
            return;
        for (TSNMPListViewPanel *panel : form->findChildren<TSNMPListViewPanel *>()) {
            if (!panel->Edits || panel->Edits->Request.Vars.Count() == 0
                || panel->Edits->Request.Vars.Get(0).Oid != firstOid)
                continue;
            if (form->Pages)
                for (int k = 0; k < form->Pages->count(); ++k)
                    if (form->Pages->widget(k)->isAncestorOf(panel))
                        form->Pages->setCurrentIndex(k);
            if (!rowIndex.isEmpty())
                panel->SelectRowByIndex(rowIndex);
            return;
        }
    });
    command();
}
