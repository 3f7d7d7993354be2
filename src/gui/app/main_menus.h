#pragma once
// The main window's menus, each item a typed member. The object names (mnuDlAll and the like)
// stay: tests and the guide's pictures name the items by them.

class QAction;
class QMenu;
class QMenuBar;

namespace qeltaro::gui {

// 历史管理 (mnuLsgl); also the history grid's right-click menu.
struct HistoryMenu {
    explicit HistoryMenu(QMenuBar* bar);

    QMenu* menu = nullptr;
    QAction* exportHistory = nullptr;     // mnuDcls
    QAction* deleteAll = nullptr;         // mnuDlAll
    QAction* deleteToSelected = nullptr;  // mnuDlzd
    QAction* deleteLastN = nullptr;       // mnuEszhzd
    QAction* pasteHistory = nullptr;      // mnuPasteHistory
    QAction* restoreBackup = nullptr;     // mnuRestoreBackup
};

// 管理 (mnuMang); also the formula list's right-click menu.
struct FormulaMenu {
    explicit FormulaMenu(QMenuBar* bar);

    QMenu* menu = nullptr;
    QAction* exportList = nullptr;        // mnuExl
    QAction* steps = nullptr;             // mnuGsls
    QAction* hitRate = nullptr;           // mnuHitRate
    QAction* journal = nullptr;           // mnuJournal
    QAction* chasePlan = nullptr;         // mnuChasePlan
    QAction* deleteThis = nullptr;        // mnuDelGS
    QAction* deleteSelected = nullptr;    // mnuDelXzGS
    QAction* deleteLast = nullptr;        // mnuDelLst
    QAction* deleteUnselected = nullptr;  // mnuDelNXzGS
};

// What the settings menu holds about the store: its game, its prizes and the folder it lives in.
struct DataMenuItems {
    explicit DataMenuItems(QMenu* settings);

    QAction* game = nullptr;        // mnuGame
    QAction* payout = nullptr;      // mnuPayout
    QAction* chooseFolder = nullptr;  // mnuDataDir
    QMenu* recentFolders = nullptr;   // mnuRecentDataDirs, listed when opened
};

}  // namespace qeltaro::gui
