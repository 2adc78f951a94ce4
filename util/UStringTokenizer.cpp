#include "util/UStringTokenizer.h"

#include "util/Exceptions.h"
#include "util/StringTools.h"

TStringTokenizer::TStringTokenizer(const QString& text, const QString& delimiter)
    : TStringTokenizer(text, false, delimiter)
{
}

TStringTokenizer::TStringTokenizer(const QString& text, bool keepRuns, const QString& delimiter)
    : workingText(keepRuns ? text : CollapseRepeats(text, delimiter))
    , delimiter(delimiter)
{
    // A text that begins with the delimiter has no empty first token.
    if (StartsTextCI(workingText, delimiter))
        workingText = RightStr(workingText, workingText.size() - delimiter.size());
    const int delimiterCount = CountOccurrences(delimiter, workingText);
    for (int field = 1; field <= delimiterCount + 1; ++field)
        append(FieldByString(field, workingText, delimiter));
}

bool TStringTokenizer::HasMoreTokens() const
{
    return cursor <= size() - 1;
}

QString TStringTokenizer::NextToken()
{
    if (!HasMoreTokens())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(cursor));
    return at(cursor++);
}
