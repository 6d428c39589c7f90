#pragma once

#include <QString>

namespace ripartino {

// The installed family that stands in for a face the windows and the sheets name
// ("Comic Sans MS", "Arial", "MS Sans Serif"). The one table of substitutes for both.
QString fontFamily(const QString& face);

}  // namespace ripartino
