#pragma once
// 历史管理 → 自动更新开奖: while on, the window watches the results pages through the core's
// watcher. The status bar counts down to the next draw's due time (or the next look), new draws
// refresh the window as a typed draw does, the player's last calculation is made again for the
// new next period and recorded, and a notification tells the new draw and digits. Faults only
// show in the status bar. The pages are read on a thread of their own; the store is touched on
// the window's thread only.

#include "backtest/category_calculation.h"
#include "watch/draw_watcher.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QSystemTrayIcon;
class QTimer;

namespace qeltaro::gui {

class ListCommandsHost;

class DrawWatchCommands : public QObject {
    Q_OBJECT
public:
    struct Calculations {
        // The player's last next-period calculation, to make again after new draws.
        std::function<std::optional<CalculationRequest>()> last;
        // Shows a calculation the watch made as if the player had made it.
        std::function<void(const CalculationRun&)> show;
    };
    // Adds the two checked items to `historyMenu` and the watch's line to `statusBar`; starts the
    // watch when it was on when the window last closed. `clock` defaults to the computer's.
    DrawWatchCommands(ListCommandsHost& host, QMenu* historyMenu, QStatusBar* statusBar, Calculations calculations,
                      WatchClock* clock = nullptr);
    ~DrawWatchCommands() override;

    bool watching() const { return watcher_ != nullptr; }
    // Turns the watch on or off, as the menu item does.
    void setWatching(bool on);
    // Updates the countdown and starts a cycle when its time has come (the timer calls it each second).
    void tick();
    QString statusText() const;
    bool cycleRunning() const { return cycleRunning_; }

signals:
    // A notification was given: the new draw and the new digits.
    void notified(const QString& title, const QString& text);

private:
    void startCycle();
    void finishCycle(WatchCycleFetch fetched);
    void handle(const std::vector<WatchEvent>& events);
    void notify(const QString& title, const QString& text);
    void showStatus();

    ListCommandsHost& host_;
    Calculations calculations_;
    std::unique_ptr<WatchClock> ownClock_;
    WatchClock& clock_;
    std::unique_ptr<DrawWatcher> watcher_;
    QAction* watchAction_ = nullptr;
    QAction* soundAction_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QTimer* timer_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    DrawWatcher::NextLook look_;
    QString lastResult_;
    bool cycleRunning_ = false;
    std::shared_ptr<std::atomic<bool>> stopFetch_;
};

}  // namespace qeltaro::gui
