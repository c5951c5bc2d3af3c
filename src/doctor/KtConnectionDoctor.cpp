#include "doctor/KtConnectionDoctor.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "errors/KtStatus.h"
#include "snmp/KtSnmpEngine.h"
#include "snmp/KtSnmpProbe.h"
#include "snmp/KtVarBind.h"
#include "values/KtTypes.h"

#include <QPointer>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <future>
#include <limits>
#include <system_error>
#include <thread>

namespace {

namespace T = KtDoctorTexts;

const QString SysUpTime = QStringLiteral("1.3.6.1.2.1.1.3.0");
const QString SysContact = QStringLiteral("1.3.6.1.2.1.1.4.0");

using namespace KtStatus;

// Codes of the failures the engine raises before anything is sent.
enum : int {
    CodeLevel = -303,
    CodePrivPass = -305,
    CodeAuthPass = -307,
    CodeAuthProtocol = -312,
    CodePrivProtocol = -313,
};

bool isPduError(int status)
{
    return status >= 1 && status <= 18;
}

QString statusText(int status)
{
    return StatusToError(status).text;
}

struct Resolved
{
    QString address;
    QString error;
};

Resolved lookUp(const QByteArray &name)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo *found = nullptr;
    const int rc = ::getaddrinfo(name.constData(), nullptr, &hints, &found);
    Resolved r;
    if (rc != 0 || !found) {
        r.error = QString::fromLocal8Bit(::gai_strerror(rc));
    } else {
        char text[INET_ADDRSTRLEN] = {};
        const auto *in = reinterpret_cast<const sockaddr_in *>(found->ai_addr);
        ::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
        r.address = QString::fromLatin1(text);
    }
    if (found)
        ::freeaddrinfo(found);
    return r;
}

} // namespace

// A name look-up runs on a thread of its own, since the system's resolver
// blocks; a look-up that outlives its step is left to finish on its own.
struct KtConnectionDoctor::Resolution
{
    std::future<Resolved> result;
};

KtConnectionDoctor::KtConnectionDoctor(QObject *parent) : QObject(parent)
{
    m_deadline.setSingleShot(true);
    m_deadline.setTimerType(Qt::PreciseTimer);
    connect(&m_deadline, &QTimer::timeout, this, &KtConnectionDoctor::stepTimedOut);
    m_resolvePoll.setInterval(10);
    connect(&m_resolvePoll, &QTimer::timeout, this, &KtConnectionDoctor::resolvePolled);
}

KtConnectionDoctor::~KtConnectionDoctor()
{
    Cancel();
}

void KtConnectionDoctor::Start(const KtDoctorSettings &settings)
{
    Cancel();
    m_settings = settings;
    m_report = KtDoctorReport();
    m_report.settings = settings.WithoutSecrets();
    m_report.started = QDateTime::currentDateTime();
    QList<KtDoctorStep::Kind> kinds{KtDoctorStep::Resolve, KtDoctorStep::Port};
    if (settings.version == 3)
        kinds << KtDoctorStep::Discovery << KtDoctorStep::User;
    else
        kinds << KtDoctorStep::Read;
    kinds << KtDoctorStep::Write;
    for (KtDoctorStep::Kind kind : kinds) {
        KtDoctorStep step;
        step.kind = kind;
        m_report.steps.append(step);
    }
    m_address.clear();
    m_running = true;
    const quint64 mine = m_generation;
    QTimer::singleShot(0, this, [this, mine] {
        if (mine == m_generation && m_running)
            beginStep(0);
    });
}

void KtConnectionDoctor::Cancel()
{
    ++m_generation;
    stopWaiting();
    m_running = false;
}

void KtConnectionDoctor::stopWaiting()
{
    m_deadline.stop();
    m_resolvePoll.stop();
    m_resolution.reset();
    if (m_probe)
        m_probe->Cancel();
    if (m_ticket) {
        KtSnmpEngine &engine = KtSnmpEngine::Instance();
        engine.Detach(m_ticket);
        engine.DropQueued(m_ticket);
        m_ticket = 0;
    }
}

