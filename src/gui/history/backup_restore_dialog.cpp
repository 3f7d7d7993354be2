#include "gui/history/backup_restore_dialog.h"

#include "gui/common/grid_view.h"
#include "gui/common/widgets.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qeltaro::gui {

BackupRestoreDialog::BackupRestoreDialog(std::vector<StoreBackup> backups, const QString& folder, QWidget* parent)
    : QDialog(parent), backups_(std::move(backups))
{
    setObjectName(QStringLiteral("frmBackups"));
    setWindowTitle(QStringLiteral("从备份恢复"));
    auto* layout = new QVBoxLayout(this);
    auto* where = textLabel(QStringLiteral("lblBackupFolder"));
    where->setText(backups_.empty()
                       ? QStringLiteral("%1 中还没有备份。删除所有历史、清空所有公式和在线更新之前，程序都会先备份数据库。")
                             .arg(QDir::toNativeSeparators(folder))
                       : QStringLiteral("%1 中的备份（最新的在上）。恢复前，当前的数据库也会先备份一份。")
                             .arg(QDir::toNativeSeparators(folder)));
    layout->addWidget(where);

    grid_ = new QTableWidget(int(backups_.size()), 4, this);
    grid_->setObjectName(QStringLiteral("grdBackups"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("备份时间"), QStringLiteral("原因"), QStringLiteral("开奖号码"),
                                      QStringLiteral("公式")});
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    for (int r = 0; r < int(backups_.size()); ++r) {
        const StoreBackup& b = backups_[size_t(r)];
        const QStringList cells = {b.madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), b.reasonText(),
                                   b.readable() ? QStringLiteral("%1期").arg(b.draws) : QStringLiteral("无法读取"),
                                   b.readable() ? QStringLiteral("%1条").arg(b.formulas) : b.problem};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(b.fileName);
            grid_->setItem(r, c, item);
        }
    }
    grid_->resizeColumnsToContents();
    grid_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(grid_, 1);

    restoreButton_ = namedButton(QStringLiteral("cmdRestore"), QStringLiteral("恢复所选备份(&R)"));
    restoreButton_->setEnabled(false);
    connect(grid_, &QTableWidget::itemSelectionChanged, this,
            [this] { restoreButton_->setEnabled(!grid_->selectedItems().isEmpty()); });
    connect(restoreButton_, &QPushButton::clicked, this, &BackupRestoreDialog::chooseSelected);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, &BackupRestoreDialog::chooseSelected);
    layout->addLayout(rightButtons({restoreButton_, closeWindowButton(this)}));
    resize(640, 360);
}

void BackupRestoreDialog::chooseSelected()
{
    const int row = grid_->currentRow();
    if (row < 0 || row >= int(backups_.size()) || !backups_[size_t(row)].readable())
        return;
    emit restoreChosen(backups_[size_t(row)]);
}

}  // namespace qeltaro::gui
