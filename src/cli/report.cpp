#include "report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace qeltaro::cli {
namespace {

// Qt's compact form of one value; a bare value is written as the only element of an array.
QByteArray compact(const QJsonValue& value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

}  // namespace

void TextOut::line(const QString& text)
{
    QTextStream(out_) << text << '\n';
}

void TextOut::lines(const QStringList& texts)
{
    for (const QString& text : texts)
        line(text);
}

void JsonOut::write(const QByteArray& bytes)
{
    written_ = true;
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out_);
}

// Before a value or a container: the comma after an earlier element, unless a key went first.
void JsonOut::separate()
{
    if (keyPending_) {
        keyPending_ = false;
        return;
    }
    Q_ASSERT_X(levels_.empty() || !levels_.back().object, "JsonOut", "an object member without a key");
    if (!levels_.empty()) {
        if (!levels_.back().empty)
            write(",");
        levels_.back().empty = false;
    }
}

void JsonOut::value(const QJsonValue& value)
{
    separate();
    write(compact(value));
}

void JsonOut::beginArray()
{
    separate();
    write("[");
    levels_.push_back({});
}

void JsonOut::endArray()
{
    levels_.pop_back();
    write("]");
}

void JsonOut::beginObject()
{
    separate();
    write("{");
    levels_.push_back({.object = true, .empty = true, .lastKey = {}});
}

void JsonOut::endObject()
{
    levels_.pop_back();
    write("}");
}

JsonOut& JsonOut::key(const QString& key)
{
    Level& level = levels_.back();
    Q_ASSERT_X(level.object && !keyPending_, "JsonOut", "a key outside an object");
    Q_ASSERT_X(level.empty || level.lastKey < key, "JsonOut", "members out of Qt's key order");
    if (!level.empty)
        write(",");
    level.empty = false;
    level.lastKey = key;
    write(compact(key));
    write(":");
    keyPending_ = true;
    return *this;
}

void JsonOut::objectWith(const QJsonObject& members, const QString& streamedKey, const std::function<void(JsonOut&)>& write)
{
    beginObject();
    bool streamed = false;
    for (auto it = members.begin(); it != members.end(); ++it) {
        if (!streamed && streamedKey < it.key()) {
            key(streamedKey);
            write(*this);
            streamed = true;
        }
        member(it.key(), it.value());
    }
    if (!streamed) {
        key(streamedKey);
        write(*this);
    }
    endObject();
}

void JsonOut::finish()
{
    if (written_)
        std::fputc('\n', out_);
}

int printReport(const Report& report, bool json)
{
    if (json) {
        JsonOut out;
        report.writeJson(out);
        out.finish();
    } else {
        TextOut out;
        report.writeText(out);
    }
    const std::optional<Problem> problem = report.problem();
    if (!problem)
        return 0;
    std::fflush(stdout);
    QTextStream(stderr) << problem->message << '\n';
    return problem->exitCode;
}

}  // namespace qeltaro::cli
