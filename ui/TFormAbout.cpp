#include "ui/TFormAbout.h"

#include "util/UPresentation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

namespace {

const QString WebSite = QStringLiteral("https://www.korval.example");
const QString MailAddress = QStringLiteral("service@korval.example");
const QColor KorvalBlue(0, 61, 122);

QLabel* NamedLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLabel* HyperlinkLabel(const QString& name, const QString& target, const QString& text, QWidget* parent)
{
    QLabel* label = NamedLabel(name, QStringLiteral("<a href=\"%1\">%2</a>").arg(target, text.toHtmlEscaped()), parent);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(true);
    return label;
}

// A caption with its value beside it: labels "Label<caption>Caption" and
// "Label<caption>".
void AddProductLine(QGridLayout* grid, int row, const QString& caption, const QString& value, QWidget* parent)
{
    grid->addWidget(NamedLabel(QStringLiteral("Label%1Caption").arg(caption), caption, parent), row, 0);
    grid->addWidget(NamedLabel(QStringLiteral("Label%1").arg(caption), value, parent), row, 1);
}

} // namespace

TFormAbout::TFormAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("About..."));

    const int logoSize = fontMetrics().height() * 4;
    QLabel* image = NamedLabel(QStringLiteral("ImageLogo"), QString(), this);
    image->setPixmap(logo(logoSize, devicePixelRatioF()));
    image->setAlignment(Qt::AlignTop);

    const int spacing = style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, this);
    auto* product = new QGridLayout;
    product->setHorizontalSpacing(spacing * 2);
    AddProductLine(product, 0, QStringLiteral("Productname"), QApplication::applicationName(), this);
    AddProductLine(product, 1, QStringLiteral("Version"), VersionText(), this);
    product->setRowMinimumHeight(2, fontMetrics().height() / 2);
    const QString mailTo = QStringLiteral("mailto:") + MailAddress;
    product->addWidget(HyperlinkLabel(QStringLiteral("LabelWebSite"), WebSite, WebSite, this), 3, 0, 1, 2);
    product->addWidget(HyperlinkLabel(QStringLiteral("LabelEMail"), mailTo, MailAddress, this), 4, 0, 1, 2);
    product->setRowStretch(5, 1);
    product->setColumnStretch(1, 1);

    const QString trademarkText =
        QStringLiteral("HART\u00AE is a registered trademark of the HART Communication\r\nFoundation");
    QLabel* trademark = NamedLabel(QStringLiteral("LabelTrademark"), DisplayText(trademarkText), this);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ButtonOK"));
    ok->setDefault(true);
    buttons->setCenterButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setHorizontalSpacing(spacing * 3);
    layout->setVerticalSpacing(style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, this) * 2);
    layout->setColumnStretch(1, 1);
    layout->addWidget(image, 0, 0);
    layout->addLayout(product, 0, 1);
    layout->addWidget(trademark, 1, 0, 1, 2);
    layout->addWidget(buttons, 2, 0, 1, 2);
}

QString TFormAbout::VersionText()
{
    return QStringLiteral(MERIDAL_VERSION);
}

// KORVAL's mark: a white "K" of three strokes on a blue rounded square.
QPixmap TFormAbout::logo(int size, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(KorvalBlue);
    painter.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);

    // The letter's outline on a 10 x 10 grid: stem, upper arm, lower arm.
    const qreal unit = size / 10.0;
    const QPolygonF letter({QPointF(2.5, 2.0), QPointF(4.1, 2.0), QPointF(4.1, 4.6), QPointF(6.3, 2.0),
                            QPointF(8.2, 2.0), QPointF(5.4, 5.1), QPointF(8.3, 8.0), QPointF(6.3, 8.0),
                            QPointF(4.1, 5.6), QPointF(4.1, 8.0), QPointF(2.5, 8.0)});
    painter.scale(unit, unit);
    painter.setBrush(Qt::white);
    painter.drawPolygon(letter);
    return pixmap;
}

// Centred once its size is final, that is when it is shown.
void TFormAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        centreOnScreen();
}

void TFormAbout::centreOnScreen()
{
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}
