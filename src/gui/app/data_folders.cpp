#include "gui/app/data_folders.h"

#include "gui/app/main_window.h"
#include "gui/common/background_task.h"
#include "gui/common/dialogs.h"
#include "settings/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace qeltaro::gui {
namespace {

const QString kSwitchTitle = QStringLiteral("切换数据文件夹");

// One spelling per folder, so a folder given two ways is listed once.
QString folderKey(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return QDir::cleanPath(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

}  // namespace

bool sameFolder(const QString& a, const QString& b)
{
    return folderKey(a) == folderKey(b);
}

QStringList recentDataFolders(Settings& settings)
{
    return settings.recentDataFolders(kRecentDataFolders);
}

void rememberDataFolder(Settings& settings, const QString& folder)
{
    const QString key = folderKey(folder);
    QStringList folders{key};
    for (const QString& earlier : recentDataFolders(settings)) {
        if (folders.size() < kRecentDataFolders && !sameFolder(earlier, key))
            folders << earlier;
    }
    settings.setRecentDataFolders(folders);
}

MainWindowLauncher::MainWindowLauncher(QString settingsFile) : settingsFile_(std::move(settingsFile)) {}

MainWindowLauncher::~MainWindowLauncher() = default;

Status MainWindowLauncher::open(const QString& dataDir)
{
    auto settings = settingsFile_.isEmpty() ? std::make_unique<Settings>() : std::make_unique<Settings>(settingsFile_);
    auto session = AnalysisSession::open(dataDir, std::move(settings));
    if (!session)
        return session.error();
    rememberDataFolder((*session)->settings(), (*session)->store().dataDir());
    auto next = std::make_unique<MainWindow>(std::move(*session));
    connect(next.get(), &MainWindow::dataFolderChosen, this, &MainWindowLauncher::switchTo);
    if (window_) {
        next->setGeometry(window_->geometry());
        if (window_->isMaximized())
            next->setWindowState(Qt::WindowMaximized);
    }
    next->show();
    // The old window may be in the middle of the menu command that chose the folder.
    if (window_) {
        window_->hide();
        window_.release()->deleteLater();
    }
    window_ = std::move(next);
    return success();
}

void MainWindowLauncher::switchTo(const QString& dataDir)
{
    if (!window_ || sameFolder(dataDir, window_->session().store().dataDir()))
        return;
    for (const BackgroundTask* task : window_->findChildren<BackgroundTask*>()) {
        if (task->busy()) {
            Dialogs::warn(window_.get(), kSwitchTitle, QStringLiteral("后台工作还没有结束：请等它结束或按“停止”，再切换数据文件夹。"));
            return;
        }
    }
    if (!QFileInfo(dataDir).isDir()) {
        Dialogs::warn(window_.get(), kSwitchTitle, QStringLiteral("文件夹 %1 不存在；没有切换").arg(QDir::toNativeSeparators(dataDir)));
        return;
    }
    if (Status s = open(dataDir); !s)
        Dialogs::warn(window_.get(), kSwitchTitle, s.error().message + QStringLiteral("\n仍在使用原来的数据文件夹。"));
}

}  // namespace qeltaro::gui
