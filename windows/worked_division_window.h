#pragma once

#include <optional>

#include <QWidget>

#include "core/answers.h"

class QCheckBox;
class QPushButton;

namespace ripartino {

class SquaredPaper;

// One exercise's division worked out step by step on squared paper, as the exercise book
// has it, for the classroom board. It opens with nothing worked out; its text form (the
// clipboard's and the screen reader's) is always the whole division.
class WorkedDivisionWindow : public QWidget {
    Q_OBJECT
public:
    // `products` is the long form's check box, kept by whoever outlives this window.
    WorkedDivisionWindow(bool& products, std::string decimalSeparator, QWidget* over);

    // Shows the division of an exercise line "dividend : divisor = ", from its first step;
    // false, showing nothing new, when the line is not one.
    bool showLine(const QString& line);
    QString line() const { return line_; }
    std::size_t stepsShown() const { return shown_; }
    // The whole division as plain text, in the form shown.
    QString text() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showSteps(std::size_t steps);
    void copy() const;

    bool& products_;
    const std::string separator_;
    QString line_;
    std::optional<WorkedDivision> worked_;
    std::size_t shown_ = 0;
    SquaredPaper* paper_ = nullptr;
    QPushButton* previousButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* allButton_ = nullptr;
    QCheckBox* productsBox_ = nullptr;
};

}  // namespace ripartino
