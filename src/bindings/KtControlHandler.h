#pragma once

#include "bindings/KtSNMPRequest2Edits.h"

#include <QByteArray>
#include <QString>

class KtOptionList;

// How one kind of bound control shows a value and gives it back: one entry
// per ControlBinding::Kind, so that a new kind of control is one more entry.
struct KtControlHandler
{
    using Binding = KtSNMPRequest2Edits::ControlBinding;

    Binding::Kind kind;
    // text: the part's value text (an option list's label when list is set),
    // raw: its octets.
    void (*show)(const Binding &b, const QString &text, const QByteArray &raw, const KtOptionList *list);
    // The controls' text, still a label when list is set; or, for controls
    // that stand for octets rather than a text, takeRaw instead.
    QString (*takeText)(const Binding &b, const KtOptionList *list);
    QByteArray (*takeRaw)(const Binding &b);

    static const KtControlHandler &For(Binding::Kind kind);
    // "(NULL)" and "(NOTDONE)" stand for a value that was not read.
    static bool IsUnread(const QString &text);

    // The part's raw octets from the binding's controls.
    QByteArray Take(const Binding &b, const KtOptionList *list) const;
};
