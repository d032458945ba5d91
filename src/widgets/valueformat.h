#pragma once

#include "schema.h"

#include <QString>
#include <QVariant>

namespace tavimor {

// How the program shows the values of its column kinds, shared by the controls and the grids.

// "￥" and two decimals ("￥0.00", "-￥12.50"); empty for null.
QString formatCurrency(const QVariant &amount);
// Reads an amount typed with or without "￥"/"¥", blanks or thousands commas. Empty text gives
// a null value with *ok true; text that is no number gives null with *ok false.
QVariant parseCurrency(const QString &text, bool *ok = nullptr);

// "yyyy-MM-dd"; a value that is no date shows as its text.
QString formatDate(const QVariant &value);

// The text of a value of that kind in a grid cell: dates "yyyy-MM-dd", currency as above,
// memos on one line, yes/no empty (grids draw a check instead).
QString displayText(ColumnKind kind, const QVariant &value);

} // namespace tavimor
