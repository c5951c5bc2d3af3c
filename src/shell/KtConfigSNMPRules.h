#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// What the SNMP settings dialog holds: radio and combo positions (-1 for
// no selection) and edit texts.
struct KtConfigSNMPState
{
    QString AgentIP;
    QString Port = QStringLiteral("161");
    int Version = 0;  // radio position: 0 SNMPv1, 1 SNMPv2c, 2 SNMPv3
    QString SecurityName;
    int SecurityLevel = -1;
    int AuthProtocol = -1;
    int PrivProtocol = -1;
    QString AuthPassword;
    QString PrivPassword;
    QString Context = QStringLiteral("cobalt");  // read community before v3, context name in v3
    QString ContextEngine;
    QString Community = QStringLiteral("lantern");
    int BulkWalk = 0;  // 0 Automatic, 1 Off (get-next only)
};

// The rules of the SNMP settings dialog, without widgets.
namespace KtConfigSNMPRules {

inline constexpr int V3Position = 2;
inline constexpr int AuthPrivPosition = 2;

QStringList VersionItems();
QStringList SecurityNames();
QStringList SecurityLevels();
QStringList AuthProtocols();
QStringList PrivProtocols();
QStringList BulkWalkItems();

QString RestartQuestion();
QString CreateFileError();

// A version chosen: v3 empties context and community, the others put the
// default communities back.
void ChooseVersion(KtConfigSNMPState &state, int position);
bool V3ControlsEnabled(const KtConfigSNMPState &state);

// The message for the first empty v3 field; empty when OK may write.
QString Validate(const KtConfigSNMPState &state);

// Whether OK asks before saving: v3 with privacy by a protocol this build
// cannot encrypt with (IDEA), so that every request of the next start fails.
bool AsksAboutPrivacy(const KtConfigSNMPState &state);
QString PrivacyQuestion();

// The profile text: CR LF between lines, none after the last.
QByteArray ProfileText(const KtConfigSNMPState &state, const QDateTime &now);

// Whether the new choice differs from what the module runs with
// (running version text, 0 when empty).
bool VersionChanged(const QString &runningVersion, const QString &runningSecurityName,
                    const KtConfigSNMPState &state);

// "<folder>/<AgentIP>.cfg".
QString ProfilePath(const QString &executableFolder, const KtConfigSNMPState &state);

// Replaces the file in one step, readable by its owner only; a failure
// leaves an existing file as it was.
bool WriteProfile(const QString &path, const QByteArray &text);

// OK pressed: validate, write, and work out whether the version changed.
// Returns the message to show; empty when the dialog may close.
QString Accept(const KtConfigSNMPState &state, const QString &executableFolder, const QString &runningVersion,
               const QString &runningSecurityName, const QDateTime &now, bool *versionChanged);

} // namespace KtConfigSNMPRules
