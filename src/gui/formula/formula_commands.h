#pragma once
// The formula library commands of the main window: typed formulas (Command1), formula text files
// (Command10), the online formula update (cmdGsgx), clearing every category (Command2), the
// deletes of the menu "管理" and the formula text exports (Command11, Command20).

#include <QObject>

namespace qeltaro::gui {

class MainWindow;

class FormulaCommands : public QObject {
    Q_OBJECT
public:
    explicit FormulaCommands(MainWindow& window);

    void addTyped();
    void importFile();
    void updateOnline();
    void clearAll();
    void deleteThis();
    void deleteLast();
    void deleteSelected();
    void deleteUnselected();
    void exportAllCategories();
    void exportSelectedCategory();

private:
    void deleteOne(bool flagsFollowFormulas);

    MainWindow& window_;
};

}  // namespace qeltaro::gui