void KtConnectionDoctor::beginStep(int index)
{
    m_index = index;
    m_phase = Phase::None;
    m_command.clear();
    KtDoctorStep &step = m_report.steps[index];
    step.state = KtDoctorStep::Running;
    m_stepClock.start();
    m_deadline.start(int(qMin<qint64>(m_settings.StepBoundMs(), std::numeric_limits<int>::max())));
    emit StepChanged(index);
    switch (step.kind) {
    case KtDoctorStep::Resolve: return resolve();
    case KtDoctorStep::Port: return probePort(false);
    case KtDoctorStep::Discovery: return probePort(true);
    case KtDoctorStep::User: return checkUser();
    case KtDoctorStep::Read: return readUptime();
    case KtDoctorStep::Write: return checkWrite();
    }
}

void KtConnectionDoctor::finishStep(bool passed, KtDoctorTexts::Entry cause, const Fields &fields)
{
    stopWaiting();
    ++m_generation;
    KtDoctorStep &step = m_report.steps[m_index];
    step.elapsedMs = m_stepClock.elapsed();
    step.state = passed ? KtDoctorStep::Passed : KtDoctorStep::Failed;
    step.cause = cause;
    step.sentence = T::Fill(T::Text(cause), common() + fields);
    if (!passed)
        step.command = m_command.isEmpty() ? readCommand() : m_command;
    emit StepChanged(m_index);
    if (passed && m_index + 1 < m_report.steps.size()) {
        // Out of the answer handler that got here before the next exchange starts.
        const quint64 mine = m_generation;
        QTimer::singleShot(0, this, [this, mine] {
            if (mine == m_generation && m_running)
                beginStep(m_index + 1);
        });
        return;
    }
    for (int i = m_index + 1; i < m_report.steps.size(); ++i)
        m_report.steps[i].state = KtDoctorStep::NotRun;
    m_report.finished = true;
    m_running = false;
    emit Finished();
}

// The step has waited time-out x (retries + 1): what is still out counts as unanswered.
void KtConnectionDoctor::stepTimedOut()
{
    if (!m_running || m_index < 0)
        return;
    const KtDoctorStep::Kind kind = m_report.steps[m_index].kind;
    if (kind == KtDoctorStep::Resolve)
        return fail(T::HostSlow, {{QStringLiteral("SECONDS"),
                                   QString::number(double(m_settings.StepBoundMs()) / 1000.0, 'g', 6)}});
    if (kind == KtDoctorStep::Port)
        return fail(T::PortSilent);
    if (kind == KtDoctorStep::Discovery)
        return fail(T::NoSnmpV3);
    if (kind == KtDoctorStep::Read)
        return fail(T::WrongCommunity);
    // Held back by the engine, it never reached the device: no finding about it.
    if (m_ticket && !KtSnmpEngine::Instance().Sent(m_ticket))
        return fail(T::UserBusy);
    stopWaiting();
    KtPduResult timedOut;
    timedOut.status = StTimeout;
    if (kind == KtDoctorStep::User)
        userAnswered(timedOut, nullptr);
    else if (m_phase == Phase::ContactRead)
        contactRead(timedOut, nullptr);
    else
        contactWritten(timedOut, nullptr);
}

KtConnectionDoctor::Fields KtConnectionDoctor::common() const
{
    const KtDoctorSettings &s = m_settings;
    return {{QStringLiteral("HOST"), s.host.trimmed()},
            {QStringLiteral("ADDRESS"), m_address},
            {QStringLiteral("PORT"), QString::number(s.port)},
            {QStringLiteral("USER"), s.securityName},
            {QStringLiteral("LEVEL"), KtDoctorNames::Level(s.securityLevel)},
            {QStringLiteral("PROTOCOLS"), KtDoctorNames::Protocols(s.securityLevel, s.authProtocol, s.privProtocol)},
            {QStringLiteral("AUTH"), KtDoctorNames::Auth(s.authProtocol)},
            {QStringLiteral("PRIV"), KtDoctorNames::Priv(s.privProtocol)},
            {QStringLiteral("CONTEXT"), s.contextName}};
}

