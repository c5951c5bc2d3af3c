#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

// One tailoring step, applied to its panel right after the panel is created.
struct KtMenuTailoring
{
    enum Kind { Format, Ports, NoEdit, Width, Always };

    Kind kind = NoEdit;
    int value = -1;   // variable position (Format, Ports, Always) or pixels (Width)
    QString format;   // edit-constraint format text (Format only)

    bool operator==(const KtMenuTailoring &other) const = default;
};

// One panel of a generic dialog: the descriptor table(s) its binding is
// built from and how the panel is laid out and tailored.
struct KtMenuPanel
{
    enum Layout { Editor, Table };

    Layout layout = Editor;
    quint8 listKind = 0;            // KtKind::*
    int indexCount = 0;
    int varCount = 0;               // records of all its tables together
    QString pageCaption;            // paged dialogs only
    QStringList tables;             // descriptor table names, in list order
    QStringList roots;              // scalar groups or table entries the variables lie under
    int rowStatusColumn = -1;       // -1: no Add and no Delete
    QString addValue;
    QString deleteValue;
    QList<KtMenuTailoring> tailoring;
    QChar addHook;                  // 'A', 'B', 'C' or null
    int line = 0;                   // line of the panel in the catalogue file

    bool hasRowStatus() const { return rowStatusColumn >= 0; }
    bool editHidden() const
    {
        for (const KtMenuTailoring &t : tailoring)
            if (t.kind == KtMenuTailoring::NoEdit)
                return true;
        return false;
    }
    // Positions of the variables that a tailoring item of this kind names.
    QList<int> positions(KtMenuTailoring::Kind kind) const
    {
        QList<int> result;
        for (const KtMenuTailoring &t : tailoring)
            if (t.kind == kind)
                result.append(t.value);
        return result;
    }
};
