#pragma once
// The main window: the history grid with the draw entry on the left, the formula list with the
// category selectors and the commands on the right. It shows what the session returns; the work
// of each menu and tool window lives in its own file.

#include "gui/common/window_host.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabBar;
class QTableView;

namespace qeltaro::gui {

class BackgroundTask;
class DrawEntry;
class FormulaCommands;
class HistoryCommands;
class FormulaListModel;
class HistoryGridModel;
class SettingsMenu;
class TrendWindow;
struct FormulaListRow;

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
    QLineEdit* formulaBox() const override { return formulaBox_; }
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
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The tool windows close first, so one holding work not yet kept can ask.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildHistoryPanel();
    QWidget* buildFormulaPanel();
    QWidget* buildCommandButtons();
    void buildMenus();
    void buildDataMenuItems();
    void openGameDialog();
    // The title and the draw entry follow the store's game.
    void showGame();
    void connectCommands();

    void selectPositions(int positions);
    void selectPlay(bool group);
    void storeTypedDraw(const QString& period, const QString& digits);
    void formulaListReleased(const QModelIndex& index, Qt::MouseButton button);
    // The list's rows in the order of one column, up or down; the header shows it.
    void sortFormulaList(int column, Qt::SortOrder order);
    void historyGridReleased(const QModelIndex& index, Qt::MouseButton button);
    void fitFormulaColumns();
    // 号码走势图, from the 管理 menu and the button under the history grid; one at a time.
    void openTrendWindow();

    std::unique_ptr<AnalysisSession> session_;

    QTableView* historyGrid_ = nullptr;      // MSFlexGrid1
    QTableView* formulaGrid_ = nullptr;      // MSFlexGrid2
    HistoryGridModel* historyModel_ = nullptr;
    FormulaListModel* formulaModel_ = nullptr;
    std::array<QRadioButton*, 6> positionOptions_{};  // optXing(1..5)
    std::array<QRadioButton*, 2> playOptions_{};      // opTDG(0..1)
    std::array<QRadioButton*, 2> killOptions_{};      // Option2: 杀 / 生
    std::array<QRadioButton*, 2> periodModeOptions_{};  // Option5
    std::array<QRadioButton*, 2> methodOptions_{};      // Option6
    std::array<QLineEdit*, 5> digitBoxes_{};            // txtIpt(1..5)
    QLineEdit* nextPeriodBox_ = nullptr;    // Text1
    QLabel* drawDateLabel_ = nullptr;
    QDateEdit* drawDateBox_ = nullptr;      // year-numbered games only
    QLineEdit* formulaBox_ = nullptr;       // Text2
    QLineEdit* latestPeriodBox_ = nullptr;  // Text3
    QCheckBox* verificationBox_ = nullptr;  // Check1
    QScrollBar* formulaPager_ = nullptr;    // HScroll1
    QTabBar* textTabs_ = nullptr;           // TabStrip1
    QProgressBar* progress_ = nullptr;      // ProgressBar1
    QMenu* formulaMenu_ = nullptr;          // mnuMang
    QMenu* historyMenu_ = nullptr;          // mnuLsgl
    SettingsMenu* settingsMenu_ = nullptr;  // mnuSetup
    DrawEntry* drawEntry_ = nullptr;
    BackgroundTask* task_ = nullptr;
    HistoryCommands* historyCommands_ = nullptr;
    FormulaCommands* formulaCommands_ = nullptr;
    // The chosen formula by what names it, not by its row: a re-sort or reload moves rows.
    struct ChosenFormula {
        FormulaListKey list;
        int idx = 0;
        QString code;
    };
    std::optional<ChosenFormula> chosen_;
    std::optional<std::pair<int, Qt::SortOrder>> formulaSort_;
    QString selectedPeriod_;
    QPointer<TrendWindow> trendWindow_;
    QString proposedPeriod_;  // what the period box was last filled with
};

}  // namespace qeltaro::gui
