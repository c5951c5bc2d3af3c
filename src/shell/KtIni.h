#pragma once

#include <QString>

// Reads values from one INI-style file: "[section]" lines and key=value
// lines. Section and key names match without regard to case, the first
// occurrence wins, lines starting with ';' are comments.
class KtIni
{
public:
    explicit KtIni(const QString &path);

    const QString &Path() const { return m_path; }

    // The trimmed value; def when the file, the section or the key is
    // missing or the value is empty.
    QString Read(const QString &section, const QString &key, const QString &def = {}) const;

    // Read as a decimal number in [min, max]; def otherwise.
    qint64 ReadInteger(const QString &section, const QString &key, qint64 def, qint64 min, qint64 max) const;

private:
    QString m_path;
};
