#pragma once
// The store: formula.db in the data folder, opened once and held for the program's life.

#include "common/result.h"
#include "domain/game.h"
#include "store/sqlite_database.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace qeltaro {

inline constexpr const char* kStoreFileName = "formula.db";

class Store {
public:
    // Creates the folder and the file with every table when they are missing.
    static Result<std::unique_ptr<Store>> open(const QString& dataDir);

    Database& database() { return db_; }
    const QString& dataDir() const { return dataDir_; }
    QString filePath() const;

    // The game the store serves, read once when opened.
    const Game& game() const { return game_; }
    // Makes the store serve another game. Refused, changing nothing, when the game cannot be
    // served or the store holds draws: stored periods and derived columns follow the old game.
    Status setGame(const Game& game);

    // Rewrites the file to reclaim space. SQLite rewrites through its journal, so the file is
    // either the old one or the compacted one, never missing.
    Status compact();

    // A consistent copy of the whole store under backups/ in the data folder, kept before
    // destructive commands. Returns the copy's path. The newest kKeptBackups copies are kept.
    Result<QString> backup(const QString& reason);
    static constexpr int kKeptBackups = 10;

    // Bumped by every change of the history, so cached column arrays know when to reload.
    std::uint64_t historyRevision() const { return historyRevision_; }
    void markHistoryChanged() { ++historyRevision_; }

private:
    Store() = default;

    Database db_;
    QString dataDir_;
    Game game_;
    std::uint64_t historyRevision_ = 1;
};

}  // namespace qeltaro
