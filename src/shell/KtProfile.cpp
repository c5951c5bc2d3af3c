#include "shell/KtProfile.h"

#include "shell/KtIni.h"
#include "snmp/KtSNMPSession.h"

#include <QFileInfo>
#include <QSettings>

#include <limits>

namespace KtProfile {

QString HostApplicationFolder()
{
    const QSettings settings(QStringLiteral("Orvix"), QStringLiteral("Hexmon5.1"));
    return settings.value(QStringLiteral("ExePath/Path")).toString();
}

QString Folder(bool installationMode, const QString &executableFolder)
{
    QString folder = installationMode ? executableFolder : HostApplicationFolder();
    if (folder.isEmpty())
        return {};
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (!installationMode)
        folder += QStringLiteral("../Conf/MBF/");
    return folder;
}

QString PathFor(bool installationMode, const QString &executableFolder, const QString &host)
{
    const QString folder = Folder(installationMode, executableFolder);
    return folder.isEmpty() ? QString() : folder + host + QStringLiteral(".cfg");
}

qint32 PrivProtocolCode(qint64 position)
{
    switch (position) {
    case 0: return 1;  // none
    case 1: return 2;  // DES
    case 2: return 9;  // IDEA
    default: return qint32(position + 1);
    }
}

bool LoadProfile(const QString &path, KtSNMPDevice &device, KtSNMPScope &scope, KtSNMPSecurity &security,
                 int *bulkRepetitions)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    const KtIni ini(path);
    const QString section = QString::fromLatin1(Section);
    // Positions are stored; one more than the largest still fits the field.
    constexpr qint64 posMin = std::numeric_limits<qint32>::min();
    constexpr qint64 posMax = std::numeric_limits<qint32>::max() - 8;
    auto text = [&](const char *key) { return ini.Read(section, QString::fromLatin1(key)); };
    auto number = [&](const char *key, qint64 def, qint64 min, qint64 max) {
        return ini.ReadInteger(section, QString::fromLatin1(key), def, min, max);
    };

    security.Version = quint8(number("Version", 0, 0, 255));
    device.AgentPort = quint16(number("AgentPort", 161, 0, 65535));
    scope.ContextName = text("ContextName");
    scope.ContextEngineID = text("ContextEngineID");
    security.SecurityModel = qint32(number("SecurityModel", 1, posMin, posMax));
    security.SecurityLevel = qint32(number("SecurityLevel", 0, posMin, posMax) + 1);
    security.SecurityName = text("SecurityName");
    security.AuthProtocol = qint32(number("AuthProtocol", 0, posMin, posMax) + 1);
    security.PrivProtocol = PrivProtocolCode(number("PrivProtocol", 0, posMin, posMax));
    security.AuthPassword = text("AuthPassword");
    security.PrivPassword = text("PrivPassword");
    if (bulkRepetitions)
        *bulkRepetitions = int(number("BulkRepetitions", -1, 0, std::numeric_limits<qint32>::max()));
    return true;
}

} // namespace KtProfile
