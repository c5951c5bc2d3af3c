#include "shell/KtIni.h"

#include <QFile>
#include <QStringView>

KtIni::KtIni(const QString &path)
    : m_path(path)
{
}

QString KtIni::Read(const QString &section, const QString &key, const QString &def) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return def;
    // Profiles are a few hundred bytes; reading per call keeps an edited
    // file current without a reload step.
    const QString text = QString::fromUtf8(file.readAll());
    bool inSection = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QStringView name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
            continue;
        const QStringView value = line.mid(eq + 1).trimmed();
        return value.isEmpty() ? def : value.toString();
    }
    return def;
}

qint64 KtIni::ReadInteger(const QString &section, const QString &key, qint64 def, qint64 min, qint64 max) const
{
    bool ok = false;
    const qint64 n = Read(section, key).toLongLong(&ok, 10);
    return ok && n >= min && n <= max ? n : def;
}
