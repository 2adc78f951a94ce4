#pragma once

#include <QStringList>

// Splits one text at a delimiter into tokens and hands them out one after the
// other. It is a string list, so callers may also count or index the tokens.
class TStringTokenizer : public QStringList
{
public:
    TStringTokenizer(const QString& text, const QString& delimiter);
    TStringTokenizer(const QString& text, bool keepRuns, const QString& delimiter);

    bool HasMoreTokens() const;
    // The token at the cursor; raises the list's index error when none is left.
    QString NextToken();

private:
    QString workingText;
    QString delimiter;
    int cursor = 0;
};
