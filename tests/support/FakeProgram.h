#pragma once

// Stand-ins for programs the module starts (the sibling modules): small
// shell scripts in a folder of the test, and PATH pointed at a folder for
// a while.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace TestSupport {

// A script that ends at once.
inline const QByteArray QuietProgram = "#!/bin/sh\nexit 0\n";
// A script the system cannot run: its interpreter does not exist.
inline const QByteArray BrokenProgram = "#!/nonexistent/qsx4810-interpreter\n";

// The executable script name in folder; empty on failure.
inline QString writeProgram(const QString &folder, const QString &name, const QByteArray &script = QuietProgram)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(script) != script.size())
        return {};
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) ? path : QString();
}

// A script that writes each argument it got on a line of its own into
// "<its path>.args", then a last line "end"; it needs nothing from PATH.
inline QString writeArgumentRecorder(const QString &folder, const QString &name)
{
    const QString path = QDir(folder).filePath(name);
    return writeProgram(folder, name,
                        QStringLiteral("#!/bin/sh\n{ for a in \"$@\"; do printf '%s\\n' \"$a\"; done; echo end; } > '%1.args'\n")
                            .arg(path)
                            .toUtf8());
}

// The arguments a recorder got; empty until it has written them all.
inline QStringList recordedArguments(const QString &programPath)
{
    QFile args(programPath + QLatin1String(".args"));
    if (!args.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(args.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.isEmpty() || lines.takeLast() != QLatin1String("end"))
        return {};
    return lines;
}

// PATH is folder while this lives.
class ScopedPath
{
public:
    explicit ScopedPath(const QString &folder) : m_saved(qgetenv("PATH")) { qputenv("PATH", QFile::encodeName(folder)); }
    ~ScopedPath() { qputenv("PATH", m_saved); }
    ScopedPath(const ScopedPath &) = delete;
    ScopedPath &operator=(const ScopedPath &) = delete;

private:
    QByteArray m_saved;
};

} // namespace TestSupport
