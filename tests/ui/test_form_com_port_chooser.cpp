// The COM port chooser with a port test of the test's own.
#include "ui/TFormCOMPortChooser.h"
#include "ui/TMeridalProgram.h"

#include "link/TComPortNames.h"
#include "util/Exceptions.h"
#include "ModalDialogDriver.h"
#include "WindowChecks.h"

#include <QComboBox>
#include <QLabel>
#include <QtTest>

namespace {

TFormCOMPortChooser::TPortTest PortsPresent(QList<int> present, QList<int>* tested = nullptr)
{
    return [present, tested](int comNumber) {
        if (tested)
            tested->append(comNumber);
        return present.contains(comNumber);
    };
}

QStringList Entries(const QComboBox* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->itemText(i));
    return entries;
}

} // namespace

class TestFormCOMPortChooser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TMeridalProgram::SetUpApplication();
    }

    void noPresentPortIsAnError()
    {
        TFormCOMPortChooser chooser;
        QList<int> tested;
        chooser.SetPortTest(PortsPresent({}, &tested));
        ModalDialogDriver driver([](QWidget* shown) { shown->close(); });
        QString message;
        try {
            chooser.Choose(20, -1);
        } catch (const Exception& error) {
            message = error.Message();
        }
        QCOMPARE(message, QString("No COM port was found."));
        QVERIFY(!driver.Acted());
        QCOMPARE(tested.size(), 20);
    }

    void testsThePortsInAscendingOrder()
    {
        TFormCOMPortChooser chooser;
        QList<int> tested;
        chooser.SetPortTest(PortsPresent({2}, &tested));
        ModalDialogDriver driver([](QWidget* shown) { ClickButton(shown, "Cancel"); });
        chooser.Choose(5, -1);
        QCOMPARE(tested, QList<int>({1, 2, 3, 4, 5}));
    }

    void showsHintTitleAndThePresentPorts()
    {
        TFormCOMPortChooser chooser;
        chooser.SetPortTest(PortsPresent({3, 5, 17}));
        QString title, hint;
        QStringList entries;
        ModalDialogDriver driver([&](QWidget* shown) {
            title = shown->windowTitle();
            hint = shown->findChild<QLabel*>("LabelHint")->text();
            entries = Entries(shown->findChild<QComboBox*>("ComboBoxCOMPort"));
            VerifyFixedSize(shown);
            VerifyNoClippedText(shown);
            VerifyNoOverlappingControls(shown);
            ClickButton(shown, "Cancel");
        });
        chooser.Choose(20, -1);

        QCOMPARE(title, QString("KORVAL Meridal"));
        QCOMPARE(hint, QString("Select the serial communication port (COM port):\n\nNOTE\n"
                               "Connect the (USB-)HART modem to the selected COM port."));
        QCOMPARE(entries, QStringList({TComPortNames::DisplayName(3), TComPortNames::DisplayName(5),
                                       TComPortNames::DisplayName(17)}));
        QVERIFY(entries[0].startsWith("COM3"));
        QVERIFY(entries[1].startsWith("COM5"));
        QVERIFY(entries[2].startsWith("COM17"));
    }

    void okGivesTheSelectedPort_data()
    {
        QTest::addColumn<int>("preselect");
        QTest::addColumn<int>("chosen");
        QTest::newRow("nothing preselected: the first") << -1 << 3;
        QTest::newRow("preselected and present") << 5 << 5;
        QTest::newRow("preselected but absent: the first") << 4 << 3;
    }

    void okGivesTheSelectedPort()
    {
        QFETCH(int, preselect);
        QFETCH(int, chosen);
        TFormCOMPortChooser chooser;
        chooser.SetPortTest(PortsPresent({3, 5, 17}));
        ModalDialogDriver driver([](QWidget* shown) { ClickButton(shown, "OK"); });
        QCOMPARE(chooser.Choose(20, preselect), chosen);
        QVERIFY(driver.Acted());
    }

    void theUsersPick()
    {
        TFormCOMPortChooser chooser;
        chooser.SetPortTest(PortsPresent({3, 5, 17}));
        ModalDialogDriver driver([](QWidget* shown) {
            auto* list = shown->findChild<QComboBox*>("ComboBoxCOMPort");
            list->setCurrentIndex(list->findText(TComPortNames::DisplayName(17)));
            ClickButton(shown, "OK");
        });
        QCOMPARE(chooser.Choose(20, 3), 17);
    }

    void cancelGivesMinusOne()
    {
        TFormCOMPortChooser chooser;
        chooser.SetPortTest(PortsPresent({3}));
        ModalDialogDriver driver([](QWidget* shown) { ClickButton(shown, "Cancel"); });
        QCOMPARE(chooser.Choose(20, 3), -1);
        QVERIFY(driver.Acted());
    }

    void closingGivesMinusOne()
    {
        TFormCOMPortChooser chooser;
        chooser.SetPortTest(PortsPresent({3}));
        ModalDialogDriver driver([](QWidget* shown) { QTest::keyClick(shown, Qt::Key_Escape); });
        QCOMPARE(chooser.Choose(20, 3), -1);
        QVERIFY(driver.Acted());
    }

    void enterTakesTheSelection()
    {
        TFormCOMPortChooser chooser;
        chooser.SetPortTest(PortsPresent({3, 5}));
        ModalDialogDriver driver([](QWidget* shown) { QTest::keyClick(shown, Qt::Key_Return); });
        QCOMPARE(chooser.Choose(20, 5), 5);
    }

    void aSecondChoiceListsThePortsAnew()
    {
        TFormCOMPortChooser chooser;
        chooser.SetPortTest(PortsPresent({3, 5}));
        {
            ModalDialogDriver driver([](QWidget* shown) { ClickButton(shown, "OK"); });
            QCOMPARE(chooser.Choose(20, 5), 5);
        }
        chooser.SetPortTest(PortsPresent({7}));
        QStringList entries;
        ModalDialogDriver driver([&entries](QWidget* shown) {
            entries = Entries(shown->findChild<QComboBox*>("ComboBoxCOMPort"));
            ClickButton(shown, "OK");
        });
        QCOMPARE(chooser.Choose(20, 5), 7);
        QCOMPARE(entries, QStringList({TComPortNames::DisplayName(7)}));
    }

    void portPresentAsksThePortTest()
    {
        TFormCOMPortChooser chooser;
        chooser.SetPortTest(PortsPresent({4}));
        QVERIFY(chooser.PortPresent(4));
        QVERIFY(!chooser.PortPresent(5));
    }

    void theRealPortTestFindsNoNodelessPort()
    {
        TFormCOMPortChooser chooser;
        TComPortNames::SetOverride(42, QStringLiteral("/nonexistent/meridal-test-port"));
        QVERIFY(!chooser.PortPresent(42));
    }
};

QTEST_MAIN(TestFormCOMPortChooser)
#include "test_form_com_port_chooser.moc"
