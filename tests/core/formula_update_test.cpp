#include "library/formula_entry.h"
#include "library/formula_update.h"
#include "local_http_server.h"
#include "refusal_checks.h"
#include "store/formula_table.h"
#include "store_snapshot.h"
#include "test_support.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::LocalHttpServer;
using qeltaro::test::TempStore;

namespace {

const FormulaListKey kStart{{1, false}, Kind::Kill};

// A formula file of `count` three-star kill formulas, then a keep line, a header line and lines
// that cannot be stored.
QByteArray formulaFile(int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("万位码+%1=下期杀三星直选 连准%2期\r\n").arg(i).arg(i % 7);
    text += QStringLiteral("跨度=下期留二星组选\r\n");
    text += QStringLiteral("[四星直选]和数\r\n");
    text += QStringLiteral("万位码+某某=下期杀三星直选\r\n");
    text += QStringLiteral("L1A); DROP TABLE Lishi; --=下期杀三星直选\r\n");
    return text.toUtf8();
}

class FormulaUpdate : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GT(server.port(), 0);
        ASSERT_TRUE(addTypedFormula(temp.store(), QStringLiteral("千位码=下期杀一星直选"), kStart));
        before = qeltaro::test::storeSnapshot(temp.store());
    }
    QString savedFile() const { return temp.dataDir() + QStringLiteral("/qeltaro.txt"); }
    void expectUnchanged() { EXPECT_EQ(qeltaro::test::storeSnapshot(temp.store()).toStdString(), before.toStdString()); }

    TempStore temp;
    LocalHttpServer server;
    QString before;
};

}  // namespace

TEST_F(FormulaUpdate, AGoodFileReplacesEveryCategory)
{
    const QByteArray file = formulaFile(40);
    ASSERT_GT(file.size(), kShortestFormulaFile);
    server.serve(QStringLiteral("/formulas/qeltaro.txt"), file);
    auto report = updateFormulasOnline(temp.store(), server.url(QStringLiteral("/formulas/qeltaro.txt")), kStart);
    ASSERT_TRUE(report) << report.error().message.toStdString();

    EXPECT_EQ(report->stored, 42);
    EXPECT_EQ(report->skipped, 2);
    EXPECT_EQ(report->bytes, file.size());
    // The last statement line sets the kind, stored or not.
    EXPECT_EQ(report->list, (FormulaListKey{kStart.category, Kind::Kill}));
    EXPECT_EQ(qeltaro::test::readFile(savedFile()), file);
    EXPECT_EQ(report->savedPath, savedFile());
    EXPECT_TRUE(QFile::exists(report->backupPath));

    // The formula typed before is gone; the file's are numbered 1..n.
    EXPECT_EQ(FormulaTable(temp.store(), {1, false}).count().value(), 0);
    const auto threeStar = FormulaTable(temp.store(), {3, false}).list(Kind::Kill).value();
    ASSERT_EQ(threeStar.size(), 40u);
    EXPECT_EQ(threeStar.front().idx, 1);
    EXPECT_EQ(threeStar.front().text.toStdString(), "万位码+1=下期杀三星直选");
    EXPECT_EQ(threeStar.back().idx, 40);
    EXPECT_EQ(FormulaTable(temp.store(), {2, true}).list(Kind::Keep).value().size(), 1u);
    // A header line takes the kind in force: the keep line before it.
    EXPECT_EQ(FormulaTable(temp.store(), {4, false}).list(Kind::Keep).value().size(), 1u);
}

TEST_F(FormulaUpdate, AShortFileChangesNothing)
{
    QByteArray file = formulaFile(40).left(int(kShortestFormulaFile));
    server.serve(QStringLiteral("/short.txt"), file);
    auto report = updateFormulasOnline(temp.store(), server.url(QStringLiteral("/short.txt")), kStart);
    EXPECT_TRUE(test::refusedWith(report, QStringLiteral("1024")));
    expectUnchanged();
    // The download is kept all the same.
    EXPECT_EQ(qeltaro::test::readFile(savedFile()), file);
}

TEST_F(FormulaUpdate, AFileWithoutFormulasChangesNothing)
{
    server.serve(QStringLiteral("/page.html"), QByteArray("<html><body>") + QByteArray(2000, 'x') + "</body></html>", 200, "text/html");
    auto report = updateFormulasOnline(temp.store(), server.url(QStringLiteral("/page.html")), kStart);
    ASSERT_FALSE(report);
    EXPECT_EQ(report.error().kind, ErrorKind::BadInput);
    expectUnchanged();
}

TEST_F(FormulaUpdate, NetworkFailuresAreReportedAndChangeNothing)
{
    const struct {
        const char* name;
        QString url;
        const char* says;
    } cases[] = {
        {"missing file", server.url(QStringLiteral("/missing.txt")), "404"},
        {"server error", server.url(QStringLiteral("/error.txt")), "500"},
        {"unreachable port", LocalHttpServer::unreachableUrl(QStringLiteral("/qeltaro.txt")), "无法连接服务器"},
    };
    server.serve(QStringLiteral("/error.txt"), formulaFile(40), 500);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto report = updateFormulasOnline(temp.store(), c.url, kStart);
        ASSERT_FALSE(report);
        EXPECT_EQ(report.error().kind, ErrorKind::Storage);
        EXPECT_TRUE(report.error().message.contains(QString::fromUtf8(c.says))) << report.error().message.toStdString();
        expectUnchanged();
        EXPECT_FALSE(QFile::exists(savedFile()));
    }
}

TEST_F(FormulaUpdate, WithoutAnAddressNothingIsFetched)
{
    auto report = updateFormulasOnline(temp.store(), QStringLiteral("  "), kStart);
    ASSERT_FALSE(report);
    EXPECT_EQ(report.error().message, formulaUrlMissingMessage());
    report = updateFormulasOnline(temp.store(), QStringLiteral("ftp://127.0.0.1/f.txt"), kStart);
    ASSERT_FALSE(report);
    EXPECT_EQ(report.error().kind, ErrorKind::BadInput);
    EXPECT_TRUE(server.requests().empty());
    expectUnchanged();
}
