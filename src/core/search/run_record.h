#pragma once
// A record of every search run, kept as JSON in the data folder's search-runs folder: the seed,
// the history it ran on (first and last period, rows, and a digest of every draw), the category,
// kind, thresholds and settings, how many candidates were verified and what was found, the
// running time and the speed. Reading a record back gives the request that repeats the run
// candidate for candidate; the history must be the same.

#include "common/result.h"
#include "domain/history_columns.h"
#include "search/scheme_run.h"
#include "search/search_run.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <variant>

namespace qeltaro {

struct HistoryFingerprint {
    QString firstPeriod;
    QString lastPeriod;
    int rows = 0;
    QString digest;  // SHA-256 of every period and its digits, hexadecimal

    friend bool operator==(const HistoryFingerprint&, const HistoryFingerprint&) = default;
};

HistoryFingerprint fingerprintOf(const HistoryColumns& history);

inline constexpr const char* kRunRecordFolder = "search-runs";

QJsonObject searchRunRecord(const SearchRequest& request, const SearchOutcome& outcome,
                            const HistoryFingerprint& history, const QDateTime& started);
QJsonObject schemeRunRecord(const SchemeRequest& request, const SchemeOutcome& outcome,
                            const HistoryFingerprint& history, const QDateTime& started);

// Writes the record as <data folder>/search-runs/<time>-<what>.json; returns the path.
Result<QString> writeRunRecord(const QString& dataDir, const QJsonObject& record);

struct FoundCode {
    QString category;  // "3D"
    QString code;
    QString text;

    friend bool operator==(const FoundCode&, const FoundCode&) = default;
};

// A record read back: the request that repeats the run (limited to exactly the candidates the
// run verified) and what the run found.
struct RunReplay {
    std::variant<SearchRequest, SchemeRequest> request;
    HistoryFingerprint history;
    std::uint64_t verified = 0;
    std::vector<FoundCode> found;
};

Result<RunReplay> readRunRecord(const QString& path);

std::vector<FoundCode> foundCodes(const std::vector<FoundFormula>& found);

}  // namespace qeltaro
