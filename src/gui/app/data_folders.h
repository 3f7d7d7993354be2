#pragma once
// Which data folder the desktop program works on. Each folder's store serves one game, so a
// player switches folders to switch games; the folders opened lately are kept in the per-user
// settings for the menu.

#include "common/result.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace qeltaro {
class Settings;
}

namespace qeltaro::gui {

class MainWindow;

inline constexpr int kRecentDataFolders = 5;

// Whether two spellings name the same folder.
bool sameFolder(const QString& a, const QString& b);

// The folders opened lately, newest first, at most kRecentDataFolders.
QStringList recentDataFolders(Settings& settings);
// Puts `folder` first, dropping an earlier mention of it and the oldest beyond the limit.
void rememberDataFolder(Settings& settings, const QString& folder);

// Owns the main window. Switching folders opens a new window on the new folder's store, as at
// start-up, and closes the old one with its tool windows: nothing keeps data of the old store.
class MainWindowLauncher : public QObject {
    Q_OBJECT
public:
    // `settingsFile`: the settings file every window's session reads; empty for the user's own.
    explicit MainWindowLauncher(QString settingsFile = QString());
    ~MainWindowLauncher() override;

    // Opens and shows a window on `dataDir`; on failure the current window, if any, stays.
    Status open(const QString& dataDir);
    MainWindow* window() const { return window_.get(); }

private:
    // What the window's folder commands ask for: refused with a message while work runs.
    void switchTo(const QString& dataDir);

    QString settingsFile_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace qeltaro::gui
