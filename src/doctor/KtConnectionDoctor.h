#pragma once

#include "doctor/KtDoctorReport.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class KtException;
class KtSnmpProbe;
struct KtPduResult;
struct KtProbeResult;
struct KtSnmpTarget;

// Finds out why the switch does not answer: climbs a fixed ladder of
// steps and stops at the first that fails, each with its time and a
// catalogue sentence.
//
//   1 the host name resolves;   2 something answers on the UDP port
//   (ICMP port unreachable or silence);   3 SNMPv3: engine discovery;
//   4 SNMPv3: the user and its keys, the library's reports turned into
//   causes;   5 SNMPv1/v2c: a read of sysUpTime;   6 a write of sysContact
//   with its own value.
//
// Runs in the event loop (the SNMP event pump must be running) and never
// blocks it. No step takes longer than the time-out x (retries + 1): a
// step still waiting then ends with its time-out cause. Deleting the
// doctor abandons the test.
class KtConnectionDoctor : public QObject
{
    Q_OBJECT

public:
    explicit KtConnectionDoctor(QObject *parent = nullptr);
    ~KtConnectionDoctor() override;

    void Start(const KtDoctorSettings &settings);
    void Cancel();
    bool Running() const { return m_running; }
    const KtDoctorReport &Report() const { return m_report; }

signals:
    // Step index of Report().steps started or finished.
    void StepChanged(int index);
    void Finished();

private:
    enum class Phase { None, AuthCheck, UserRead, ContactRead, ContactWrite };
    using Fields = QList<QPair<QString, QString>>;
    using Answer = std::function<void(const KtPduResult &result, const KtException *local)>;

    void beginStep(int index);
    void finishStep(bool passed, KtDoctorTexts::Entry cause, const Fields &fields);
    void pass(KtDoctorTexts::Entry cause, const Fields &fields = {}) { finishStep(true, cause, fields); }
    void fail(KtDoctorTexts::Entry cause, const Fields &fields = {}) { finishStep(false, cause, fields); }
    void stepTimedOut();
    void stopWaiting();

    void resolve();
    void resolvePolled();
    void probePort(bool discoveryOnly);
    void probed(const KtProbeResult &result);
    void checkUser();
    void userAnswered(const KtPduResult &result, const KtException *local);
    void readUptime();
    void checkWrite();
    void contactRead(const KtPduResult &result, const KtException *local);
    void contactWritten(const KtPduResult &result, const KtException *local);

    KtSnmpTarget target(bool write, qint32 level) const;
    void exchange(const KtSnmpTarget &target, bool set, const QString &oid, const QByteArray &value,
                  const Answer &answer);
    QString readCommand() const;
    Fields common() const;
    void failLocally(const KtException &error);

    KtDoctorSettings m_settings;
    KtDoctorReport m_report;
    int m_index = -1;
    bool m_running = false;
    quint64 m_generation = 0;
    QString m_address;
    Phase m_phase = Phase::None;
    bool m_resynced = false;
    QByteArray m_contact;

    QElapsedTimer m_stepClock;
    QTimer m_deadline;
    QTimer m_resolvePoll;
    struct Resolution;
    std::shared_ptr<Resolution> m_resolution;
    KtSnmpProbe *m_probe = nullptr;
    quint64 m_ticket = 0;
    QString m_command;  // of the exchange under way
};
