#include "store/schema.h"

#include "domain/category.h"
#include "domain/parameter_catalogue.h"
#include "store/sqlite_database.h"

namespace qeltaro {

const QStringList& historyValueColumns()
{
    static const QStringList columns = [] {
        QStringList list;
        for (int i = 1; i <= kParameterCount; ++i)
            list << parameterCode(i);
        return list;
    }();
    return columns;
}

QString formulaTableName(const Category& category)
{
    return QStringLiteral("Gongshi") + category.suffix();
}

namespace {

QString createHistoryTable()
{
    QString sql = QStringLiteral("CREATE TABLE IF NOT EXISTS Lishi (strQQH TEXT NOT NULL");
    for (const QString& column : historyValueColumns())
        sql += QStringLiteral(", %1 INTEGER").arg(column);
    // Working columns kept for files shared with older tools; the engine evaluates in memory.
    sql += QStringLiteral(", canshu REAL, PreCanshu REAL, GSCS INTEGER, GSZCS REAL, GSGL INTEGER)");
    return sql;
}

QString createFormulaTable(const Category& category)
{
    return QStringLiteral(
               "CREATE TABLE IF NOT EXISTS %1 (BolKill INTEGER NOT NULL, gongshi TEXT, gongshiCN TEXT, "
               "idx INTEGER, sglGsRate REAL, intGsErrCon INTEGER, intGsTrueCon INTEGER, "
               "intGsErrLst INTEGER, intGsTrueLst INTEGER)")
        .arg(formulaTableName(category));
}

QString createCountTable(const char* name)
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (num INTEGER, ETrrcount INTEGER, "
                          "Errcount INTEGER, Trrcount INTEGER)")
        .arg(QLatin1String(name));
}

// Names of every table and index ensureSchema creates, in lower case.
QStringList expectedObjects()
{
    QStringList names = {QStringLiteral("Lishi"), QStringLiteral("Lishi_strQQH"), QStringLiteral("Errarr"),
                         QStringLiteral("ErrarrLei")};
    for (const Category& category : Category::all())
        names << formulaTableName(category) << formulaTableName(category) + QStringLiteral("_kill_idx");
    for (QString& name : names)
        name = name.toLower();  // SQLite names ignore case
    return names;
}

Result<bool> isCurrent(Database& db, std::int64_t version)
{
    if (version != kSchemaVersion)
        return false;
    auto present = db.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'index')"));
    if (!present)
        return present.error();
    QStringList missing = expectedObjects();
    while (present->next())
        missing.removeAll(present->text(0).toLower());
    if (present->error())
        return *present->error();
    if (!missing.isEmpty())
        return false;
    auto errarrRows = db.scalar(QStringLiteral("SELECT count(*) FROM Errarr"));
    if (!errarrRows)
        return errarrRows.error();
    return errarrRows->value_or(0) > 0;
}

}  // namespace

Status ensureSchema(Database& db)
{
    auto version = db.scalar(QStringLiteral("PRAGMA user_version"));
    if (!version)
        return storageError(QStringLiteral("无法使用数据库文件 %1：%2").arg(db.path(), version.error().message));
    if (version->value_or(0) > kSchemaVersion)
        return storageError(QStringLiteral("%1 由更新版本的程序写入（格式版本%2），本程序只认识到版本%3，请使用新版本打开。")
                                .arg(db.path()).arg(version->value_or(0)).arg(kSchemaVersion));

    // A current store is only read: opening must work in a read-only folder, and must leave the
    // file byte for byte as it was.
    auto current = isCurrent(db, version->value_or(0));
    if (!current)
        return storageError(QStringLiteral("无法使用数据库文件 %1：%2").arg(db.path(), current.error().message));
    if (*current)
        return success();

    Transaction transaction(db);
    if (!transaction.begun())
        return transaction.begun();
    QStringList statements = {createHistoryTable(),
                              QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS Lishi_strQQH ON Lishi(strQQH)"),
                              createCountTable("Errarr"), createCountTable("ErrarrLei")};
    for (const Category& category : Category::all()) {
        statements << createFormulaTable(category);
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1_kill_idx ON %1(BolKill, idx)")
                          .arg(formulaTableName(category));
    }
    for (const QString& sql : statements) {
        if (Status s = db.exec(sql); !s)
            return s;
    }
    auto errarrRows = db.scalar(QStringLiteral("SELECT count(*) FROM Errarr"));
    if (!errarrRows)
        return errarrRows.error();
    if (errarrRows->value_or(0) == 0) {
        Status s = db.exec(QStringLiteral(
            "WITH RECURSIVE d(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM d WHERE n < 9) "
            "INSERT INTO Errarr (num, ETrrcount, Errcount, Trrcount) SELECT n, 0, 0, 0 FROM d"));
        if (!s)
            return s;
    }
    if (Status s = db.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion)); !s)
        return s;
    return transaction.commit();
}

}  // namespace qeltaro
