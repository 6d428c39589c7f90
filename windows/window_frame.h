#pragma once

#include <initializer_list>

#include <QPoint>
#include <QSize>
#include <QString>

class QWidget;

// The frame every window of the program stands in, and where it stands on the screen.
namespace ripartino {

// A dialog frame belongs to a window that hands over to the next and keeps off the taskbar;
// a single frame to one that stands on its own beside them, with a taskbar button.
enum class FrameKind { Dialog, Single };

// A fixed-size top-level window with a title and a close box, no minimise or maximise
// box, and the given client size in twips.
void setUpFixedWindow(QWidget& window, FrameKind kind, const QString& title, QSize clientTwips);

// Where a window of outer size `frame` stands when centred on a screen of `screen` pixels:
// worked out in twips in single precision, subtraction first, and never clamped, so a
// window larger than the screen gets a negative position.
QPoint centredPosition(QSize screen, QSize frame);

// Moves `window` so that its outer frame is centred on its whole screen. Under X11 it asks
// the window manager first what frame the window will get.
void centreOnScreen(QWidget& window);

// Keeps `window` off the taskbar. Only X11 has a way to say so (_NET_WM_STATE_SKIP_TASKBAR);
// elsewhere this does nothing.
void hideFromTaskbar(QWidget& window);

// Sets the keyboard order of `window`'s controls to the order of `names` (object names);
// controls that never take the focus (labels, frames, images) are passed over. The first
// one that is enabled and not hidden gets the focus when the window opens, so call this
// once the controls stand in their initial state.
void setTabOrderByNames(QWidget& window, std::initializer_list<const char*> names);

}  // namespace ripartino
