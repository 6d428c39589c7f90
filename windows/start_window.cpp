#include "windows/start_window.h"

namespace ripartino {

StartWindow::StartWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frminizio"));
    setWindowTitle(QStringLiteral("Ripartino"));
    setFixedSize(491, 442);
}

}  // namespace ripartino
