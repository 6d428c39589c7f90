#include "windows/program_windows.h"

#include <utility>

#include <QCoreApplication>
#include <QEvent>
#include <QLocale>

#include "windows/case_window.h"
#include "windows/start_window.h"

namespace ripartino {

namespace {

std::size_t indexOf(DivisionCase divisionCase)
{
    return static_cast<std::size_t>(divisionCase) - 1;
}

}  // namespace

ProgramWindows::ProgramWindows(RandomSource& source, std::string decimalSeparator)
    : source_(source),
      decimalSeparator_(std::move(decimalSeparator)),
      printService_(source, decimalSeparator_, [this] { return markedCase(); })
{
}

ProgramWindows::~ProgramWindows()
{
    // Whatever is still open goes without a close event: the program is over.
    delete start_;
    for (const auto& caseWindow : cases_)
        delete caseWindow;
    delete print_;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <typename Window>
Window* ProgramWindows::adopt(Window* window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->installEventFilter(this);
    return window;
}

bool ProgramWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close) {
        if (watched == start_)
            start_.clear();
        if (watched == print_)
            print_.clear();
        for (auto& caseWindow : cases_) {
            if (watched == caseWindow)
                caseWindow.clear();
        }
    }
    return QObject::eventFilter(watched, event);
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

CaseWindow* ProgramWindows::openCaseWindow(DivisionCase divisionCase) const
{
    return cases_[indexOf(divisionCase)];
}

CaseWindowState ProgramWindows::caseWindowState(DivisionCase divisionCase) const
{
    const CaseWindow* window = openCaseWindow(divisionCase);
    if (!window)
        return {};
    return {window->printMark().toStdString(), window->divisorDigits()};
}

CaseWindowStates ProgramWindows::caseWindowStates() const
{
    CaseWindowStates states;
    for (const DivisionCase divisionCase : allCases)
        states[indexOf(divisionCase)] = caseWindowState(divisionCase);
    return states;
}

std::optional<MarkedCase> ProgramWindows::markedCase() const
{
    std::optional<MarkedCase> marked;
    for (const DivisionCase divisionCase : allCases) {
        const CaseWindowState state = caseWindowState(divisionCase);
        if (state.printMark == caseDigit(divisionCase))
            marked = MarkedCase{divisionCase, state.divisorDigits};
    }
    return marked;
}

std::string systemDecimalSeparator()
{
    return QLocale::system().decimalPoint().toStdString();
}

}  // namespace ripartino
