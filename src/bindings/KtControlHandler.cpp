#include "bindings/KtControlHandler.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "values/KtDateTime.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"
#include "values/widgets/KtOptionListWidgets.h"
#include "values/widgets/KtRadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QtEndian>

#include <array>
#include <bit>
#include <cmath>

namespace {

using Binding = KtControlHandler::Binding;

constexpr quint32 TicksPerDay = 8640000;
constexpr qint64 MsPerDay = 86400000;
const QDate DayZero(1899, 12, 30);

bool isHex(quint32 type)
{
    return type == KtType::BitStr || type == KtType::OctetStr || type == KtType::Opaque;
}

bool isTruth(quint32 type)
{
    return type == KtType::Boolean || type == KtType::Bool8 || type == KtType::Bool16;
}

// Boxes a several-box value of this type needs.
int boxesNeeded(quint32 type)
{
    switch (type) {
    case KtType::IpAddress:
    case KtType::NsapAddr: return 4;
    case KtType::TimeTicks: return 5;
    case KtType::MacAddress: return 6;
    case KtType::BcDateTime: return 7;
    case KtType::DateTime: return 10;
    case KtType::Ipv6Address: return 16;
    default: return 0;
    }
}

quint32 le32(const QByteArray &raw)
{
    return raw.size() >= 4 ? qFromLittleEndian<quint32>(raw.constData()) : 0;
}

QString hexOctet(const QByteArray &raw, int i)
{
    return i < raw.size() ? QString::asprintf("%02X", quint8(raw.at(i))) : QString();
}

QLineEdit *edit(const Binding &b, int i)
{
    return qobject_cast<QLineEdit *>(b.controls.value(i).data());
}

void setBox(const Binding &b, int i, const QString &text)
{
    if (QLineEdit *e = edit(b, i))
        e->setText(text);
}

qint64 boxNumber(const Binding &b, int i)
{
    QLineEdit *e = edit(b, i);
    return e ? KtValue::Atol(e->text()) : 0;
}

int octetOfBit(int bit)
{
    return bit / 8;
}

char maskOfBit(int bit)
{
    return char(0x80 >> (bit % 8));
}

// ---------------------------------------------------------------- label

void showLabel(const Binding &b, const QString &text, const QByteArray &, const KtOptionList *)
{
    static_cast<QLabel *>(b.controls.first().data())->setText(text);
}

QString takeLabel(const Binding &b, const KtOptionList *)
{
    return static_cast<QLabel *>(b.controls.first().data())->text();
}

// ---------------------------------------------------------------- bit check boxes

void showBits(const Binding &b, const QString &, const QByteArray &raw, const KtOptionList *)
{
    for (int bit : b.bitNumbers)
        if (octetOfBit(bit) >= raw.size())
            KtThrowEngine(KtCatalogue::EngPartRange);
    for (int k = 0; k < b.bitNumbers.size(); ++k) {
        const int bit = b.bitNumbers.at(k);
        static_cast<QCheckBox *>(b.controls.at(k).data())
            ->setChecked((raw.at(octetOfBit(bit)) & maskOfBit(bit)) != 0);
    }
}

QByteArray takeBits(const Binding &b)
{
    QByteArray part;
    for (int k = 0; k < b.bitNumbers.size(); ++k) {
        const int bit = b.bitNumbers.at(k);
        if (part.size() <= octetOfBit(bit))
            part.append(QByteArray(octetOfBit(bit) + 1 - part.size(), '\0'));
        char &octet = part[octetOfBit(bit)];
        if (static_cast<QCheckBox *>(b.controls.at(k).data())->isChecked())
            octet = char(octet | maskOfBit(bit));
        else
            octet = char(octet & ~maskOfBit(bit));
    }
    return part;
}

// ---------------------------------------------------------------- single check box

void showCheck(const Binding &b, const QString &text, const QByteArray &, const KtOptionList *list)
{
    auto *box = static_cast<QCheckBox *>(b.controls.first().data());
    if (list) {
        int i = list->IndexOfLabel(text);
        if (i < 0)
            i = list->IndexOfValue(text);
        box->setChecked(i > 0);
    } else if (isTruth(b.typeCode)) {
        box->setChecked(text == QLatin1String("true"));
    } else {
        KtThrowEngine(KtCatalogue::EngBadPartSyntax);
    }
}

QString takeCheck(const Binding &b, const KtOptionList *list)
{
    const bool on = static_cast<QCheckBox *>(b.controls.first().data())->isChecked();
    if (list)
        return list->Get(on ? 1 : 0).Label;
    if (isTruth(b.typeCode))
        return on ? QStringLiteral("true") : QStringLiteral("false");
    KtThrowEngine(KtCatalogue::EngBadPartSyntax);
}

// ---------------------------------------------------------------- combo box

void showCombo(const Binding &b, const QString &text, const QByteArray &, const KtOptionList *list)
{
    auto *combo = static_cast<QComboBox *>(b.controls.first().data());
    SelectInComboBox(*list, combo, text);
    if (QLineEdit *rest = edit(b, 1)) {
        const int index = combo->currentIndex();
        QString tail = text.mid(index >= 0 ? combo->itemText(index).size() : 0);
        if (b.typeCode == KtType::ObjectId && !tail.isEmpty())
            tail.remove(0, 1);
        rest->setText(tail);
    }
}

QString takeCombo(const Binding &b, const KtOptionList *)
{
    auto *combo = static_cast<QComboBox *>(b.controls.first().data());
    QString text = combo->currentIndex() >= 0 ? combo->currentText() : QString();
    if (QLineEdit *rest = edit(b, 1)) {
        if (b.typeCode == KtType::ObjectId)
            text += QLatin1Char('.');
        text += rest->text();
    }
    return text;
}

// ---------------------------------------------------------------- radio group

void showRadio(const Binding &b, const QString &text, const QByteArray &, const KtOptionList *list)
{
    SelectInRadioGroup(*list, static_cast<KtRadioGroup *>(b.controls.first().data()), text);
}

QString takeRadio(const Binding &b, const KtOptionList *)
{
    auto *group = static_cast<KtRadioGroup *>(b.controls.first().data());
    return group->items().value(group->itemIndex());
}

// ---------------------------------------------------------------- one edit box

void showEdit(const Binding &b, const QString &text, const QByteArray &, const KtOptionList *)
{
    static_cast<QLineEdit *>(b.controls.first().data())->setText(text);
}

QString takeEdit(const Binding &b, const KtOptionList *)
{
    return static_cast<QLineEdit *>(b.controls.first().data())->text();
}

// ---------------------------------------------------------------- several edit boxes

// Several boxes: hex octets, OID sub-identifiers or the fields of a fixed-field type.
void showEdits(const Binding &b, const QString &text, const QByteArray &raw, const KtOptionList *)
{
    const int boxes = int(b.controls.size());
    const quint32 type = b.typeCode;
    if (boxes < boxesNeeded(type))
        KtThrowEngine(KtCatalogue::EngTooFewControls);
    // Boxes past a shorter value are emptied, so that no octet or
    // sub-identifier of a row shown before is written back with this one.
    if (isHex(type)) {
        if (boxes < raw.size())
            KtThrowEngine(KtCatalogue::EngTooFewControls);
        if (KtControlHandler::IsUnread(text))
            return;
        for (int i = 0; i < boxes; ++i)
            setBox(b, i, hexOctet(raw, i));
        return;
    }
    if (type == KtType::ObjectId) {
        if (KtControlHandler::IsUnread(text))
            return;
        const QList<quint32> oid = KtValue::ParseOid(text);
        if (boxes < oid.size())
            KtThrowEngine(KtCatalogue::EngTooFewControls);
        for (int i = 0; i < boxes; ++i)
            setBox(b, i, i < oid.size() ? QString::number(oid.at(i)) : QString());
        return;
    }
    if (boxesNeeded(type) == 0) {
        setBox(b, 0, text);
        return;
    }
    // The fixed-field types leave the boxes alone for a value not read.
    if (KtControlHandler::IsUnread(text) || raw.isEmpty())
        return;
    switch (type) {
    case KtType::MacAddress:
    case KtType::Ipv6Address:
        for (int i = 0; i < boxes; ++i)
            setBox(b, i, hexOctet(raw, i));
        break;
    case KtType::IpAddress:
    case KtType::NsapAddr:
        for (int i = 0; i < 4; ++i)
            setBox(b, i, i < raw.size() ? QString::number(quint8(raw.at(i))) : QString());
        break;
    case KtType::TimeTicks: {
        const quint32 t = le32(raw);
        const quint32 parts[] = {t / TicksPerDay, t % TicksPerDay / 360000, t % 360000 / 6000, t % 6000 / 100,
                                 t % 100};
        for (int i = 0; i < 5; ++i)
            setBox(b, i, QString::number(parts[i]));
        break;
    }
    case KtType::DateTime: {
        const KtDateTime d(text);
        const QStringList parts{QString::number(d.year),        QString::number(d.month),
                                QString::number(d.day),         QString::number(d.hour),
                                QString::number(d.minutes),     QString::number(d.seconds),
                                QString::number(d.deciSeconds), QString(QLatin1Char(d.direction)),
                                QString::number(d.zoneHours),   QString::number(d.zoneMinutes)};
        for (int i = 0; i < parts.size(); ++i)
            setBox(b, i, parts.at(i));
        break;
    }
    case KtType::BcDateTime: {
        const double days = std::bit_cast<double>(qFromLittleEndian<quint64>(raw.constData()));
        if (!std::isfinite(days) || std::abs(days) > 3.0e6)
            KtThrowEngine(KtCatalogue::EngBadPartValue);
        // Before the epoch the day counts back while the time still runs
        // forward, as in the value text.
        const double whole = std::trunc(days);
        const qint64 ms = qBound<qint64>(0, std::llround(std::fabs(days - whole) * double(MsPerDay)), MsPerDay - 1);
        const QDate date = DayZero.addDays(qint64(whole));
        const qint64 parts[] = {date.year(), date.month(), date.day(), ms / 3600000, ms / 60000 % 60,
                                ms / 1000 % 60, ms % 1000};
        for (int i = 0; i < 7; ++i)
            setBox(b, i, QString::number(parts[i]));
        break;
    }
    default:
        break;
    }
}

QString takeEdits(const Binding &b, const KtOptionList *)
{
    const int boxes = int(b.controls.size());
    const quint32 type = b.typeCode;
    if (boxes < boxesNeeded(type))
        KtThrowEngine(KtCatalogue::EngTooFewControls);
    // A value of variable length ends at its last filled box.
    int filled = boxes;
    if (isHex(type) || type == KtType::ObjectId)
        while (filled > 0 && edit(b, filled - 1)->text().isEmpty())
            --filled;
    auto joined = [&](int count) {
        QStringList parts;
        for (int i = 0; i < count; ++i)
            parts.append(QString::number(boxNumber(b, i)));
        return parts.join(QLatin1Char('.'));
    };
    if (isHex(type) || type == KtType::MacAddress || type == KtType::Ipv6Address) {
        const int count = isHex(type) ? filled : boxesNeeded(type);
        QString hex;
        for (int i = 0; i < count; ++i) {
            const QString box = edit(b, i)->text();
            hex += box.isEmpty() ? QStringLiteral("00") : box.size() == 1 ? QLatin1Char('0') + box : box;
        }
        return hex;
    }
    switch (type) {
    case KtType::ObjectId:
        return joined(filled);
    case KtType::IpAddress:
    case KtType::NsapAddr:
        return joined(4);
    case KtType::TimeTicks: {
        const qint64 ticks = boxNumber(b, 0) * TicksPerDay + boxNumber(b, 1) * 360000 + boxNumber(b, 2) * 6000
            + boxNumber(b, 3) * 100 + boxNumber(b, 4);
        if (ticks < 0 || ticks > 0xFFFFFFFFLL)
            KtThrowEngine(KtCatalogue::EngBadPartValue);
        return KtValue::TicksToText(quint32(ticks));
    }
    case KtType::DateTime: {
        KtDateTime d;
        d.year = quint16(boxNumber(b, 0));
        d.month = quint8(boxNumber(b, 1));
        d.day = quint8(boxNumber(b, 2));
        d.hour = quint8(boxNumber(b, 3));
        d.minutes = quint8(boxNumber(b, 4));
        d.seconds = quint8(boxNumber(b, 5));
        d.deciSeconds = quint8(boxNumber(b, 6));
        const QString direction = edit(b, 7)->text();
        d.direction = direction.isEmpty() ? '+' : char(direction.at(0).toLatin1());
        d.zoneHours = quint8(boxNumber(b, 8));
        d.zoneMinutes = quint8(boxNumber(b, 9));
        return d.toString();
    }
    case KtType::BcDateTime: {
        const QDate date(int(boxNumber(b, 0)), int(boxNumber(b, 1)), int(boxNumber(b, 2)));
        const qint64 ms = boxNumber(b, 3) * 3600000 + boxNumber(b, 4) * 60000 + boxNumber(b, 5) * 1000
            + boxNumber(b, 6);
        if (!date.isValid() || ms < 0 || ms >= MsPerDay)
            KtThrowEngine(KtCatalogue::EngBadPartValue);
        const double day = double(DayZero.daysTo(date));
        const double time = double(ms) / double(MsPerDay);
        return KtValue::BcDateTimeToText(day < 0 ? day - time : day + time);
    }
    default:
        return edit(b, 0)->text();
    }
}

// In the order of Binding::Kind.
constexpr std::array<KtControlHandler, 7> Handlers{{
    {Binding::Label, showLabel, takeLabel, nullptr},
    {Binding::Bits, showBits, nullptr, takeBits},
    {Binding::Check, showCheck, takeCheck, nullptr},
    {Binding::Combo, showCombo, takeCombo, nullptr},
    {Binding::Radio, showRadio, takeRadio, nullptr},
    {Binding::Edit, showEdit, takeEdit, nullptr},
    {Binding::Edits, showEdits, takeEdits, nullptr},
}};

constexpr bool inKindOrder()
{
    for (size_t i = 0; i < Handlers.size(); ++i)
        if (size_t(Handlers[i].kind) != i)
            return false;
    return true;
}
static_assert(inKindOrder(), "one handler per kind, in the order of the kinds");

} // namespace

const KtControlHandler &KtControlHandler::For(Binding::Kind kind)
{
    return Handlers.at(size_t(kind));
}

bool KtControlHandler::IsUnread(const QString &text)
{
    return text == QLatin1String("(NULL)") || text == QLatin1String("(NOTDONE)");
}

QByteArray KtControlHandler::Take(const Binding &b, const KtOptionList *list) const
{
    if (takeRaw)
        return takeRaw(b);
    QString text = takeText(b, list);
    if (list)
        text = list->LabelToValue(text);
    return KtValue::TextToRaw(text, b.typeCode);
}
