#include "ports/KtPortPage.h"

#include "errors/KtException.h"
#include "mib/KtMibData.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <QStringList>

bool KtPortPage::Direct(const KtPortTable &table)
{
    return table.indexCount == 0 || (table.kind == KtPortTable::Index && table.indexCount == 1);
}

QString KtPortPage::DirectSuffix(const KtPortTable &table, int port)
{
    return table.indexCount == 0 ? QString() : QString::number(KtPortTables::Number(table, port));
}

static const KtSNMPVarTable &descriptors(const KtPortTable &table)
{
    const KtSNMPVarTable *vars = KtMibData::Instance().FindTable(table.table);
    if (!vars)
        throw KtException(-1, QStringLiteral("Port table %1 has no descriptor table").arg(table.table));
    return *vars;
}

void KtPortPage::LoadRow(KtSNMPVarList &vars, const KtPortTable &table, const QString &suffix,
                         const QString &displayName)
{
    const bool scalars = table.indexCount == 0;
    vars = KtSNMPVarList(descriptors(table), scalars ? KtKind::SVT_SV : KtKind::MVT_SV, table.indexCount);
    vars.DisplayName = displayName.isEmpty() ? table.table : displayName;
    vars.Suffix.clear();
    if (!scalars) {
        vars.DecodeIndexSuffix(suffix);
        vars.Suffix = suffix;
    }
}

KtSNMPVarList KtPortPage::WalkList(const KtPortTable &table)
{
    KtSNMPVarList list(descriptors(table), KtKind::MVT_UMV, table.indexCount);
    list.DisplayName = table.table;
    return list;
}

bool KtPortPage::Belongs(const KtPortTable &table, const KtSNMPVarList &row, int port)
{
    if (table.kind == KtPortTable::Bitmap)
        return true;
    if (table.indexColumn >= row.Count())
        return false;
    bool ok = false;
    const qint64 value = row.Get(table.indexColumn).Value.trimmed().toLongLong(&ok);
    return ok && value == KtPortTables::Number(table, port);
}

bool KtPortPage::Member(const QString &valueText, quint32 type, int port)
{
    if (port < 1 || valueText.isEmpty() || valueText == QLatin1String("(NULL)"))
        return false;
    const QByteArray raw = KtValue::TextToRaw(valueText, type);
    const int bit = Bit(port);
    if (bit / 8 >= raw.size())
        return false;
    return (quint8(raw.at(bit / 8)) >> (7 - bit % 8)) & 1;
}

QString KtPortPage::WithMember(const QString &valueText, quint32 type, int port, bool member)
{
    const bool absent = valueText.isEmpty() || valueText == QLatin1String("(NULL)");
    QByteArray raw = absent ? QByteArray() : KtValue::TextToRaw(valueText, type);
    const int bit = Bit(port);
    if (raw.size() <= bit / 8)
        raw.append(QByteArray(bit / 8 + 1 - raw.size(), '\0'));
    const char mask = char(0x80 >> (bit % 8));
    raw[bit / 8] = member ? char(raw.at(bit / 8) | mask) : char(raw.at(bit / 8) & ~mask);
    return KtValue::RawToText(raw, type);
}

QString KtPortPage::IndexText(const KtSNMPVarList &row)
{
    QStringList parts;
    for (int i = 0; i < row.IndexCount && i < row.Count(); ++i)
        parts.append(row.Get(i).Value);
    return parts.join(QStringLiteral(", "));
}
