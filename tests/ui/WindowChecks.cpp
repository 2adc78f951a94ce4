#include "WindowChecks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, quint16(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The caption as the window manager gets it: the window's _NET_WM_NAME.
QString CaptionShownByX11(xcb_connection_t* connection, QWidget* window)
{
    const xcb_get_property_cookie_t request = xcb_get_property(
        connection, 0, xcb_window_t(window->winId()), Atom(connection, "_NET_WM_NAME"), Atom(connection, "UTF8_STRING"), 0, 256);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, request, nullptr);
    QString caption;
    if (reply) {
        caption = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
        std::free(reply);
    }
    return caption;
}

bool IsControl(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLabel*>(widget)
           || qobject_cast<const QComboBox*>(widget) || qobject_cast<const QLineEdit*>(widget)
           || qobject_cast<const QAbstractScrollArea*>(widget);
}

bool IsPartOfAnotherControl(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* parent = widget->parentWidget(); parent && parent != window; parent = parent->parentWidget()) {
        if (IsControl(parent))
            return true;
    }
    return false;
}

QList<const QWidget*> VisibleControls(const QWidget* window)
{
    QList<const QWidget*> controls;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (IsControl(widget) && widget->isVisibleTo(window) && !IsPartOfAnotherControl(widget, window))
            controls.append(widget);
    }
    return controls;
}

QRect GeometryIn(const QWidget* window, const QWidget* widget)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

QString Describe(const QWidget* widget)
{
    return QStringLiteral("%1 \"%2\"").arg(widget->metaObject()->className(), widget->objectName());
}

} // namespace

void VerifyNoClippedText(const QWidget* window)
{
    for (const QWidget* control : VisibleControls(window)) {
        // A text area scrolls; everything else must show its text whole.
        if (qobject_cast<const QAbstractScrollArea*>(control))
            continue;
        // A wrapping text needs the height its lines take at the width it got.
        const QSize needed = control->hasHeightForWidth()
                                 ? QSize(control->minimumSizeHint().width(), control->heightForWidth(control->width()))
                                 : control->sizeHint();
        QVERIFY2(control->width() >= needed.width() && control->height() >= needed.height(),
                 qPrintable(QStringLiteral("%1 is %2x%3 but needs %4x%5")
                                .arg(Describe(control))
                                .arg(control->width())
                                .arg(control->height())
                                .arg(needed.width())
                                .arg(needed.height())));
    }
}

void VerifyNoOverlappingControls(const QWidget* window)
{
    const QList<const QWidget*> controls = VisibleControls(window);
    for (int i = 0; i < controls.size(); ++i) {
        for (int j = i + 1; j < controls.size(); ++j) {
            QVERIFY2(!GeometryIn(window, controls[i]).intersects(GeometryIn(window, controls[j])),
                     qPrintable(Describe(controls[i]) + QStringLiteral(" overlaps ") + Describe(controls[j])));
        }
    }
}

void VerifyFixedSize(const QWidget* window)
{
    QVERIFY2(window->minimumSize() == window->maximumSize(), "the window can be resized");
    QCOMPARE(window->size(), window->minimumSize());
}

namespace {

void Keep(const QPixmap& picture, const QString& name)
{
    const QString directory = qEnvironmentVariable("MERIDAL_SCREENSHOT_DIR");
    if (directory.isEmpty())
        return;
    const QString path = QDir(directory).filePath(name + QStringLiteral(".png"));
    QVERIFY2(QDir().mkpath(directory) && picture.save(path), qPrintable(path));
}

} // namespace

void VerifyGrabbed(QWidget* window, const QString& name)
{
    const QPixmap picture = window->grab();
    QCOMPARE(picture.deviceIndependentSize().toSize(), window->size());
    Keep(picture, name);
}

void VerifyScreenGrabbed(const QRect& area, const QString& name)
{
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    QCOMPARE(picture.deviceIndependentSize().toSize(), area.size());
    Keep(picture, name);
}

void VerifyCaptionAsShown(QWidget* window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) {
        QTest::qFail("the shown caption can only be read on X11", __FILE__, __LINE__);
        return;
    }
    const QString shown = CaptionShownByX11(x11->connection(), window);
    if (shown != window->windowTitle())
        QTest::qFail(qPrintable(QStringLiteral("caption shown as \"%1\" instead of \"%2\"").arg(shown, window->windowTitle())),
                     __FILE__, __LINE__);
}

int TopLineShown(const QPlainTextEdit* view)
{
    return view->cursorForPosition(QPoint(2, 2)).blockNumber();
}

QWidget* ShownWindow(const QString& caption)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == caption)
            return window;
    }
    return nullptr;
}
