// Every way input enters the program, fed its hostile cases: wrong encodings, NUL bytes, 10 MB
// lines, SQL fragments, unbalanced brackets, numbers out of range, periods that are not dates,
// duplicate periods, empty files. Each is refused with a short message (or, where the program
// sorts lines into stored and unrecognised, handled with nothing stored), and the store file is
// byte for byte what it was. The outcome of every case is printed as a table.

#include "library/formula_entry.h"
#include "history/draw_history.h"
#include "library_fixture.h"
#include "local_http_server.h"
#include "store/store.h"
#include "test_support.h"

#include <QFile>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <random>

using namespace qeltaro;
using qeltaro::test::TempStore;

namespace {

struct Outcome {
    int code = -1;  // exit code; for the window's typed entries the code the command line would give
    QString message;
};

struct Fixture;
using Feed = std::function<Outcome(Fixture&, const QByteArray& input)>;

struct HostileCase {
    const char* kind;
    QByteArray input;
    int expectedCode;
    const char* says = "";  // words the answer must hold, for cases handled rather than refused
};

struct EntryPoint {
    const char* name;
    Feed feed;
    std::vector<HostileCase> cases;
};

// A library of draws and formulas, a settings file and a local web server whose answer each
// case sets.
struct Fixture {
    TempStore temp;
    std::shared_ptr<std::mutex> bodyMutex = std::make_shared<std::mutex>();
    std::shared_ptr<test::HttpAnswer> answer = std::make_shared<test::HttpAnswer>();
    test::LocalHttpServer server{[m = bodyMutex, a = answer](const QString&, const QUrlQuery&) {
                                     std::lock_guard lock(*m);
                                     return *a;
                                 },
                                 1000};

