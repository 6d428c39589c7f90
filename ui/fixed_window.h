#pragma once

#include <utility>
#include <vector>

#include <QRect>
#include <QWidget>

#include "ui/window_frame.h"

class QAbstractButton;
class QPushButton;

namespace ripartino {

// One control of a window's layout: its name, its box in twips within the window's client
// area (or within the frame it stands in) and its caption, if it shows one.
struct ControlRow {
    const char* name;
    QRect twips;
    const char* caption = nullptr;
    const char* inside = nullptr;  // the frame's name, or null for the window itself
};

// A window's layout: everything a window of the program is drawn from, and what its tests
// check the real window against.
struct WindowLayout {
    const char* name;
    const char* title;
    FrameKind frame;
    QSize clientTwips;
    std::vector<ControlRow> controls;
    std::vector<const char*> tabOrder;  // every control that can take the focus, in order
};

// A window of fixed size, centred whenever it opens, whose controls stand as its layout
// says. Its load handler runs on the first show after it is made. A window that has just
// appeared takes no part of the gesture that opened it: a mouse press within the double-click
// time of the click that brought it, or a key still repeating from before. Nor does a window
// that comes to the front because a key closed the one above it take that key's repeats.
class FixedWindow : public QWidget {
    Q_OBJECT
public:
    explicit FixedWindow(const WindowLayout& layout, QWidget* parent = nullptr);

    const WindowLayout& layout() const { return layout_; }

protected:
    // Makes the control of row `name` as a `Control` (made with `arguments` and its parent),
    // names it, sets its caption and puts it in its box.
    template <typename Control, typename... Arguments> Control* place(const char* name, Arguments&&... arguments)
    {
        const ControlRow& row = rowOf(name);
        auto* control = new Control(std::forward<Arguments>(arguments)..., parentOf(row));
        setUp(*control, row);
        return control;
    }

    // A button that shows only the picture `icon`, on the picture buttons' colour; `says` is
    // what a screen reader reads for it and, unless `tooltip` is false, its tooltip.
    QPushButton* placePictureButton(const char* name, const char* icon, const QString& says, bool tooltip = true);

    // Sets the tab order from the layout, keeps the window off the taskbar if its frame says
    // so, and guards its controls against stray input; the last step of a constructor.
    void finishLayout();
    // Makes `button` the one that Esc presses; a held key's repeats do not press it.
    void setCancelButton(QAbstractButton& button);

    // Runs once per window, when it is first shown. Centres it.
    virtual void onLoad();

    void showEvent(QShowEvent* event) override;

private:
    friend class InputGuard;
    const ControlRow& rowOf(const char* name) const;
    QWidget* parentOf(const ControlRow& row);
    void setUp(QWidget& control, const ControlRow& row);

    const WindowLayout& layout_;
    bool loaded_ = false;
    // What of the opening gesture may still arrive: mouse presses before this time stamp, and
    // until a key is pressed afresh, the repeats of a held key, the one that opened the window
    // above all (last seen at the stamp below).
    qint64 ignorePressesUntil_ = -1;
    bool guardingKeys_ = true;
    int openingKey_ = 0;
    qint64 openingKeyStamp_ = -1;
};

// Shows the windows above what `window`, which is none of them, is given (call it once its
// controls are made): a key held there, Esc that closes it above all, then presses nothing in
// the window that comes to the front.
void watchInput(QWidget& window);

}  // namespace ripartino
