// Response-code texts per command, and the texts of the status bits.
#include "commands/UResponseCodes.h"

#include <QtTest>

class TestResponseCodes : public QObject
{
    Q_OBJECT

private slots:
    void responseCodeText_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("text");

        const auto row = [](int code, int command, const char* text) {
            QTest::addRow("code %d to command %d", code, command) << code << command << QString(text);
        };
        row(0, 1, "Success");
        row(2, 6, "Invalid Poll Address Selection");
        row(2, 7, "Invalid Selection");
        row(3, 1, "Passed Parameter Too Large");
        row(4, 1, "Passed Parameter Too Small");
        row(5, 1, "Too Few Data Bytes Received");
        row(6, 1, "Device-Specific Command Error");
        row(7, 18, "In Write Protect Mode");
        for (const int command : { 34, 55, 205, 206 })
            row(8, command, "Warning: Set To Nearest Possible Value");
        row(8, 35, "Warning: Set To Nearest Possible Value (Upper or Lower Range Pushed)");
        row(8, 36, "Warning: Set To Nearest Possible Value (Upper Range Value Pushed)");
        row(8, 48, "Warning: Update In Progress");
        row(8, 17, "Warning: Update Failure");
        row(9, 18, "Invalid Date Code Detected");
        row(9, 35, "Lower Range Value Too High");
        row(9, 36, "Applied Process Too High");
        row(9, 37, "Applied Process Too High");
        row(9, 38, "Configuration Change Counter Mismatch");
        row(9, 45, "Incorrect Loop Current Mode or Value");
        row(9, 46, "Incorrect Loop Current Mode or Value");
        row(9, 1, "Invalid Parameter");
        row(10, 35, "Lower Range Value Too Low");
        row(10, 36, "Applied Process Too Low");
        row(10, 37, "Applied Process Too Low");
        row(10, 1, "Undefined");
        row(11, 35, "Upper Range Value Too High");
        for (const int command : { 40, 45, 46 })
            row(11, command, "Loop Current Not Active (Device in Multidrop Mode)");
        row(11, 53, "Invalid Device Variable Code");
        row(11, 1, "Undefined");
        row(12, 6, "Invalid Mode Selection");
        row(12, 35, "Upper Range Value Too Low");
        row(12, 53, "Invalid Units Code");
        row(12, 1, "Invalid Selection");
        row(14, 9, "Warning: Dynamic Variables Returned for Device Variables");
        row(14, 35, "Warning: Span Too Small (Device Accuracy May Be Impaired)");
        row(14, 36, "Warning: Span Too Small (Device Accuracy May Be Impaired)");
        row(14, 37, "Warning: New Lower Range Value Pushed Upper Range Value Over Transducer Limit");
        row(14, 1, "Undefined");
        row(16, 1, "Access Restricted");
        row(17, 1, "Invalid Device Variable Index");
        row(18, 1, "Invalid Units Code");
        row(19, 1, "Device Variable Index Not Allowed");
        row(20, 1, "Invalid Extended Command Number");
        row(29, 35, "Invalid Span");
        row(29, 36, "Invalid Span");
        row(29, 200, "Passcode Wrong");
        row(29, 204, "Old Passcode Wrong");
        row(29, 1, "Undefined");
        row(30, 9, "Warning: Command Response Truncated");
        row(30, 1, "Undefined");
        row(32, 22, "Busy (A DR Could Not Be Started)");
        row(32, 1, "Busy");
        row(33, 1, "Delayed Response (DR) Initiated");
        row(34, 1, "Delayed Response (DR) Running");
        row(35, 1, "Delayed Response (DR) Dead");
        row(36, 1, "Delayed Response (DR) Conflict");
        row(64, 1, "Command Not Implemented");
        for (const int code : { 1, 13, 15, 21, 28, 31, 37, 63, 65, 128, 255 })
            row(code, 1, qPrintable(QStringLiteral("Response Code unknown: %1").arg(code)));
    }

    void responseCodeText()
    {
        QFETCH(int, code);
        QFETCH(int, command);
        QFETCH(QString, text);
        QCOMPARE(ResponseCodeText(quint8(code), command), text);
    }

    void fieldDeviceStatusTexts()
    {
        const QStringList byBit { "Primary Variable Out Of Limits", "Non-Primary Variable Out Of Limits",
                                  "Loop Current Saturated", "Loop Current Fixed", "More Status Available",
                                  "Cold Start", "Configuration Changed", "Device Malfunction" };
        for (int bit = 0; bit < 8; ++bit)
            QCOMPARE(FieldDeviceStatusText(bit), byBit[bit]);
        QCOMPARE(FieldDeviceStatusText(-1), QString());
        QCOMPARE(FieldDeviceStatusText(8), QString());
        QCOMPARE(SuccessText(), QString("Success"));
    }

    void additionalStatusTexts()
    {
        const QStringList byBit { "HART Parameter Error", "Transmitter Parameter Error", "Measurement Error",
                                  "Error Counter Error", "Low Voltage Error", "Dry Warning" };
        for (int bit = 0; bit < 6; ++bit)
            QCOMPARE(AdditionalStatusText(bit), byBit[bit]);
        QCOMPARE(AdditionalStatusText(6), QString());
    }
};

QTEST_GUILESS_MAIN(TestResponseCodes)
#include "test_response_codes.moc"
