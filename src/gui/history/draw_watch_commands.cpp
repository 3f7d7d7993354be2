#include "gui/history/draw_watch_commands.h"

#include "gui/common/dialogs.h"
#include "gui/common/online_address.h"
#include "gui/common/window_host.h"
#include "common/progress.h"
#include "io/web_address.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>

namespace qeltaro::gui {
namespace {

const QString kTitle = QStringLiteral("自动更新开奖");

class StopFlag : public Progress {
public:
    explicit StopFlag(std::shared_ptr<std::atomic<bool>> flag) : flag_(std::move(flag)) {}
    bool cancelled() const override { return flag_->load(); }

private:
    std::shared_ptr<std::atomic<bool>> flag_;
};

QString countdownText(qint64 seconds)
{
    if (seconds <= 0)
        return QStringLiteral("正在读取");
    return QStringLiteral("还有%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

}  // namespace

DrawWatchCommands::DrawWatchCommands(ListCommandsHost& host, QMenu* historyMenu, QStatusBar* statusBar,
                                     Calculations calculations, WatchClock* clock)
    : QObject(host.hostWidget()), host_(host), calculations_(std::move(calculations)),
      ownClock_(clock ? nullptr : std::make_unique<SystemClock>()), clock_(clock ? *clock : *ownClock_)
{
    setObjectName(QStringLiteral("drawWatchCommands"));
    historyMenu->addSeparator();
    watchAction_ = historyMenu->addAction(QStringLiteral("自动更新开奖(&W)"));
    watchAction_->setObjectName(QStringLiteral("mnuAutoWatch"));
    watchAction_->setCheckable(true);
    soundAction_ = historyMenu->addAction(QStringLiteral("新开奖时响铃(&S)"));
    soundAction_->setObjectName(QStringLiteral("mnuWatchSound"));
    soundAction_->setCheckable(true);
    Settings& settings = host_.session().settings();
    soundAction_->setChecked(watchSoundOn(settings));
    connect(soundAction_, &QAction::toggled, this, [this](bool on) { setWatchSound(host_.session().settings(), on); });
    connect(watchAction_, &QAction::triggered, this, [this](bool on) {
        setWatching(on);
        setAutoWatch(host_.session().settings(), watching());
    });

    statusLabel_ = new QLabel(statusBar);
    statusLabel_->setObjectName(QStringLiteral("lblWatch"));
    statusBar->addWidget(statusLabel_, 1);
    timer_ = new QTimer(this);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &DrawWatchCommands::tick);

    if (autoWatchOn(settings))
        setWatching(true);
}

DrawWatchCommands::~DrawWatchCommands()
{
    // A read still under way ends by itself and finds nobody to hand its pages to.
    if (stopFetch_)
        *stopFetch_ = true;
}

void DrawWatchCommands::setWatching(bool on)
{
    if (on == watching()) {
        watchAction_->setChecked(on);
        return;
    }
    if (!on) {
        if (stopFetch_)
            *stopFetch_ = true;
        stopFetch_.reset();
        cycleRunning_ = false;
        watcher_.reset();
        timer_->stop();
        watchAction_->setChecked(false);
        statusLabel_->clear();
        return;
    }
    AnalysisSession& session = host_.session();
    Settings& settings = session.settings();
    WatchOptions options;
    options.addresses = addressLines(settings.historyUrl());
    if (options.addresses.isEmpty() && host_.hostWidget()->isVisible()) {
        if (auto asked = onlineAddressOrAsk(host_.hostWidget(), settings, OnlineSource::History))
            options.addresses = addressLines(*asked);
    }
    options.timing = readWatchTiming(settings);
    options.searchDays = settings.read().searchDays;
    auto watcher = DrawWatcher::open(session.store(), std::move(options), clock_);
    if (!watcher) {
        watchAction_->setChecked(false);
        statusLabel_->setText(QStringLiteral("自动更新开奖没有打开：%1").arg(watcher.error().message));
        return;
    }
    watcher_ = std::move(*watcher);
    watchAction_->setChecked(true);
    lastResult_ = QStringLiteral("已打开");
    if (auto request = calculations_.last ? calculations_.last() : std::nullopt) {
        request->pastPeriod.reset();
        watcher_->setCalculation(request);
        handle(watcher_->start());
    }
    timer_->start();
    tick();
}

void DrawWatchCommands::tick()
{
    if (!watcher_)
        return;
    std::vector<WatchEvent> waiting;
    look_ = watcher_->nextLook(waiting);
    handle(waiting);
    if (!cycleRunning_ && clock_.now() >= look_.at)
        startCycle();
    showStatus();
}

void DrawWatchCommands::startCycle()
{
    cycleRunning_ = true;
    stopFetch_ = std::make_shared<std::atomic<bool>>(false);
    auto stop = stopFetch_;
    auto fetched = std::make_shared<WatchCycleFetch>();
    WatchCyclePlan plan = watcher_->planCycle();
    PageFetcher fetch = watcher_->fetcher();
    QThread* thread = QThread::create([plan = std::move(plan), fetch, stop, fetched] {
        StopFlag flag(stop);
        *fetched = fetchWatchCycle(plan, fetch, &flag);
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this, stop, fetched] {
        // A watch turned off (or on again) meanwhile has no use for these pages.
        if (stop->load() || stop != stopFetch_)
            return;
        finishCycle(std::move(*fetched));
    });
    thread->start();
}

void DrawWatchCommands::finishCycle(WatchCycleFetch fetched)
{
    cycleRunning_ = false;
    if (!watcher_)
        return;
    // The calculation made again is the player's latest, for the period now next.
    if (auto request = calculations_.last ? calculations_.last() : std::nullopt) {
        request->pastPeriod.reset();
        watcher_->setCalculation(request);
    }
    const int before = watcher_->drawsStored();
    const std::vector<WatchEvent> events = watcher_->applyCycle(std::move(fetched));
    if (watcher_->drawsStored() > before) {
        // As after a typed draw.
        host_.reloadHistoryGrid();
        host_.backtest();
    }
    if (events.empty())
        lastResult_ = QStringLiteral("%1 没有新开奖").arg(clock_.now().toString(QStringLiteral("HH:mm:ss")));
    handle(events);
    tick();
}

void DrawWatchCommands::handle(const std::vector<WatchEvent>& events)
{
    QString drawn;
    QStringList told;
    for (const WatchEvent& event : events) {
        switch (event.kind) {
        case WatchEvent::Kind::Waiting:
            continue;
        case WatchEvent::Kind::Draws:
            drawn = eventText(event);
            // Told with the digits when a calculation follows, alone otherwise.
            if (std::none_of(events.begin(), events.end(),
                             [](const WatchEvent& e) { return e.kind == WatchEvent::Kind::Calculation; }))
                notify(kTitle, drawn);
            break;
        case WatchEvent::Kind::Calculation:
            if (calculations_.show)
                calculations_.show(*event.run);
            notify(kTitle, drawn.isEmpty() ? eventText(event) : drawn + u'\n' + eventText(event));
            break;
        case WatchEvent::Kind::Conflict:
        case WatchEvent::Kind::Error:
            break;
        }
        told << eventText(event);
    }
    // The status bar always tells what the cycle brought: the draws and the digits after them.
    if (!told.isEmpty())
        lastResult_ = clock_.now().toString(QStringLiteral("HH:mm:ss ")) + told.join(QStringLiteral("；"));
    showStatus();
}

void DrawWatchCommands::notify(const QString& title, const QString& text)
{
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!tray_) {
            tray_ = new QSystemTrayIcon(QApplication::windowIcon(), this);
            tray_->setObjectName(QStringLiteral("watchTray"));
            tray_->show();
        }
        tray_->showMessage(title, text);
    }
    if (soundAction_->isChecked())
        QApplication::beep();
    emit notified(title, text);
}

QString DrawWatchCommands::statusText() const
{
    if (!watcher_)
        return {};
    const QDateTime now = clock_.now();
    QString next;
    if (look_.due.isValid()) {
        next = QStringLiteral("第%1期 %2开奖，%3")
                   .arg(look_.period, look_.due.toString(QStringLiteral("HH:mm")),
                        countdownText(now.secsTo(look_.due.isValid() && now < look_.due ? look_.due : look_.at)));
    } else {
        next = QStringLiteral("第%1期 下次读取 %2").arg(look_.period, look_.at.toString(QStringLiteral("HH:mm:ss")));
    }
    if (cycleRunning_)
        next += QStringLiteral("（正在读取网页）");
    return QStringLiteral("自动更新开奖：%1 | %2").arg(next, lastResult_);
}

void DrawWatchCommands::showStatus()
{
    statusLabel_->setText(statusText());
}

}  // namespace qeltaro::gui
