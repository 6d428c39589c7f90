#pragma once

#include <initializer_list>
#include <vector>

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

class QRadioButton;
class QWidget;

// The frame every window of the program stands in, where it stands on the screen, and how
// the keyboard moves through it.
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

// Moves `window` so that its outer frame is centred on its whole screen. A window not yet
// framed (under X11, before the window manager has mapped it) is centred on what it knows,
// and again as soon as the window manager says what frame it gives.
void centreOnScreen(QWidget& window);

// Keeps `window` off the taskbar where the platform has a way to say so.
void hideFromTaskbar(QWidget& window);

// Makes `options` one tab stop, entered on the selected option (the first when none is),
// whose arrow keys move the selection (a click, as the mouse would give) through the group.
void makeOptionGroup(const QList<QRadioButton*>& options);

// Sets the keyboard order of `window`'s controls to the order of `names` (object names);
// controls that never take the focus (labels, frames, images) are passed over, and option
// buttons that follow one another in one frame become one option group. The first control
// that is enabled and not hidden gets the focus when the window opens, so call this once the
// controls stand in their initial state.
void setTabOrderByNames(QWidget& window, const std::vector<const char*>& names);
inline void setTabOrderByNames(QWidget& window, std::initializer_list<const char*> names)
{
    setTabOrderByNames(window, std::vector<const char*>(names));
}

}  // namespace ripartino
