#include "shell/KtConfigSNMPRules.h"

#include "shell/KtProfile.h"
#include "snmp/KtSnmpEngine.h"

#include <QDir>
#include <QLocale>
#include <QSaveFile>

namespace KtConfigSNMPRules {

QStringList VersionItems()
{
    return {QStringLiteral("SNMPv1"), QStringLiteral("SNMPv2c"), QStringLiteral("SNMPv3")};
}

QStringList SecurityNames()
{
    return {QStringLiteral("noAuthUser"), QStringLiteral("MD5_User"), QStringLiteral("MD5_DES_User"),
            QStringLiteral("SHA_User"), QStringLiteral("SHA_DES_User")};
}

QStringList SecurityLevels()
{
    return {QStringLiteral("NoAuthNoPriv"), QStringLiteral("AuthNoPriv"), QStringLiteral("AuthPriv")};
}

QStringList AuthProtocols()
{
    return {QStringLiteral("None"), QStringLiteral("HMACMD5"), QStringLiteral("HMAC_SHA")};
}

QStringList PrivProtocols()
{
    return {QStringLiteral("None"), QStringLiteral("CBC_DES"), QStringLiteral("CBC_IDEA")};
}

QStringList BulkWalkItems()
{
    return {QStringLiteral("Automatic"), QStringLiteral("Off")};
}

QString RestartQuestion()
{
    return QStringLiteral("SNMP Version has been modified!\r\n"
                          "If you want to run the module in new version,please rerun it again.\r\n\n"
                          "Switch to new version?");
}

QString CreateFileError()
{
    return QStringLiteral("Create file error!");
}

void ChooseVersion(KtConfigSNMPState &state, int position)
{
    state.Version = position;
    if (position == V3Position) {
        state.Context.clear();
        state.Community.clear();
    } else {
        state.Context = QStringLiteral("cobalt");
        state.Community = QStringLiteral("lantern");
    }
}

bool V3ControlsEnabled(const KtConfigSNMPState &state)
{
    return state.Version == V3Position;
}

QString Validate(const KtConfigSNMPState &state)
{
    if (state.Version != V3Position)
        return {};
    if (state.SecurityName.isEmpty())
        return QStringLiteral("SecurityName is empty!");
    if (state.SecurityLevel < 0)
        return QStringLiteral("SecurityLevel is empty!");
    if (state.AuthProtocol < 0)
        return QStringLiteral("AuthProtocol is empty!");
    if (state.PrivProtocol < 0)
        return QStringLiteral("PrivProtocol is empty!");
    return {};
}

bool AsksAboutPrivacy(const KtConfigSNMPState &state)
{
    return state.Version == V3Position && state.SecurityLevel == AuthPrivPosition && state.PrivProtocol >= 0
        && !KtSnmpEngine::SupportsPrivProtocol(KtProfile::PrivProtocolCode(state.PrivProtocol));
}

QString PrivacyQuestion()
{
    return QStringLiteral("This build cannot encrypt with IDEA: every SNMPv3 request will fail. Save anyway?");
}

QByteArray ProfileText(const KtConfigSNMPState &state, const QDateTime &now)
{
    static const char *const versions[] = {"0", "1", "3"};
    const bool v3 = state.Version == V3Position;
    const QLocale locale = QLocale::system();
    const QList<std::pair<const char *, QString>> keys = {
        {"AgentIP", state.AgentIP},
        {"AgentPort", state.Port},
        {"Version", state.Version >= 0 && state.Version <= 2 ? QLatin1String(versions[state.Version]) : QString()},
        {"SecurityName", v3 ? state.SecurityName : QString()},
        {"AuthPassword", state.AuthPassword},
        {"PrivPassword", state.PrivPassword},
        {"AuthProtocol", QString::number(state.AuthProtocol)},
        {"PrivProtocol", QString::number(state.PrivProtocol)},
        {"ContextEngineID", state.ContextEngine},
        {"SecurityLevel", QString::number(state.SecurityLevel)},
        {"ContextName", state.Context},
        {"GetCommStr", state.Context},
        {"SetCommStr", state.Community},
        {"UpdateDate", locale.toString(now.date(), QLocale::ShortFormat)},
        {"UpdateTime", locale.toString(now.time(), QLocale::LongFormat)},
        {"SecurityModel", QStringLiteral("3")},
        // Empty: repetitions chosen by the walk.
        {"BulkRepetitions", state.BulkWalk == 1 ? QStringLiteral("0") : QString()},
    };
    QByteArray text = QByteArrayLiteral("[Program Information]");
    for (const auto &[key, value] : keys) {
        // A line break inside a value would start a key of its own.
        QString flat = value;
        flat.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        text += "\r\n";
        text += key;
        text += '=';
        text += flat.toUtf8();
    }
    return text;
}

bool VersionChanged(const QString &runningVersion, const QString &runningSecurityName,
                    const KtConfigSNMPState &state)
{
    const int running = runningVersion.isEmpty() ? 0 : runningVersion.toInt();
    switch (running) {
    case 0: return state.Version != 0;
    case 1: return state.Version != 1;
    case 3: return state.Version != V3Position || state.SecurityName != runningSecurityName;
    default: return false;
    }
}

QString ProfilePath(const QString &executableFolder, const KtConfigSNMPState &state)
{
    return QDir(executableFolder).filePath(state.AgentIP + QStringLiteral(".cfg"));
}

bool WriteProfile(const QString &path, const QByteArray &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Pass phrases: owner only, before any byte is written.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return false;
    }
    // commit() alone misses a failure of the final buffered write (a full
    // disk, a size limit) and would rename a short file into place.
    if (file.write(text) != text.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString Accept(const KtConfigSNMPState &state, const QString &executableFolder, const QString &runningVersion,
               const QString &runningSecurityName, const QDateTime &now, bool *versionChanged)
{
    if (const QString message = Validate(state); !message.isEmpty())
        return message;
    if (state.AgentIP.isEmpty() || !WriteProfile(ProfilePath(executableFolder, state), ProfileText(state, now)))
        return CreateFileError();
    if (versionChanged)
        *versionChanged = VersionChanged(runningVersion, runningSecurityName, state);
    return {};
}

} // namespace KtConfigSNMPRules
