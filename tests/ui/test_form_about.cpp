// The about box.
#include "ui/TFormAbout.h"
#include "ui/TMeridalProgram.h"

#include "ModalDialogDriver.h"
#include "WindowChecks.h"

#include <QLabel>
#include <QRegularExpression>
#include <QScreen>
#include <QtTest>

namespace {

QString LabelText(const QWidget* form, const QString& name)
{
    const auto* label = form->findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<missing>");
}

} // namespace

class TestFormAbout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TMeridalProgram::SetUpApplication();
    }

    void showsProductVersionAndTrademark()
    {
        TFormAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));

        QCOMPARE(about.windowTitle(), QString("About..."));
        QCOMPARE(LabelText(&about, "LabelProductnameCaption"), QString("Productname"));
        QCOMPARE(LabelText(&about, "LabelProductname"), QString("KORVAL Meridal"));
        QCOMPARE(LabelText(&about, "LabelVersionCaption"), QString("Version"));
        QCOMPARE(LabelText(&about, "LabelVersion"), QString(MERIDAL_VERSION));
        QVERIFY(QRegularExpression("^\\d+\\.\\d+\\.\\d+\\.\\d+$").match(TFormAbout::VersionText()).hasMatch());
        QCOMPARE(LabelText(&about, "LabelTrademark"),
                 QString("HART\u00AE is a registered trademark of the HART Communication\nFoundation"));
        QVERIFY(!about.findChild<QLabel*>("ImageLogo")->pixmap().isNull());
        VerifyFixedSize(&about);
        VerifyNoClippedText(&about);
        VerifyNoOverlappingControls(&about);
    }

    void hyperlinksToTheMaker()
    {
        TFormAbout about;
        const auto* web = about.findChild<QLabel*>("LabelWebSite");
        const auto* mail = about.findChild<QLabel*>("LabelEMail");
        QVERIFY(web->text().contains("href=\"https://www.korval.example\""));
        QVERIFY(mail->text().contains("href=\"mailto:service@korval.example\""));
        QVERIFY(web->openExternalLinks());
        QVERIFY(mail->openExternalLinks());
    }

    void centredOnTheScreen()
    {
        TFormAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY((about.frameGeometry().center() - screenCentre).manhattanLength() <= 2);
    }

    void okClosesTheBox()
    {
        TFormAbout about;
        ModalDialogDriver driver([](QWidget* shown) { ClickButton(shown, "OK"); });
        QCOMPARE(about.exec(), int(QDialog::Accepted));
        QVERIFY(driver.Acted());
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestFormAbout)
#include "test_form_about.moc"
