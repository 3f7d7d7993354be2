// The streaming JSON writer of the command line writes what QJsonDocument writes for the whole
// value, so an answer written row by row reads the same as one built in memory.

#include "report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <random>
#include <vector>

using qeltaro::cli::JsonOut;

namespace {

QByteArray written(const std::function<void(JsonOut&)>& write)
{
    std::FILE* file = std::tmpfile();
    JsonOut out(file);
    write(out);
    out.finish();
    std::fflush(file);
    QByteArray bytes(int(std::ftell(file)), '\0');
    std::rewind(file);
    const size_t read = std::fread(bytes.data(), 1, size_t(bytes.size()), file);
    std::fclose(file);
    bytes.truncate(qsizetype(read));
    return bytes;
}

QByteArray qtBytes(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

}  // namespace

TEST(JsonOut, WritesWhatQtWritesForTheWholeDocument)
{
    // Numbers Qt writes in its own way, strings that need escapes, and nesting of every kind.
    const QJsonValue scalars[] = {0,
                                  -7,
                                  qint64(1) << 53,
                                  0.1,
                                  1.0 / 3.0,
                                  1e-7,
                                  123456789.25,
                                  std::numeric_limits<double>::quiet_NaN(),
                                  true,
                                  QJsonValue(),
                                  QStringLiteral("三星直选\t\"引号\"\\ \n\x01 é"),
                                  QString()};
    QJsonArray rows;
    for (const QJsonValue& scalar : scalars)
        rows.append(QJsonObject{{QStringLiteral("value"), scalar}, {QStringLiteral("list"), QJsonArray{scalar, scalar}}});
    const QJsonObject whole{{QStringLiteral("a_first"), QJsonArray()},
                            {QStringLiteral("empty"), QJsonObject()},
                            {QStringLiteral("rows"), rows},
                            {QStringLiteral("total"), 12.5}};

    const QByteArray streamed = written([&](JsonOut& out) {
        out.beginObject();
        out.key(QStringLiteral("a_first")).beginArray();
        out.endArray();
        out.key(QStringLiteral("empty")).beginObject();
        out.endObject();
        out.key(QStringLiteral("rows")).beginArray();
        for (const QJsonValue& scalar : scalars) {
            out.beginObject();
            out.key(QStringLiteral("list")).beginArray();
            out.value(scalar);
            out.value(scalar);
            out.endArray();
            out.member(QStringLiteral("value"), scalar);
            out.endObject();
        }
        out.endArray();
        out.member(QStringLiteral("total"), 12.5);
        out.endObject();
    });
    EXPECT_EQ(streamed, qtBytes(whole));

    // A whole value given at once is written as Qt writes it, inside an array or alone.
    EXPECT_EQ(written([&](JsonOut& out) { out.value(whole); }), qtBytes(whole));
    const QByteArray inArray = written([&](JsonOut& out) {
        out.beginArray();
        for (const QJsonValue& row : rows)
            out.value(row);
        out.endArray();
    });
    EXPECT_EQ(inArray, QJsonDocument(rows).toJson(QJsonDocument::Compact) + '\n');
}

TEST(JsonOut, OneMemberWrittenAsItGoesTakesItsPlaceInKeyOrder)
{
    const QJsonArray rows{QJsonObject{{QStringLiteral("idx"), 1}}, QJsonObject{{QStringLiteral("idx"), 2}}};
    const auto streamRows = [&](JsonOut& out) {
        out.beginArray();
        for (const QJsonValue& row : rows)
            out.value(row);
        out.endArray();
    };
    // The streamed member first, between others, last, and alone.
    for (const QJsonObject& members : {QJsonObject{{QStringLiteral("seed"), QStringLiteral("7")}},
                                       QJsonObject{{QStringLiteral("completed"), true}, {QStringLiteral("verified"), 3}},
                                       QJsonObject{{QStringLiteral("backup"), QString()}, {QStringLiteral("export"), 1}},
                                       QJsonObject{}}) {
        QJsonObject whole = members;
        whole.insert(QStringLiteral("found"), rows);
        EXPECT_EQ(written([&](JsonOut& out) { out.objectWith(members, QStringLiteral("found"), streamRows); }), qtBytes(whole));
    }
}

TEST(JsonOut, NothingWrittenLeavesStdoutEmpty)
{
    EXPECT_EQ(written([](JsonOut&) {}), QByteArray());
}

TEST(JsonOut, ScalarsWrittenDirectlyReadAsQtWritesThem)
{
    // Qt turns whole doubles up to 2^53 into integers (-0 too) and writes other doubles in their
    // shortest form; strings go out as UTF-8 but for escapes, a lone surrogate as \u and hex.
    const double exactEdge = 9007199254740992.0;  // 2^53
    std::vector<double> numbers = {0.0, -0.0, 1, -1, 0.1, 1.0 / 3.0, 1e-7, 1e20, 1e21, 2.5e15, exactEdge, -exactEdge,
                                   exactEdge + 2, -(exactEdge + 2), 4503599627370497.0, 5e-324,
                                   std::numeric_limits<double>::max(), std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                                   100.0 * 0.57, 123456789.25};
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 20000; ++i) {
        // Every exponent, and the rounded rates and probabilities the back-test writes.
        const double x = std::ldexp(double(random() >> 11), int(random() % 2100) - 1100);
        const double y = std::ldexp(double(random() >> 11), -int(random() % 80));
        numbers.push_back(i % 2 ? (i % 4 == 1 ? x : -x) : std::round(y * 10000.0) / 10000.0);
    }
    for (double tie : {1e-4, 1.5e-4, 1e-5, 12e-5, 1e15, 1.5e16, 1e17, 1.25e17, 1e22, 1.2345e22, 1e100, 1e-100})
        numbers.push_back(tie);
    const long long integers[] = {0, -7, 2147483647, (1LL << 60), std::numeric_limits<long long>::min()};
    QString lone;
    lone += QChar(0xD800);
    lone += QLatin1Char('x');
    lone += QChar(0xDC00);
    QString pairThenLoneHigh = QString::fromUtf8("\xF0\x9F\x8E\xB2");
    pairThenLoneHigh += QChar(0xDBFF);
    const QString strings[] = {QString(), QStringLiteral("三星直选\t\"引号\"\\ \n\r\b\f\x01\x1f\x7f é/"), lone,
                               pairThenLoneHigh, QString(QChar(0x7FF)) + QChar(0x800) + QChar(0xFFFF)};

    QJsonArray expected;
    const QByteArray streamed = written([&](JsonOut& out) {
        out.beginArray();
        for (double number : numbers) {
            out.number(number);
            expected.append(number);
        }
        for (long long number : integers) {
            out.integer(number);
            expected.append(qint64(number));
        }
        for (const QString& text : strings) {
            out.string(text);
            expected.append(text);
        }
        out.boolean(true);
        out.boolean(false);
        expected.append(true);
        expected.append(false);
        out.endArray();
    });
    EXPECT_EQ(streamed, QJsonDocument(expected).toJson(QJsonDocument::Compact) + '\n');

    // Keys are escaped as strings are.
    const QJsonObject keyed{{lone, 1}, {QStringLiteral("a\"b"), 2}};
    EXPECT_EQ(written([&](JsonOut& out) {
                  out.beginObject();
                  for (auto it = keyed.begin(); it != keyed.end(); ++it)
                      out.key(it.key()).integer(it.value().toInteger());
                  out.endObject();
              }),
              qtBytes(keyed));
}
