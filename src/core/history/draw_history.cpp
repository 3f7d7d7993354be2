#include "history/draw_history.h"

#include "history/draw_line_reader.h"
#include "io/text_codec.h"
#include "store/history_table.h"
#include "store/sqlite_database.h"
#include "store/store.h"

#include <optional>
#include <utility>

namespace qeltaro {
namespace {

// A file of garbage would make a message of megabytes; the first lines say enough.
QString firstLines(QStringList lines)
{
    const qsizetype total = lines.size();
    if (total > DrawHistory::kListedProblemLines) {
        lines.resize(DrawHistory::kListedProblemLines);
        lines << QStringLiteral("……另有%1行").arg(total - DrawHistory::kListedProblemLines);
    }
    return lines.join(u'\n');
}

}  // namespace

Result<DrawRecord> DrawHistory::add(const QString& periodText, const QString& digitsText,
                                    const std::optional<QDate>& drawDate)
{
    const Game& game = store_.game();
    QString error;
    auto period = PeriodNumber::parse(periodText, game, &error);
    if (!period)
        return badInput(error);
    if (drawDate && !(period = period->dated(*drawDate, game, &error)))
        return badInput(error);
    if (!drawDate && game.numbering == Numbering::Year)
        return badInput(QStringLiteral("按年编号的彩种需要开奖日期：第%1期没有添加").arg(period->text(game)));
    const auto digits = parseDigits(digitsText, &error);
    if (!digits)
        return badInput(error);
    auto exists = HistoryTable(store_).contains(period->text(game));
    if (!exists)
        return exists.error();
    if (*exists)
        return badInput(QStringLiteral("第%1期已经在历史号码中，没有重复添加").arg(period->text(game)));
    auto report = store({NewDraw{*period, *digits}});
    if (!report)
        return report.error();
    auto stored = HistoryTable(store_).find(period->text(game));
    if (!stored)
        return stored.error();
    return **stored;
}

Result<StoreReport> DrawHistory::importText(const QString& text, TextSource source)
{
    const bool fromFile = source == TextSource::File;
    const QString place = fromFile ? QStringLiteral("文件") : QStringLiteral("剪贴板");
    const Game& game = store_.game();
    const DrawLineReader reader(game);
    std::vector<NewDraw> draws;
    std::map<QString, NewDraw> seen;
    QStringList problems;
    bool firstLine = true;
    const QStringList lines = splitLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.trimmed().isEmpty())
            continue;
        const bool mayBeHeading = std::exchange(firstLine, false);
        QString error;
        const auto draw = reader.read(line, &error);
        if (!draw && mayBeHeading && DrawLineReader::isHeading(line))
            continue;
        if (draw) {
            const QString period = draw->period.text(game);
            if (auto it = seen.find(period); it != seen.end() && it->second.digits != draw->digits)
                error = QStringLiteral("第%1期在%2中出现两次且号码不同").arg(period, place);
            else if (it != seen.end() && it->second.period.date != draw->period.date)
                error = QStringLiteral("第%1期在%2中出现两次且开奖日期不同").arg(period, place);
        }
        if (!error.isEmpty()) {
            problems << QStringLiteral("第%1行：%2").arg(i + 1).arg(error);
            continue;
        }
        if (seen.emplace(draw->period.text(game), *draw).second)
            draws.push_back(*draw);
    }
    if (!problems.isEmpty())
        return badInput(QStringLiteral("%1有%2行无法识别，没有导入任何号码：\n%3")
                            .arg(fromFile ? QStringLiteral("历史号码文件") : QStringLiteral("剪贴板中的历史号码"))
                            .arg(problems.size())
                            .arg(firstLines(problems)));
    return store(std::move(draws));
}

Result<StoreReport> DrawHistory::importFile(const QString& path)
{
    auto bytes = readFileBytes(path);
    if (!bytes)
        return bytes.error();
    return importText(decodeText(*bytes));
}

Result<StoreReport> DrawHistory::store(std::vector<NewDraw> draws)
{
    return storeDraws(std::move(draws), false);
}

Result<StoreReport> DrawHistory::replaceAll(std::vector<NewDraw> draws)
{
    return storeDraws(std::move(draws), true);
}

