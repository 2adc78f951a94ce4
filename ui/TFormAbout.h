#pragma once

#include <QDialog>

class QPixmap;

// The about box: product name, program version, the maker's logo and how to
// reach the maker. Created each time it is opened and destroyed on closing;
// it shows centred on the screen.
class TFormAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TFormAbout(QWidget* parent = nullptr);

    // The program's four-part version, e.g. "1.0.0.1".
    static QString VersionText();

protected:
    void showEvent(QShowEvent* event) override;

private:
    static QPixmap logo(int size, qreal devicePixelRatio);
    void centreOnScreen();
};
