#include "snmp/KtBootCounter.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QSaveFile>
#include <QStringList>

namespace {

using Entry = QPair<QByteArray, quint32>;  // identifier octets, counter

// Reads every entry; false when the file is present but not ours.
bool readEntries(QFile &file, QList<Entry> &entries)
{
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(4096).trimmed();
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() != 2)
            return false;
        const QByteArray id = QByteArray::fromHex(fields.at(0));
        if (id.isEmpty() || id.toHex().compare(fields.at(0).toLower()) != 0)
            return false;
        bool ok = false;
        const quint32 boots = fields.at(1).toUInt(&ok);
        if (!ok)
            return false;
        entries.append({id, boots});
    }
    return true;
}

} // namespace

namespace KtBootCounter {

int Load(const QString &fileName, const QString &engineId, quint32 &boots)
{
    boots = 0;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return NotOpenable;
    QList<Entry> entries;
    if (!readEntries(file, entries))
        return Malformed;
    const QByteArray id = engineId.toUtf8();
    for (const Entry &e : entries) {
        if (e.first == id) {
            boots = e.second;
            return Ok;
        }
    }
    return NoEntry;
}

int Save(const QString &fileName, const QString &engineId, quint32 boots)
{
    QList<Entry> entries;
    {
        QFile old(fileName);
        if (old.open(QIODevice::ReadOnly) && !readEntries(old, entries))
            return Malformed;  // never replace a file we do not understand
    }
    const QByteArray id = engineId.toUtf8();
    bool found = false;
    for (Entry &e : entries) {
        if (e.first == id) {
            e.second = boots;
            found = true;
        }
    }
    if (!found)
        entries.append({id, boots});

    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly))
        return WriteFailed;
    for (const Entry &e : entries) {
        const QByteArray line = e.first.toHex() + ' ' + QByteArray::number(e.second) + '\n';
        if (out.write(line) != line.size()) {
            out.cancelWriting();
            return WriteFailed;
        }
    }
    return out.commit() ? Ok : WriteFailed;
}

} // namespace KtBootCounter
