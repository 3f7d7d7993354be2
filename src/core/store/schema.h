#pragma once
// The store's tables, with the historical table and column names other tools rely on.

#include "common/result.h"

#include <QString>
#include <QStringList>

namespace qeltaro {

class Database;
struct Category;

inline constexpr int kSchemaVersion = 1;

// Lishi's value columns in catalogue order (L1A..NFW), without strQQH and the working columns.
const QStringList& historyValueColumns();
// The table of a category's formulas: "Gongshi3D".
QString formulaTableName(const Category& category);

// Creates every missing table and the ten Errarr rows; refuses a file written by a newer
// version of the program and a file that is not a database.
Status ensureSchema(Database& db);

}  // namespace qeltaro