Result<StoreReport> DrawHistory::storeDraws(std::vector<NewDraw> draws, bool replace)
{
    const Game& game = store_.game();
    HistoryTable history(store_);
    using Stored = std::vector<std::pair<QString, Digits>>;
    auto existing = replace ? Result<Stored>(Stored{}) : history.allDigits();
    if (!existing)
        return existing.error();

    // The whole history in period order, stored and new, with a flag for the new ones.
    struct Entry {
        Digits digits;
        std::optional<PeriodNumber> number;  // new draws only: stored ones keep their columns
    };
    std::map<QString, Entry> merged;
    for (const auto& [period, digits] : *existing)
        merged.emplace(period, Entry{digits, std::nullopt});

    StoreReport report;
    QStringList conflicts;
    for (const NewDraw& draw : draws) {
        const QString period = draw.period.text(game);
        auto [it, inserted] = merged.emplace(period, Entry{draw.digits, draw.period});
        if (inserted)
            continue;
        if (it->second.digits == draw.digits)
            ++report.skipped;
        else
            conflicts << QStringLiteral("第%1期已存为%2，新号码为%3")
                             .arg(period, digitsText(it->second.digits), digitsText(draw.digits));
    }
    if (!conflicts.isEmpty())
        return badInput(QStringLiteral("%1期已经存在且号码不同，没有导入任何号码：\n%2")
                            .arg(conflicts.size())
                            .arg(firstLines(conflicts)));

    Transaction transaction(store_.database());
    if (!transaction.begun())
        return transaction.begun().error();
    if (replace) {
        if (Status s = history.removeAll(); !s)
            return s.error();
    }
    std::optional<Digits> previous;
    bool previousIsNew = false;
    for (const auto& [period, entry] : merged) {
        if (entry.number) {
            if (Status s = history.insert(deriveDrawRecord(*entry.number, entry.digits, previous, game)); !s)
                return s.error();
            ++report.stored;
        } else if (previousIsNew) {
            // A stored draw whose predecessor is new now compares with that draw.
            Status s = history.updateRepeats(period, sameDigitAtSamePosition(entry.digits, *previous),
                                             digitsFoundInPrevious(entry.digits, *previous));
            if (!s)
                return s.error();
        }
        previous = entry.digits;
        previousIsNew = entry.number.has_value();
    }
    if (Status s = transaction.commit(); !s)
        return s.error();
    return report;
}

Result<HistoryColumns> loadHistoryColumns(Store& store)
{
    auto rows = DrawHistory(store).draws();
    if (!rows)
        return rows.error();
    return HistoryColumns(*rows);
}

Result<std::vector<DrawRecord>> DrawHistory::draws() const
{
    return HistoryTable(store_).all();
}

Result<int> DrawHistory::count() const
{
    return HistoryTable(store_).count();
}

Result<QString> DrawHistory::nextPeriod(const QDate& today) const
{
    auto proposed = proposeNext(today);
    if (!proposed)
        return proposed.error();
    return proposed->period;
}

Result<ProposedDraw> DrawHistory::proposeNext(const QDate& today) const
{
    HistoryTable table(store_);
    auto last = table.last();
    if (!last)
        return last.error();
    const Game& game = store_.game();
    const bool byYear = game.numbering == Numbering::Year;
    if (!*last)
        return ProposedDraw{PeriodNumber::firstOfDay(today).text(game), byYear ? today : QDate()};
    if (!byYear) {
        const auto period = PeriodNumber::parse((*last)->period, game);
        if (!period)
            return ProposedDraw{PeriodNumber::firstOfDay(today).text(game), QDate()};
        return ProposedDraw{period->next(game).text(game), QDate()};
    }
    // The newest draw's day, until the draws of that day are all stored.
    const QDate newestDay = (*last)->drawDate();
    int sameDay = 1;
    for (QString period = (*last)->period; sameDay < game.drawsPerDay;) {
        auto earlier = table.before(period);
        if (!earlier)
            return earlier.error();
        if (!*earlier || (*earlier)->drawDate() != newestDay)
            break;
        period = (*earlier)->period;
        ++sameDay;
    }
    const QDate date = !newestDay.isValid() ? today : sameDay >= game.drawsPerDay ? newestDay.addDays(1) : newestDay;
    auto period = nextPeriodOn(date);
    if (!period)
        return period.error();
    return ProposedDraw{*period, date};
}

Result<QString> DrawHistory::nextPeriodOn(const QDate& date) const
{
    auto last = HistoryTable(store_).last();
    if (!last)
        return last.error();
    const Game& game = store_.game();
    if (!*last)
        return PeriodNumber::firstOfDay(date).text(game);
    const auto period = PeriodNumber::parse((*last)->period, game);
    if (!period || date.year() > period->date.year())
        return PeriodNumber::firstOfDay(date).text(game);
    return period->next(game).text(game);
}

}  // namespace qeltaro
