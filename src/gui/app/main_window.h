#pragma once
// The main window: the history grid with the draw entry on the left, the formula list with the
// category selectors and the commands on the right. It shows what the session returns; the work
// of each menu and tool window lives in its own file.

#include "gui/common/window_host.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <optional>

namespace qeltaro::gui {

class BackgroundTask;
class FormulaCommands;
class FormulaListView;
class FormulaPanel;
class HistoryCommands;
class HistoryPanel;
class ListExportCommands;
class SettingsMenu;
class ToolWindowCommands;
struct DataMenuItems;
struct FormulaListRow;
struct FormulaMenu;
struct HistoryMenu;

class MainWindow : public QMainWindow, public ListCommandsHost {
    Q_OBJECT
public:
    explicit MainWindow(std::unique_ptr<AnalysisSession> session, QWidget* parent = nullptr);
    ~MainWindow() override;

    QWidget* hostWidget() override { return this; }
    AnalysisSession& session() override { return *session_; }
    BackgroundTask& task() override { return *task_; }

    void refresh() override;
    void reloadFormulaList() override;   // AddGongshi
    void reloadHistoryGrid() override;   // AddHaoma
    void showFormulaRows();              // the list's rows with the latest statistics
    void backtest() override;            // Yansuan
    void focusFirstDigit() override;
    void storeReplaced() override;
    // On a first start with an empty store: offer the bundled sample history and examples.
    void offerSampleOnFirstStart();
    // Opens the user guide at a section (empty: its start).
    void openGuide(const QString& section);
    void refreshKeepingSelection() override;
    void showList(const FormulaListKey& key) override;
    QString typedFormula() const override;
    void takeTypedFormula() override;
    void focusTypedFormula() override;
    CalculationChoice calculationChoice() const;
    FormulaListView& formulaList() const;
    // The formula the last click or right click on the list chose, as the list shows it now;
    // nullptr when none was chosen or it is no longer shown (another category or kind, deleted,
    // renumbered to another formula). A re-sort keeps it.
    const FormulaListRow* chosenFormula() const;
    std::optional<int> chosenFormulaIdx() const override;
    void forgetChosenFormula() override { chosen_.reset(); }
    // Proposed after each history reload, or what the user typed.
    QString currentPeriod() const override;
    QString selectedPeriod() const override { return selectedPeriod_; }

signals:
    // The user chose another data folder to work on (切换数据文件夹... or a recent folder).
    void dataFolderChosen(const QString& folder);

protected:
    // The tool windows close first, so one holding work not yet kept can ask.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildStatusBar();
    void buildMenus();
    void listRecentFolders();
    void openGameDialog();
    // The title and the draw entry follow the store's game.
    void showGame();
    void connectPanels();
    void connectCommands();
    void connectListButtons();
    void exportFormulaList(ListExportCommands& exports);

    void chooseCategory(int positions, bool group);
    void storeTypedDraw(const QString& period, const QString& digits);
    void formulaReleased(int row, int column, Qt::MouseButton button);

    std::unique_ptr<AnalysisSession> session_;

    HistoryPanel* historyPanel_ = nullptr;
    FormulaPanel* formulaPanel_ = nullptr;
    SettingsMenu* settingsMenu_ = nullptr;  // mnuSetup
    std::unique_ptr<DataMenuItems> dataMenu_;
    std::unique_ptr<HistoryMenu> historyMenu_;
    std::unique_ptr<FormulaMenu> formulaMenu_;
    BackgroundTask* task_ = nullptr;
    HistoryCommands* historyCommands_ = nullptr;
    FormulaCommands* formulaCommands_ = nullptr;
    ToolWindowCommands* toolCommands_ = nullptr;
    // The chosen formula by what names it, not by its row: a re-sort or reload moves rows.
    struct ChosenFormula {
        FormulaListKey list;
        int idx = 0;
        QString code;
    };
    std::optional<ChosenFormula> chosen_;
    QString selectedPeriod_;
};

}  // namespace qeltaro::gui
