#include "windows/window_frame.h"

#include <QEvent>
#include <QMargins>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include "windows/look.h"

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace ripartino {

namespace {

// The frame the window manager last put around one of our windows. Every window of the
// program has the same kind of frame, so it stands in for one not yet drawn.
QMargins knownFrameMargins;

QSize outerSize(const QWidget& window)
{
    const QSize frame = window.frameGeometry().size();
    if (frame != window.size())
        return frame;
    return window.size().grownBy(knownFrameMargins);
}

// Under X11 a window's frame is known only once the window manager has framed it, after the
// window is mapped. Until then the window is centred on the last frame seen; this waits for
// the real one, centres the window once more if it differs, and goes away.
class FrameWatcher : public QObject {
public:
    explicit FrameWatcher(QWidget& window) : QObject(&window), window_(window)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &window_ || event->type() != QEvent::Paint)
            return false;
        const QRect frame = window_.frameGeometry();
        if (frame.size() == window_.size())
            return false;
        window_.removeEventFilter(this);
        const QMargins margins(window_.x() - frame.x(), window_.y() - frame.y(),
                               frame.right() - window_.geometry().right(),
                               frame.bottom() - window_.geometry().bottom());
        if (margins != knownFrameMargins) {
            knownFrameMargins = margins;
            window_.move(centredPosition(window_.screen()->geometry().size(), frame.size()));
        }
        deleteLater();
        return false;
    }

private:
    QWidget& window_;
};

#if QT_CONFIG(xcb)
xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}
#endif

}  // namespace

void setUpFixedWindow(QWidget& window, FrameKind kind, const QString& title, QSize clientTwips)
{
    const Qt::WindowType type = kind == FrameKind::Dialog ? Qt::Dialog : Qt::Window;
    window.setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window.setWindowTitle(title);
    window.setFixedSize(look::pixels(clientTwips.width()), look::pixels(clientTwips.height()));
    window.setFont(look::systemFont());
}

QPoint centredPosition(QSize screen, QSize frame)
{
    const auto twips = [](int pixels) { return static_cast<float>(pixels * look::twipsPerPixel); };
    const float left = (twips(screen.width()) - twips(frame.width())) / 2.0f;
    const float top = (twips(screen.height()) - twips(frame.height())) / 2.0f;
    const auto toPixels = [](float twips) { return qRound(twips / static_cast<float>(look::twipsPerPixel)); };
    return {toPixels(left), toPixels(top)};
}

void centreOnScreen(QWidget& window)
{
    window.move(centredPosition(window.screen()->geometry().size(), outerSize(window)));
    if (window.frameGeometry().size() == window.size()
        && QGuiApplication::platformName() == QLatin1String("xcb"))
        new FrameWatcher(window);
}

void setTabOrderByNames(QWidget& window, std::initializer_list<const char*> names)
{
    QWidget* previous = nullptr;
    bool focused = false;
    for (const char* name : names) {
        auto* control = window.findChild<QWidget*>(QLatin1String(name));
        Q_ASSERT(control);
        if (!(control->focusPolicy() & Qt::TabFocus))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, control);
        if (!focused && control->isEnabled() && !control->isHidden()) {
            control->setFocus();
            focused = true;
        }
        previous = control;
    }
}

void hideFromTaskbar(QWidget& window)
{
#if QT_CONFIG(xcb)
    // The offscreen platform answers to the X11 interface too, without a connection of its own.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || QGuiApplication::platformName() != QLatin1String("xcb") || !x11->connection())
        return;
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t skipTaskbar = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    // Set before the window is mapped; Qt keeps the states it finds when it maps the window.
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, internAtom(connection, "_NET_WM_STATE"),
                        XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}

}  // namespace ripartino
