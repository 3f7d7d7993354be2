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
