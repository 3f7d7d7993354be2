#include "search/run_record.h"

#include "io/text_codec.h"
#include "search/search_category.h"
#include "search/search_words.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <limits>

namespace qeltaro {
namespace {

const QString kFormat = QStringLiteral("qeltaro-search-run");
constexpr int kVersion = 1;

QJsonArray thresholdsJson(const SearchThresholds& t)
{
    QJsonArray array;
    for (double v : t)
        array.append(std::isfinite(v) ? QJsonValue(v) : QJsonValue());  // null: not a number
    return array;
}

QString constantText(const TailConstant& constant)
{
    return constant.random ? QStringLiteral("random") : QString::number(constant.given);
}

QString suffixOfNumber(int number)
{
    return categoryOfSearchNumber(number)->suffix();
}

QJsonObject historyJson(const HistoryFingerprint& h)
{
    return {{QStringLiteral("first"), h.firstPeriod},
            {QStringLiteral("last"), h.lastPeriod},
            {QStringLiteral("rows"), h.rows},
            {QStringLiteral("sha256"), h.digest}};
}

QJsonArray foundJson(const std::vector<FoundFormula>& found)
{
    QJsonArray array;
    for (const FoundFormula& f : found) {
        array.append(QJsonObject{{QStringLiteral("category"), f.category.suffix()},
                                 {QStringLiteral("code"), f.code},
                                 {QStringLiteral("text"), f.text},
                                 {QStringLiteral("candidate"), QString::number(f.ordinal)}});
    }
    return array;
}

QJsonObject commonJson(const QString& type, std::uint64_t seed, Kind kind, const SearchWindow& window,
                       const TailConstant& constant, FormulaForm form, const HistoryFingerprint& history,
                       const QDateTime& started, int threads)
{
    return {{QStringLiteral("format"), kFormat},
            {QStringLiteral("version"), kVersion},
            {QStringLiteral("type"), type},
            {QStringLiteral("started"), started.toString(Qt::ISODateWithMs)},
            {QStringLiteral("seed"), QString::number(seed)},
            {QStringLiteral("threads"), threads},
            {QStringLiteral("history"), historyJson(history)},
            {QStringLiteral("kind"), kindName(kind)},
            {QStringLiteral("window"), window.periodWindow},
            {QStringLiteral("weighted"), window.weightedRate},
            {QStringLiteral("constant"), constantText(constant)},
            {QStringLiteral("form"), formName(form)}};
}

QJsonArray countsJson(const std::vector<std::uint64_t>& counts)
{
    QJsonArray array;
    for (std::uint64_t n : counts)
        array.append(QString::number(n));
    return array;
}

// The checks beside the run: the held-out periods change what is screened, so a replay needs
// them; the control's counts are for the reader.
void addChecks(QJsonObject& record, int holdoutPeriods, const std::optional<ShuffledControl>& control)
{
    record.insert(QStringLiteral("holdout"), holdoutPeriods);
    record.insert(QStringLiteral("shuffled_control"), control.has_value());
    if (control) {
        record.insert(QStringLiteral("control"),
                      QJsonObject{{QStringLiteral("real_passes"), QString::number(control->realPasses)},
                                  {QStringLiteral("shuffled_passes"), QString::number(control->shuffledPasses)},
                                  {QStringLiteral("passes_by_copy"), countsJson(control->passesByCopy)},
                                  {QStringLiteral("verified_by_copy"), countsJson(control->verifiedByCopy)},
                                  {QStringLiteral("p_value"), control->pValue}});
    }
}

void addTotals(QJsonObject& record, std::uint64_t verified, const std::vector<FoundFormula>& found, double seconds,
               double perSecond, bool stopped)
{
    record.insert(QStringLiteral("verified"), QString::number(verified));
    record.insert(QStringLiteral("found_count"), qint64(found.size()));
    record.insert(QStringLiteral("duration_seconds"), seconds);
    record.insert(QStringLiteral("candidates_per_second"), std::round(perSecond));
    record.insert(QStringLiteral("stopped"), stopped);
    record.insert(QStringLiteral("found"), foundJson(found));
}

// Reading: every field checked, with the field named when it is missing or wrong.
class RecordReader {
public:
    RecordReader(const QJsonObject& object, const QString& path) : object_(object), path_(path) {}

