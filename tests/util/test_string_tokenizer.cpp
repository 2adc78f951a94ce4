#include "ErrorMessage.h"

#include "util/UStringTokenizer.h"

#include <QTest>

class TestStringTokenizer : public QObject
{
    Q_OBJECT

private slots:
    void tokens_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("hex bytes") << "12 34 AB" << " " << QStringList{"12", "34", "AB"};
        QTest::newRow("trailing blank gives an empty last token")
            << "12 34 " << " " << QStringList{"12", "34", ""};
        QTest::newRow("run of blanks collapsed") << "12   34" << " " << QStringList{"12", "34"};
        QTest::newRow("leading blank gives no empty first token")
            << " 12 34" << " " << QStringList{"12", "34"};
        QTest::newRow("leading run of blanks") << "   12" << " " << QStringList{"12"};
        QTest::newRow("empty text") << "" << " " << QStringList{""};
        QTest::newRow("blanks only") << "    " << " " << QStringList{""};
        QTest::newRow("identity text") << "227 (0xE3)" << "(" << QStringList{"227 ", "0xE3)"};
        QTest::newRow("empty delimiter") << "12 34" << "" << QStringList{"12 34"};
        QTest::newRow("empty text and delimiter") << "" << "" << QStringList{""};
        QTest::newRow("long delimiter") << "a, b, , c" << ", " << QStringList{"a", "b", "c"};
        QTest::newRow("leading delimiter dropped ignoring case")
            << "XaxB" << "x" << QStringList{"a", "B"};
        QTest::newRow("splitting respects case") << "aXb" << "x" << QStringList{"aXb"};
    }
    void tokens()
    {
        QFETCH(QString, text);
        QFETCH(QString, delimiter);
        QFETCH(QStringList, expected);
        QCOMPARE(QStringList(TStringTokenizer(text, delimiter)), expected);
    }

    void keepRuns()
    {
        QCOMPARE(QStringList(TStringTokenizer("12  34", true, " ")), (QStringList{"12", "", "34"}));
        QCOMPARE(QStringList(TStringTokenizer("  12", true, " ")), (QStringList{"", "12"}));
        QCOMPARE(QStringList(TStringTokenizer("12  34", false, " ")), (QStringList{"12", "34"}));
    }

    void handsOutTokensInOrder()
    {
        TStringTokenizer tokenizer("40 49 0F", " ");
        QStringList handedOut;
        while (tokenizer.HasMoreTokens())
            handedOut << tokenizer.NextToken();
        QCOMPARE(handedOut, (QStringList{"40", "49", "0F"}));
        QCOMPARE(tokenizer.count(), 3);
        QCOMPARE(tokenizer[1], QStringLiteral("49"));
    }

    void nextTokenAfterTheLastRaisesTheListIndexError()
    {
        TStringTokenizer tokenizer("a b c", " ");
        for (int i = 0; i < 3; ++i)
            tokenizer.NextToken();
        QVERIFY(!tokenizer.HasMoreTokens());
        QCOMPARE(ErrorMessage<Exception>([&] { tokenizer.NextToken(); }),
                 QStringLiteral("List index out of bounds (3)"));
    }
};

QTEST_GUILESS_MAIN(TestStringTokenizer)
#include "test_string_tokenizer.moc"
