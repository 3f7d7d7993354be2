#include "domain/formula_selection.h"
#include "io/text_codec.h"
#include "library/formula_entry.h"
#include "store/formula_table.h"
#include "store_snapshot.h"
#include "test_support.h"

#include <QFile>
#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::TempStore;

namespace {

const FormulaListKey kStart{{1, false}, Kind::Kill};  // 一星直选, kill: the start-up list

Category category(const char16_t* suffix)
{
    return *Category::fromSuffix(suffix);
}

// Every formula of every table as "3D:idx:K|L:code:text", tables in table order.
std::vector<std::string> libraryRows(Store& store)
{
    std::vector<std::string> rows;
    for (const Category& c : Category::all()) {
        const auto formulas = FormulaTable(store, c).all().value();
        for (const StoredFormula& f : formulas)
            rows.push_back(QStringLiteral("%1:%2:%3:%4:%5")
                               .arg(c.suffix())
                               .arg(f.idx)
                               .arg(QChar(isKill(f.kind) ? u'K' : u'L'))
                               .arg(f.code, f.text)
                               .toStdString());
    }
    return rows;
}

QString unrecognisedFile(TempStore& temp)
{
    return decodeText(qeltaro::test::readFile(temp.dataDir() + QStringLiteral("/无法识别公式.txt")));
}

const char16_t* const kSampleFile =
    u"万位码+千位码=下期杀一星直选\r\n"
    u"个位码*2=下期杀五星直选 连准8期\r\n"
    u"[五星直选]千位码+1\r\n"             // takes 杀 from the line before
    u"万位码+3=下期留 二星组选 连准3期\r\n"
    u"[二星组选]和数-跨度\r\n"              // takes 留
    u"万位码+某某=下期杀五星直选\r\n"
    u"万位码=下期杀一星组选\r\n"
    u"\r\n"
    u"十位码=下期杀五星直选\r\n";

}  // namespace

