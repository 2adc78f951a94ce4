#pragma once

#include <QString>

// A question a job puts to the user, and the answer.
struct TQuestion
{
    enum class TKind {
        YesNo,      // a warning; Yes or No
        Input,      // a text, preset with Preset
        ZeroRetry,  // the polling search's question when address 0 is silent
        Error       // the error that ended a job; closing it is the answer
    };

    TKind Kind;
    QString Text;
    QString Preset;
};

struct TAnswer
{
    // YesNo: ResultYes or ResultNo. Input: Accepted or Rejected. ZeroRetry:
    // the pressed button's, 100 "&Rescan 0", 101 "&Scan 1 - 15", any other
    // value cancels.
    int Result = 0;
    QString Text;

    static constexpr int ResultYes = 6;
    static constexpr int ResultNo = 7;
    static constexpr int Rejected = 0;
    static constexpr int Accepted = 1;
    static constexpr int RescanZero = 100;
    static constexpr int ScanOthers = 101;
};
