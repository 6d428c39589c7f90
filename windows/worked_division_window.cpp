#include "windows/worked_division_window.h"

#include <algorithm>
#include <cmath>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>

#include "ui/fixed_window.h"
#include "ui/look.h"

namespace ripartino {

namespace {

// Squares no smaller than this, at one device pixel to a pixel, keep the digits 28 pixels high.
constexpr int leastSquare = 40;
const QColor gridColour{188, 210, 236};
const QColor paperColour{255, 255, 255};

QFont digitFont(qreal square)
{
    QFont font = look::comicFont(12);
    font.setPixelSize(std::max(1, static_cast<int>(square)));
    return font;
}

}  // namespace

// The exercise book's page: one digit to a square, the numbers where the pupil writes them,
// the dividend's and quotient's separator on the line between two squares. Everything is
// measured in squares, and the squares grow with the window.
class SquaredPaper : public QWidget {
public:
    explicit SquaredPaper(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("paper"));
        setFocusPolicy(Qt::StrongFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        setFont(digitFont(leastSquare));
    }

    void setDivision(const WorkedDivision* worked, bool products, std::size_t steps, const std::string& separator)
    {
        worked_ = worked, products_ = products, steps_ = steps, separator_ = QString::fromStdString(separator);
        if (worked_)
            measure();
        updateGeometry();
        update();
    }

    QSize minimumSizeHint() const override { return QSize(columns_, rows_) * leastSquare; }
    QSize sizeHint() const override { return minimumSizeHint(); }
    // The side of a square as the paper stands now.
    qreal square() const { return std::floor(std::min(qreal(width()) / columns_, qreal(height()) / rows_)); }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        setFont(digitFont(square()));
    }
    void paintEvent(QPaintEvent*) override;

private:
    // What the text lines need, in squares of any size.
    int squaresFor(const QString& text) const
    {
        return static_cast<int>(std::ceil(QFontMetricsF(digitFont(leastSquare)).horizontalAdvance(text) / leastSquare));
    }
    QString multiplicationLine() const
    {
        const WorkedDivision& w = *worked_;
        return QStringLiteral("%1 : %2 = %3 : %4")
            .arg(QString::fromStdString(decimalText(w.dividend, separator_.toStdString())),
                 QString::fromStdString(decimalText(w.divisor, separator_.toStdString())),
                 QString::fromStdString(placeText(w.wholeDividend, separator_.toStdString())))
            .arg(w.wholeDivisor);
    }
    QString resultLine() const
    {
        const std::string separator = separator_.toStdString();
        return QStringLiteral("%1 : %2 = %3")
            .arg(QString::fromStdString(decimalText(worked_->dividend, separator)),
                 QString::fromStdString(decimalText(worked_->divisor, separator)),
                 QString::fromStdString(worked_->answer.text(separator)));
    }

    void measure()
    {
        const WorkedDivision& w = *worked_;
        const int steps = static_cast<int>(w.steps.size());
        lastColumn_ = std::max(static_cast<int>(w.digits.size()) - 1, w.steps.back().column);
        divisorAt_ = 1 + lastColumn_ + 2;
        quotientSquares_ = std::max<int>(QString::number(w.wholeDivisor).size(), steps);
        dividendRow_ = w.multiplied() ? 3 : 1;
        resultRow_ = dividendRow_ + (products_ ? 2 * steps : steps) + 2;
        rows_ = resultRow_ + 1;
        columns_ = std::max({divisorAt_ + quotientSquares_ + 2, squaresFor(resultLine()) + 2,
                             w.multiplied() ? squaresFor(multiplicationLine()) + 2 : 0});
    }

    const WorkedDivision* worked_ = nullptr;
    bool products_ = false;
    std::size_t steps_ = 0;
    QString separator_;
    int columns_ = 12, rows_ = 6, lastColumn_ = 0, divisorAt_ = 0, quotientSquares_ = 0, dividendRow_ = 0,
        resultRow_ = 0;
};