KtSnmpTarget KtConnectionDoctor::target(bool write, qint32 level) const
{
    const KtDoctorSettings &s = m_settings;
    KtSnmpTarget t;
    t.host = m_address.isEmpty() ? s.host.trimmed() : m_address;
    t.port = s.port;
    t.version = s.version;
    t.timeout = s.timeout;
    t.retries = s.retries;
    t.community = write ? s.writeCommunity : s.readCommunity;
    t.securityLevel = level;
    t.securityName = s.securityName;
    t.authPassword = s.authPassword;
    t.privPassword = s.privPassword;
    t.authProtocol = s.authProtocol;
    t.privProtocol = s.privProtocol;
    t.contextName = s.contextName;
    t.contextEngineID = s.contextEngineID;
    return t;
}

QString KtConnectionDoctor::readCommand() const
{
    return KtNetSnmpCommand(target(false, m_settings.securityLevel), false, SysUpTime);
}

void KtConnectionDoctor::exchange(const KtSnmpTarget &t, bool set, const QString &oid, const QByteArray &value,
                                  const Answer &answer)
{
    m_command = KtNetSnmpCommand(t, set, oid, value);
    KtVarBind vb;
    vb.oid = oid;
    if (set) {
        vb.syntax = KtSyntax::OctetString;
        vb.octets = value;
    }
    const quint64 mine = m_generation;
    QPointer<KtConnectionDoctor> self(this);
    try {
        m_ticket = KtSnmpEngine::Instance().Send(t, set ? KtPduCommand::Set : KtPduCommand::Get, {vb},
                                                 [self, mine, answer](const KtPduResult &r) {
                                                     if (!self || mine != self->m_generation)
                                                         return;
                                                     self->m_ticket = 0;
                                                     answer(r, nullptr);
                                                 });
    } catch (const KtException &e) {
        m_ticket = 0;
        answer(KtPduResult(), &e);
    }
}

// Failures the engine finds before sending, in the operator's words.
void KtConnectionDoctor::failLocally(const KtException &error)
{
    switch (error.code()) {
    case CodePrivProtocol: return fail(T::PrivUnavailable);
    case CodeAuthProtocol: return fail(T::AuthUnavailable);
    case CodeAuthPass: return fail(T::AuthPassShort);
    case CodePrivPass: return fail(T::PrivPassShort);
    case CodeLevel: return fail(T::LevelNeedsProtocol);
    default: return fail(T::StepFailed, {{QStringLiteral("ERROR"), error.message()}});
    }
}

void KtConnectionDoctor::resolve()
{
    const QString host = m_settings.host.trimmed();
    if (host.isEmpty())
        return fail(T::HostNotResolved, {{QStringLiteral("ERROR"), QStringLiteral("no host name given")}});
    in_addr address;
    if (::inet_pton(AF_INET, host.toLatin1().constData(), &address) == 1) {
        m_address = host;
        return pass(T::HostIsAddress);
    }
    // Digits and dots are meant as an address: no name service is asked.
    static const QRegularExpression numeric(QStringLiteral("^[0-9.]+$"));
    if (numeric.match(host).hasMatch())
        return fail(T::HostBadAddress);
    auto task = std::make_shared<std::packaged_task<Resolved()>>([name = host.toUtf8()] { return lookUp(name); });
    m_resolution = std::make_shared<Resolution>();
    m_resolution->result = task->get_future();
    try {
        std::thread([task] { (*task)(); }).detach();
    } catch (const std::system_error &e) {
        m_resolution.reset();
        return fail(T::StepFailed, {{QStringLiteral("ERROR"), QString::fromLocal8Bit(e.what())}});
    }
    m_resolvePoll.start();
}

