#include "util/StringTools.h"

#include <QTest>

#include <limits>

class TestStringTools : public QObject
{
    Q_OBJECT

private slots:
    void rightStr_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("expected");
        QTest::newRow("negative count") << "abc" << -1 << "";
        QTest::newRow("zero count") << "abc" << 0 << "";
        QTest::newRow("last two") << "abc" << 2 << "bc";
        QTest::newRow("exactly the length") << "abc" << 3 << "abc";
        QTest::newRow("beyond the length") << "abc" << 10 << "abc";
        QTest::newRow("empty text") << "" << 2 << "";
    }
    void rightStr()
    {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(QString, expected);
        QCOMPARE(RightStr(text, n), expected);
    }

    void posAfter_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("expected");
        QTest::newRow("from the start") << "b" << "abcb" << 0 << 2;
        QTest::newRow("starting right after the offset") << "b" << "abcb" << 1 << 2;
        QTest::newRow("skips an earlier occurrence") << "b" << "abcb" << 2 << 4;
        QTest::newRow("none after the offset") << "b" << "abcb" << 4 << 0;
        QTest::newRow("longer pattern") << "cb" << "abcb" << 1 << 3;
        QTest::newRow("does not occur") << "x" << "abc" << 0 << 0;
        QTest::newRow("offset beyond the text") << "a" << "abc" << 10 << 0;
        QTest::newRow("negative offset searches from the start") << "b" << "abcb" << -1 << 2;
        QTest::newRow("empty pattern") << "" << "abc" << 0 << 0;
    }
    void posAfter()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(int, offset);
        QFETCH(int, expected);
        QCOMPARE(PosAfter(pattern, text, offset), expected);
    }

    void fieldByChar_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first") << "a;b;;c" << 1 << "a";
        QTest::newRow("second") << "a;b;;c" << 2 << "b";
        QTest::newRow("empty between two separators") << "a;b;;c" << 3 << "";
        QTest::newRow("last runs to the end") << "a;b;;c" << 4 << "c";
        QTest::newRow("beyond the last") << "a;b;;c" << 5 << "";
        QTest::newRow("far beyond the last") << "a;b" << 5 << "";
        QTest::newRow("zero") << "a;b" << 0 << "";
        QTest::newRow("negative") << "a;b" << -1 << "";
        QTest::newRow("no separator, first") << "abc" << 1 << "abc";
        QTest::newRow("no separator, second") << "abc" << 2 << "";
        QTest::newRow("leading separator") << ";a" << 1 << "";
        QTest::newRow("after a leading separator") << ";a" << 2 << "a";
        QTest::newRow("after a trailing separator") << "a;" << 2 << "";
    }
    void fieldByChar()
    {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(QString, expected);
        QCOMPARE(FieldByChar(text, n, ';'), expected);
    }

    void fieldByString_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("expected");
        QTest::newRow("middle of a long separator") << "a<>b<>c" << "<>" << 2 << "b";
        QTest::newRow("last of a long separator") << "a<>b<>c" << "<>" << 3 << "c";
        QTest::newRow("part of the separator is text") << "a<b<>c" << "<>" << 1 << "a<b";
        QTest::newRow("empty separator, first is the whole text") << "a;b" << "" << 1 << "a;b";
        QTest::newRow("empty separator, no second") << "a;b" << "" << 2 << "";
        QTest::newRow("huge field number") << "a;b" << ";" << std::numeric_limits<int>::max() << "";
    }
    void fieldByString()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(int, n);
        QFETCH(QString, expected);
        QCOMPARE(FieldByString(n, text, separator), expected);
    }

    void startsTextCI_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("expected");
        QTest::newRow("other case") << "Hello" << "hE" << true;
        QTest::newRow("text shorter than prefix") << "he" << "hello" << false;
        QTest::newRow("prefix elsewhere") << "xabc" << "abc" << false;
        QTest::newRow("empty prefix") << "abc" << "" << true;
        QTest::newRow("both empty") << "" << "" << true;
    }
    void startsTextCI()
    {
        QFETCH(QString, text);
        QFETCH(QString, prefix);
        QFETCH(bool, expected);
        QCOMPARE(StartsTextCI(text, prefix), expected);
    }

    void collapseRepeats_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("run of three") << "a;;;b" << ";" << "a;b";
        QTest::newRow("several runs") << "a;;b;;;;c;" << ";" << "a;b;c;";
        QTest::newRow("blanks only") << "     " << " " << " ";
        QTest::newRow("long separator") << "x<><><>y" << "<>" << "x<>y";
        QTest::newRow("nothing doubled") << "a;b" << ";" << "a;b";
        QTest::newRow("empty separator leaves the text") << "aab" << "" << "aab";
    }
    void collapseRepeats()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        QCOMPARE(CollapseRepeats(text, separator), expected);
    }

    void countOccurrences_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("two separators") << ";" << "a;b;c" << 2;
        QTest::newRow("empty pattern") << "" << "abc" << 0;
        QTest::newRow("empty text") << ";" << "" << 0;
        QTest::newRow("does not occur") << "x" << "abc" << 0;
        QTest::newRow("non-overlapping, even") << "aa" << "aaaa" << 2;
        QTest::newRow("non-overlapping, odd") << "aa" << "aaa" << 1;
    }
    void countOccurrences()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(CountOccurrences(pattern, text), expected);
    }

    void quotedCharacter_data()
    {
        QTest::addColumn<uint>("code");
        QTest::addColumn<QString>("expected");
        QTest::newRow("at least four hex digits") << 0x09u << "\"\t\" (U+0009)";
        QTest::newRow("upper-case hex digits") << 0x20ACu << QStringLiteral("\"\u20AC\" (U+20AC)");
        QTest::newRow("beyond 16 bits") << 0x1F600u << QStringLiteral("\"\U0001F600\" (U+1F600)");
    }
    void quotedCharacter()
    {
        QFETCH(uint, code);
        QFETCH(QString, expected);
        QCOMPARE(QuotedCharacter(char32_t(code)), expected);
    }
};

QTEST_GUILESS_MAIN(TestStringTools)
#include "test_string_tools.moc"
