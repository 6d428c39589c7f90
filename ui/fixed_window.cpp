#include "ui/fixed_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QStyleHints>

#include "ui/look.h"

namespace ripartino {

// Sees every press and key on its way to the program's windows and drops what a window that
// has just appeared, or has just come to the front, should not take. Time stamps are the
// window system's (or the test's), never the clock's, so a slow machine cannot turn one
// gesture into two.
class InputGuard : public QObject {
public:
    static InputGuard& instance()
    {
        static auto* guard = new InputGuard(qApp);
        return *guard;
    }

    // Watches `window` and every control in it; only the program's own windows are watched.
    void watch(QWidget& window)
    {
        window.installEventFilter(this);
        for (QWidget* control : window.findChildren<QWidget*>())
            control->installEventFilter(this);
    }

    // `window` has just appeared: whatever the last press, click or key started belongs to it.
    void arm(FixedWindow& window) const
    {
        const int doubleClick = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        window.ignorePressesUntil_ = lastWasMouse_ ? lastStamp_ + doubleClick : -1;
        window.guardingKeys_ = true;
        window.openingKey_ = lastWasMouse_ ? 0 : lastKey_;
        window.openingKeyStamp_ = lastStamp_;
    }

    // `window` has become the active one by a key (one that closed the window above it, say):
    // that key's repeats still belong to the window it closed.
    void armKeys(FixedWindow& window) const
    {
        if (lastWasMouse_ || lastKey_ == 0)
            return;
        window.guardingKeys_ = true;
        window.openingKey_ = lastKey_;
        window.openingKeyStamp_ = lastStamp_;
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::WindowActivate) {
            if (auto* window = qobject_cast<FixedWindow*>(receiver))
                armKeys(*window);
            return false;
        }
        const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick
            || type == QEvent::MouseButtonRelease;
        // A shortcut (Esc on a cancel button) acts on its override, before the key press.
        const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride;
        if (!mouse && !key)
            return false;
        lastWasMouse_ = mouse;
        lastStamp_ = static_cast<qint64>(static_cast<QInputEvent*>(event)->timestamp());
        if (key)
            lastKey_ = static_cast<QKeyEvent*>(event)->key();

        auto* window =
            receiver->isWidgetType() ? qobject_cast<FixedWindow*>(static_cast<QWidget*>(receiver)->window()) : nullptr;
        if (!window)
            return false;
        if (mouse)
            return type != QEvent::MouseButtonRelease && lastStamp_ < window->ignorePressesUntil_;
        return window->guardingKeys_ && isHeldKey(*window, *static_cast<QKeyEvent*>(event));
    }

private:
    // Whether a key event still belongs to a key held from before `window` appeared; the first
    // key pressed afresh ends the watch.
    bool isHeldKey(FixedWindow& window, QKeyEvent& event) const
    {
        const bool openingKey = event.key() == window.openingKey_;
        if (event.type() == QEvent::KeyRelease) {
            if (openingKey)
                window.openingKeyStamp_ = lastStamp_;
            return openingKey || event.isAutoRepeat();
        }
        // X repeats a held key as a release and a press of one time stamp, and Qt does not
        // always see the pair in time to call the press a repeat.
        const bool repeat =
            event.isAutoRepeat() || (openingKey && lastStamp_ != 0 && lastStamp_ == window.openingKeyStamp_);
        if (event.type() == QEvent::ShortcutOverride) {
            // Taken here, so that no shortcut acts on it; the press that follows is dropped.
            if (repeat)
                event.accept();
            return repeat;
        }
        if (!repeat)
            window.guardingKeys_ = false;
        return repeat;
    }

    using QObject::QObject;
    bool lastWasMouse_ = false;
    int lastKey_ = 0;
    qint64 lastStamp_ = 0;
};

FixedWindow::FixedWindow(const WindowLayout& layout, QWidget* parent) : QWidget(parent), layout_(layout)
{
    setObjectName(QLatin1String(layout.name));
    setUpFixedWindow(*this, layout.frame, QString::fromUtf8(layout.title), layout.clientTwips);
}

void FixedWindow::finishLayout()
{
    InputGuard::instance().watch(*this);
    setTabOrderByNames(*this, layout_.tabOrder);
    if (layout_.frame == FrameKind::Dialog)
        hideFromTaskbar(*this);
}

void FixedWindow::setCancelButton(QAbstractButton& button)
{
    auto* escape = new QShortcut(Qt::Key_Escape, this);
    escape->setAutoRepeat(false);
    connect(escape, &QShortcut::activated, &button, &QAbstractButton::click);
}

QPushButton* FixedWindow::placePictureButton(const char* name, const char* icon, const QString& says, bool tooltip)
{
    auto* button = place<QPushButton>(name);
    button->setAccessibleName(says);
    if (tooltip)
        button->setToolTip(says);
    button->setIcon(look::icon(QLatin1String(icon)));
    button->setIconSize(look::iconSize);
    button->setAutoDefault(true);
    look::paintBackground(*button, look::magenta);
    return button;
}

void watchInput(QWidget& window) { InputGuard::instance().watch(window); }

void FixedWindow::onLoad() { centreOnScreen(*this); }

void FixedWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    InputGuard::instance().arm(*this);
    if (!std::exchange(loaded_, true))
        onLoad();
}

const ControlRow& FixedWindow::rowOf(const char* name) const
{
    for (const ControlRow& row : layout_.controls) {
        if (qstrcmp(row.name, name) == 0)
            return row;
    }
    qFatal("%s has no control %s in its layout", layout_.name, name);
}

QWidget* FixedWindow::parentOf(const ControlRow& row)
{
    if (!row.inside)
        return this;
    auto* frame = findChild<QWidget*>(QLatin1String(row.inside));
    Q_ASSERT(frame);
    return frame;
}

void FixedWindow::setUp(QWidget& control, const ControlRow& row)
{
    control.setObjectName(QLatin1String(row.name));
    control.setGeometry(look::pixels(row.twips));
    if (!row.caption)
        return;
    const QString caption = QString::fromUtf8(row.caption);
    if (auto* button = qobject_cast<QAbstractButton*>(&control))
        button->setText(caption);
    else if (auto* label = qobject_cast<QLabel*>(&control))
        label->setText(caption);
    else if (auto* frame = qobject_cast<QGroupBox*>(&control))
        frame->setTitle(caption);
    else if (auto* field = qobject_cast<QLineEdit*>(&control))
        field->setText(caption);
}

}  // namespace ripartino
