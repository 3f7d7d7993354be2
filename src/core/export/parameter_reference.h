#pragma once
// The parameter reference table: parameter kinds against positions, filled with the values the
// latest draw gives them, so the user sees what each parameter means and what it is worth now.

#include "domain/history_columns.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace qeltaro {

struct ParameterReferenceRow {
    QString label;
    std::array<QString, 6> cells;  // 万位, 千位, 百位, 十位, 个位, 总位; empty where none
};

// Column headers after the label column.
const QStringList& parameterReferenceHeaders();
// The 49 rows with the newest row's values; value cells stay empty for an empty history.
std::vector<ParameterReferenceRow> parameterReferenceRows(const HistoryColumns& history);

}  // namespace qeltaro
