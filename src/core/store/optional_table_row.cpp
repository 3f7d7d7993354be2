#include "store/optional_table_row.h"

namespace qeltaro {

Result<std::optional<Statement>> optionalTableRow(Database& db, const QString& table, const QString& select)
{
    auto present = db.prepare(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = ?1"));
    if (!present)
        return present.error();
    present->bind(1, table);
    if (!present->next())
        return present->error() ? *present->error() : storageError(QStringLiteral("无法读取数据库的表"));
    if (present->integer(0) == 0)
        return std::optional<Statement>();
    auto row = db.prepare(select);
    if (!row)
        return row.error();
    if (!row->next()) {
        if (row->error())
            return *row->error();
        return std::optional<Statement>();
    }
    return std::optional<Statement>(std::move(*row));
}

}  // namespace qeltaro