void KtConnectionDoctor::resolvePolled()
{
    if (!m_resolution || m_resolution->result.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    const Resolved r = m_resolution->result.get();
    m_resolution.reset();
    m_resolvePoll.stop();
    if (r.address.isEmpty())
        return fail(T::HostNotResolved, {{QStringLiteral("ERROR"), r.error}});
    m_address = r.address;
    pass(T::HostResolved);
}

void KtConnectionDoctor::probePort(bool discoveryOnly)
{
    if (m_settings.port == 0)
        return fail(T::BadPort);
    if (!m_probe) {
        m_probe = new KtSnmpProbe(this);
        connect(m_probe, &KtSnmpProbe::Finished, this, &KtConnectionDoctor::probed);
    }
    KtProbeTarget t;
    t.host = m_address;
    t.port = m_settings.port;
    t.timeout = m_settings.timeout;
    t.retries = m_settings.retries;
    t.discovery = true;
    // A v1/v2c read beside the discovery: an agent without SNMPv3 answers
    // only that. It carries the read community, as every read does.
    if (!discoveryOnly) {
        t.community = m_settings.readCommunity;
        t.communityVersion = m_settings.version == 0 ? 0 : 1;
    }
    m_probe->Start(t);
}

void KtConnectionDoctor::probed(const KtProbeResult &r)
{
    if (!m_running || m_index < 0)
        return;
    const bool discovery = m_report.steps[m_index].kind == KtDoctorStep::Discovery;
    switch (r.outcome) {
    case KtProbeResult::Refused: return fail(T::PortRefused);
    case KtProbeResult::Silent: return fail(discovery ? T::NoSnmpV3 : T::PortSilent);
    case KtProbeResult::Failed: return fail(T::SendFailed, {{QStringLiteral("ERROR"), r.error}});
    case KtProbeResult::Answered: break;
    }
    if (!discovery)
        return pass(T::PortAnswers);
    if (r.engineId.isEmpty())
        return fail(T::StepFailed,
                    {{QStringLiteral("ERROR"), QStringLiteral("the discovery answer carries no engine identifier")}});
    pass(T::EngineFound, {{QStringLiteral("ENGINEID"), QString::fromLatin1(r.engineId.toHex().toUpper())},
                          {QStringLiteral("BOOTS"), QString::number(r.engineBoots)},
                          {QStringLiteral("ENGINETIME"), QString::number(r.engineTime)}});
}

// authPriv is checked in two exchanges: authNoPriv first, so that a wrong
// privacy key, which the device answers with silence, is told from a wrong
// authentication key, which it reports.
void KtConnectionDoctor::checkUser()
{
    m_resynced = false;
    const bool twoSteps = m_settings.securityLevel >= 3;
    m_phase = twoSteps ? Phase::AuthCheck : Phase::UserRead;
    exchange(target(false, twoSteps ? 2 : m_settings.securityLevel), false, SysUpTime, {},
             [this](const KtPduResult &r, const KtException *local) { userAnswered(r, local); });
}

void KtConnectionDoctor::userAnswered(const KtPduResult &r, const KtException *local)
{
    if (local)
        return failLocally(*local);
    const bool authCheck = m_phase == Phase::AuthCheck;
    const auto again = [this](qint32 level) {
        exchange(target(false, level), false, SysUpTime, {},
                 [this](const KtPduResult &answer, const KtException *error) { userAnswered(answer, error); });
    };
    if (authCheck && (r.status == 0 || isPduError(r.status))) {
        // An authenticated answer: the user and its authentication key are right.
        m_phase = Phase::UserRead;
        return again(m_settings.securityLevel);
    }
    switch (r.status) {
    case 0: {
        const QString value = VarBindToText(r.vbs.value(0), KtType::TimeTicks);
        return pass(m_resynced ? T::UserAcceptedResynced : T::UserAccepted, {{QStringLiteral("VALUE"), value}});
    }
    case StUsmUnknownName: return fail(T::UnknownUser);
    case StUsmAuthFailure: return fail(T::WrongAuth);
    case StUsmDecryption: return fail(T::WrongPriv);
    case StUsmSecLevel: return fail(T::LevelNotConfigured);
    case StUsmUnknownEngine: return fail(T::EngineChanged);
    case StMpUnavailableContext:
    case StMpUnknownContext: return fail(T::UnknownContext);
    case StUsmTimeWindow:
        // The library has taken the device's boots and time from the report.
        if (!m_resynced) {
            m_resynced = true;
            return again(authCheck ? 2 : m_settings.securityLevel);
        }
        return fail(T::NotInTimeWindow);
    case StTimeout:
        return fail(!authCheck && m_settings.securityLevel >= 3 ? T::WrongPriv : T::UserSilent);
    default: break;
    }
    if (isPduError(r.status))
        return fail(T::UserRefused, {{QStringLiteral("ERROR"), statusText(r.status)}});
    fail(T::StepFailed, {{QStringLiteral("ERROR"), statusText(r.status)}});
}

void KtConnectionDoctor::readUptime()
{
    exchange(target(false, m_settings.securityLevel), false, SysUpTime, {},
             [this](const KtPduResult &r, const KtException *local) {
                 if (local)
                     return failLocally(*local);
                 if (r.status == 0)
                     return pass(T::ReadAccepted,
                                 {{QStringLiteral("VALUE"), VarBindToText(r.vbs.value(0), KtType::TimeTicks)}});
                 if (r.status == StTimeout)
                     return fail(T::WrongCommunity);
                 fail(isPduError(r.status) ? T::ReadRefused : T::StepFailed,
                      {{QStringLiteral("ERROR"), statusText(r.status)}});
             });
}

void KtConnectionDoctor::checkWrite()
{
    m_phase = Phase::ContactRead;
    exchange(target(false, m_settings.securityLevel), false, SysContact, {},
             [this](const KtPduResult &r, const KtException *local) { contactRead(r, local); });
}

void KtConnectionDoctor::contactRead(const KtPduResult &r, const KtException *local)
{
    if (local)
        return failLocally(*local);
    if (r.status == StNoSuchName)
        return fail(T::NoSysContact, {{QStringLiteral("ERROR"), statusText(r.status)}});
    if (isPduError(r.status))
        return fail(T::ReadRefused, {{QStringLiteral("ERROR"), statusText(r.status)}});
    if (r.status != 0)
        return fail(T::StepFailed, {{QStringLiteral("ERROR"), statusText(r.status)}});
    const KtVarBind vb = r.vbs.value(0);
    if (vb.syntax != KtSyntax::OctetString) {
        const QString what = vb.syntax == KtSyntax::NoSuchObject     ? QStringLiteral("noSuchObject")
                             : vb.syntax == KtSyntax::NoSuchInstance ? QStringLiteral("noSuchInstance")
                                                                     : QStringLiteral("not a text");
        return fail(T::NoSysContact, {{QStringLiteral("ERROR"), what}});
    }
    m_contact = vb.octets;
    m_phase = Phase::ContactWrite;
    exchange(target(true, m_settings.securityLevel), true, SysContact, m_contact,
             [this](const KtPduResult &answer, const KtException *error) { contactWritten(answer, error); });
}

void KtConnectionDoctor::contactWritten(const KtPduResult &r, const KtException *local)
{
    if (local)
        return failLocally(*local);
    const bool v3 = m_settings.version == 3;
    if (r.status == 0) {
        const QString credentials = v3 ? QStringLiteral("user %1").arg(m_settings.securityName)
                                       : QStringLiteral("the write community");
        return pass(T::WriteAccepted, {{QStringLiteral("CREDENTIALS"), credentials}});
    }
    // SNMPv1 agents answer a write they do not allow with noSuchName.
    const bool refused = r.status == StReadOnly || r.status == StNoAccess || r.status == StAuthorizationError
        || r.status == StNotWritable || (m_settings.version == 0 && r.status == StNoSuchName);
    if (refused)
        return fail(T::ReadOnly, {{QStringLiteral("ERROR"), statusText(r.status)}});
    if (r.status == StTimeout)
        return fail(v3 ? T::WriteSilent : T::WrongWriteCommunity);
    fail(isPduError(r.status) ? T::WriteRefused : T::StepFailed, {{QStringLiteral("ERROR"), statusText(r.status)}});
}
