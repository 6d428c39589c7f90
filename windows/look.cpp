#include "windows/look.h"

#include <QPalette>
#include <QWidget>

namespace {

// The windows name fonts of another desktop; these are the nearest Debian ones:
// Comic Neue is drawn after Comic Sans, Liberation Sans has Arial's metrics, and
// Liberation Sans is also the narrow plain sans that fits captions at 8.25 pt.
void installSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

QFont makeFont(const QString& family, qreal points, bool bold)
{
    QFont font(ripartino::look::fontFamily(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace

namespace ripartino::look {

QString fontFamily(const QString& face)
{
    static const bool substituted = (installSubstitutions(), true);
    Q_UNUSED(substituted);
    // Asked for by the substitute's own name: a family the system lacks would first send Qt
    // through fontconfig's fallback lists, a tenth of the work of starting up.
    return QFont::substitute(face);
}

QFont systemFont(qreal points, bool bold)
{
    return makeFont(QStringLiteral("MS Sans Serif"), points, bold);
}

QFont comicFont(qreal points)
{
    return makeFont(QStringLiteral("Comic Sans MS"), points, false);
}

QFont arialFont(qreal points, bool bold)
{
    return makeFont(QStringLiteral("Arial"), points, bold);
}

void paintBackground(QWidget& widget, const QColor& back, const QColor& text)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::Button, back);
    if (text.isValid()) {
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::ButtonText, text);
    }
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void setFieldColours(QWidget& widget, const QColor& base, const QColor& text)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Text, text);
    widget.setPalette(palette);
}

QIcon icon(const QString& path)
{
    return QIcon(path);
}

QIcon applicationIcon()
{
    return icon(QLatin1String(keypadIcon));
}

}  // namespace ripartino::look
