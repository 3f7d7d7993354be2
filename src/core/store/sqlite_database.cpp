#include "store/sqlite_database.h"

#include <sqlite3.h>

#include <utility>

namespace qeltaro {
namespace {

// What an SQLite result code means for the user, in plain words; empty for codes that need no
// explanation beyond SQLite's own message.
QString plainSqliteReason(int code)
{
    switch (code & 0xff) {
    case SQLITE_FULL: return QStringLiteral("磁盘已满，修改没有保存。请腾出磁盘空间后再试。");
    case SQLITE_READONLY: return QStringLiteral("数据文件夹或数据库文件是只读的，修改没有保存。");
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return QStringLiteral("数据库正被另一个程序使用，请关闭它或稍后再试。");
    case SQLITE_NOTADB: return QStringLiteral("这个文件不是本程序的数据库文件。");
    case SQLITE_CORRUPT: return QStringLiteral("数据库文件已损坏，请从 backups 文件夹中的备份恢复。");
    case SQLITE_CANTOPEN: return QStringLiteral("无法打开数据库文件，请检查数据文件夹是否存在、是否允许写入。");
    case SQLITE_IOERR: return QStringLiteral("读写磁盘失败，操作没有完成，修改没有保存。");
    case SQLITE_PERM:
    case SQLITE_AUTH: return QStringLiteral("没有访问数据库文件的权限。");
    case SQLITE_NOMEM: return QStringLiteral("内存不足，操作没有完成。");
    default: return {};
    }
}

// The plain reason first, then SQLite's own words for whoever reads the details.
QString withPlainWords(int code, const QString& details)
{
    const QString plain = plainSqliteReason(code);
    return plain.isEmpty() ? details : plain + u'\n' + details;
}

Error sqliteError(sqlite3* db, const QString& what)
{
    const QString reason = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no connection");
    const int code = db ? sqlite3_extended_errcode(db) : SQLITE_ERROR;
    return storageError(withPlainWords(code, QStringLiteral("数据库操作失败（%1）：%2").arg(what, reason)));
}

}  // namespace

Statement::Statement(Statement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), stmt_(std::exchange(other.stmt_, nullptr)),
      error_(std::move(other.error_))
{
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = std::exchange(other.db_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

Statement& Statement::bind(int index, std::int64_t value)
{
    sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

Statement& Statement::bind(int index, double value)
{
    sqlite3_bind_double(stmt_, index, value);
    return *this;
}

Statement& Statement::bind(int index, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::bindNull(int index)
{
    sqlite3_bind_null(stmt_, index);
    return *this;
}

bool Statement::next()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        error_ = sqliteError(db_, QString::fromUtf8(sqlite3_sql(stmt_)));
    return false;
}

Status Statement::run()
{
    const int rc = sqlite3_step(stmt_);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        Error e = sqliteError(db_, QString::fromUtf8(sqlite3_sql(stmt_)));
        sqlite3_reset(stmt_);
        return e;
    }
    sqlite3_reset(stmt_);
    return success();
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    error_.reset();
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::int64_t Statement::integer(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

double Statement::real(int column) const
{
    return sqlite3_column_double(stmt_, column);
}

QString Statement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(stmt_, column)) : QString();
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

Database::Database(Database&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), path_(std::move(other.path_))
{
}

Database& Database::operator=(Database&& other) noexcept
{
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

Database::~Database()
{
    close();
}

Result<Database> Database::open(const QString& path)
{
    return openWith(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

Result<Database> Database::openReadOnly(const QString& path)
{
    return openWith(path, SQLITE_OPEN_READONLY);
}

Result<Database> Database::openWith(const QString& path, int flags)
{
    Database db;
    db.path_ = path;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db.db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        return storageError(withPlainWords(
            rc, QStringLiteral("无法打开数据库文件 %1：%2")
                    .arg(path, QString::fromUtf8(db.db_ ? sqlite3_errmsg(db.db_) : sqlite3_errstr(rc)))));
    }
    // Another instance holding the file briefly should not fail a command at once.
    sqlite3_busy_timeout(db.db_, 3000);
    sqlite3_extended_result_codes(db.db_, 1);
    return db;
}

Status Database::replaceContentFrom(Database& source)
{
    sqlite3_backup* copy = sqlite3_backup_init(db_, "main", source.db_, "main");
    if (!copy)
        return sqliteError(db_, QStringLiteral("恢复备份"));
    const int stepped = sqlite3_backup_step(copy, -1);
    const int finished = sqlite3_backup_finish(copy);
    if (stepped != SQLITE_DONE || finished != SQLITE_OK)
        return sqliteError(db_, QStringLiteral("恢复备份"));
    return success();
}

void Database::close()
{
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

Status Database::exec(const QString& sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString reason = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(message);
        return storageError(withPlainWords(rc, QStringLiteral("数据库操作失败（%1）：%2").arg(sql.left(200), reason)));
    }
    return success();
}

Result<Statement> Database::prepare(const QString& sql)
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
        Error e = sqliteError(db_, sql.left(200));
        sqlite3_finalize(stmt);
        return e;
    }
    return Statement(db_, stmt);
}

Result<std::optional<std::int64_t>> Database::scalar(const QString& sql)
{
    auto stmt = prepare(sql);
    if (!stmt)
        return stmt.error();
    if (stmt->next())
        return std::optional<std::int64_t>(stmt->integer(0));
    if (stmt->error())
        return *stmt->error();
    return std::optional<std::int64_t>();
}

QString Database::lastErrorMessage() const
{
    return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
}

std::int64_t Database::changes() const
{
    return sqlite3_changes64(db_);
}

Transaction::Transaction(Database& db) : db_(db), begun_(db.exec(QStringLiteral("BEGIN IMMEDIATE")))
{
    open_ = begun_.ok();
}

Transaction::~Transaction()
{
    if (open_)
        (void)db_.exec(QStringLiteral("ROLLBACK"));
}

Status Transaction::commit()
{
    if (!open_)
        return begun_.ok() ? storageError(QStringLiteral("事务已结束")) : begun_;
    Status s = db_.exec(QStringLiteral("COMMIT"));
    if (s)
        open_ = false;
    return s;
}

}  // namespace qeltaro
