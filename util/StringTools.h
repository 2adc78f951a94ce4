#pragma once

// Small text helpers for the tokenizer, the configuration file reader and the
// windows. Positions are 1-based where they are positions in a text.

#include <QString>

// n < 1: empty; n < length: the last n characters; otherwise the whole text.
QString RightStr(const QString& text, int n);

// 1-based position of the first occurrence of pattern that starts after the
// first `offset` characters of text; 0 when there is none.
int PosAfter(const QString& pattern, const QString& text, int offset);

// The n-th field (1-based) of text separated by a character or by a text.
QString FieldByChar(const QString& text, int n, QChar separator);
QString FieldByString(int n, const QString& text, const QString& separator);

// Whether text starts with prefix, ignoring letter case.
bool StartsTextCI(const QString& text, const QString& prefix);

// Replaces every doubled separator by a single one until none is doubled.
QString CollapseRepeats(const QString& text, const QString& separator);

// Number of non-overlapping occurrences of pattern in text.
int CountOccurrences(const QString& pattern, const QString& text);

QString IfThenStr(bool condition, const QString& whenTrue, const QString& whenFalse);

// A character as a message names it: in double quotes, then its code point,
// as in "€" (U+20AC), so that blanks and invisible characters can be told apart.
QString QuotedCharacter(char32_t code);
