#include "io/text_codec.h"
#include "local_http_server.h"
#include "test_support.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using qeltaro::test::runCli;
using qeltaro::test::TempStore;

namespace {

QJsonArray listJson(const TempStore& temp, const QString& category, const QString& kind = QStringLiteral("kill"))
{
    auto r = runCli(temp, {"--json", "formula", "list", "--category", category, "--kind", kind});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return QJsonDocument::fromJson(r.out.toUtf8()).array();
}

QByteArray formulaFile(int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("万位码+%1=下期杀三星直选 连准%1期\r\n").arg(i);
    return text.toUtf8();
}

}  // namespace

TEST(FormulaCli, AddAndList)
{
    TempStore temp;
    temp.close();
    auto r = runCli(temp, {"formula", "add", "万位码+千位码=下期杀一星直选"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed().toStdString(), "已添加到一星直选杀公式，序号1（idx 1）：L1A+L2A");

    const QJsonArray rows = listJson(temp, "1D");
    const QJsonArray expected = QJsonDocument::fromJson(
        R"([{"idx":1,"number":1,"kill":true,"code":"L1A+L2A","text":"万位码+千位码=下期杀一星直选"}])").array();
    EXPECT_EQ(rows, expected);

    r = runCli(temp, {"--json", "formula", "add", "--kind", "keep", "[三星直选]百位平方-十位码"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject added = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(added["category"].toString().toStdString(), "3D");
    EXPECT_EQ(added["kind"].toString().toStdString(), "keep");
    EXPECT_EQ(added["code"].toString().toStdString(), "L3G-L4A");
    EXPECT_EQ(listJson(temp, "3D", "keep").size(), 1);
    EXPECT_EQ(listJson(temp, "3D", "kill").size(), 0);
}

TEST(FormulaCli, RefusedFormulasChangeNothing)
{
    TempStore temp;
    temp.close();
    ASSERT_EQ(runCli(temp, {"formula", "add", "万位码=下期杀一星直选"}).exitCode, 0);
    for (const char* text : {"L1A); DROP TABLE Lishi; --=下期杀一星直选", "L1A+'x'=下期杀一星直选", "万位码=下期杀一星组选", ""}) {
        auto r = runCli(temp, {"formula", "add", QString::fromUtf8(text)});
        EXPECT_EQ(r.exitCode, 1) << text;
        EXPECT_FALSE(r.err.trimmed().isEmpty()) << text;
    }
    EXPECT_EQ(runCli(temp, {"formula", "add", "--kind", "maybe", "[一星直选]万位码"}).exitCode, 1);
    EXPECT_EQ(runCli(temp, {"formula", "list", "--category", "1G"}).exitCode, 1);
    EXPECT_EQ(listJson(temp, "1D").size(), 1);
    EXPECT_EQ(runCli(temp, {"history", "list"}).exitCode, 0);  // Lishi still there
}

TEST(FormulaCli, ImportReportsStoredAndUnrecognised)
{
    TempStore temp;
    temp.close();
    qeltaro::test::writeFile(temp.path("f.txt"),
                             QStringLiteral("个位码*2=下期杀五星直选 连准8期\n万位码+某某=下期杀五星直选\n[五星直选]千位码\n").toUtf8());
    auto r = runCli(temp, {"formula", "import", temp.path("f.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("读入2条公式"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("1行无法识别"))) << r.out.toStdString();
    EXPECT_EQ(qeltaro::test::readFile(temp.dataDir() + QStringLiteral("/无法识别公式.txt")),
              QByteArray("L1A+\xE6\x9F\x90\xE6\x9F\x90\r\n"));

    r = runCli(temp, {"--json", "formula", "import", temp.path("f.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject report = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(report["stored"].toInt(), 2);
    EXPECT_EQ(report["duplicates"].toInt(), 2);
    EXPECT_EQ(report["unrecognised"].toArray().size(), 1);
    EXPECT_EQ(report["unrecognised"].toArray()[0].toObject()["line"].toInt(), 2);
    EXPECT_EQ(listJson(temp, "5D").size(), 2);

    EXPECT_EQ(runCli(temp, {"formula", "import", temp.path("missing.txt")}).exitCode, 3);
}

TEST(FormulaCli, DeleteCarriesTheFlags)
{
    const struct {
        bool keepFlags;
        const char* expected;
    } cases[] = {{false, "[1,4]"}, {true, "[1,3]"}};
    for (const auto& c : cases) {
        TempStore temp;
        temp.close();
        for (int i = 1; i <= 5; ++i)
            ASSERT_EQ(runCli(temp, {"formula", "add", QStringLiteral("万位码+%1=下期杀三星直选").arg(i)}).exitCode, 0);
        QStringList args = {"--json", "formula", "delete", "--category", "3D", "--kind", "kill", "--idx", "3", "--selected", "1,3,5"};
        if (c.keepFlags)
            args << "--keep-flags";
        auto r = runCli(temp, args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonObject report = QJsonDocument::fromJson(r.out.toUtf8()).object();
        EXPECT_EQ(report["deleted"].toInt(), 1);
        EXPECT_EQ(report["remaining"].toInt(), 4);
        EXPECT_EQ(QJsonDocument(report["selected"].toArray()).toJson(QJsonDocument::Compact).toStdString(), c.expected);
        const QJsonArray rows = listJson(temp, "3D");
        ASSERT_EQ(rows.size(), 4);
        EXPECT_EQ(rows[2].toObject()["code"].toString().toStdString(), "L1A+4");
        EXPECT_EQ(rows[3].toObject()["idx"].toInt(), 4);
    }
    TempStore temp;
    temp.close();
    EXPECT_EQ(runCli(temp, {"formula", "delete", "--category", "3D", "--kind", "kill", "--idx", "1"}).exitCode, 1);
    EXPECT_EQ(runCli(temp, {"formula", "delete", "--category", "3D", "--idx", "1"}).exitCode, 2);
}

TEST(FormulaCli, TheListsNumberNamesTheSameFormulaAsTheWindowDoes)
{
    // A keep formula first: the table numbers kill and keep formulas together, so the kill
    // formulas' idx run 2.. while the window numbers them 1..
    TempStore temp;
    temp.close();
    ASSERT_EQ(runCli(temp, {"history", "import", qeltaro::test::sampleHistoryPath()}).exitCode, 0);
    ASSERT_EQ(runCli(temp, {"formula", "add", "万位码=下期留一星直选"}).exitCode, 0);
    for (const char* text : {"千位码=下期杀一星直选", "百位码=下期杀一星直选", "十位码=下期杀一星直选"})
        ASSERT_EQ(runCli(temp, {"formula", "add", text}).exitCode, 0);
    const QJsonArray rows = listJson(temp, "1D");
    ASSERT_EQ(rows.size(), 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(rows[k].toObject()["number"].toInt(), k + 1);
        EXPECT_EQ(rows[k].toObject()["idx"].toInt(), k + 2);
    }
    auto steps = [&](const char* option, const char* value) {
        return runCli(temp, {"--json", "breakdown", "--category", "1D", "--kind", "kill", option, value}).out;
    };
    EXPECT_EQ(steps("--number", "2"), steps("--idx", "3"));
    auto calc = [&](const char* option, const char* value) {
        return runCli(temp, {"--json", "calc", "--category", "1D", "--kind", "kill", "--method", "selected", "--no-record",
                             option, value}).out;
    };
    EXPECT_EQ(calc("--select-numbers", "1,3"), calc("--select", "2,4"));
    auto refused = runCli(temp, {"breakdown", "--category", "1D", "--kind", "kill", "--number", "4"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("没有序号为4的公式"))) << refused.err.toStdString();
    EXPECT_EQ(runCli(temp, {"breakdown", "--category", "1D", "--kind", "kill"}).exitCode, 2);

    ASSERT_EQ(runCli(temp, {"formula", "delete", "--category", "1D", "--kind", "kill", "--number", "3"}).exitCode, 0);
    const QJsonArray left = listJson(temp, "1D");
    ASSERT_EQ(left.size(), 2);
    EXPECT_EQ(left[1].toObject()["code"].toString().toStdString(), "L3A");
    EXPECT_EQ(listJson(temp, "1D", QStringLiteral("keep")).size(), 1);
}

TEST(FormulaCli, ClearAllAndExport)
{
    TempStore temp;
    temp.close();
    ASSERT_EQ(runCli(temp, {"formula", "add", "万位码=下期杀三星直选"}).exitCode, 0);
    ASSERT_EQ(runCli(temp, {"formula", "add", "千位码=下期杀一星直选"}).exitCode, 0);

    auto r = runCli(temp, {"formula", "export", "--all", "--period", "160121001"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), temp.dataDir() + QStringLiteral("/160121001期时时彩公式.txt"));
    const QStringList lines = qeltaro::splitLines(qeltaro::decodeText(qeltaro::test::readFile(r.out.trimmed())));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("万位码=下期杀三星直选")));
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral("千位码=下期杀一星直选")));

    // The next period names the file when none is given.
    ASSERT_EQ(runCli(temp, {"history", "add", "160121007", "12345"}).exitCode, 0);
    r = runCli(temp, {"--json", "formula", "export", "--category", "3D", "--kind", "kill"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject report = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(report["path"].toString(), temp.dataDir() + QStringLiteral("/160121008期时时彩三星直选杀公式.txt"));
    EXPECT_EQ(report["formulas"].toInt(), 1);
    EXPECT_TRUE(QFile::exists(report["path"].toString()));

    EXPECT_EQ(runCli(temp, {"formula", "export"}).exitCode, 1);
    EXPECT_EQ(runCli(temp, {"formula", "export", "--all", "--category", "3D"}).exitCode, 2);

    r = runCli(temp, {"formula", "clear-all"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(listJson(temp, "3D").size(), 0);
    EXPECT_EQ(listJson(temp, "1D").size(), 0);
    EXPECT_EQ(runCli(temp, {"history", "list"}).out.trimmed().toStdString(), "160121007 12345");
}

TEST(FormulaCli, UpdateFromTheConfiguredAddress)
{
    qeltaro::test::LocalHttpServer server;
    ASSERT_GT(server.port(), 0);
    server.serve(QStringLiteral("/qeltaro.txt"), formulaFile(50));
    TempStore temp;
    temp.close();

    auto r = runCli(temp, {"formula", "update"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("FormulaUrl"))) << r.err.toStdString();

    ASSERT_EQ(runCli(temp, {"settings", "set", "FormulaUrl", server.url(QStringLiteral("/qeltaro.txt"))}).exitCode, 0);
    r = runCli(temp, {"--json", "formula", "update"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["stored"].toInt(), 50);
    EXPECT_EQ(listJson(temp, "3D").size(), 50);

    // --url overrides the setting; a missing file is a download failure and changes nothing.
    r = runCli(temp, {"formula", "update", "--url", server.url(QStringLiteral("/gone.txt"))});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.contains(QStringLiteral("404"))) << r.err.toStdString();
    EXPECT_EQ(runCli(temp, {"formula", "update", "--url", "not an address"}).exitCode, 1);
    EXPECT_EQ(listJson(temp, "3D").size(), 50);
}
