#pragma once
// The formula library commands of the main window: typed formulas (Command1), formula text files
// (Command10), the online formula update (cmdGsgx), clearing every category (Command2), the
// deletes of the menu "管理" and the formula text exports (Command11, Command20).

#include <QObject>

namespace qeltaro::gui {

class ListCommandsHost;

class FormulaCommands : public QObject {
    Q_OBJECT
public:
    explicit FormulaCommands(ListCommandsHost& host);

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
    // The selected formulas of the list, or the unselected ones, after asking.
    void deleteByFlag(bool selected);
    // Every category's formulas of the kind shown, or the list shown.
    void exportText(bool allCategories);

    ListCommandsHost& host_;
};

}  // namespace qeltaro::gui