void SquaredPaper::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), paperColour);
    const qreal s = square();
    const QPointF origin((width() - s * columns_) / 2, (height() - s * rows_) / 2);
    painter.setPen(QPen(gridColour, 1));
    for (qreal x = std::fmod(origin.x(), s); x < width(); x += s)
        painter.drawLine(QPointF(x, 0), QPointF(x, height()));
    for (qreal y = std::fmod(origin.y(), s); y < height(); y += s)
        painter.drawLine(QPointF(0, y), QPointF(width(), y));
    if (!worked_)
        return;

    const WorkedDivision& w = *worked_;
    painter.setFont(digitFont(s));
    painter.setPen(QPen(look::inkBlue, std::max(2.0, s / 16)));
    const auto at = [&](qreal column, qreal row) { return origin + QPointF(column * s, row * s); };
    const auto digit = [&](int column, int row, QChar c) {
        painter.drawText(QRectF(at(column, row), QSizeF(s, s)), Qt::AlignCenter, QString(c));
    };
    // A separator on the line after square `column`.
    const auto comma = [&](int column, int row) {
        painter.drawText(QRectF(at(column + 0.75, row), QSizeF(s / 2, s)), Qt::AlignCenter, separator_);
    };
    // A number written from the right, its last digit in dividend column `last`.
    const auto number = [&](int last, int row, const QString& digits) {
        for (int i = 0; i < digits.size(); ++i)
            digit(1 + last - int(digits.size()) + 1 + i, row, digits[i]);
    };
    const auto text = [&](int row, const QString& line) {
        painter.drawText(QRectF(at(1, row), QSizeF(s * (columns_ - 1), s)), Qt::AlignLeft | Qt::AlignVCenter, line);
    };

    if (w.multiplied())
        text(1, multiplicationLine());
    number(static_cast<int>(w.digits.size()) - 1, dividendRow_, QString::fromStdString(w.digits));
    if (w.wholeDividend.decimals > 0)
        comma(w.wholeDigits, dividendRow_);
    painter.drawLine(at(divisorAt_, dividendRow_), at(divisorAt_, dividendRow_ + 2));
    painter.drawLine(at(divisorAt_, dividendRow_ + 1), at(divisorAt_ + quotientSquares_ + 1, dividendRow_ + 1));
    const QString divisor = QString::number(w.wholeDivisor);
    for (int i = 0; i < divisor.size(); ++i)
        digit(divisorAt_ + i, dividendRow_, divisor[i]);

    int row = dividendRow_;
    for (std::size_t i = 0; i < steps_; ++i) {
        const DivisionStep& step = w.steps[i];
        // The step just taken stands out from those before it.
        if (i + 1 == steps_)
            painter.setPen(QPen(look::darkRed, painter.pen().widthF()));
        digit(divisorAt_ + static_cast<int>(i), dividendRow_ + 1, QChar(u'0' + step.digit));
        if (products_) {
            number(step.column, ++row, QString::number(step.product));
            painter.drawLine(at(1 + step.column - step.width + 1, row + 1), at(2 + step.column, row + 1));
        }
        ++row;
        if (i + 1 < w.steps.size()) {
            const DivisionStep& next = w.steps[i + 1];
            number(next.column, row, QString::number(next.partial).rightJustified(next.width, u'0'));
        } else {
            number(step.column, row, QString::number(step.remainder));
        }
    }
    painter.setPen(QPen(look::inkBlue, painter.pen().widthF()));
    // The quotient's separator, once its first decimal digit is there or brought down.
    const std::string quotient = w.quotientText(steps_, ",");
    if (quotient.find(',') != std::string::npos)
        comma(divisorAt_ + w.wholeQuotientDigits - 1, dividendRow_ + 1);
    if (steps_ == w.steps.size())
        text(resultRow_, resultLine());
}

