#pragma once
// The words that name the search's choices on the command line and in run records, each mapped
// to its value in one place, as kindName does for the kinds.

#include "search/candidate_generator.h"
#include "search/scheme_counts.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace qeltaro {

QString formName(FormulaForm form);  // "prefix" / "suffix"
std::optional<FormulaForm> formFromName(QStringView name);
QString countModeName(CountMode mode);  // "add" / "hold"
std::optional<CountMode> countModeFromName(QStringView name);

}  // namespace qeltaro