    Fixture()
    {
        test::fillLibrary(temp.store(), 60, 5);  // draws 141030001..141030060
        temp.close();
        EXPECT_EQ(test::runCli(temp, {"settings", "set", "JSQS", "5"}).exitCode, 0);
    }
    QString storeFile() const { return temp.dataDir() + u'/' + QLatin1String(kStoreFileName); }
    // Where qeltaro-cli keeps the settings under the test's XDG_CONFIG_HOME.
    QString cliSettingsFile() const { return temp.configDir() + QStringLiteral("/Qeltaro/Qeltaro.ini"); }
    void answerWith(const QByteArray& body, int status = 200)
    {
        std::lock_guard lock(*bodyMutex);
        *answer = {status, body, "text/html; charset=utf-8", std::chrono::milliseconds(0)};
    }
};

Outcome fromCli(const test::CliResult& r)
{
    return {r.exitCode, r.err.isEmpty() ? r.out : r.err};
}

template <typename T>
Outcome fromCore(const Result<T>& result)
{
    if (result)
        return {0, QString()};
    return {result.error().kind == ErrorKind::BadInput ? 1 : 3, result.error().message};
}

QStringList argumentsOf(const QByteArray& input)
{
    return QString::fromUtf8(input).split(u'\n');
}

QByteArray utf16(const QString& text)
{
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    return encoder.encode(text);
}

QByteArray noise(qsizetype size)
{
    std::mt19937 random(12);
    QByteArray bytes(size, '\0');
    for (char& b : bytes)
        b = char(random() & 0xff);
    return bytes;
}

QByteArray repeated(const QByteArray& unit, qsizetype totalBytes)
{
    QByteArray bytes;
    bytes.reserve(totalBytes + unit.size());
    while (bytes.size() < totalBytes)
        bytes += unit;
    return bytes;
}

constexpr qsizetype k10MB = 10 * 1024 * 1024;
// The longest single argument the system passes to a program.
constexpr qsizetype kLongArgument = 100 * 1024;

// A formula file of more than 1024 bytes, so only its lines decide.
QByteArray formulaDownload(const QByteArray& line)
{
    return repeated(line + "\r\n", 2048);
}

std::vector<EntryPoint> entryPoints()
{
    const QByteArray sql = "'); DROP TABLE Lishi; DELETE FROM Gongshi3D; --";
    std::vector<EntryPoint> points;

    // The window's typed draw: period and digits fields, through the core as the window calls it.
    points.push_back({"typed draw",
                      [](Fixture& f, const QByteArray& input) {
                          auto store = Store::open(f.temp.dataDir());
                          if (!store)
                              return Outcome{3, store.error().message};
                          const qsizetype tab = input.indexOf('\t');
                          const QString period = QString::fromUtf8(input.left(tab));
                          const QString digits = QString::fromUtf8(input.mid(tab + 1));
                          return fromCore(DrawHistory(**store).add(period, digits));
                      },
                      {
                          {"wrong encoding (full-width digits)", "\xEF\xBC\x91\xEF\xBC\x96" "0121001\t12345", 1},
                          {"wrong encoding (Arabic-Indic digits)", "160121001\t\xD9\xA1\xD9\xA2\xD9\xA3\xD9\xA4\xD9\xA5", 1},
                          {"NUL bytes", QByteArray("160121001\t123\0" "45", 16), 1},
                          {"10 MB line", "160121001\t" + QByteArray(k10MB, '1'), 1},
                          {"SQL fragment", "160121001" + sql + "\t12345", 1},
                          {"unbalanced brackets", "(160121001\t12345)", 1},
                          {"numbers out of range (issue 121)", "160121121\t12345", 1},
                          {"numbers out of range (issue 000)", "160121000\t12345", 1},
                          {"numbers out of range (six digits)", "160121001\t123456", 1},
                          {"numbers out of range (negative)", "160121001\t-1234", 1},
                          {"period not a date (30 February)", "160230001\t12345", 1},
                          {"period not a date (month 13)", "161301001\t12345", 1},
                          {"duplicate period", "141030001\t00000", 1},
                          {"empty", "\t", 1},
                      }});

    points.push_back({"typed formula",
                      [](Fixture& f, const QByteArray& input) {
                          auto store = Store::open(f.temp.dataDir());
                          if (!store)
                              return Outcome{3, store.error().message};
                          return fromCore(addTypedFormula(**store, QString::fromUtf8(input), {Category{3, false}, Kind::Kill}));
                      },
                      {
                          {"wrong encoding (UTF-8 read as Latin-1)",
                           QString::fromLatin1(QStringLiteral("万位码+1").toUtf8()).toUtf8() + "=下期杀一星直选", 1},
                          {"NUL bytes", QByteArray("万位码\0+1=下期杀一星直选", 31), 1},
                          {"10 MB line", repeated("千位码+", k10MB) + "1=下期杀一星直选", 1},
                          {"SQL fragment", "万位码" + sql + "=下期杀一星直选", 1},
                          {"unbalanced brackets (open)", "((万位码+1=下期杀一星直选", 1},
                          {"unbalanced brackets (close)", "万位码+1))=下期杀一星直选", 1},
                          {"numbers out of range (1e999)", "1e999+万位码=下期杀一星直选", 1},
                          {"numbers out of range (400 digits)", QByteArray(400, '9') + "=下期杀一星直选", 1},
                          {"numbers out of range (six stars)", "万位码=下期杀六星直选", 1},
                          {"empty", "", 1},
                      }});

    // Formula files sort their lines: unusable lines are listed, never stored.
    points.push_back({"formula file",
                      [](Fixture& f, const QByteArray& input) {
                          const QString path = f.temp.path(QStringLiteral("hostile.txt"));
                          test::writeFile(path, input);
                          return fromCli(test::runCli(f.temp, {"formula", "import", path}));
                      },
                      {
                          {"wrong encoding (UTF-16)", utf16(QStringLiteral("万位码+1=下期杀一星直选\r\n")), 0, "读入0条公式"},
                          {"wrong encoding (neither UTF-8 nor GB18030)", noise(64 * 1024), 0, "读入0条公式"},
                          {"NUL bytes", QByteArray("万位码\0+1=下期杀一星直选\r\n", 33), 0, "读入0条公式"},
                          {"10 MB line", repeated("千位码+", k10MB) + "1=下期杀一星直选\r\n", 0, "读入0条公式"},
                          {"SQL fragment", "万位码" + sql + "=下期杀一星直选\r\n" + sql + "\r\n", 0, "读入0条公式"},
                          {"unbalanced brackets", "((万位码+1=下期杀一星直选\r\n[三星直选]百位码)\r\n", 0, "读入0条公式"},
                          {"numbers out of range", "1e999=下期杀一星直选\r\n" + QByteArray(400, '9') + "=下期杀三星直选\r\n", 0, "读入0条公式"},
                          {"empty file", "", 0, "读入0条公式"},
                      }});

    // History files are taken whole or refused whole.
    points.push_back({"history file",
                      [](Fixture& f, const QByteArray& input) {
                          const QString path = f.temp.path(QStringLiteral("hostile-history.txt"));
                          test::writeFile(path, input);
                          return fromCli(test::runCli(f.temp, {"history", "import", path}));
                      },
                      {
                          {"wrong encoding (UTF-16)", utf16(QStringLiteral("160121001 12345\r\n")), 1},
                          {"wrong encoding (neither UTF-8 nor GB18030)", noise(64 * 1024), 1},
                          {"NUL bytes", QByteArray("160121001 12\0" "345\r\n", 18), 1},
                          {"10 MB line", "160121001 " + QByteArray(k10MB, '1') + "\r\n", 1},
                          {"many bad lines", repeated("160121001 1234\n", 1024 * 1024), 1},
                          {"SQL fragment", "160121001 12345" + sql + "\r\n", 1},
                          {"unbalanced brackets", "[160121001 12345\r\n", 1},
                          {"numbers out of range", "160121121 12345\r\n160121000 12345\r\n160121002 123456\r\n", 1},
                          {"periods not dates", "160230001 12345\r\n161301001 12345\r\n000000001 12345\r\n", 1},
                          {"duplicate periods in the file", "160121001 12345\r\n160121001 54321\r\n", 1},
                          {"duplicate of a stored period", "141030001 00000\r\n", 1},
                          {"empty file", "", 0},
                      }});

    points.push_back({"downloaded formula file",
                      [](Fixture& f, const QByteArray& input) {
                          const int status = input.startsWith("HTTP 500") ? 500 : 200;
                          f.answerWith(input, status);
                          return fromCli(test::runCli(f.temp, {"formula", "update", "--url", f.server.url(QStringLiteral("/f.txt"))}));
                      },
                      {
                          {"wrong encoding (UTF-16)", utf16(QString::fromUtf8(formulaDownload("万位码+1=下期杀一星直选"))), 1},
                          {"wrong encoding (neither UTF-8 nor GB18030)", noise(64 * 1024), 1},
                          {"NUL bytes", formulaDownload(QByteArray("万位码\0+1=下期杀一星直选", 31)), 1},
                          {"10 MB line", repeated("千位码+", k10MB) + "1=下期杀一星直选\r\n", 3},
                          {"SQL fragment", formulaDownload("万位码" + sql + "=下期杀一星直选"), 1},
                          {"unbalanced brackets", formulaDownload("((万位码+1=下期杀一星直选"), 1},
                          {"numbers out of range", formulaDownload("1e999=下期杀一星直选"), 1},
                          {"short file", "万位码+1=下期杀一星直选\r\n", 1},
                          {"empty file", "", 1},
                          {"server error", "HTTP 500", 3},
                      }});

    // Day pages of 2014-10-30 and 2014-10-31; the library's newest draw is 141030060.
    points.push_back({"downloaded page",
                      [](Fixture& f, const QByteArray& input) {
                          f.answerWith(input);
                          return fromCli(test::runCli(f.temp, {"history", "update", "--url", f.server.baseUrl(), "--days", "2",
                                                               "--today", "2014-10-31"}));
                      },
                      {
                          {"wrong encoding (UTF-16)", utf16(QStringLiteral("<html>141031-00112345</html>")), 3},
                          {"wrong encoding (neither UTF-8 nor GB18030)", noise(64 * 1024), 3},
                          // A marker of the day with no five digits after it: reported, nothing stored.
                          {"NUL bytes", QByteArray("<p>141031-001\0" "12345</p>", 23), 0, "号码无法识别的期号：141031001"},
                          {"10 MB line", repeated("141031-0011234", k10MB), 3},
                          {"SQL fragment", "<td>141031-001" + sql + "</td>", 0, "号码无法识别的期号：141031001"},
                          {"unbalanced brackets", "<div><<<script>141031-001<td>12345</div></span>>>", 3},
                          {"numbers out of range", "141031-12112345 141031-00012345 141031-001123 141031-002-1234", 0, "号码无法识别的期号：141031001"},
                          {"duplicate periods", "141031-00112345 141031-00154321", 0, "号码无法识别的期号：141031001"},
                          {"periods not dates", "141032-00112345 141300-00112345 000000-00112345", 3},
                          {"empty page", "", 3},
                      }});

    // Settings values: the store is not theirs, but neither it nor the settings file may change.
    points.push_back({"settings value",
                      [](Fixture& f, const QByteArray& input) {
                          return fromCli(test::runCli(f.temp, QStringList{"settings", "set"} + argumentsOf(input)));
                      },
                      {
                          {"wrong encoding (full-width digit)", "JSQS\n\xEF\xBC\x93", 1},
                          {"long line", "HistoryUrl\nhttp://" + QByteArray(kLongArgument, 'a'), 1},
                          {"SQL fragment", "IniSerchDay\n3" + sql, 1},
                          {"unbalanced brackets", "HistoryUrl\nhttp://[::1", 1},
                          {"numbers out of range (days 1)", "IniSerchDay\n1", 1},
                          {"numbers out of range (days 11)", "IniSerchDay\n11", 1},
                          {"numbers out of range (huge)", "IniSerchDay\n99999999999999999999", 1},
                          {"numbers out of range (window 10)", "JSQS\n10", 1},
                          {"numbers out of range (window -1)", "JSQS\n-1", 1},
                          {"not a flag", "LsXs\nyes", 1},
                          {"not a web address", "FormulaUrl\nfile:///etc/passwd", 1},
                          {"unknown key", "Lishi; DROP TABLE Lishi\n1", 1},
                          {"empty", "IniSerchDay\n", 1},
                      }});

    points.push_back({"command-line arguments",
                      [](Fixture& f, const QByteArray& input) { return fromCli(test::runCli(f.temp, argumentsOf(input))); },
                      {
                          {"wrong encoding (Arabic-Indic digits)", "history\nadd\n160121001\n\xD9\xA1\xD9\xA2\xD9\xA3\xD9\xA4\xD9\xA5", 1},
                          {"long line", "formula\nadd\n" + repeated("千位码+", kLongArgument) + "1=下期杀一星直选", 1},
                          {"SQL fragment (category)", "formula\nlist\n--category\n3D" + sql, 1},
                          {"SQL fragment (kind)", "formula\nlist\n--category\n3D\n--kind\nkill" + sql, 1},
                          {"unbalanced brackets", "formula\nadd\n((万位码=下期杀一星直选", 1},
                          {"numbers out of range (idx)", "formula\ndelete\n--category\n3D\n--kind\nkill\n--idx\n99999999999999999999", 2},
                          {"numbers out of range (idx 0)", "formula\ndelete\n--category\n3D\n--kind\nkill\n--idx\n0", 1},
                          {"numbers out of range (window)", "backtest\n--category\n3D\n--kind\nkill\n--window\n-5", 1},
                          {"numbers out of range (quota)", "calc\n--category\n3D\n--kind\nkill\n--quota\n11", 1},
                          {"numbers out of range (last)", "history\ndelete\n--last\n0", 1},
                          {"numbers out of range (bounds)", "filter\n--category\n3D\n--kind\nkill\n--bounds\nnan,1,2", 1},
                          {"period not a date (delete)", "history\ndelete\n--after\n160230001", 1},
                          {"period not a date (calc)", "calc\n--category\n3D\n--kind\nkill\n--period\n161301001", 1},
                          {"period not a date (today)", "history\nnext\n--today\n2016-02-30", 1},
                          {"duplicate period", "history\nadd\n141030060\n12345", 1},
                          {"empty", "formula\nadd\n", 1},
                          {"unknown command", "history\ndrop", 2},
                      }});
    return points;
}

class HostileInput : public ::testing::TestWithParam<EntryPoint> {};

}  // namespace

