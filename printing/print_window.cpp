#include "printing/print_window.h"

#include <utility>

#include "windows/window_frame.h"

namespace ripartino {

namespace {
constexpr QSize clientTwips{4110, 3270};
}

PrintWindow::PrintWindow(PrintWindowMemory& memory, CaseWindowReader readCaseWindows, RandomSource& source,
                         QWidget* parent)
    : QWidget(parent), memory_(memory), readCaseWindows_(std::move(readCaseWindows)), source_(source)
{
    setObjectName(QStringLiteral("frmstampa"));
    setUpFixedWindow(*this, FrameKind::Single, QStringLiteral("Stampa"), clientTwips);
}

void PrintWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!std::exchange(loaded_, true))
        onLoad();
}

void PrintWindow::onLoad()
{
    centreOnScreen(*this);
}

}  // namespace ripartino
