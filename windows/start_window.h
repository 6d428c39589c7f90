#pragma once

#include <QWidget>

namespace ripartino {

// frminizio: the program's first window and its hub.
class StartWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartWindow(QWidget* parent = nullptr);
};

}  // namespace ripartino