    Error bad(const QString& field) const
    {
        return badInput(QStringLiteral("运行记录“%1”无效：字段 %2 缺失或不正确").arg(path_, field));
    }

    std::optional<QString> text(const QString& field) const
    {
        const QJsonValue v = object_.value(field);
        return v.isString() ? std::optional<QString>(v.toString()) : std::nullopt;
    }
    std::optional<std::uint64_t> bigNumber(const QString& field) const
    {
        bool ok = false;
        const std::uint64_t n = object_.value(field).toString().toULongLong(&ok);
        return ok ? std::optional<std::uint64_t>(n) : std::nullopt;
    }
    std::optional<long long> whole(const QJsonValue& v) const
    {
        if (!v.isDouble() || v.toDouble() != std::floor(v.toDouble()))
            return std::nullopt;
        return (long long)v.toDouble();
    }
    std::optional<long long> whole(const QString& field) const { return whole(object_.value(field)); }
    std::optional<bool> flag(const QString& field) const
    {
        const QJsonValue v = object_.value(field);
        return v.isBool() ? std::optional<bool>(v.toBool()) : std::nullopt;
    }
    std::optional<SearchThresholds> thresholds(const QJsonValue& v) const
    {
        const QJsonArray array = v.toArray();
        if (!v.isArray() || array.size() != kThresholdCount)
            return std::nullopt;
        SearchThresholds t{};
        for (int i = 0; i < kThresholdCount; ++i) {
            if (array[i].isNull())
                t[size_t(i)] = std::numeric_limits<double>::quiet_NaN();
            else if (array[i].isDouble())
                t[size_t(i)] = array[i].toDouble();
            else
                return std::nullopt;
        }
        return t;
    }

private:
    const QJsonObject& object_;
    QString path_;
};

std::optional<int> searchNumberOfSuffix(const QString& suffix)
{
    const auto category = Category::fromSuffix(suffix);
    return category ? std::optional<int>(searchNumberOf(*category)) : std::nullopt;
}

// What every run record holds about its candidates and their scoring.
struct RecordedRun {
    std::uint64_t seed = 0;
    Kind kind = Kind::Kill;
    SearchWindow window;
    TailConstant constant;
    FormulaForm form = FormulaForm::Suffix;
    int holdoutPeriods = 0;
    bool shuffledControl = false;
};

Result<RecordedRun> readRecordedRun(const RecordReader& read, const QJsonObject& object)
{
    RecordedRun run;
    const auto seed = read.bigNumber(QStringLiteral("seed"));
    if (!seed)
        return read.bad(QStringLiteral("seed"));
    run.seed = *seed;
    const auto kindText = read.text(QStringLiteral("kind"));
    const std::optional<Kind> kind = kindText ? kindFromName(*kindText) : std::nullopt;
    if (!kind)
        return read.bad(QStringLiteral("kind"));
    run.kind = *kind;
    const auto window = read.whole(QStringLiteral("window"));
    const auto weighted = read.flag(QStringLiteral("weighted"));
    if (!window || *window < 0)
        return read.bad(QStringLiteral("window"));
    if (!weighted)
        return read.bad(QStringLiteral("weighted"));
    run.window = {int(*window), *weighted};
    const auto constantValue = read.text(QStringLiteral("constant"));
    if (constantValue == QStringLiteral("random")) {
        run.constant = TailConstant::randomDigit();
    } else {
        bool ok = false;
        const int given = constantValue.value_or(QString()).toInt(&ok);
        if (!ok || given < -32768 || given > 32767)
            return read.bad(QStringLiteral("constant"));
        run.constant.given = given;
    }
    const auto formText = read.text(QStringLiteral("form"));
    const std::optional<FormulaForm> form = formText ? formFromName(*formText) : std::nullopt;
    if (!form)
        return read.bad(QStringLiteral("form"));
    run.form = *form;
    // Records written before the held-out check have neither field: no periods held out.
    const auto holdout = object.contains(QStringLiteral("holdout")) ? read.whole(QStringLiteral("holdout"))
                                                                     : std::optional<long long>(0);
    if (!holdout || *holdout < 0)
        return read.bad(QStringLiteral("holdout"));
    run.holdoutPeriods = int(*holdout);
    run.shuffledControl = read.flag(QStringLiteral("shuffled_control")).value_or(false);
    return run;
}

Result<SearchRequest> readSearchRequest(const RecordReader& read, const QJsonObject& object, const RecordedRun& run)
{
    const auto category = Category::fromSuffix(read.text(QStringLiteral("category")).value_or(QString()));
    if (!category)
        return read.bad(QStringLiteral("category"));
    const auto operands = read.whole(QStringLiteral("operands"));
    if (!operands || *operands < kMinOperandCount || *operands > kMaxOperandCount)
        return read.bad(QStringLiteral("operands"));
    const auto thresholds = read.thresholds(object.value(QStringLiteral("thresholds")));
    if (!thresholds)
        return read.bad(QStringLiteral("thresholds"));
    SearchRequest request;
    request.shape = {*category, run.kind, int(*operands), run.constant, run.form};
    request.thresholds = *thresholds;
    request.window = run.window;
    request.seed = run.seed;
    request.holdoutPeriods = run.holdoutPeriods;
    request.shuffledControl = run.shuffledControl;
    return request;
}

// One category's counts, operands and thresholds of a scheme record.
Status readSchemeCategory(const RecordReader& read, const QJsonObject& object, int number, SchemeRequest& request)
{
    const size_t i = size_t(number - 1);
    const QString key = suffixOfNumber(number);
    const QJsonValue wanted = object.value(QStringLiteral("wanted")).toObject().value(key);
    if (!wanted.isNull()) {
        const auto count = read.whole(wanted);
        if (!count)
            return read.bad(QStringLiteral("wanted.") + key);
        request.wanted[i] = *count;
    }
    const auto heldCount = read.whole(object.value(QStringLiteral("held")).toObject().value(key));
    const auto operandCount = read.whole(object.value(QStringLiteral("operands")).toObject().value(key));
    const auto thresholds = read.thresholds(object.value(QStringLiteral("thresholds")).toObject().value(key));
    if (!heldCount)
        return read.bad(QStringLiteral("held.") + key);
    if (!operandCount || *operandCount < kMinOperandCount || *operandCount > kMaxOperandCount)
        return read.bad(QStringLiteral("operands.") + key);
    if (!thresholds)
        return read.bad(QStringLiteral("thresholds.") + key);
    request.held[i] = *heldCount;
    request.operandCounts[i] = int(*operandCount);
    request.thresholds[i] = *thresholds;
    return success();
}

Result<SchemeRequest> readSchemeRequest(const RecordReader& read, const QJsonObject& object, const RecordedRun& run,
                                        const QString& path)
{
    SchemeRequest request;
    request.kind = run.kind;
    request.constant = run.constant;
    request.form = run.form;
    request.window = run.window;
    request.seed = run.seed;
    request.holdoutPeriods = run.holdoutPeriods;
    request.shuffledControl = run.shuffledControl;
    const auto modeText = read.text(QStringLiteral("mode"));
    const std::optional<CountMode> mode = modeText ? countModeFromName(*modeText) : std::nullopt;
    if (!mode)
        return read.bad(QStringLiteral("mode"));
    request.mode = *mode;
    for (int number : schemeOrder()) {
        if (Status s = readSchemeCategory(read, object, number, request); !s)
            return s.error();
    }
    int lastVisited = 0;
    for (const QJsonValue& v : object.value(QStringLiteral("categories")).toArray()) {
        const QJsonObject category = v.toObject();  // the reader holds a reference
        const RecordReader readCategory(category, path);
        const auto number = searchNumberOfSuffix(readCategory.text(QStringLiteral("category")).value_or(QString()));
        const auto categoryVerified = readCategory.bigNumber(QStringLiteral("verified"));
        if (!number || !categoryVerified)
            return read.bad(QStringLiteral("categories"));
        request.replayCandidates[*number] = *categoryVerified;
        lastVisited = *number;
    }
    if (!read.flag(QStringLiteral("completed")).value_or(false))
        request.stopAfter = lastVisited;
    return request;
}

}  // namespace

HistoryFingerprint fingerprintOf(const HistoryColumns& history)
{
    HistoryFingerprint f;
    f.rows = history.rowCount();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int r = 0; r < history.rowCount(); ++r) {
        QByteArray line = history.period(r).toLatin1();
        line += ' ';
        for (int p = 1; p <= 5; ++p)
            line += char('0' + history.digit(r, p));
        line += '\n';
        hash.addData(line);
    }
    f.digest = QString::fromLatin1(hash.result().toHex());
    if (f.rows > 0) {
        f.firstPeriod = history.period(0);
        f.lastPeriod = history.period(f.rows - 1);
    }
    return f;
}

