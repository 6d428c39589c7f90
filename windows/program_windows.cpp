#include "windows/program_windows.h"

#include <algorithm>
#include <utility>

#include <QCoreApplication>
#include <QEvent>
#include <QLocale>
#include <QScreen>

#include "ui/x11_window.h"
#include "windows/case_window.h"
#include "windows/start_window.h"
#include "windows/worked_division_window.h"

namespace ripartino {

namespace {

std::size_t indexOf(DivisionCase divisionCase) { return static_cast<std::size_t>(divisionCase) - 1; }

}  // namespace

ProgramWindows::ProgramWindows(RandomSource& source, std::string decimalSeparator)
    : source_(source),
      decimalSeparator_(std::move(decimalSeparator)),
      printService_(source, decimalSeparator_, [this] { return markedCase(); })
{}

ProgramWindows::~ProgramWindows()
{
    // Whatever is still open goes without a close event: the program is over. The print
    // window goes first, while the others still stand, so that it brings nothing back.
    delete print_;
    delete worked_;
    delete start_;
    for (const auto& caseWindow : cases_)
        delete caseWindow;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <typename Window> Window* ProgramWindows::adopt(Window* window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->installEventFilter(this);
    return window;
}

bool ProgramWindows::eventFilter(QObject* watched, QEvent* event)
{
    auto* window = static_cast<QWidget*>(watched);  // only the windows themselves are watched
    switch (event->type()) {
    case QEvent::Close:
        if (worked_ && (watched == worked_->parent() || watched == worked_))
            closeWorkedDivision();
        if (watched == start_)
            start_.clear();
        if (watched == print_)
            print_.clear();
        for (auto& caseWindow : cases_) {
            if (watched == caseWindow)
                caseWindow.clear();
        }
        break;
    case QEvent::Hide:
        // The print window closed (a hide of our own, not the window manager's) with no
        // start or case window left: ending here would leave the user no way to do what
        // the print window may just have told them, so the start window comes back.
        if (!event->spontaneous() && qobject_cast<PrintWindow*>(window) && !mainWindowVisible())
            startWindow().show();
        break;
    case QEvent::Show:
        // The print window stays in front of the other windows: a window shown or clicked
        // would otherwise cover it, and it is small enough to vanish behind any of them. The
        // window manager keeps it there once it knows it for a transient of them all; the
        // hint goes on once Qt has mapped the window, as Qt clears it on the way.
        if (watched == print_)
            QMetaObject::invokeMethod(
                print_, [window] { x11::keepAboveItsGroup(*window); }, Qt::QueuedConnection);
        [[fallthrough]];
    case QEvent::WindowActivate:
        // Where the window manager knows no transients for a group, raised once it has put
        // the other window on top.
        if (watched != print_ && print_ && print_->isVisible())
            QMetaObject::invokeMethod(print_, &QWidget::raise, Qt::QueuedConnection);
        break;
    case QEvent::WindowStateChange:
        // The windows have no minimise box, but a window manager may minimise them anyway;
        // the start and case windows have no taskbar button to bring them back by.
        if (window->isMinimized())
            QMetaObject::invokeMethod(window, &QWidget::showNormal, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool ProgramWindows::mainWindowVisible() const
{
    if (start_ && start_->isVisible())
        return true;
    return std::any_of(cases_.begin(), cases_.end(),
                       [](const QPointer<CaseWindow>& window) { return window && window->isVisible(); });
}

StartWindow& ProgramWindows::startWindow()
{
    if (!start_)
        start_ = adopt(new StartWindow(*this));
    return *start_;
}

CaseWindow& ProgramWindows::caseWindow(DivisionCase divisionCase)
{
    QPointer<CaseWindow>& window = cases_[indexOf(divisionCase)];
    if (!window)
        window = adopt(new CaseWindow(*this, divisionCase));
    return *window;
}

PrintWindow& ProgramWindows::printWindow()
{
    if (!print_) {
        print_ = adopt(new PrintWindow(printService_));
        if (!printWindowIcon_.isNull())
            print_->setWindowIcon(printWindowIcon_);
    }
    return *print_;
}

void ProgramWindows::setPrintWindowIcon(const QIcon& icon)
{
    printWindowIcon_ = icon;
    if (print_)
        print_->setWindowIcon(icon);
}

CaseWindow* ProgramWindows::openCaseWindow(DivisionCase divisionCase) const { return cases_[indexOf(divisionCase)]; }

bool ProgramWindows::showWorkedDivision(CaseWindow& over, const QString& line)
{
    if (worked_ && worked_->parent() != &over)
        closeWorkedDivision();
    const bool made = !worked_;
    if (made)
        worked_ = adopt(new WorkedDivisionWindow(workedWithProducts_, decimalSeparator_, &over));
    if (!worked_->showLine(line)) {
        if (made)
            closeWorkedDivision();
        return false;
    }
    if (made) {
        worked_->resize(worked_->sizeHint());
        worked_->move(over.screen()->availableGeometry().center() - worked_->rect().center());
    }
    worked_->show();
    worked_->raise();
    worked_->activateWindow();
    return true;
}

void ProgramWindows::closeWorkedDivision()
{
    if (WorkedDivisionWindow* closing = std::exchange(worked_, nullptr))
        closing->close();
}

std::optional<MarkedCase> ProgramWindows::markedCase() const
{
    // A closed window has no mark; should two carry one, the higher case decides.
    std::optional<MarkedCase> marked;
    for (const DivisionCase divisionCase : allCases) {
        const CaseWindow* window = openCaseWindow(divisionCase);
        if (window && window->printMark().toStdString() == caseDigit(divisionCase))
            marked = MarkedCase{divisionCase, window->divisorDigits()};
    }
    return marked;
}

std::string systemDecimalSeparator() { return QLocale::system().decimalPoint().toStdString(); }

}  // namespace ripartino
