#include "ui/window_frame.h"

#include <algorithm>
#include <optional>
#include <utility>

#include <QKeyEvent>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QWidget>

#include "ui/look.h"
#include "ui/x11_window.h"

namespace ripartino {

namespace {

// Keeps the tab stop of an option group on its selected option, and lets the arrow keys
// select as they move.
class OptionGroup : public QObject {
public:
    explicit OptionGroup(const QList<QRadioButton*>& options) : QObject(options.front()), options_(options)
    {
        // Arrows go by where the options stand: down a column, along a row.
        std::stable_sort(options_.begin(), options_.end(), [](const QRadioButton* a, const QRadioButton* b) {
            return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
        });
        for (QRadioButton* option : options) {
            option->installEventFilter(this);
            connect(option, &QRadioButton::toggled, this, [this] { settleTabStop(); });
        }
        tabOrderFirst_ = options.front();
        settleTabStop();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1
            : key == Qt::Key_Up || key == Qt::Key_Left               ? -1
                                                                     : 0;
        const auto at = std::find(options_.cbegin(), options_.cend(), watched);
        if (step == 0 || at == options_.cend())
            return false;
        const qsizetype count = options_.size();
        for (qsizetype next = at - options_.cbegin(), tries = 1; tries < count; ++tries) {
            next = (next + step + count) % count;
            QRadioButton* option = options_[next];
            if (option->isEnabled() && option->isVisible()) {
                option->setFocus(Qt::OtherFocusReason);
                option->click();
                break;
            }
        }
        return true;
    }

private:
    void settleTabStop()
    {
        QRadioButton* stop = tabOrderFirst_;
        for (QRadioButton* option : options_) {
            if (option->isChecked())
                stop = option;
        }
        for (QRadioButton* option : options_)
            option->setFocusPolicy(option == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }

    QList<QRadioButton*> options_;  // as they stand, top to bottom and left to right
    QRadioButton* tabOrderFirst_ = nullptr;
};

// Centres on what the window knows of its frame now: Qt's frame once the window is framed,
// before that the frame the window manager has said it will give, else none.
void centreNow(QWidget& window, bool askWindowManager)
{
    QSize frame = window.frameGeometry().size();
    QPoint clientOffset;  // Qt places a window by its client area while it knows no frame
    if (frame == window.size()) {
        if (const std::optional<QMargins> margins = x11::frameExtents(window)) {
            frame = window.size().grownBy(*margins);
            clientOffset = {margins->left(), margins->top()};
        } else if (askWindowManager) {
            QPointer<QWidget> asked(&window);
            x11::requestFrameExtents(window, [asked] {
                if (asked)
                    centreNow(*asked, false);
            });
        }
    }
    window.move(centredPosition(window.screen()->geometry().size(), frame) + clientOffset);
}

}  // namespace

void setUpFixedWindow(QWidget& window, FrameKind kind, const QString& title, QSize clientTwips)
{
    const Qt::WindowType type = kind == FrameKind::Dialog ? Qt::Dialog : Qt::Window;
    window.setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint);
    window.setWindowTitle(title);
    window.setFixedSize(look::pixels(clientTwips));
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

void centreOnScreen(QWidget& window) { centreNow(window, true); }

void hideFromTaskbar(QWidget& window) { x11::hideFromTaskbar(window); }

void makeOptionGroup(const QList<QRadioButton*>& options)
{
    if (!options.isEmpty())
        new OptionGroup(options);
}

void setTabOrderByNames(QWidget& window, const std::vector<const char*>& names)
{
    QWidget* previous = nullptr;
    bool focused = false;
    QList<QRadioButton*> group;
    for (const char* name : names) {
        auto* control = window.findChild<QWidget*>(QLatin1String(name));
        Q_ASSERT(control);
        if (!(control->focusPolicy() & Qt::TabFocus))
            continue;
        auto* option = qobject_cast<QRadioButton*>(control);
        if (!option || (!group.isEmpty() && group.front()->parentWidget() != option->parentWidget()))
            makeOptionGroup(std::exchange(group, {}));
        if (option)
            group.append(option);
        if (previous)
            QWidget::setTabOrder(previous, control);
        if (!focused && control->isEnabled() && !control->isHidden()) {
            control->setFocus();
            focused = true;
        }
        previous = control;
    }
    makeOptionGroup(group);
}

}  // namespace ripartino
