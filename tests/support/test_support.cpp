#include "test_support.h"

#include "io/text_codec.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace qeltaro::test {

TempStore::TempStore()
{
    reopen();
}

void TempStore::reopen()
{
    store_.reset();
    auto opened = Store::open(dataDir());
    if (!opened)
        ADD_FAILURE() << opened.error().message.toStdString();
    else
        store_ = std::move(*opened);
}

QString sourcePath(const QString& relative)
{
    return QStringLiteral(QELTARO_SOURCE_DIR) + u'/' + relative;
}

QString sampleHistoryPath()
{
    return sourcePath(QStringLiteral("data/sample-history.txt"));
}

QString sampleHistoryLines(int count)
{
    const QStringList lines = splitLines(decodeText(readFile(sampleHistoryPath())));
    return lines.mid(0, count).join(u'\n') + u'\n';
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

CliResult runCli(const TempStore& temp, const QStringList& arguments)
{
    return runCli(temp, arguments, {});
}

QString cliPath()
{
    return QStringLiteral(QELTARO_CLI_PATH);
}

QString storeWorkerPath()
{
    return QStringLiteral(QELTARO_STORE_WORKER_PATH);
}

CliResult runCli(const TempStore& temp, const QStringList& arguments, const std::function<void()>& inChild,
                 const QString& program)
{
    QProcess process;
    if (inChild)
        process.setChildProcessModifier(inChild);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QELTARO_DATA_DIR"), temp.dataDir());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), temp.configDir());
    env.insert(QStringLiteral("QELTARO_NO_OPEN"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.start(program.isEmpty() ? cliPath() : program, arguments);
    process.closeWriteChannel();
    CliResult result;
    if (!process.waitForFinished(120000)) {
        process.kill();
        result.err = QStringLiteral("qeltaro-cli did not finish");
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

}  // namespace qeltaro::test
