#include "ui/x11_window.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

namespace ripartino::x11 {

namespace {

// The X11 connection, or null on any other platform. The offscreen platform answers to the
// X11 interface too, without a connection of its own.
xcb_connection_t* connection()
{
#if QT_CONFIG(xcb)
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && QGuiApplication::platformName() == QLatin1String("xcb"))
        return x11->connection();
#endif
    return nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return found;
}

bool supportedByWindowManager(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t wanted)
{
    auto* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096),
        nullptr);
    if (!reply)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    const auto* end = atoms + xcb_get_property_value_length(reply) / 4;
    const bool found = std::find(atoms, end, wanted) != end;
    free(reply);
    return found;
}

// Hears the window manager set _NET_FRAME_EXTENTS on a window that asked for it: the
// answer comes as an event, so nobody waits for it.
class ExtentsWatch : public QAbstractNativeEventFilter {
public:
    explicit ExtentsWatch(xcb_atom_t extents) : extents_(extents) {}

    void expect(xcb_window_t id, QWidget& window, std::function<void()> arrived)
    {
        pending_[id] = {QPointer<QWidget>(&window), std::move(arrived)};
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            return false;
        const auto* notify = static_cast<const xcb_property_notify_event_t*>(message);
        const auto found = pending_.find(notify->window);
        if (notify->atom != extents_ || found == pending_.end())
            return false;
        auto [window, arrived] = std::move(found->second);
        pending_.erase(found);
        // Qt is in the middle of its own event handling here; act once it is done.
        if (window)
            QTimer::singleShot(0, window, std::move(arrived));
        return false;
    }

private:
    const xcb_atom_t extents_;
    std::map<xcb_window_t, std::pair<QPointer<QWidget>, std::function<void()>>> pending_;
};

}  // namespace

const char* missingDisplay()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return nullptr;
    if (!qEnvironmentVariableIsSet("DISPLAY"))
        return "DISPLAY non impostato";
    xcb_connection_t* display = xcb_connect(nullptr, nullptr);
    const bool reached = xcb_connection_has_error(display) == 0;
    xcb_disconnect(display);
    return reached ? nullptr : "il server X indicato da DISPLAY non risponde";
}

void hideFromTaskbar(QWidget& window)
{
    xcb_connection_t* x = connection();
    if (!x)
        return;
    const xcb_atom_t skipTaskbar = atom(x, "_NET_WM_STATE_SKIP_TASKBAR");
    // Qt keeps the states it finds on the window when it maps it.
    xcb_change_property(x, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window.winId()), atom(x, "_NET_WM_STATE"),
                        XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_flush(x);
}

void keepAboveItsGroup(QWidget& window)
{
    xcb_connection_t* x = connection();
    if (!x)
        return;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    xcb_change_property(x, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), XCB_ATOM_WM_TRANSIENT_FOR,
                        XCB_ATOM_WINDOW, 32, 1, &root);
    xcb_flush(x);
}

std::optional<QMargins> frameExtents(QWidget& window)
{
    xcb_connection_t* x = connection();
    if (!x)
        return std::nullopt;
    auto* reply = xcb_get_property_reply(x,
                                         xcb_get_property(x, 0, static_cast<xcb_window_t>(window.winId()),
                                                          atom(x, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 0, 4),
                                         nullptr);
    std::optional<QMargins> margins;
    if (reply && reply->value_len == 4) {
        const auto* sides = static_cast<const uint32_t*>(xcb_get_property_value(reply));  // left, right, top, bottom
        margins = QMargins(int(sides[0]), int(sides[2]), int(sides[1]), int(sides[3]));
    }
    free(reply);
    return margins;
}

void requestFrameExtents(QWidget& window, std::function<void()> arrived)
{
    xcb_connection_t* x = connection();
    if (!x)
        return;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const xcb_atom_t request = atom(x, "_NET_REQUEST_FRAME_EXTENTS");
    if (!supportedByWindowManager(x, root, request))
        return;

    static ExtentsWatch* watch = [x] {
        auto* made = new ExtentsWatch(atom(x, "_NET_FRAME_EXTENTS"));
        qGuiApp->installNativeEventFilter(made);
        return made;
    }();
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window.winId());
    message.type = request;
    watch->expect(message.window, window, std::move(arrived));
    xcb_send_event(x, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(x);
}

}  // namespace ripartino::x11
