#pragma once
// What the main window works on: the store, the settings and their mirror, the current category
// and kind, the formula list with its selection and statistics, and the history. The refresh
// cycle lives here so the window only shows what it returns, and tests can drive it without a
// window.

#include "backtest/backtest_engine.h"
#include "backtest/formula_list.h"
#include "backtest/formula_stats_table.h"
#include "common/result.h"
#include "domain/category.h"
#include "domain/history_columns.h"
#include "domain/kind.h"
#include "language/formula_line.h"
#include "settings/settings.h"
#include "store/formula_table.h"
#include "store/store.h"

#include <QDate>
#include <QObject>

#include <memory>
#include <cstdint>
#include <optional>
#include <vector>

namespace qeltaro {

class AnalysisSession : public QObject {
    Q_OBJECT
public:
    static Result<std::unique_ptr<AnalysisSession>> open(const QString& dataDir, std::unique_ptr<Settings> settings);

    Store& store() { return *store_; }
    Settings& settings() { return *settings_; }
    SettingsMirror& mirror() { return mirror_; }
    const BacktestEngine& engine() const { return engine_; }

    // Current category: 一星 forces 直选; other position counts keep the play.
    const Category& category() const { return category_; }
    void setPositions(int positions);
    void setGroup(bool group);
    Kind kind() const { return kind_; }
    void setKind(Kind kind) { kind_ = kind; }
    FormulaTable formulaTable() { return FormulaTable(*store_, category_); }
    FormulaListKey listKey() const { return {category_, kind_}; }
    void showList(const FormulaListKey& key);

    // AddGongshi: the formulas of the current category and kind, every one selected, or, when
    // `keep` is given, each with the flag `keep` holds for its idx.
    Status reloadFormulas(const FormulaSelection* keep = nullptr);
    // AddHaoma: the history, and the period proposed for the next draw. Right after addDraw
    // stored the newest draw, the row it added is all that is new, and nothing is read again.
    Status reloadHistory();
    // Yansuan: every listed formula back-tested, statistics written back, idx renumbered.
    Status backtest();
    // The refresh cycle: the three steps above.
    Status refresh();

    FormulaList& formulaList() { return formulaList_; }
    const FormulaList& formulaList() const { return formulaList_; }
    FormulaSelection& selection() { return formulaList_.selection(); }
    std::vector<int> listedIdx() const { return formulaList_.idxs(); }
    const FormulaStatsTable& statistics() const { return statistics_; }
    // Verification columns (digits and hits on every row) of the listed formulas.
    std::vector<FormulaVerification> verification(int first, int count) const;

    const HistoryColumns& history() const { return history_; }
    std::optional<DrawRecord> latestDraw() const { return latest_; }
    const QString& proposedPeriod() const { return proposedPeriod_; }
    // Year-numbered games: the draw date proposed with that period (invalid otherwise).
    const QDate& proposedDate() const { return proposedDate_; }
    // Year-numbered games: the period a draw on `date` would take after the newest one.
    Result<QString> periodOn(const QDate& date) const;
    QString latestPeriod() const { return latest_ ? latest_->period : QString(); }

    // The day taken as today (the computer's date unless a test fixes it).
    QDate today() const { return fixedToday_.isValid() ? fixedToday_ : QDate::currentDate(); }
    void setToday(const QDate& day) { fixedToday_ = day; }

    // A typed draw; refused with a message for bad input. Year-numbered games need the draw's
    // date. The caller runs the refresh.
    Result<DrawRecord> addDraw(const QString& period, const QString& digits,
                               const std::optional<QDate>& drawDate = std::nullopt);

signals:
    // The held history changed (a draw added, removed, imported, downloaded or restored): every
    // window that shows draws or judges predictions by them follows it.
    void historyChanged();

private:
    std::unique_ptr<Store> store_;
    std::unique_ptr<Settings> settings_;
    SettingsMirror mirror_;
    BacktestEngine engine_;
    Category category_{1, false};
    Kind kind_ = Kind::Kill;
    FormulaList formulaList_;
    FormulaStatsTable statistics_;
    HistoryColumns history_;
    std::optional<DrawRecord> latest_;
    QString proposedPeriod_;
    QDate proposedDate_;
    // The store's history revision right after addDraw grew history_ by the draw it stored: the
    // next reload reads nothing while the revision has not moved since.
    std::optional<std::uint64_t> appendedAtRevision_;
    std::uint64_t heldRevision_ = 0;  // the store's history revision when history_ was last read
    QDate fixedToday_;
};

}  // namespace qeltaro
