#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Text shown when a box whose constraint carries the "n" flag of `l` is
// left empty. The common catalogue has no entry for it.
inline constexpr char KtRequiredEntryText[] = "Please enter a value; this field must not be empty!";

// One parsed edit constraint ("%i{n1x4094}", "%n.{l4f}", "%s{l32}" ...):
// the limits of one edit box and the checks that follow from them. Plain
// data so that the checks can be run without any widget.
struct KtConstraintFormat
{
    enum Flag : quint16 {
        Advance = 1,   // move on when maxLength is reached
        Exact = 2,     // length (count) must equal maxLength
        Required = 4,  // must not be left empty
    };

    enum class Verdict {
        Skip,     // placeholder text or empty optional entry: nothing to do
        Accept,
        Reject,   // message filled, the box is to be reset
    };

    char type = 0;       // s h i u f n
    char delimiter = 0;  // type n only
    double minimum = 0;
    double maximum = 0;
    int maxLength = 0;   // 0 = none; for n the count of numbers
    quint16 flags = 0;
    char exitChar = 0;   // 0 = none
    int width = 0;       // 0 = leave the box's width alone

    bool hasFlag(Flag f) const { return (flags & f) != 0; }

    // Index of the first character that may not be typed, or -1.
    int firstRejected(const QString &text) const;

    // What is left of text after removing, again and again, the first
    // character that may not be typed; *rejected counts the removals.
    QString acceptedText(const QString &text, int *rejected = nullptr) const;

    // Whole-entry check done when the box is left. On Reject, *message
    // receives the catalogue text with its placeholders filled.
    Verdict exitVerdict(const QString &text, QString *message) const;

    // Bounds of the n type as compared: the double limits truncated into
    // the range of a 32-bit unsigned integer.
    quint32 unsignedMinimum() const;
    quint32 unsignedMaximum() const;
};

// Raises KtException(-2) with common catalogue entry 2.
[[noreturn]] void throwBadConstraint();

// Parses one constraint. A malformed format raises KtException(-2) with
// common catalogue entry 2; nothing else is reported.
KtConstraintFormat parseConstraint(const QString &format);

// Splits a several-box format before every "%" that is not its first
// character: "%i{n0x255}%i{n0x255}" -> two pieces.
QStringList splitConstraints(const QString &format);

// One element of a row format: literal label text or one constraint.
struct KtFormatPiece
{
    bool isConstraint = false;
    QString text;  // label text with "%%" already folded, or the constraint
};

// Reads a row format left to right into labels and constraints. A
// constraint runs from "%" over its type letter (and delimiter for n) and,
// when "{" follows, up to the next "}". Each constraint is parsed, so a bad
// one raises KtException(-2) before anything is built from the row.
QList<KtFormatPiece> splitRow(const QString &format);

// Shortest decimal text that reads back as the same double, without an
// exponent unless the value is tiny or huge ("1", "1000000", "2.25",
// "2.2250738585072014e-308").
QString formatBound(double value);

// True for the texts that stand for values not read; no check touches them.
bool isPlaceholderText(const QString &text);
