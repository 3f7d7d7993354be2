#include "gui/history/history_commands.h"

#include "gui/common/background_task.h"
#include "gui/history/backup_restore_dialog.h"
#include "gui/common/dialogs.h"
#include "gui/common/online_address.h"
#include "gui/common/open_file.h"
#include "gui/common/window_host.h"
#include "history/draw_history.h"
#include "history/history_maintenance.h"
#include "history/history_text_export.h"
#include "history/online_update.h"
#include "io/web_address.h"
#include "store/store.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>

#include <memory>

namespace qeltaro::gui {
namespace {

const QString kDeleteTitle = QStringLiteral("删除期数");
const QString kRestoreTitle = QStringLiteral("从备份恢复");

}  // namespace

HistoryCommands::HistoryCommands(ListCommandsHost& host) : QObject(host.hostWidget()), host_(host) {}

void HistoryCommands::updateOnline()
{
    if (host_.task().busy())
        return;
    AnalysisSession& session = host_.session();
    if (Status s = onlineUpdateServes(session.store().game()); !s) {
        Dialogs::warn(host_.hostWidget(), QStringLiteral("在线更新"), s.error().message);
        return;
    }
    const auto address = onlineAddressOrAsk(host_.hostWidget(), session.settings(), OnlineSource::History);
    if (!address)
        return;
    // A malformed address is told before the question.
    if (const auto source = parseResultsBase(addressLines(*address).value(0)); !source) {
        Dialogs::warn(host_.hostWidget(), QStringLiteral("在线更新"), source.error().message);
        return;
    }
    if (!Dialogs::confirm(host_.hostWidget(), QStringLiteral("在线更新"),
                          QStringLiteral("确实要在线更新最新历史号码吗？更新可能要花费一段时间，网络不通或者我方服务器更新不及时可能都造成更新失败！")))
        return;
    OnlineUpdateOptions options;
    options.baseAddress = *address;
    options.searchDays = session.settings().read().searchDays;
    options.today = session.today();
    auto planned = OnlineHistoryUpdate::plan(session.store(), options);
    if (!planned) {
        Dialogs::warn(host_.hostWidget(), QStringLiteral("在线更新"), planned.error().message);
        return;
    }
    // The pages are read on the task's thread; the draws are stored here, on the store's.
    auto update = std::make_shared<OnlineHistoryUpdate>(std::move(*planned));
    host_.task().start([update](Progress& progress) { update->fetch(&progress); },
                       [this, update] {
                           auto report = update->apply(host_.session().store());
                           host_.refresh();
                           if (!report)
                               Dialogs::warn(host_.hostWidget(), QStringLiteral("在线更新"), report.error().message);
                           else
                               Dialogs::inform(host_.hostWidget(), QStringLiteral("在线更新"),
                                               updateSummaryLines(*report).join(u'\n'));
                       });
}

void HistoryCommands::exportText()
{
    auto file = exportHistoryText(host_.session().store());
    if (!file) {
        Dialogs::warn(host_.hostWidget(), QStringLiteral("历史号码导出"), file.error().message);
        return;
    }
    openWrittenFile(file->path);
}

void HistoryCommands::deleteLast()
{
    auto report = deleteLastDraw(host_.session().store());
    if (!report)
        Dialogs::warn(host_.hostWidget(), QStringLiteral("删除最后历史"), report.error().message);
    host_.reloadHistoryGrid();
    host_.backtest();
    host_.focusFirstDigit();
}

void HistoryCommands::deleteAll()
{
    const QString title = QStringLiteral("删除所有历史");
    const int draws = host_.session().history().rowCount();
    if (draws == 0) {
        Dialogs::inform(host_.hostWidget(), title, QStringLiteral("历史号码已经是空的，没有可删除的期。"));
        return;
    }
    if (!Dialogs::confirm(host_.hostWidget(), title,
                          QStringLiteral("确实要删除所有%1期历史号码吗？\n删除前会在数据文件夹的 backups 中备份数据库，"
                                         "可以用“历史管理 → 从备份恢复...”找回。")
                              .arg(draws)))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto report = deleteAllDraws(host_.session().store());
    QApplication::restoreOverrideCursor();
    if (!report)
        Dialogs::warn(host_.hostWidget(), QStringLiteral("删除所有历史"), report.error().message);
    host_.reloadFormulaList();
    host_.reloadHistoryGrid();
}

void HistoryCommands::openBackups()
{
    AnalysisSession& session = host_.session();
    auto backups = session.store().backups();
    if (!backups) {
        Dialogs::warn(host_.hostWidget(), kRestoreTitle, backups.error().message);
        return;
    }
    auto* dialog = new BackupRestoreDialog(std::move(*backups), session.store().backupFolder(), host_.hostWidget());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &BackupRestoreDialog::restoreChosen, this, [this, dialog](const StoreBackup& backup) {
        if (restore(backup))
            dialog->close();
    });
    dialog->open();
}

