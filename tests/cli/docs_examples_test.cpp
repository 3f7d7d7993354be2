// Every example command of docs/cli.md runs as written against a temporary store.

#include "io/text_codec.h"
#include "test_support.h"

#include <QProcess>

#include <gtest/gtest.h>

using qeltaro::test::runCli;
using qeltaro::test::TempStore;

namespace {

QStringList exampleCommands()
{
    const QString doc = qeltaro::decodeText(qeltaro::test::readFile(qeltaro::test::sourcePath(QStringLiteral("docs/cli.md"))));
    const qsizetype at = doc.indexOf(QStringLiteral("\n## Examples"));
    QStringList commands;
    if (at < 0)
        return commands;
    for (const QString& line : qeltaro::splitLines(doc.mid(at))) {
        if (line.startsWith(QStringLiteral("qeltaro-cli ")))
            commands << line;
    }
    return commands;
}

}  // namespace

TEST(DocumentedExamples, EveryExampleCommandSucceeds)
{
    const QStringList commands = exampleCommands();
    ASSERT_GE(commands.size(), 20);
    TempStore temp;
    temp.close();
    for (const QString& command : commands) {
        QStringList arguments = QProcess::splitCommand(command).mid(1);
        for (QString& argument : arguments) {
            if (argument.startsWith(QStringLiteral("data/")))
                argument = qeltaro::test::sourcePath(argument);
        }
        const auto result = runCli(temp, arguments);
        EXPECT_EQ(result.exitCode, 0) << command.toStdString() << "\n" << result.err.toStdString();
    }
}

TEST(DocumentedExamples, EveryCommandHasASection)
{
    const QString doc = qeltaro::decodeText(qeltaro::test::readFile(qeltaro::test::sourcePath(QStringLiteral("docs/cli.md"))));
    TempStore temp;
    const auto help = runCli(temp, {QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0);
    const auto version = runCli(temp, {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("qeltaro-cli "))) << version.out.toStdString();
    // The version alone is answered before the parser is built, in the parser's own words.
    EXPECT_EQ(version.out, runCli(temp, {QStringLiteral("--json"), QStringLiteral("--version")}).out);
    // Each subcommand the program lists is documented under a heading of its own.
    const QStringList lines = help.out.split(u'\n');
    bool inSubcommands = false;
    int documented = 0;
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("Subcommands:"))) {
            inSubcommands = true;
            continue;
        }
        if (!inSubcommands || line.trimmed().isEmpty())
            continue;
        const QString name = line.trimmed().section(u' ', 0, 0);
        EXPECT_TRUE(doc.contains(QStringLiteral("\n## ") + name) || doc.contains(QStringLiteral("\n### ") + name))
            << name.toStdString();
        ++documented;
    }
    EXPECT_GE(documented, 5);
}
