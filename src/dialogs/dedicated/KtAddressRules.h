#pragma once

#include <QList>
#include <QString>

#include <optional>

// IPv4 address texts as the operator types them into the dedicated dialogs.
namespace KtAddressRules {

// One class of addresses a check may refuse; Allowed false refuses it.
struct Rule
{
    bool Allowed;
    const char *Name;
};

// The rules of a relay server or interface address, in the order they apply.
const QList<Rule> &ServerRules();

// Four decimal parts 0-255 separated by dots and nothing else; the value
// in host order.
std::optional<quint32> ParseDotted(const QString &text);
QString DottedText(quint32 address);

// A unicast host address that passes ServerRules: 1 to 16 characters,
// digits and at most three dots, four parts 0-255, none of the refused
// classes. Gives the address written plainly ("010.1.1.1" is "10.1.1.1"),
// or nothing; *refusedBy names the rule that refused it.
std::optional<QString> CheckServerAddress(const QString &text, QString *refusedBy = nullptr);

// The masks an interface may have.
bool IsInterfaceMask(const QString &text);

// Two networks overlap when either holds the other's network address.
bool NetworksOverlap(quint32 a, quint32 maskA, quint32 b, quint32 maskB);

} // namespace KtAddressRules
