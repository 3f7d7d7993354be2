#pragma once
// Shared test helpers: a temporary data folder with its own store and settings, the sample
// history, and running qeltaro-cli as a process.

#include "store/store.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace qeltaro::test {

// A fresh data folder and settings file; never the user's.
class TempStore {
public:
    TempStore();
    Store& store() { return *store_; }
    QString dataDir() const { return dir_.path() + QStringLiteral("/data"); }
    QString configDir() const { return dir_.path() + QStringLiteral("/config"); }
    // The file qeltaro-cli reads under configDir() (the user scope's INI file).
    QString settingsFile() const { return configDir() + QStringLiteral("/Qeltaro/Qeltaro.ini"); }
    QString path(const QString& name) const { return dir_.path() + u'/' + name; }
    // Closes and opens the store again on the same file.
    void reopen();
    void close() { store_.reset(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<Store> store_;
};

QString sourcePath(const QString& relative);
// The helper program that runs one store operation in a child process.
QString storeWorkerPath();
QString sampleHistoryPath();
// The first `count` lines of the sample history, as a text.
QString sampleHistoryLines(int count);

void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs qeltaro-cli with the given arguments against the temporary store's folders.
CliResult runCli(const TempStore& temp, const QStringList& arguments);
// The same, with `inChild` run in the child process just before qeltaro-cli starts (resource
// limits, another user), and the program taken from `program` when it is given (a copy another
// user can reach).
CliResult runCli(const TempStore& temp, const QStringList& arguments, const std::function<void()>& inChild,
                 const QString& program = {});
// The built qeltaro-cli.
QString cliPath();

}  // namespace qeltaro::test
