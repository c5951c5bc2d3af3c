#include "dialogs/dedicated/KtAddressRules.h"

#include "dialogs/dedicated/KtDedicatedRules.h"

#include <QStringList>

namespace KtAddressRules {

namespace {

enum RuleIndex {
    UnixStyle,
    AllZero,
    AllBroadcast,
    LanBroadcast,
    LocalHost,
    ClassA,
    ClassB,
    ClassC,
    ClassD,
    ClassE,
    ZeroAboveNonZero,
};

bool allowed(RuleIndex i)
{
    return ServerRules().at(i).Allowed;
}

bool refuse(RuleIndex i, QString *refusedBy)
{
    if (refusedBy)
        *refusedBy = QString::fromLatin1(ServerRules().at(i).Name);
    return false;
}

} // namespace

const QList<Rule> &ServerRules()
{
    static const QList<Rule> rules{
        {false, "Unix Style"}, {false, "All Zero"}, {false, "All Boardcast"}, {true, "LAN Boardcast"},
        {false, "Local Host"}, {true, "Class A"},   {true, "Class B"},        {true, "Class C"},
        {false, "Class D"},    {false, "Class E"},  {true, "Zero Above Non-zero"},
    };
    return rules;
}

std::optional<quint32> ParseDotted(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    quint32 address = 0;
    for (const QString &part : parts) {
        if (part.isEmpty() || part.size() > 3 || part.trimmed() != part)
            return std::nullopt;
        const auto v = KtDedicatedRules::ParseNumber(part, 0, 255);
        if (!v || part.startsWith(QLatin1Char('+')) || part.startsWith(QLatin1Char('-')))
            return std::nullopt;
        address = address << 8 | quint32(*v);
    }
    return address;
}

QString DottedText(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg(address >> 16 & 0xFF)
        .arg(address >> 8 & 0xFF)
        .arg(address & 0xFF);
}

std::optional<QString> CheckServerAddress(const QString &text, QString *refusedBy)
{
    if (refusedBy)
        refusedBy->clear();
    if (text.isEmpty() || text.size() > 16 || text.count(QLatin1Char('.')) > 3)
        return std::nullopt;
    for (QChar c : text)
        if (c != QLatin1Char('.') && (c < QLatin1Char('0') || c > QLatin1Char('9')))
            return std::nullopt;
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() < 4 && !allowed(UnixStyle)) {
        refuse(UnixStyle, refusedBy);
        return std::nullopt;
    }
    QList<quint32> value;
    for (const QString &part : parts) {
        const auto v = KtDedicatedRules::ParseNumber(part, 0, 255);
        if (!v)
            return std::nullopt;
        value.append(quint32(*v));
    }
    const auto all = [&](quint32 v) { return std::all_of(value.begin(), value.end(), [v](quint32 p) { return p == v; }); };
    // LAN broadcast and zero-above-non-zero addresses are allowed, so they
    // need no test of their own.
    const quint32 first = value.first();
    bool ok = true;
    if (all(0) && !allowed(AllZero))
        ok = refuse(AllZero, refusedBy);
    else if (all(255) && !allowed(AllBroadcast))
        ok = refuse(AllBroadcast, refusedBy);
    else if (first == 127 && !allowed(LocalHost))
        ok = refuse(LocalHost, refusedBy);
    else if (first <= 127 && !allowed(ClassA))
        ok = refuse(ClassA, refusedBy);
    else if (first >= 128 && first <= 191 && !allowed(ClassB))
        ok = refuse(ClassB, refusedBy);
    else if (first >= 192 && first <= 223 && !allowed(ClassC))
        ok = refuse(ClassC, refusedBy);
    else if (first >= 224 && first <= 239 && !allowed(ClassD))
        ok = refuse(ClassD, refusedBy);
    else if (first >= 240 && first <= 247 && !allowed(ClassE))
        ok = refuse(ClassE, refusedBy);
    if (!ok || value.size() != 4)
        return std::nullopt;
    return DottedText(value.at(0) << 24 | value.at(1) << 16 | value.at(2) << 8 | value.at(3));
}

bool IsInterfaceMask(const QString &text)
{
    return text == QLatin1String("255.0.0.0") || text == QLatin1String("255.255.0.0")
        || text == QLatin1String("255.255.255.0");
}

bool NetworksOverlap(quint32 a, quint32 maskA, quint32 b, quint32 maskB)
{
    const quint32 common = maskA & maskB;
    return (a & common) == (b & common);
}

} // namespace KtAddressRules
