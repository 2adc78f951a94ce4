#pragma once

#include <QValidator>

// The characters an entry field takes. Each filter decides on single
// characters only (several "-" or separators may be typed; the save jobs
// check the numbers), for typing and pasting alike.
class TEntryFilter : public QValidator
{
    Q_OBJECT

public:
    enum class TKind {
        PackedAscii,    // blank to underscore without the apostrophe; letters become upper case
        Latin,          // printable 8-bit Windows characters
        IntPositiv,     // digits
        Float           // "-", digits and the locale's decimal separator
    };

    explicit TEntryFilter(TKind kind, QObject* parent = nullptr);

    State validate(QString& input, int& position) const override;

    // Whether the filter takes one (already converted) character.
    bool Accepts(QChar c) const;
    // Lower-case letters become upper case for packed ASCII; others stay.
    QChar Converted(QChar c) const;

private:
    TKind kind;
};
