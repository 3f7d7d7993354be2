#pragma once
// What the history grid's verification columns show for one formula: the digit the formula
// computes on every row and whether the digit predicted for a row (computed on the row before)
// was right. Shown "在下期" a row carries the digit predicted for its own draw, coloured by its
// own result, and the first row is blank; shown "在当期" a row carries the digit computed from
// its own draw, coloured by the next row's result, and the newest row is uncoloured.

#include <QString>

#include <cstdint>
#include <vector>

namespace qeltaro {

enum class VerificationMark { None, Hit, Miss };

struct VerificationCell {
    QString text;  // "7", "-3", or "" where the formula has no value
    VerificationMark mark = VerificationMark::None;
};

class FormulaVerification {
public:
    FormulaVerification() = default;
    FormulaVerification(std::vector<std::int8_t> digits, std::vector<std::uint8_t> hits)
        : digits_(std::move(digits)), hits_(std::move(hits))
    {
    }

    int rowCount() const { return int(digits_.size()); }
    // The digit computed on a row for the row after it (kNoDigit where there is no value).
    int computedDigit(int row) const { return digits_[size_t(row)]; }
    // Whether the digit predicted for a row was right; the first row has no prediction.
    bool hitAt(int row) const { return hits_[size_t(row)] != 0; }

    VerificationCell cell(int row, bool showOnCurrentRow) const;

private:
    std::vector<std::int8_t> digits_;
    std::vector<std::uint8_t> hits_;
};

// Header of the history grid's verification column of formula k (from 1): "公式k" up to 99,
// "式k" from 100 on.
QString verificationColumnHeader(int k);

}  // namespace qeltaro
