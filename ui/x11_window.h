#pragma once

#include <functional>
#include <optional>

#include <QMargins>

class QWidget;

// What only X11 offers the windows; built without xcb, every call here does nothing.
namespace ripartino::x11 {

// Why no X server can be reached (DISPLAY unset or not answering), asked before Qt would
// abort without one; nothing when there is one or another platform was chosen.
const char* missingDisplay();

// Keeps `window` off the taskbar (_NET_WM_STATE_SKIP_TASKBAR); call before it is mapped.
void hideFromTaskbar(QWidget& window);

// Makes `window` a transient of every window of the program (WM_TRANSIENT_FOR the root, as
// EWMH reads it: a transient for its group), so that the window manager itself keeps it
// above them, whichever of them is clicked or shown. Qt clears the hint on every show of a
// window that is not a dialog: call it once the window is shown.
void keepAboveItsGroup(QWidget& window);

// The frame the window manager gives or will give `window`, if it has said so already.
std::optional<QMargins> frameExtents(QWidget& window);

// Asks the window manager what frame it will give `window` (_NET_REQUEST_FRAME_EXTENTS)
// and calls `arrived` from the event loop once it answers; never calls it
// when there is no window manager that answers such requests.
void requestFrameExtents(QWidget& window, std::function<void()> arrived);

}  // namespace ripartino::x11
