#pragma once
// A thin RAII layer over SQLite's C API: one connection, prepared statements, transactions.
// Failures are reported as qeltaro::Error values, never as exceptions escaping to the caller.

#include "common/result.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace qeltaro {

class Statement {
public:
    Statement() = default;
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    // Parameters are numbered from 1, as in SQLite.
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, int value) { return bind(index, std::int64_t(value)); }
    Statement& bind(int index, bool value) { return bind(index, std::int64_t(value ? 1 : 0)); }
    Statement& bind(int index, double value);
    Statement& bind(int index, const QString& value);
    Statement& bindNull(int index);

    // Steps once: true while a row is available. Errors end the walk and are kept in error().
    bool next();
    // Runs a statement that returns no rows; resets it afterwards so it can be run again.
    Status run();
    void reset();

    bool isNull(int column) const;
    std::int64_t integer(int column) const;
    double real(int column) const;
    QString text(int column) const;
    int columnCount() const;
    QString columnName(int column) const;

    const std::optional<Error>& error() const { return error_; }

private:
    friend class Database;
    Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::optional<Error> error_;
};

class Database {
public:
    Database() = default;
    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    static Result<Database> open(const QString& path);
    // An existing file, only read: a backup being looked at or restored from.
    static Result<Database> openReadOnly(const QString& path);
    bool isOpen() const { return db_ != nullptr; }
    void close();
    const QString& path() const { return path_; }

    Status exec(const QString& sql);
    Result<Statement> prepare(const QString& sql);
    // A single integer from a query such as "SELECT count(*) FROM ..."; nullopt when no row.
    Result<std::optional<std::int64_t>> scalar(const QString& sql);

    // Replaces this database's whole content by `source`'s, page by page in one step of
    // SQLite's online backup: a failure leaves this database as it was.
    Status replaceContentFrom(Database& source);

    QString lastErrorMessage() const;
    std::int64_t changes() const;

private:
    static Result<Database> openWith(const QString& path, int flags);

    sqlite3* db_ = nullptr;
    QString path_;
};

// Begins on construction; rolls back on destruction unless commit() succeeded, so an early
// return or a failure leaves the file as it was.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    const Status& begun() const { return begun_; }
    Status commit();

private:
    Database& db_;
    Status begun_;
    bool open_ = false;
};

}  // namespace qeltaro
