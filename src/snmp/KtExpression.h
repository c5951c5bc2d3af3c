#pragma once

#include <QChar>
#include <QString>

class KtSNMPVarList;

// The small expression language of descriptors and row conditions.
namespace KtExpression {

// Each marker followed by decimal digits n (no digits: 0) becomes variable
// n's value: truth types as 1/0, numbers as they stand, time-ticks as the
// tick count, bcdatetime as its day number, anything else in double quotes
// when quote is set (-513 otherwise). "(NULL)" raises -512, as does a
// variable number past the end of the list.
QString Substitute(const KtSNMPVarList &vars, const QString &text, bool quote,
                   QChar marker = QLatin1Char('$'));

// + - * / with the usual precedence, left to right, parentheses first,
// unary minus; leaves are decimal numbers or NOW. A bad operand or a
// division by zero raises -512.
double Arithmetic(const QString &text);

// The number as the value text of a type code; -513 for other types.
QString StoreNumber(double value, quint32 type);

// | & ! and parentheses over comparisons (<> >= <= > < =) and true/false.
// Both sides of a comparison are numbers when both read as numbers,
// otherwise texts. Anything else raises -1 "Bad logic operand!".
bool Condition(const QString &text);

// The current local date-time as days since 1899-12-30.
double Now();

} // namespace KtExpression
