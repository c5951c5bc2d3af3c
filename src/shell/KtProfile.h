#pragma once

#include <QString>

struct KtSNMPDevice;
struct KtSNMPScope;
struct KtSNMPSecurity;

// The per-device profile: "<host>.cfg", an INI file with the section
// "[Program Information]".
namespace KtProfile {

inline constexpr const char *Section = "Program Information";

// The host application's folder: "Path" of the group "ExePath" in its
// settings ("Orvix", "Hexmon5.1"), per user with the system-wide
// settings as fallback. Empty when it is not set.
QString HostApplicationFolder();

// Installation mode: the executable's folder; otherwise the host
// application's folder + "../Conf/MBF/". Empty when there is none.
QString Folder(bool installationMode, const QString &executableFolder);

// Folder + host + ".cfg"; empty without a folder.
QString PathFor(bool installationMode, const QString &executableFolder, const QString &host);

// PrivProtocol list position to the session's privacy code.
qint32 PrivProtocolCode(qint64 position);

// Reads every profile key into the records; version, port, context and
// security replace what was there, host and communities are not touched.
// bulkRepetitions, when given, receives "BulkRepetitions": -1 (automatic)
// when absent, empty or not a number of 0 or more.
// False, changing nothing, when the file does not exist.
bool LoadProfile(const QString &path, KtSNMPDevice &device, KtSNMPScope &scope, KtSNMPSecurity &security,
                 int *bulkRepetitions = nullptr);

} // namespace KtProfile
