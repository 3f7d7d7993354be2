#pragma once
// What a command answers: one report, which the printer writes either as lines of text or as the
// --json document. A report writes as it goes, so a long answer need not be held whole.

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qeltaro::cli {

// Lines on stdout, UTF-8; written in large pieces, all of them by the end of the report.
class TextOut {
public:
    explicit TextOut(std::FILE* out = stdout) : stream_(out) {}
    void line(const QString& text);
    void lines(const QStringList& texts);

private:
    QTextStream stream_;
};

// One compact JSON document written piece by piece, byte for byte what QJsonDocument::Compact
// writes for the whole value. Qt writes an object's members sorted by key, so members must come
// in ascending key order.
class JsonOut {
public:
    explicit JsonOut(std::FILE* out = stdout);
    ~JsonOut() { flush(); }
    JsonOut(const JsonOut&) = delete;
    JsonOut& operator=(const JsonOut&) = delete;

    void value(const QJsonValue& value);  // a whole value: a number, a row object, a short array
    // Scalars written directly, for long lists of rows: what Qt writes for the same QJsonValue.
    void number(double number);
    void integer(long long number);
    void string(const QString& text);
    void boolean(bool truth);
    void beginArray();
    void endArray();
    // Members come in Qt's key order, as QJsonDocument writes them, unless a document names its
    // own order (debug builds check).
    enum class MemberOrder { Qt, AsWritten };
    void beginObject(MemberOrder order = MemberOrder::Qt);
    void endObject();
    JsonOut& key(const QString& key);  // the member the next value or container belongs to
    void member(const QString& name, const QJsonValue& value) { key(name).value(value); }
    // An object of `members` and of one more, `key`, whose value `write` writes as it goes.
    void objectWith(const QJsonObject& members, const QString& key, const std::function<void(JsonOut&)>& write);
    void finish();  // the line end after the document, when one was written

private:
    void separate();
    void write(const QByteArray& bytes);
    void write(const char* bytes, qsizetype size);
    void writeString(const QString& text);
    void writeInteger(long long number);
    void writeShortest(double number);
    void flush();

    struct Level {
        bool object = false;
        bool empty = true;
        bool anyOrder = false;
#ifndef QT_NO_DEBUG
        QString lastKey;  // for the check of Qt's key order
#endif
    };
    std::FILE* out_;
    std::string pending_;  // written to out_ in large pieces; its room kept after each

    std::vector<Level> levels_;
    bool keyPending_ = false;
    bool written_ = false;
};

// Told on stderr after the report; the command then ends with its exit code.
struct Problem {
    QString message;
    int exitCode = 1;
};

class Report {
public:
    virtual ~Report() = default;
    virtual void writeText(TextOut& out) const = 0;
    virtual void writeJson(JsonOut& out) const = 0;
    virtual std::optional<Problem> problem() const { return std::nullopt; }
};
using ReportPtr = std::unique_ptr<Report>;

template <typename R, typename... Args>
ReportPtr makeReport(Args&&... args)
{
    return std::make_unique<R>(std::forward<Args>(args)...);
}

// A report small enough to hold whole: its text lines and its JSON value.
class Answer : public Report {
public:
    Answer(QStringList lines, QJsonValue json) : lines_(std::move(lines)), json_(std::move(json)) {}
    void writeText(TextOut& out) const override { out.lines(lines_); }
    void writeJson(JsonOut& out) const override { out.value(json_); }

private:
    QStringList lines_;
    QJsonValue json_;
};
inline ReportPtr answer(QStringList lines, QJsonValue json)
{
    return std::make_unique<Answer>(std::move(lines), std::move(json));
}

// A command refused before it did anything: nothing on stdout, the message on stderr.
class Refusal : public Report {
public:
    explicit Refusal(Problem problem) : problem_(std::move(problem)) {}
    void writeText(TextOut&) const override {}
    void writeJson(JsonOut&) const override {}
    std::optional<Problem> problem() const override { return problem_; }

private:
    Problem problem_;
};

// The one printer: the report as text or as JSON, then its problem; returns the exit code
// (0 without a problem).
int printReport(const Report& report, bool json);

}  // namespace qeltaro::cli
