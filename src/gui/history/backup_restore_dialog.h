#pragma once
// "从备份恢复": the copies of the store kept under backups/, newest first, with when and why each
// was made and what it holds; the chosen one is handed back for the restore.

#include "store/store_backups.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTableWidget;

namespace qeltaro::gui {

class BackupRestoreDialog : public QDialog {
    Q_OBJECT
public:
    BackupRestoreDialog(std::vector<StoreBackup> backups, const QString& folder, QWidget* parent = nullptr);

signals:
    // The user chose this copy and pressed 恢复.
    void restoreChosen(const StoreBackup& backup);

private:
    void chooseSelected();

    std::vector<StoreBackup> backups_;
    QTableWidget* grid_ = nullptr;
    QPushButton* restoreButton_ = nullptr;
};

}  // namespace qeltaro::gui
