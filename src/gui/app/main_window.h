#pragma once
// The main window: the history grid with the draw entry on the left, the formula list with the
// category selectors and the commands on the right. It shows what the session returns; the work
// of each menu and tool window lives in its own file.

#include "session/analysis_session.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabBar;
class QTableView;
class QTimer;

namespace qeltaro::gui {

class BackgroundTask;
class DrawEntry;
class FormulaCommands;
class HistoryCommands;
class FormulaListModel;
class HistoryGridModel;
class SettingsMenu;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(std::unique_ptr<AnalysisSession> session, QWidget* parent = nullptr);
    ~MainWindow() override;

    AnalysisSession& session() { return *session_; }

    // The refresh cycle: formula list, history grid (with the next period), back-test.
    void refresh();
    void reloadFormulaList();   // AddGongshi
    void reloadHistoryGrid();   // AddHaoma
    void showFormulaRows();     // the list's rows with the latest statistics
    void backtest();            // Yansuan
    void focusFirstDigit();
    // On a first start with an empty store: offer the bundled sample history and examples.
    void offerSampleOnFirstStart();
    // Opens the user guide at a section (empty: its start).
    void openGuide(const QString& section);
    // Refresh after a delete: the list keeps the selection flags the delete carried over.
    void refreshKeepingSelection();
    // Switches the selectors to a category and kind and runs the refresh cycle.
    void showList(const FormulaListKey& key);
    QLineEdit* formulaBox() const { return formulaBox_; }
    // The idx of the formula the last click or right click chose; 0 when none.
    int currentFormulaIdx() const;
    // Asks for a refresh at the next tick of the deferred-refresh timer.
    void requestRefresh() { refreshPending_ = true; }

    // The formula list row / history period that the last click or right click chose.
    int currentFormulaRow() const { return currentFormulaRow_; }
    QString selectedPeriod() const { return selectedPeriod_; }
    // Long work (online updates, searches, large exports) runs through this, one at a time.
    BackgroundTask& task() { return *task_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildHistoryPanel();
    QWidget* buildFormulaPanel();
    QWidget* buildCommandButtons();
    void buildMenus();
    void connectCommands();
    QPushButton* addButton(const char* name, const QString& caption);

    void selectPositions(int positions);
    void selectPlay(bool group);
    void storeTypedDraw(const QString& period, const QString& digits);
    void formulaListReleased(const QModelIndex& index, Qt::MouseButton button);
    void relistByColumn(int column);
    void historyGridReleased(const QModelIndex& index, Qt::MouseButton button);
    void scrollToEndIfLong(QTableView* view, int rows);

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
    QTimer* refreshTimer_ = nullptr;        // Timer2
    bool refreshPending_ = false;
    int currentFormulaRow_ = -1;
    QString selectedPeriod_;
};

}  // namespace qeltaro::gui
