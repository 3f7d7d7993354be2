#pragma once
// The one row of a table that only some stores hold (the game, its schedule, the prize table).

#include "common/result.h"
#include "store/sqlite_database.h"

#include <QString>

#include <optional>

namespace qeltaro {

// `select` run over `table`, stepped to its first row; nullopt when the store lacks the table or
// the table is empty.
Result<std::optional<Statement>> optionalTableRow(Database& db, const QString& table, const QString& select);

}  // namespace qeltaro
