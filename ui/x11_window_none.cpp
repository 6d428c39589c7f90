#include "ui/x11_window.h"

namespace ripartino::x11 {

const char* missingDisplay() { return nullptr; }

void hideFromTaskbar(QWidget&) {}

void keepAboveItsGroup(QWidget&) {}

std::optional<QMargins> frameExtents(QWidget&) { return std::nullopt; }

bool requestFrameExtents(QWidget&, std::function<void()>) { return false; }

}  // namespace ripartino::x11
