#include "windows/window_frame.h"

#include <algorithm>
#include <optional>

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include "windows/look.h"

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace ripartino {

namespace {

#if QT_CONFIG(xcb)
// The X11 connection, or null on any other platform. The offscreen platform answers to the
// X11 interface too, without a connection of its own.
xcb_connection_t* x11Connection()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    return x11->connection();
}

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

// Under X11 a window has its frame only once the window manager has mapped it, too late to
// centre it on its outer size; but the window manager can tell beforehand what frame it will
// give (_NET_REQUEST_FRAME_EXTENTS). Qt does not look again, so the answer is read here.
std::optional<QMargins> frameExtents(QWidget& window)
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return std::nullopt;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t request = internAtom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = internAtom(connection, "_NET_FRAME_EXTENTS");

    // Only a window manager that says it answers is asked; without one there is no frame.
    auto* supported = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, internAtom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096),
        nullptr);
    bool answers = false;
    if (supported) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported));
        answers = std::find(atoms, atoms + xcb_get_property_value_length(supported) / 4, request)
            != atoms + xcb_get_property_value_length(supported) / 4;
        free(supported);
    }
    if (!answers)
        return std::nullopt;

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window.winId());
    message.type = request;
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);

    // The answer is a property on the window; a window manager sets it within a few ms.
    constexpr int attempts = 100;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        auto* reply = xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, message.window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr);
        std::optional<QMargins> margins;
        if (reply && reply->value_len == 4) {
            const auto* sides = static_cast<const uint32_t*>(xcb_get_property_value(reply));  // left, right, top, bottom
            margins = QMargins(int(sides[0]), int(sides[2]), int(sides[1]), int(sides[3]));
        }
        free(reply);
        if (margins)
            return margins;
        QThread::msleep(1);
    }
    return std::nullopt;
}
#else
std::optional<QMargins> frameExtents(QWidget&)
{
    return std::nullopt;
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
    QSize frame = window.frameGeometry().size();
    QPoint clientOffset;  // Qt places a window by its client area while it knows no frame
    if (frame == window.size()) {
        if (const std::optional<QMargins> margins = frameExtents(window)) {
            frame = window.size().grownBy(*margins);
            clientOffset = {margins->left(), margins->top()};
        }
    }
    window.move(centredPosition(window.screen()->geometry().size(), frame) + clientOffset);
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
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
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
