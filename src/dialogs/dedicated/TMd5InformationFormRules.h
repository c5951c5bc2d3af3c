#pragma once

#include "dialogs/dedicated/KtDedicatedRules.h"
#include "snmp/KtSNMPVarList.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the MD5 key dialogs check before a key is written.
namespace TMd5InformationFormRules {

enum Column { KeyIdColumn, KeyColumn, StatusColumn };
enum Mode { ChangeMode = 1, AddMode = 2 };
enum class Field { KeyId, Key, Status };

constexpr int MaxKeyLength = 16;

using Refusal = KtRefusal<Field>;

// The router's MD5 key table, indexed by the key ID.
KtSNMPVarList KeyList();

// A blank anywhere in the key (tabs and other white space count).
bool HasBlank(const QString &key);

// The entries of the edit form in the given mode, against the key IDs of
// the list; nothing when the set may go.
std::optional<Refusal> CheckSet(int mode, const QString &keyId, const QString &key, const QString &status,
                                const QStringList &listedIds);

} // namespace TMd5InformationFormRules
