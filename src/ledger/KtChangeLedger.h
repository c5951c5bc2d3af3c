#pragma once

#include "ledger/KtLedgerEntry.h"
#include "snmp/KtWriteObserver.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// The changes made to one switch since its configuration was last saved.
//
// Installed as the write observer, it records every set the switch accepts
// (from any request to this switch): where it came from, the object, its
// value before the first write and after the latest one. A write that puts
// an object back to its value before drops the entry; a write that changes
// nothing is not recorded. A set of the device actions ends the ledger
// instead: "Save Changes" (the switch keeps the changes), Reset "config"
// (back to the saved data), Reboot and the restarting resets (the switch
// starts from the saved data). So does an up-time lower than one known.
//
// The ledger lives in one JSON-lines file per switch, rewritten atomically
// after each change (mode 0600), so it survives the program. A file that
// cannot be read is set aside with a time stamp and a new one started.
class KtChangeLedger : public QObject, public KtWriteObserver
{
    Q_OBJECT

public:
    enum class End { Saved, Reverted, Rebooted };

    static constexpr const char *SaveOid = "1.3.6.1.4.1.32473.12.1.2.6.0";
    static constexpr const char *RebootOid = "1.3.6.1.4.1.32473.12.1.2.19.0";
    static constexpr const char *SystemResetOid = "1.3.6.1.4.1.32473.12.1.2.3.0";
    static constexpr const char *ResetOid = "1.3.6.1.4.1.32473.12.1.2.20.0";
    static constexpr const char *UpTimeOid = "1.3.6.1.2.1.1.3.0";
    static constexpr quint32 UpTimeMarginTicks = 100;

    // folder: where the file lives; empty for the state folder.
    KtChangeLedger(const QString &host, quint16 port, const QString &folder = {}, QObject *parent = nullptr);
    ~KtChangeLedger() override;

    // Becomes the process's write observer (until destroyed).
    void Install();
    // Reads the file of this switch; reports through message().
    void Load();

    const QList<KtLedgerEntry> &Entries() const { return m_entries; }
    int Count() const { return int(m_entries.size()); }
    QString FilePath() const;
    QString Host() const { return m_host; }
    quint16 Port() const { return m_port; }

    // Names where a write comes from: a menu path or a dialog caption.
    void SetSourceProvider(std::function<QString()> provider) { m_source = std::move(provider); }
    // The switch's up-time as just read; a lower one than known before ends the ledger.
    void NoteUpTime(quint32 ticks);
    // Empties the ledger and its file; says why once when it held changes.
    void Finish(End why);
    static QString EndText(End why);

    // KtWriteObserver
    void AboutToWrite(KtSNMPRequest &request, QList<KtWrittenObject> &objects) override;
    void Written(const KtSNMPRequest &request, const QList<KtWrittenObject> &objects) override;

signals:
    void changed(int count);
    // The ledger was emptied with changes in it.
    void ended(const QString &text);
    // For the status line: a file that could not be read or written.
    void message(const QString &text);

private:
    bool forThisSwitch(const KtSNMPRequest &request) const;
    // True when the set was a device action (and handled as one).
    bool deviceAction(const KtWrittenObject &object);
    void record(const KtSNMPRequest &request, const KtWrittenObject &object);
    void readBefore(KtSNMPRequest &request, QList<KtWrittenObject> &objects);
    bool store();
    void setAside(const QString &why);

    QString m_host;
    quint16 m_port;
    QString m_folder;
    QList<KtLedgerEntry> m_entries;
    std::function<QString()> m_source;
    // The up-time read last, and since when; a restart shows as an up-time
    // below it plus the time gone by (less a margin for the way there).
    std::optional<quint32> m_upTime;
    QElapsedTimer m_upTimeClock;      // not started for an up-time from the file
    quint32 upTimeAtLeast() const;
    void setUpTime(quint32 ticks);
    bool m_writeFailed = false;       // said once until a write works again
};
