#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>

#include "support/windows_fixture.h"

namespace ripartino {
namespace {

// Every caption is whole on screen: labels wrap within their box and use no more lines than
// it holds, buttons and options show their caption without eliding, frames their title.
// Run at every device pixel ratio the tests are built for.
TEST_F(WindowsTest, EveryCaptionFitsItsControl)
{
    std::vector<QWidget*> all{&windows.startWindow()};
    for (const DivisionCase divisionCase : allCases)
        all.push_back(&windows.caseWindow(divisionCase));
    all.push_back(&windows.printWindow());

    for (QWidget* window : all) {
        SCOPED_TRACE(window->objectName().toStdString());
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            SCOPED_TRACE(label->objectName().toStdString());
            EXPECT_LE(label->heightForWidth(label->width()), label->height());
            // Wrapped or not, no word is wider than the box.
            for (const QString& word : label->text().split(QLatin1Char(' ')))
                EXPECT_LE(label->fontMetrics().horizontalAdvance(word), label->width()) << word.toStdString();
        }
        for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            if (button->text().isEmpty())
                continue;
            SCOPED_TRACE(button->objectName().toStdString());
            EXPECT_LE(button->fontMetrics().height(), button->height());
            const int captionWidth = button->fontMetrics().horizontalAdvance(button->text());
            const int indicator = qobject_cast<const QRadioButton*>(button)
                ? button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, button)
                : 0;
            EXPECT_LE(captionWidth + indicator, button->width());
        }
        for (const QGroupBox* frame : window->findChildren<QGroupBox*>()) {
            SCOPED_TRACE(frame->objectName().toStdString());
            EXPECT_LE(frame->fontMetrics().horizontalAdvance(frame->title()), frame->width());
        }
    }
}

}  // namespace
}  // namespace ripartino
