#pragma once
// The formulas a search kept, until they are saved: each with its code and Chinese text, the
// category it was found for and its statistics. Manual runs add to the unsaved formulas; a
// scheme run starts them afresh; a save empties them. The shown list (every Chinese text found
// while the list lives) is never emptied and is what the text export writes.

#include "backtest/holdout.h"
#include "domain/category.h"
#include "search/search_thresholds.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace qeltaro {

struct FoundFormula {
    QString code;  // gongshi
    QString text;  // gongshiCN
    Category category;
    CandidateStatistics stats;
    std::uint64_t ordinal = 0;  // the candidate's number in its run
    std::optional<HoldoutResult> holdout;  // on the periods held out of the search, when any were
};

class FoundFormulaList {
public:
    const std::vector<FoundFormula>& unsaved() const { return unsaved_; }
    long long unsavedCount() const { return (long long)unsaved_.size(); }
    const QStringList& shownTexts() const { return shown_; }
    // Whether the unsaved formulas come from a scheme run (it decides the save path).
    bool fromScheme() const { return fromScheme_; }

    void beginManualRun() { fromScheme_ = false; }
    void beginSchemeRun()
    {
        fromScheme_ = true;
        unsaved_.clear();
    }
    void add(const std::vector<FoundFormula>& found)
    {
        for (const FoundFormula& f : found) {
            unsaved_.push_back(f);
            shown_ << f.text;
        }
        exported_ = exported_ && found.empty();
    }
    void markSaved() { unsaved_.clear(); }
    // The text export writes every shown formula: until more are found, none would be lost.
    void markExported() { exported_ = true; }
    // Formulas found that neither a save nor an export has kept.
    bool unkept() const { return !unsaved_.empty() && !exported_; }

private:
    std::vector<FoundFormula> unsaved_;
    QStringList shown_;
    bool fromScheme_ = false;
    bool exported_ = false;
};

}  // namespace qeltaro
