#pragma once
// frmZoushi "号码走势图": the trend chart of each position and of the last three positions, the
// chosen number of newest draws with every omission and the statistics below, the chance of
// every current omission, and the current long runs (长龙) beside it with theirs. It follows the
// session's history as draws are typed, imported, downloaded or deleted.

#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QSplitter;
class QTabBar;
class QTableView;
class QTableWidget;

namespace qeltaro::gui {

class TrendGridModel;
class WindowHost;

class TrendWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrendWindow(WindowHost& host, QWidget* parent = nullptr);
    // The host's one trend window, opened or brought to the front.
    static void open(WindowHost& host);

    const TrendGridModel* gridModel() const { return model_; }

private:
    QWidget* buildStreakPanel();
    // The newest draws chosen; nullopt for all of them.
    std::optional<int> chosenPeriods() const;
    void showPage();
    void showStreaks();
    void fitColumns();
    void exportWorkbook();

    WindowHost& host_;
    QTabBar* tabs_ = nullptr;
    QComboBox* periodsBox_ = nullptr;
    QTableView* grid_ = nullptr;
    TrendGridModel* model_ = nullptr;
    QTableWidget* streakGrid_ = nullptr;
    QSplitter* chartArea_ = nullptr;
};

}  // namespace qeltaro::gui
