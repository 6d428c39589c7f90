#pragma once

#include <cstdio>

namespace ripartino {

class ProgramWindows;

// Writes where every control of every window stands, one line each:
// "window control left top width height", in pixels of the window's client area.
// Scripts that click through the windows (the screenshots) read it instead of copying numbers.
void dumpLayouts(ProgramWindows& windows, std::FILE* out);

}  // namespace ripartino