TEST_P(HostileInput, IsRefusedAndChangesNothing)
{
    const EntryPoint& entry = GetParam();
    Fixture fixture;
    ASSERT_GT(fixture.server.port(), 0);
    const QByteArray store = test::readFile(fixture.storeFile());
    const QByteArray settings = test::readFile(fixture.cliSettingsFile());
    ASSERT_FALSE(store.isEmpty());
    ASSERT_FALSE(settings.isEmpty());

    for (const HostileCase& c : entry.cases) {
        SCOPED_TRACE(std::string(entry.name) + ": " + c.kind);
        const Outcome outcome = entry.feed(fixture, c.input);
        const QString firstLine = outcome.message.section(u'\n', 0, 0).trimmed();
        std::printf("| %s | %s | %d | %s |\n", entry.name, c.kind, outcome.code, firstLine.toUtf8().constData());
        EXPECT_EQ(outcome.code, c.expectedCode) << outcome.message.left(500).toStdString();
        EXPECT_FALSE(firstLine.isEmpty());
        EXPECT_TRUE(outcome.message.contains(QString::fromUtf8(c.says))) << outcome.message.left(500).toStdString();
        // A message, not an echo of the input.
        EXPECT_LT(outcome.message.size(), 4000) << outcome.message.left(500).toStdString();
        EXPECT_TRUE(test::readFile(fixture.storeFile()) == store) << "the store file changed";
        EXPECT_FALSE(QFile::exists(fixture.storeFile() + QStringLiteral("-journal")));
        EXPECT_TRUE(test::readFile(fixture.cliSettingsFile()) == settings) << "the settings changed";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryEntryPoint, HostileInput, ::testing::ValuesIn(entryPoints()),
                         [](const testing::TestParamInfo<EntryPoint>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });
