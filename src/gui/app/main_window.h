#pragma once

#include <QMainWindow>

namespace qeltaro::gui {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace qeltaro::gui
