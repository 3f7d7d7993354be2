// The store where real machines make it fail: a read-only data folder, the file locked by
// another program, a file that is not a database, a store from a newer version, a full disk.
// Each time qeltaro-cli says what happened in plain words with exit code 3, and the store file
// is byte for byte what it was.

#include "library_fixture.h"
#include "store/store.h"
#include "test_support.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qeltaro;
using qeltaro::test::CliResult;
using qeltaro::test::runCli;
using qeltaro::test::TempStore;

namespace {

struct Expected {
    QStringList arguments;
    int exitCode;
    const char* words;  // in the message on stderr; empty for a command that succeeds
};

QString storeFile(const TempStore& temp)
{
    return temp.dataDir() + u'/' + QLatin1String(kStoreFileName);
}

// A store with draws and formulas, closed; input files beside it.
void prepareLibrary(TempStore& temp)
{
    test::fillLibrary(temp.store(), 40, 5);
    temp.close();
    test::writeFile(temp.path(QStringLiteral("history.txt")), test::sampleHistoryLines(200).toUtf8());
    test::writeFile(temp.path(QStringLiteral("formulas.txt")), test::formulaFileText(30, 100).toUtf8());
}

// Commands that write the store, each refused with `words`.
std::vector<Expected> writingCommands(const TempStore& temp, const char* words)
{
    return {
        {{"history", "add", "991231001", "12345"}, 3, words},
        {{"history", "import", temp.path(QStringLiteral("history.txt"))}, 3, words},
        {{"history", "delete", "--last", "1"}, 3, words},
        {{"formula", "add", "万位码+7=下期杀一星直选"}, 3, words},
        {{"backtest", "--category", "3D", "--kind", "kill"}, 3, words},
    };
}

void expectOutcomes(const TempStore& temp, const std::vector<Expected>& table, const std::function<void()>& inChild = {},
                    const QString& program = {})
{
    for (const Expected& e : table) {
        const CliResult r = runCli(temp, e.arguments, inChild, program);
        SCOPED_TRACE(e.arguments.join(u' ').toStdString());
        EXPECT_EQ(r.exitCode, e.exitCode) << r.err.toStdString();
        if (e.exitCode != 0) {
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(e.words))) << r.err.toStdString();
        }
    }
}

