#include "report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTextStream>

#include <charconv>
#include <cmath>

namespace qeltaro::cli {
namespace {

constexpr double kExactWhole = 9007199254740992.0;  // 2^53: every whole number up to it is a double
constexpr size_t kFlushSize = 1 << 16;

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
    stream_ << text << '\n';
}

void TextOut::lines(const QStringList& texts)
{
    for (const QString& text : texts)
        line(text);
}

JsonOut::JsonOut(std::FILE* out) : out_(out)
{
    pending_.reserve(kFlushSize + 4096);
}

void JsonOut::write(const char* bytes, qsizetype size)
{
    written_ = true;
    pending_.append(bytes, size_t(size));
    if (pending_.size() >= kFlushSize)
        flush();
}

void JsonOut::write(const QByteArray& bytes)
{
    write(bytes.constData(), bytes.size());
}

void JsonOut::flush()
{
    std::fwrite(pending_.data(), 1, pending_.size(), out_);
    pending_.clear();
}

// As Qt escapes a string: quote, backslash and control characters escaped, the rest as UTF-8;
// a surrogate without its pair, which UTF-8 cannot carry, by its four hex digits. Written in
// place: no unit takes more than six bytes.
void JsonOut::writeString(const QString& text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    written_ = true;
    const size_t start = pending_.size();
    pending_.resize(start + 6 * size_t(text.size()) + 2);
    char* out = pending_.data() + start;
    const auto escaped = [&out](char16_t unit) {
        *out++ = '\\';
        *out++ = 'u';
        *out++ = kHex[unit >> 12];
        *out++ = kHex[(unit >> 8) & 0xf];
        *out++ = kHex[(unit >> 4) & 0xf];
        *out++ = kHex[unit & 0xf];
    };
    *out++ = '"';
    // constData, not utf16: utf16 copies a literal to add its terminating zero.
    const char16_t* unit = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = unit + text.size();
    while (unit != end) {
        const char16_t u = *unit++;
        if (u < 0x80) {
            if (u >= 0x20 && u != '"' && u != '\\') {
                *out++ = char(u);
                continue;
            }
            char shortForm = 0;
            switch (u) {
            case '"': shortForm = '"'; break;
            case '\\': shortForm = '\\'; break;
            case '\b': shortForm = 'b'; break;
            case '\f': shortForm = 'f'; break;
            case '\n': shortForm = 'n'; break;
            case '\r': shortForm = 'r'; break;
            case '\t': shortForm = 't'; break;
            default: escaped(u); continue;
            }
            *out++ = '\\';
            *out++ = shortForm;
        } else if (u < 0x800) {
            *out++ = char(0xc0 | (u >> 6));
            *out++ = char(0x80 | (u & 0x3f));
        } else if (QChar::isHighSurrogate(u) && unit != end && QChar::isLowSurrogate(*unit)) {
            const char32_t point = QChar::surrogateToUcs4(u, *unit++);
            *out++ = char(0xf0 | (point >> 18));
            *out++ = char(0x80 | ((point >> 12) & 0x3f));
            *out++ = char(0x80 | ((point >> 6) & 0x3f));
            *out++ = char(0x80 | (point & 0x3f));
        } else if (QChar::isSurrogate(u)) {
            escaped(u);
        } else {
            *out++ = char(0xe0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3f));
            *out++ = char(0x80 | (u & 0x3f));
        }
    }
    *out++ = '"';
    pending_.resize(size_t(out - pending_.data()));
    if (pending_.size() >= kFlushSize)
        flush();
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
            write(",", 1);
        levels_.back().empty = false;
    }
}

void JsonOut::value(const QJsonValue& value)
{
    separate();
    write(compact(value));
}

void JsonOut::number(double number)
{
    separate();
    // Qt keeps a whole number a double holds exactly as an integer, -0 as 0.
    if (!std::isfinite(number))
        write("null", 4);
    else if (std::trunc(number) == number && std::fabs(number) <= kExactWhole)
        writeInteger(static_cast<long long>(number));
    else
        writeShortest(number);
}

// The shortest digits that read back as the same double, in the shorter of the plain and the
// exponent form (plain on a tie), the exponent of two digits at least: the form Qt writes, at a
// fraction of its cost. Beyond 2^53, where every double is whole, Qt pads the shortest digits
// with zeros where the standard library writes the exact ones, so there Qt writes them.
void JsonOut::writeShortest(double number)
{
    if (std::fabs(number) >= kExactWhole) {
        write(QByteArray::number(number, 'g', QLocale::FloatingPointShortest));
        return;
    }
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, number);
    write(digits, written.ptr - digits);
}

void JsonOut::integer(long long number)
{
    separate();
    writeInteger(number);
}

void JsonOut::writeInteger(long long number)
{
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, number);
    write(digits, written.ptr - digits);
}

void JsonOut::string(const QString& text)
{
    separate();
    writeString(text);
}

void JsonOut::boolean(bool truth)
{
    separate();
    if (truth)
        write("true", 4);
    else
        write("false", 5);
}

void JsonOut::beginArray()
{
    separate();
    write("[", 1);
    levels_.push_back({});
}

void JsonOut::endArray()
{
    levels_.pop_back();
    write("]", 1);
}

void JsonOut::beginObject(MemberOrder order)
{
    separate();
    write("{", 1);
    levels_.push_back({.object = true, .empty = true, .anyOrder = order == MemberOrder::AsWritten});
}

void JsonOut::endObject()
{
    levels_.pop_back();
    write("}", 1);
}

JsonOut& JsonOut::key(const QString& key)
{
    Level& level = levels_.back();
    Q_ASSERT_X(level.object && !keyPending_, "JsonOut", "a key outside an object");
#ifndef QT_NO_DEBUG
    Q_ASSERT_X(level.empty || level.anyOrder || level.lastKey < key, "JsonOut", "members out of Qt's key order");
    level.lastKey = key;
#endif
    if (!level.empty)
        write(",", 1);
    level.empty = false;
    writeString(key);
    write(":", 1);
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
        write("\n", 1);
    flush();
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
