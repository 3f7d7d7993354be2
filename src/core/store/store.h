#pragma once
// The store: formula.db in the data folder, opened once and held for the program's life.

#include "common/result.h"
#include "domain/game.h"
#include "store/sqlite_database.h"
#include "store/store_backups.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

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
    // `keep`, when given, is never pushed out, whatever its age.
    Result<QString> backup(const QString& reason, const QString& keep = {});
    static constexpr int kKeptBackups = 10;
    QString backupFolder() const;
    // The copies under backups/, newest first, each with its counts.
    Result<std::vector<StoreBackup>> backups() const;
    // Makes the store hold what the copy at `path` holds, after keeping a copy of the store as
    // it is now (whose path is returned). The copy must read as a store; the game is read again
    // from what was restored. Nothing changes when any step fails.
    Result<QString> restore(const QString& path);

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