QJsonObject searchRunRecord(const SearchRequest& request, const SearchOutcome& outcome,
                            const HistoryFingerprint& history, const QDateTime& started)
{
    QJsonObject record = commonJson(QStringLiteral("search"), request.seed, request.shape.kind, request.window,
                                    request.shape.constant, request.shape.form, history, started, outcome.threads);
    record.insert(QStringLiteral("category"), request.shape.category.suffix());
    record.insert(QStringLiteral("operands"), request.shape.operandCount);
    record.insert(QStringLiteral("thresholds"), thresholdsJson(request.thresholds));
    record.insert(QStringLiteral("stop_count"), request.stopCount ? QJsonValue(qint64(*request.stopCount)) : QJsonValue());
    record.insert(QStringLiteral("already_found"), qint64(request.alreadyFound));
    record.insert(QStringLiteral("max_candidates"),
                  request.maxCandidates ? QJsonValue(QString::number(*request.maxCandidates)) : QJsonValue());
    addTotals(record, outcome.verified, outcome.found, outcome.seconds, outcome.candidatesPerSecond(), outcome.stopped);
    addChecks(record, request.holdoutPeriods, outcome.control);
    insertBestRates(record, outcome.best);
    return record;
}

QJsonObject schemeRunRecord(const SchemeRequest& request, const SchemeOutcome& outcome,
                            const HistoryFingerprint& history, const QDateTime& started)
{
    QJsonObject record = commonJson(QStringLiteral("scheme"), request.seed, request.kind, request.window,
                                    request.constant, request.form, history, started, outcome.threads);
    record.insert(QStringLiteral("mode"), countModeName(request.mode));
    QJsonObject wanted;
    QJsonObject held;
    QJsonObject operands;
    QJsonObject thresholds;
    for (int number : schemeOrder()) {
        const size_t i = size_t(number - 1);
        const QString key = suffixOfNumber(number);
        wanted.insert(key, request.wanted[i] ? QJsonValue(qint64(*request.wanted[i])) : QJsonValue());
        held.insert(key, qint64(request.held[i]));
        operands.insert(key, request.operandCounts[i]);
        thresholds.insert(key, thresholdsJson(request.thresholds[i]));
    }
    record.insert(QStringLiteral("wanted"), wanted);
    record.insert(QStringLiteral("held"), held);
    record.insert(QStringLiteral("operands"), operands);
    record.insert(QStringLiteral("thresholds"), thresholds);
    record.insert(QStringLiteral("max_candidates_per_category"),
                  request.maxCandidatesPerCategory ? QJsonValue(QString::number(*request.maxCandidatesPerCategory))
                                                   : QJsonValue());
    QJsonArray visited;
    for (const SchemeCategoryOutcome& c : outcome.visited) {
        static const char* const kEnds[] = {"skipped", "target", "limit", "stopped"};
        QJsonObject category{{QStringLiteral("category"), suffixOfNumber(c.number)},
                             {QStringLiteral("target"), c.target ? QJsonValue(qint64(*c.target)) : QJsonValue()},
                             {QStringLiteral("verified"), QString::number(c.verified)},
                             {QStringLiteral("found"), qint64(c.found)},
                             {QStringLiteral("end"), QString::fromLatin1(kEnds[int(c.end)])}};
        insertBestRates(category, c.best);
        visited.append(category);
    }
    record.insert(QStringLiteral("categories"), visited);
    record.insert(QStringLiteral("completed"), outcome.completed);
    addChecks(record, request.holdoutPeriods, outcome.control);
    addTotals(record, outcome.verified(), outcome.found, outcome.seconds, outcome.candidatesPerSecond(),
              outcome.stopped);
    return record;
}

