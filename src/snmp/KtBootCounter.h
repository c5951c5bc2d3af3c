#pragma once

#include <QString>

// The engine-boots store: one counter per engine identifier, one
// "<identifier in hex> <counter>" line each. Saving writes a new file and
// renames it over the old one, so a crash never loses the counter.
namespace KtBootCounter {

enum Status {
    Ok = 0,
    NoEntry = -1,      // file read, identifier not in it
    NotOpenable = -2,  // file missing or unreadable
    Malformed = -3,    // file present but not in our format
    WriteFailed = -4,
};

int Load(const QString &file, const QString &engineId, quint32 &boots);
int Save(const QString &file, const QString &engineId, quint32 boots);

} // namespace KtBootCounter