// As root every file is writable; the commands then run as the user nobody, for whom the
// folder's permissions count.
void asUnprivilegedUser()
{
    if (geteuid() == 0) {
        const gid_t nogroup = 65534;
        if (setgroups(1, &nogroup) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(120);
    }
}

// Whether the user nobody may run `program` and read `folder`: asked of the system in a child
// process that has become nobody.
bool nobodyCanReach(const QString& program, const QString& folder)
{
    const QByteArray programPath = QFile::encodeName(program);
    const QByteArray folderPath = QFile::encodeName(folder);
    const pid_t child = fork();
    if (child == 0) {
        asUnprivilegedUser();
        _exit(access(programPath.constData(), X_OK) == 0 && access(folderPath.constData(), R_OK | X_OK) == 0 ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(StoreFailureCli, ReadOnlyDataFolderIsReadButNeverWritten)
{
    TempStore temp;
    prepareLibrary(temp);
    const QByteArray before = test::readFile(storeFile(temp));
    // The temporary folder (0700) must be open to the unprivileged user; the data folder and the
    // store file are read-only.
    ASSERT_EQ(chmod(QFile::encodeName(temp.path(QString())).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(temp.dataDir()).constData(), 0555), 0);
    ASSERT_EQ(chmod(QFile::encodeName(storeFile(temp)).constData(), 0444), 0);
    chmod(QFile::encodeName(temp.path(QStringLiteral("history.txt"))).constData(), 0644);
    chmod(QFile::encodeName(temp.path(QStringLiteral("formulas.txt"))).constData(), 0644);
    // The built program may lie in a folder only root may enter (a checkout under /root): as
    // root the commands run from a copy beside the data.
    QString program;
    if (geteuid() == 0) {
        program = temp.path(QStringLiteral("qeltaro-cli"));
        ASSERT_TRUE(QFile::copy(test::cliPath(), program));
        ASSERT_EQ(chmod(QFile::encodeName(program).constData(), 0755), 0);
        if (!nobodyCanReach(program, temp.dataDir()))
            GTEST_SKIP() << "the user nobody cannot reach " << temp.path(QString()).toStdString()
                         << ": a folder above it is closed to other users; set TMPDIR to a folder open to them";
    }

    std::vector<Expected> table = {
        {{"history", "list"}, 0, ""},
        {{"formula", "list", "--category", "3D"}, 0, ""},
        {{"formula", "import", temp.path(QStringLiteral("formulas.txt"))}, 3, "不允许写入"},
        {{"formula", "clear-all"}, 3, "备份"},
    };
    for (const Expected& e : writingCommands(temp, "只读"))
        table.push_back(e);
    expectOutcomes(temp, table, asUnprivilegedUser, program);

    ASSERT_EQ(chmod(QFile::encodeName(temp.dataDir()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(storeFile(temp)).constData(), 0644), 0);
    EXPECT_EQ(test::readFile(storeFile(temp)), before);
    EXPECT_FALSE(QFile::exists(storeFile(temp) + QStringLiteral("-journal")));
}

TEST(StoreFailureCli, AnotherProgramHoldingTheStore)
{
    TempStore temp;
    prepareLibrary(temp);
    const QByteArray before = test::readFile(storeFile(temp));

    for (const char* mode : {"exclusive", "immediate"}) {
        SCOPED_TRACE(mode);
        QProcess holder;
        holder.start(qeltaro::test::storeWorkerPath(), {temp.dataDir(), QStringLiteral("hold-lock"), QString::fromUtf8(mode)});
        QByteArray out;
        while (!out.contains("locked\n") && holder.waitForReadyRead(30000))
            out += holder.readAllStandardOutput();
        ASSERT_TRUE(out.contains("locked\n")) << holder.readAllStandardError().toStdString();

        // A program writing (immediate) still lets others read; one holding the file alone
        // (exclusive) lets nobody in.
        std::vector<Expected> table = {{{"history", "list"}, std::string(mode) == "immediate" ? 0 : 3, "另一个程序"}};
        table.push_back(writingCommands(temp, "另一个程序").front());
        expectOutcomes(temp, table);

        holder.closeWriteChannel();
        ASSERT_TRUE(holder.waitForFinished(30000));
        EXPECT_EQ(holder.exitCode(), 0) << holder.readAllStandardError().toStdString();
    }
    EXPECT_EQ(test::readFile(storeFile(temp)), before);
    EXPECT_EQ(runCli(temp, {"history", "add", "991231001", "12345"}).exitCode, 0);
}

TEST(StoreFailureCli, FilesThatAreNoUsableStore)
{
    TempStore temp;
    prepareLibrary(temp);
    const QByteArray real = test::readFile(storeFile(temp));
    ASSERT_GT(real.size(), 64 * 1024);
    QByteArray newer = real;
    newer[63] = 2;  // user_version, the big-endian integer at offset 60
    QByteArray scrambled = real;
    for (qsizetype i = 4096; i < scrambled.size(); i += 7)
        scrambled[i] = char(scrambled[i] ^ 0x5a);
    const struct {
        const char* name;
        QByteArray bytes;
        const char* words;
    } files[] = {
        {"text", QByteArray(4096, 'x'), "不是本程序的数据库文件"},
        {"database header, then noise", QByteArray("SQLite format 3\0", 16) + QByteArray(8192, '\x7f'), "不是本程序的数据库文件"},
        {"cut short", real.left(8192), "损坏"},
        {"pages scrambled", scrambled, "损坏"},
        {"from a newer version", newer, "更新版本"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        QFile::remove(storeFile(temp));
        test::writeFile(storeFile(temp), file.bytes);
        expectOutcomes(temp, {{{"history", "list"}, 3, file.words},
                              {{"history", "add", "991231001", "12345"}, 3, file.words},
                              {{"formula", "import", temp.path(QStringLiteral("formulas.txt"))}, 3, file.words}});
        EXPECT_EQ(test::readFile(storeFile(temp)), file.bytes);
    }
}

TEST(StoreFailureCli, FullDiskChangesNothing)
{
    TempStore temp;
    prepareLibrary(temp);
    const QByteArray before = test::readFile(storeFile(temp));
    // No file may grow beyond 16 KB: the journal of any change is larger, so every write fails
    // the way it does on a full disk.
    auto smallDisk = [] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16 * 1024, 16 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
    };
    expectOutcomes(temp, writingCommands(temp, "磁盘"), smallDisk);
    expectOutcomes(temp, {{{"formula", "import", temp.path(QStringLiteral("formulas.txt"))}, 3, "磁盘"},
                          {{"formula", "clear-all"}, 3, "磁盘"}},
                   smallDisk);
    // A commit cut short leaves its journal beside the store; the next program to open the store
    // puts the old pages back from it, before anything is read.
    EXPECT_EQ(runCli(temp, {"history", "list"}).exitCode, 0);
    EXPECT_FALSE(QFile::exists(storeFile(temp) + QStringLiteral("-journal")));
    EXPECT_EQ(test::readFile(storeFile(temp)), before);
    EXPECT_EQ(runCli(temp, {"history", "add", "991231001", "12345"}).exitCode, 0);
}