TEST(TypedFormula, AddsToTheLinesCategoryAndSelectsIt)
{
    TempStore temp;
    FormulaSelection selection;
    const struct {
        const char16_t* text;
        FormulaListKey current;
        const char* category;
        bool kill;
        int idx;
        const char* code;
    } cases[] = {
        {u"万位码+千位码=下期杀一星直选", kStart, "1D", true, 1, "L1A+L2A"},
        {u" 万位码+3=下期留 二星组选 ", kStart, "2G", false, 1, "L1A+3"},
        {u"[三星直选]百位平方-十位码", {category(u"2G"), Kind::Keep}, "3D", false, 1, "L3G-L4A"},
        {u"[三星直选]百位平方-十位码", kStart, "3D", true, 2, "L3G-L4A"},
        // idx counts every row of the table, both kinds.
        {u"千位码=下期杀三星直选", kStart, "3D", true, 3, "L2A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        auto added = addTypedFormula(temp.store(), QString::fromUtf16(c.text), c.current, &selection);
        ASSERT_TRUE(added) << added.error().message.toStdString();
        EXPECT_EQ(added->list.category.suffix().toStdString(), c.category);
        EXPECT_EQ(added->list.kind, kindOfKillFlag(c.kill));
        EXPECT_EQ(added->idx, c.idx);
        EXPECT_EQ(added->code.toStdString(), c.code);
        EXPECT_EQ(added->text, QString::fromUtf16(c.text).trimmed());
        EXPECT_TRUE(selection.isSelected(c.idx));
    }
    EXPECT_EQ(libraryRows(temp.store()),
              (std::vector<std::string>{"1D:1:K:L1A+L2A:万位码+千位码=下期杀一星直选",
                                        "3D:1:L:L3G-L4A:[三星直选]百位平方-十位码",
                                        "3D:2:K:L3G-L4A:[三星直选]百位平方-十位码", "3D:3:K:L2A:千位码=下期杀三星直选",
                                        "2G:1:L:L1A+3:万位码+3=下期留 二星组选"}));
}

TEST(TypedFormula, IdxRestartsAtOneAfterARowNumberedBelowOne)
{
    TempStore temp;
    FormulaTable table(temp.store(), category(u"4D"));
    ASSERT_TRUE(table.append(Kind::Kill, QStringLiteral("L1A"), QStringLiteral("万位码"), 1));
    ASSERT_TRUE(table.append(Kind::Kill, QStringLiteral("L2A"), QStringLiteral("千位码"), 0));
    auto added = addTypedFormula(temp.store(), QStringLiteral("个位码=下期杀四星直选"), kStart);
    ASSERT_TRUE(added);
    EXPECT_EQ(added->idx, 1);
    added = addTypedFormula(temp.store(), QStringLiteral("十位码=下期杀四星直选"), kStart);
    EXPECT_EQ(added->idx, 4);
}

TEST(TypedFormula, RefusalsChangeNothing)
{
    TempStore temp;
    ASSERT_TRUE(addTypedFormula(temp.store(), QStringLiteral("万位码=下期杀一星直选"), kStart));
    const QString before = qeltaro::test::storeSnapshot(temp.store());

    auto empty = addTypedFormula(temp.store(), QStringLiteral("  \t "), kStart);
    ASSERT_FALSE(empty);
    EXPECT_EQ(empty.error().message.toStdString(), "请在左边文本框输入需要添加的公式");
    EXPECT_EQ(typedFormulaRefusalTitle(empty.error()).toStdString(), "添加公式失败");

    const QString hostile[] = {
        QStringLiteral("L1A); DROP TABLE Lishi; --=下期杀一星直选"),
        QStringLiteral("L1A+'x'=下期杀一星直选"),
        QStringLiteral("L1A+[Lishi]=下期杀一星直选"),
        QStringLiteral("[一星直选]L1A+[Lishi]"),
        QStringLiteral("L1A+Lishi=下期杀一星直选"),
        QStringLiteral("L1A+canshu=下期杀一星直选"),
        QStringLiteral("(L1A+L2A=下期杀一星直选"),
        QStringLiteral("L1A+L2A)=下期杀一星直选"),
        QStringLiteral("万位码+某某=下期杀一星直选"),
        QStringLiteral("万位码=下期杀一星组选"),
        QStringLiteral("万位码=下期杀"),
        QStringLiteral("=下期杀一星直选"),
        QString(100000, u'(') + QStringLiteral("L1A=下期杀一星直选"),
        QStringLiteral("[一星直选]") + QString(100000, u'('),
    };
    for (const QString& text : hostile) {
        auto refused = addTypedFormula(temp.store(), text, kStart);
        ASSERT_FALSE(refused) << text.left(60).toStdString();
        EXPECT_EQ(refused.error().kind, ErrorKind::BadInput);
        EXPECT_TRUE(refused.error().message.startsWith(QStringLiteral("公式文本文件中含有无法识别公式，无法添加到软件\n")))
            << refused.error().message.left(200).toStdString();
        EXPECT_GT(refused.error().message.size(), 30);  // the reason follows
        EXPECT_EQ(typedFormulaRefusalTitle(refused.error()).toStdString(), "无法识别公式");
    }
    EXPECT_EQ(qeltaro::test::storeSnapshot(temp.store()).toStdString(), before.toStdString());
}

TEST(FormulaImport, StoresRecognisedLinesAndListsTheOthers)
{
    TempStore temp;
    ASSERT_TRUE(addTypedFormula(temp.store(), QStringLiteral("百位码=下期杀五星直选"), kStart));
    qeltaro::test::writeFile(temp.path("f.txt"), QString::fromUtf16(kSampleFile).toUtf8());
    auto report = importFormulaFile(temp.store(), temp.path("f.txt"), {category(u"3D"), Kind::Kill});
    ASSERT_TRUE(report) << report.error().message.toStdString();

    EXPECT_EQ(report->stored, 6);
    EXPECT_EQ(report->duplicates, 0);
    // Back on the starting category, with the kind of the last statement line.
    EXPECT_EQ(report->list, (FormulaListKey{category(u"3D"), Kind::Kill}));
    std::vector<std::string> tables;
    for (const Category& c : report->tables)
        tables.push_back(c.suffix().toStdString());
    EXPECT_EQ(tables, (std::vector<std::string>{"1D", "5D", "2G"}));
    // Every table is numbered 1..n in stored order; the formula typed before comes first.
    EXPECT_EQ(libraryRows(temp.store()),
              (std::vector<std::string>{"1D:1:K:L1A+L2A:万位码+千位码=下期杀一星直选",
                                        "5D:1:K:L3A:百位码=下期杀五星直选", "5D:2:K:L5A*2:个位码*2=下期杀五星直选",
                                        "5D:3:K:L2A+1:[五星直选]千位码+1", "5D:4:K:L4A:十位码=下期杀五星直选",
                                        "2G:1:L:L1A+3:万位码+3=下期留 二星组选", "2G:2:L:LH-LT:[二星组选]和数-跨度"}));

    ASSERT_EQ(report->unrecognised.size(), 3u);
    EXPECT_EQ(report->unrecognised[0].lineNumber, 6);
    EXPECT_EQ(report->unrecognised[2].lineNumber, 8);
    EXPECT_EQ(report->unrecognisedFilePath, temp.dataDir() + QStringLiteral("/无法识别公式.txt"));
    EXPECT_EQ(qeltaro::test::readFile(report->unrecognisedFilePath),
              QStringLiteral("L1A+某某\r\n万位码=下期杀一星组选\r\n\r\n").toUtf8());

    // A clean import empties the list of the previous one.
    qeltaro::test::writeFile(temp.path("clean.txt"), QStringLiteral("万位码=下期生一星直选\n").toUtf8());
    report = importFormulaFile(temp.store(), temp.path("clean.txt"), kStart);
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->unrecognised.empty());
    EXPECT_EQ(report->list.kind, Kind::Keep);
    EXPECT_TRUE(QFile::exists(report->unrecognisedFilePath));
    EXPECT_TRUE(unrecognisedFile(temp).isEmpty());
}

TEST(FormulaImport, Gb18030AndUtf8WithBomGiveTheSameRows)
{
    const QString text = QString::fromUtf16(kSampleFile);
    QStringEncoder gb("GB18030");
    ASSERT_TRUE(gb.isValid());
    const QByteArray gbBytes = gb.encode(text);
    ASSERT_NE(gbBytes, text.toUtf8());

    TempStore fromGb;
    qeltaro::test::writeFile(fromGb.path("gb.txt"), gbBytes);
    ASSERT_TRUE(importFormulaFile(fromGb.store(), fromGb.path("gb.txt"), kStart));

    TempStore fromUtf8;
    qeltaro::test::writeFile(fromUtf8.path("utf8.TXT"), QByteArray("\xEF\xBB\xBF") + text.toUtf8());
    ASSERT_TRUE(importFormulaFile(fromUtf8.store(), fromUtf8.path("utf8.TXT"), kStart));

    EXPECT_EQ(libraryRows(fromGb.store()).size(), 6u);
    EXPECT_EQ(libraryRows(fromGb.store()), libraryRows(fromUtf8.store()));
    EXPECT_EQ(unrecognisedFile(fromGb), unrecognisedFile(fromUtf8));
}

TEST(FormulaImport, TheSameFileTwiceLeavesOneRowPerFormula)
{
    TempStore temp;
    // The first table of the file is the starting one, so no table switch happens before it.
    qeltaro::test::writeFile(temp.path("f.txt"), QString::fromUtf16(kSampleFile).toUtf8());
    ASSERT_TRUE(importFormulaFile(temp.store(), temp.path("f.txt"), kStart));
    const auto once = libraryRows(temp.store());
    auto again = importFormulaFile(temp.store(), temp.path("f.txt"), kStart);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->stored, 6);
    EXPECT_EQ(again->duplicates, 6);
    EXPECT_EQ(libraryRows(temp.store()), once);

    // Same code, other text: a formula of its own.
    qeltaro::test::writeFile(temp.path("g.txt"), QStringLiteral("[一星直选]万位码+千位码\n").toUtf8());
    ASSERT_TRUE(importFormulaFile(temp.store(), temp.path("g.txt"), kStart));
    EXPECT_EQ(FormulaTable(temp.store(), category(u"1D")).count().value(), 2);
}

TEST(FormulaImport, HostileLinesNeverReachTheStore)
{
    TempStore temp;
    qeltaro::test::writeFile(temp.path("h.txt"),
                             (QStringLiteral("L1A); DROP TABLE Lishi; --=下期杀一星直选\n"
                                             "L1A+'x'=下期杀一星直选\n"
                                             "L1A+[Lishi]=下期杀一星直选\n"
                                             "L1A+Lishi=下期杀一星直选\n"
                                             "(L1A+L2A=下期杀一星直选\n") +
                              QString(100000, u'(') + QStringLiteral("=下期杀一星直选\n"))
                                 .toUtf8());
    const QString before = qeltaro::test::storeSnapshot(temp.store());
    auto report = importFormulaFile(temp.store(), temp.path("h.txt"), kStart);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->stored, 0);
    EXPECT_EQ(report->unrecognised.size(), 6u);
    EXPECT_EQ(qeltaro::test::storeSnapshot(temp.store()).toStdString(), before.toStdString());
}

TEST(FormulaImport, RefusedFilesAndFailuresChangeNothing)
{
    TempStore temp;
    ASSERT_TRUE(addTypedFormula(temp.store(), QStringLiteral("万位码=下期杀一星直选"), kStart));
    const QString before = qeltaro::test::storeSnapshot(temp.store());

    qeltaro::test::writeFile(temp.path("f.csv"), QStringLiteral("千位码=下期杀一星直选\n").toUtf8());
    auto refused = importFormulaFile(temp.store(), temp.path("f.csv"), kStart);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, ErrorKind::BadInput);
    auto missing = importFormulaFile(temp.store(), temp.path("missing.txt"), kStart);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, ErrorKind::Storage);
    EXPECT_EQ(qeltaro::test::storeSnapshot(temp.store()).toStdString(), before.toStdString());

    // A table that cannot take rows halfway through the file: the rows before it are rolled back.
    ASSERT_TRUE(temp.store().database().exec(QStringLiteral("ALTER TABLE Gongshi5D RENAME TO Broken")));
    const QString broken = qeltaro::test::storeSnapshot(temp.store());
    qeltaro::test::writeFile(temp.path("g.txt"),
                             QStringLiteral("千位码=下期杀一星直选\n百位码=下期杀五星直选\n").toUtf8());
    auto failed = importFormulaFile(temp.store(), temp.path("g.txt"), kStart);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().kind, ErrorKind::Storage);
    EXPECT_EQ(qeltaro::test::storeSnapshot(temp.store()).toStdString(), broken.toStdString());
}