Result<QString> writeRunRecord(const QString& dataDir, const QJsonObject& record)
{
    const QString folder = dataDir + u'/' + QString::fromLatin1(kRunRecordFolder);
    if (!QDir().mkpath(folder))
        return storageError(QStringLiteral("无法创建文件夹 %1").arg(folder));
    QString what = record.value(QStringLiteral("type")).toString();
    if (record.contains(QStringLiteral("category")))
        what = record.value(QStringLiteral("category")).toString();
    what += u'-' + record.value(QStringLiteral("kind")).toString();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString path = QStringLiteral("%1/%2-%3.json").arg(folder, stamp, what);
    for (int n = 2; QFile::exists(path); ++n)
        path = QStringLiteral("%1/%2-%3-%4.json").arg(folder, stamp, what).arg(n);
    if (Status s = writeFileAtomically(path, QJsonDocument(record).toJson(QJsonDocument::Indented)); !s)
        return s.error();
    return path;
}

std::vector<FoundCode> foundCodes(const std::vector<FoundFormula>& found)
{
    std::vector<FoundCode> codes;
    for (const FoundFormula& f : found)
        codes.push_back({f.category.suffix(), f.code, f.text});
    return codes;
}

Result<RunReplay> readRunRecord(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return storageError(QStringLiteral("无法读取运行记录“%1”：%2").arg(path, file.errorString()));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject())
        return badInput(QStringLiteral("运行记录“%1”不是有效的JSON：%2").arg(path, parseError.errorString()));
    const QJsonObject object = doc.object();
    const RecordReader read(object, path);
    if (read.text(QStringLiteral("format")) != kFormat || read.whole(QStringLiteral("version")) != kVersion)
        return badInput(QStringLiteral("“%1”不是本程序的搜索运行记录").arg(path));

    RunReplay replay;
    const QJsonObject history = object.value(QStringLiteral("history")).toObject();
    const RecordReader readHistory(history, path);
    const auto rows = readHistory.whole(QStringLiteral("rows"));
    const auto digest = readHistory.text(QStringLiteral("sha256"));
    if (!rows || !digest)
        return read.bad(QStringLiteral("history"));
    replay.history = {readHistory.text(QStringLiteral("first")).value_or(QString()),
                      readHistory.text(QStringLiteral("last")).value_or(QString()), int(*rows), *digest};

    const auto run = readRecordedRun(read, object);
    if (!run)
        return run.error();
    const auto verified = read.bigNumber(QStringLiteral("verified"));
    if (!verified)
        return read.bad(QStringLiteral("verified"));
    replay.verified = *verified;
    for (const QJsonValue& v : object.value(QStringLiteral("found")).toArray()) {
        const QJsonObject f = v.toObject();
        replay.found.push_back({f.value(QStringLiteral("category")).toString(), f.value(QStringLiteral("code")).toString(),
                                f.value(QStringLiteral("text")).toString()});
    }

    const auto type = read.text(QStringLiteral("type"));
    if (type == QStringLiteral("search")) {
        auto request = readSearchRequest(read, object, *run);
        if (!request)
            return request.error();
        // Exactly the candidates the run verified; its stop count ended it at the same place.
        request->maxCandidates = *verified;
        replay.request = *request;
        return replay;
    }
    if (type != QStringLiteral("scheme"))
        return read.bad(QStringLiteral("type"));
    auto request = readSchemeRequest(read, object, *run, path);
    if (!request)
        return request.error();
    replay.request = *request;
    return replay;
}

}  // namespace qeltaro
