#include <QAccessible>
#include <QLabel>

#include "windows/picture_box.h"
#include "support/windows_fixture.h"

namespace ripartino {
namespace {

QAccessibleInterface* accessible(QWidget* widget)
{
    QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(widget);
    EXPECT_NE(interface, nullptr) << widget->objectName().toStdString();
    return interface;
}

// What a screen reader finds among a window's children, by role.
QStringList childNames(QWidget* window, QAccessible::Role role)
{
    QStringList names;
    QAccessibleInterface* parent = accessible(window);
    for (int index = 0; index < parent->childCount(); ++index) {
        if (parent->child(index)->role() == role)
            names << parent->child(index)->text(QAccessible::Name);
    }
    return names;
}

// A button showing only a picture is read by the words of its tooltip, also where the
// tooltip is missing; a picture is read as an image, with what it shows.
TEST_F(WindowsTest, PictureButtonsReadAsTheirTooltipAndPicturesAreDescribed)
{
    std::vector<QWidget*> all{&windows.startWindow()};
    for (const DivisionCase divisionCase : allCases)
        all.push_back(&windows.caseWindow(divisionCase));
    all.push_back(&windows.printWindow());

    QSet<QString> descriptions;
    for (QWidget* window : all) {
        SCOPED_TRACE(window->objectName().toStdString());
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            SCOPED_TRACE(button->objectName().toStdString());
            QAccessibleInterface* interface = accessible(button);
            EXPECT_EQ(interface->role(), QAccessible::Button);
            EXPECT_FALSE(interface->text(QAccessible::Name).isEmpty());
            if (button->text().isEmpty() && !button->toolTip().isEmpty()) {
                EXPECT_EQ(interface->text(QAccessible::Name), button->toolTip());
            }
        }
        const QList<PictureBox*> pictures = window->findChildren<PictureBox*>();
        for (PictureBox* picture : pictures) {
            SCOPED_TRACE(picture->objectName().toStdString());
            QAccessibleInterface* interface = accessible(picture);
            EXPECT_EQ(interface->role(), QAccessible::Graphic);
            EXPECT_FALSE(interface->text(QAccessible::Name).isEmpty());
            const QString description = interface->text(QAccessible::Description);
            EXPECT_GE(description.split(QLatin1Char(' ')).size(), 5) << description.toStdString();
            descriptions.insert(description);
        }
        EXPECT_EQ(childNames(window, QAccessible::Graphic).size(), pictures.size());
    }
    EXPECT_EQ(descriptions.size(), 8) << "each picture described in its own words";

    EXPECT_EQ(accessible(control(&windows.startWindow(), "cmdesci"))->text(QAccessible::Name), QStringLiteral("Esci"));
    for (const DivisionCase divisionCase : allCases) {
        CaseWindow& window = windows.caseWindow(divisionCase);
        SCOPED_TRACE(window.objectName().toStdString());
        EXPECT_EQ(accessible(control(&window, "cmdstampa"))->text(QAccessible::Name), QStringLiteral("Stampa"));
        EXPECT_EQ(accessible(control(&window, "cmdvedi"))->text(QAccessible::Name),
                  QStringLiteral("Visualizza per copiare"));
        EXPECT_EQ(accessible(control(&window, "cmdfine"))->text(QAccessible::Name), QStringLiteral("Fine"));
        EXPECT_EQ(accessible(control(&window, "list"))->role(), QAccessible::List);
        EXPECT_EQ(accessible(control(&window, "txtris"))->role(), QAccessible::EditableText);
        EXPECT_FALSE(accessible(control(&window, "list"))->text(QAccessible::Name).isEmpty());
        EXPECT_FALSE(accessible(control(&window, "txtris"))->text(QAccessible::Name).isEmpty());
        EXPECT_NE(accessible(control(&window, "list"))->text(QAccessible::Name),
                  accessible(control(&window, "txtris"))->text(QAccessible::Name));
    }
}

// The case descriptions stand in labels, which the focus never reaches: the buttons carry them.
TEST_F(WindowsTest, CaseButtonsCarryTheDescriptionBesideThem)
{
    StartWindow& start = windows.startWindow();
    for (int n = 1; n <= 5; ++n) {
        const QByteArray button = "cmd" + QByteArray::number(n);
        const QByteArray label = "Label" + QByteArray::number(n);
        EXPECT_EQ(accessible(control(&start, button.constData()))->text(QAccessible::Description),
                  control<QLabel>(&start, label.constData())->text());
    }
}

}  // namespace
}  // namespace ripartino