WorkedDivisionWindow::WorkedDivisionWindow(bool& products, std::string decimalSeparator, QWidget* over)
    : QWidget(over, Qt::Dialog), products_(products), separator_(std::move(decimalSeparator))
{
    setObjectName(QStringLiteral("workedDivisionWindow"));
    setWindowTitle(QStringLiteral("Divisione svolta"));
    setAttribute(Qt::WA_DeleteOnClose);
    look::paintBackground(*this, look::pink);

    paper_ = new SquaredPaper(this);
    auto* copyAction = new QAction(QStringLiteral("Copia"), paper_);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutVisibleInContextMenu(true);
    connect(copyAction, &QAction::triggered, this, &WorkedDivisionWindow::copy);
    paper_->addAction(copyAction);
    paper_->setContextMenuPolicy(Qt::ActionsContextMenu);

    const auto button = [this](const char* name, const char* caption) {
        auto* made = new QPushButton(QString::fromUtf8(caption), this);
        made->setObjectName(QLatin1String(name));
        made->setFont(look::comicFont(12));
        look::paintBackground(*made, look::lavender);
        return made;
    };
    previousButton_ = button("previousButton", "Indietro");
    nextButton_ = button("nextButton", "Avanti");
    allButton_ = button("allButton", "Tutta");
    productsBox_ = new QCheckBox(QStringLiteral("Con i &prodotti"), this);
    productsBox_->setObjectName(QStringLiteral("productsBox"));
    productsBox_->setFont(look::systemFont(9.75, true));
    productsBox_->setChecked(products_);
    QPushButton* closeButton = button("closeButton", "Chiudi");

    auto* controls = new QHBoxLayout;
    for (QWidget* each : std::initializer_list<QWidget*>{previousButton_, nextButton_, allButton_})
        controls->addWidget(each);
    controls->addStretch();
    controls->addWidget(productsBox_);
    controls->addStretch();
    controls->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(paper_, 1);
    layout->addLayout(controls);

    connect(previousButton_, &QPushButton::clicked, this, [this] { showSteps(shown_ - 1); });
    connect(nextButton_, &QPushButton::clicked, this, [this] { showSteps(shown_ + 1); });
    connect(allButton_, &QPushButton::clicked, this, [this] { showSteps(worked_ ? worked_->steps.size() : 0); });
    connect(productsBox_, &QCheckBox::toggled, this, [this](bool on) {
        products_ = on;
        showSteps(shown_);
    });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    // Before the buttons' own use of the arrows, which is to move the focus.
    for (const auto& [key, button] : {std::pair{Qt::Key_Right, nextButton_}, std::pair{Qt::Key_Left, previousButton_},
                                      std::pair{Qt::Key_End, allButton_}})
        connect(new QShortcut(key, this), &QShortcut::activated, button, &QPushButton::click);
    watchInput(*this);
    setTabOrder(paper_, previousButton_);
}

bool WorkedDivisionWindow::showLine(const QString& line)
{
    static const QRegularExpression exercise(QStringLiteral("^(\\S+) : (\\S+) = ?$"));
    const QRegularExpressionMatch parts = exercise.match(line);
    if (!parts.hasMatch())
        return false;
    const auto dividend = parseDecimal(parts.captured(1).toStdString(), separator_);
    const auto divisor = parseDecimal(parts.captured(2).toStdString(), separator_);
    auto worked = dividend && divisor ? workedDivision(*dividend, *divisor) : std::nullopt;
    if (!worked)
        return false;
    line_ = line;
    worked_ = std::move(worked);
    showSteps(0);
    nextButton_->setFocus();
    return true;
}

QString WorkedDivisionWindow::text() const
{
    return worked_ ? QString::fromStdString(workedDivisionText(*worked_, separator_, products_)) : QString();
}

void WorkedDivisionWindow::showSteps(std::size_t steps)
{
    const std::size_t all = worked_ ? worked_->steps.size() : 0;
    shown_ = std::min(steps, all);
    previousButton_->setEnabled(shown_ > 0);
    nextButton_->setEnabled(shown_ < all);
    allButton_->setEnabled(shown_ < all);
    paper_->setDivision(worked_ ? &*worked_ : nullptr, products_, shown_, separator_);
    // The grown drawing may want more room than the window has, and the screen than it shows.
    resize(size().expandedTo(sizeHint()));
    if (isVisible()) {
        const QRect room = screen()->availableGeometry();
        const QSize frame = size() + frameGeometry().size() - geometry().size();
        move(std::clamp(x(), room.left(), std::max(room.left(), room.right() + 1 - frame.width())),
             std::clamp(y(), room.top(), std::max(room.top(), room.bottom() + 1 - frame.height())));
    }

    QString said = QStringLiteral("Passo %1 di %2").arg(shown_).arg(all);
    if (shown_ > 0) {
        const DivisionStep& step = worked_->steps[shown_ - 1];
        said += QStringLiteral(": %1 : %2 = %3 resto %4")
                    .arg(step.partial)
                    .arg(worked_->wholeDivisor)
                    .arg(step.digit)
                    .arg(step.remainder);
    }
    paper_->setAccessibleName(windowTitle());
    paper_->setAccessibleDescription(text() + QLatin1Char('\n') + said);
    setAccessibleDescription(paper_->accessibleDescription());
    QAccessibleEvent changed(paper_, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void WorkedDivisionWindow::copy() const { QApplication::clipboard()->setText(text()); }

void WorkedDivisionWindow::keyPressEvent(QKeyEvent* event)
{
    // Space where no button or box takes it: on the paper.
    if (event->key() == Qt::Key_Space && nextButton_->isEnabled())
        nextButton_->click();
    else if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

}  // namespace ripartino
