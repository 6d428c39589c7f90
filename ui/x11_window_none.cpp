#include "ui/x11_window.h"

namespace ripartino::x11 {

const char* missingDisplay() { return nullptr; }

void hideFromTaskbar(QWidget&) {}

void keepAboveItsGroup(QWidget&) {}

std::optional<QMargins> frameExtents(QWidget&) { return std::nullopt; }

void requestFrameExtents(QWidget&, std::function<void()>) {}

}  // namespace ripartino::x11