bool HistoryCommands::restore(const StoreBackup& backup)
{
    const QString question =
        QStringLiteral("确实要用%1（%2）的备份替换当前的数据吗？\n备份中有开奖号码%3期、公式%4条；"
                       "当前的数据库会先另外备份一份。")
            .arg(backup.madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), backup.reasonText())
            .arg(backup.draws)
            .arg(backup.formulas);
    if (!Dialogs::confirm(host_.hostWidget(), kRestoreTitle, question))
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto kept = host_.session().store().restore(backup.path);
    QApplication::restoreOverrideCursor();
    if (!kept) {
        Dialogs::warn(host_.hostWidget(), kRestoreTitle, kept.error().message);
        return false;
    }
    host_.storeReplaced();
    Dialogs::inform(host_.hostWidget(), kRestoreTitle,
                    QStringLiteral("已恢复：开奖号码%1期，公式%2条。\n恢复前的数据库已备份到 %3")
                        .arg(backup.draws)
                        .arg(backup.formulas)
                        .arg(QDir::toNativeSeparators(*kept)));
    return true;
}

void HistoryCommands::deleteAfterSelected()
{
    AnalysisSession& session = host_.session();
    QString proposal;
    if (!host_.selectedPeriod().isEmpty()) {
        auto proposed = proposeDeleteAfter(session.store(), host_.selectedPeriod());
        if (proposed)
            proposal = *proposed;
    }
    const auto answer = Dialogs::askText(host_.hostWidget(), kDeleteTitle,
                                         QStringLiteral("请输入需要删除到的期数(保留到该期），例如‘160121001’"), proposal);
    if (!answer || answer->trimmed().isEmpty())
        return;
    auto report = deleteDrawsAfter(session.store(), answer->trimmed());
    if (!report) {
        Dialogs::warn(host_.hostWidget(), kDeleteTitle, report.error().message);
        return;
    }
    host_.refresh();
}

void HistoryCommands::deleteLastN()
{
    const auto answer = Dialogs::askText(
        host_.hostWidget(), kDeleteTitle,
        QStringLiteral("请输入需要删除最后多少期历史号码（例如输入3，那么就将删除最后的3期历史号码）"), QStringLiteral("1"));
    if (!answer || answer->trimmed().isEmpty())
        return;
    auto report = deleteLastDraws(host_.session().store(), answer->trimmed());
    if (!report) {
        Dialogs::warn(host_.hostWidget(), kDeleteTitle, report.error().message);
        return;
    }
    host_.refresh();
}

void HistoryCommands::importClipboard()
{
    const QString title = QStringLiteral("从剪贴板导入历史");
    const QString text = QApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        Dialogs::warn(host_.hostWidget(), title,
                      QStringLiteral("剪贴板中没有文字：请先在网页或表格中选中历史号码并复制，再导入。"));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto report = DrawHistory(host_.session().store()).importText(text, DrawHistory::TextSource::Clipboard);
    QApplication::restoreOverrideCursor();
    if (!report) {
        Dialogs::warn(host_.hostWidget(), title, report.error().message);
        return;
    }
    host_.refresh();
    Dialogs::inform(host_.hostWidget(), title,
                    QStringLiteral("导入%1期，跳过已有的%2期").arg(report->stored).arg(report->skipped));
}

}  // namespace qeltaro::gui
