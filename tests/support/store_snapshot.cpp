#include "store_snapshot.h"

#include <QStringList>

namespace qeltaro::test {

QString storeSnapshot(Store& store)
{
    Database& db = store.database();
    QStringList out;
    QStringList tables;
    auto schema = db.prepare(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY type, name"));
    if (!schema)
        return QStringLiteral("error: ") + schema.error().message;
    while (schema->next()) {
        out << schema->text(0) + u' ' + schema->text(1) + u' ' + schema->text(2);
        if (schema->text(0) == u"table")
            tables << schema->text(1);
    }
    for (const QString& table : tables) {
        auto rows = db.prepare(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table));
        if (!rows)
            return QStringLiteral("error: ") + rows.error().message;
        while (rows->next()) {
            QStringList values;
            for (int c = 0; c < rows->columnCount(); ++c)
                values << (rows->isNull(c) ? QStringLiteral("NULL") : rows->text(c));
            out << table + u':' + values.join(u'|');
        }
    }
    return out.join(u'\n');
}

}  // namespace qeltaro::test
