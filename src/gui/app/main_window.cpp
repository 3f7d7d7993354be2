#include "gui/app/main_window.h"

#include "gui/app/command_buttons.h"
#include "gui/app/data_folders.h"
#include "gui/app/formula_list_view.h"
#include "gui/app/formula_panel.h"
#include "gui/app/game_dialog.h"
#include "gui/app/history_panel.h"
#include "gui/app/main_menus.h"
#include "gui/app/money_commands.h"
#include "gui/app/settings_menu.h"
#include "gui/app/tool_window_commands.h"
#include "gui/common/background_task.h"
#include "gui/common/dialogs.h"
#include "gui/common/grid_view.h"
#include "gui/common/open_file.h"
#include "gui/common/widgets.h"
#include "gui/export/list_export_commands.h"
#include "gui/export/parameter_reference_window.h"
#include "gui/formula/formula_commands.h"
#include "gui/history/draw_watch_commands.h"
#include "gui/history/history_commands.h"
#include "gui/search/search_window_commands.h"
#include "gui/trend/trend_window.h"
#include "io/data_location.h"
#include "session/first_start.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QUrl>

#include <type_traits>

namespace qeltaro::gui {

MainWindow::MainWindow(std::unique_ptr<AnalysisSession> session, QWidget* parent)
    : QMainWindow(parent), session_(std::move(session))
{
    setObjectName(QStringLiteral("frmMain"));

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    historyPanel_ = new HistoryPanel(*session_, splitter);
    formulaPanel_ = new FormulaPanel(*session_, splitter);
    splitter->addWidget(historyPanel_);
    splitter->addWidget(formulaPanel_);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 5);
    setCentralWidget(splitter);

    buildStatusBar();
    buildMenus();
    historyCommands_ = new HistoryCommands(*this);
    formulaCommands_ = new FormulaCommands(*this);
    toolCommands_ = new ToolWindowCommands(*this);
    connectPanels();
    connectCommands();

    // Start-up: 一星直选, kill formulas, all selected, then the refresh cycle.
    formulaPanel_->chooseStartOptions(session_->mirror().calculateSelected);
    showGame();
    refresh();
    resize(1366, 698);
}

MainWindow::~MainWindow()
{
    // The grids and their models read the session: let them go before it does.
    delete takeCentralWidget();
}

void MainWindow::buildStatusBar()
{
    auto* progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("ProgressBar1"));
    progress->setMaximumWidth(360);
    progress->setTextVisible(true);
    progress->reset();  // no text until a task reports
    statusBar()->addPermanentWidget(progress);
    QPushButton* stop = namedButton(QStringLiteral("cmdStop"), QStringLiteral("停止"));
    statusBar()->addPermanentWidget(stop);
    task_ = new BackgroundTask(progress, stop, this);
}

void MainWindow::buildMenus()
{
    settingsMenu_ = new SettingsMenu(session_->settings(), session_->mirror(), this);
    connect(settingsMenu_, &SettingsMenu::periodWindowChanged, this, &MainWindow::backtest);
    menuBar()->addMenu(settingsMenu_->menu());
    dataMenu_ = std::make_unique<DataMenuItems>(settingsMenu_->menu());
    connect(dataMenu_->game, &QAction::triggered, this, &MainWindow::openGameDialog);
    connect(dataMenu_->chooseFolder, &QAction::triggered, this, [this] {
        const QString folder = Dialogs::chooseFolder(this, QStringLiteral("切换数据文件夹"), session_->store().dataDir());
        if (!folder.isEmpty())
            emit dataFolderChosen(folder);
    });
    // Listed when opened: every folder opened changes the list.
    connect(dataMenu_->recentFolders, &QMenu::aboutToShow, this, &MainWindow::listRecentFolders);
    historyMenu_ = std::make_unique<HistoryMenu>(menuBar());
    formulaMenu_ = std::make_unique<FormulaMenu>(menuBar());
}

void MainWindow::listRecentFolders()
{
    QMenu* recent = dataMenu_->recentFolders;
    recent->clear();
    const QStringList folders = recentDataFolders(session_->settings());
    for (int i = 0; i < folders.size(); ++i) {
        QAction* item = recent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(folders[i])));
        item->setObjectName(QStringLiteral("mnuRecentDataDir_%1").arg(i));
        item->setCheckable(true);
        item->setChecked(sameFolder(folders[i], session_->store().dataDir()));
        const QString folder = folders[i];
        connect(item, &QAction::triggered, this, [this, folder] { emit dataFolderChosen(folder); });
    }
    if (folders.isEmpty())
        recent->addAction(QStringLiteral("（无）"))->setEnabled(false);
}

void MainWindow::openGameDialog()
{
    auto* dialog = new GameDialog(session_->store(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &GameDialog::gameChanged, this, [this] {
        showGame();
        refresh();
    });
    dialog->open();
}

void MainWindow::showGame()
{
    setWindowTitle(QStringLiteral("Qeltaro - %1").arg(session_->store().game().name));
    historyPanel_->showGame();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    const QObjectList owned = children();
    for (QObject* child : owned) {
        auto* window = qobject_cast<QWidget*>(child);
        if (window && window->isWindow() && window->isVisible() && !window->close()) {
            event->ignore();
            return;
        }
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::connectPanels()
{
    connect(historyPanel_, &HistoryPanel::drawTyped, this, &MainWindow::storeTypedDraw);
    connect(historyPanel_, &HistoryPanel::periodReleased, this, [this](const QString& period, Qt::MouseButton button) {
        selectedPeriod_ = period;
        if (button == Qt::RightButton)
            historyMenu_->menu->popup(QCursor::pos());
    });
    connect(historyPanel_, &HistoryPanel::verificationToggled, this, [this] {
        historyPanel_->setFormulaCount(session_->formulaList().size());
        reloadHistoryGrid();
        backtest();
    });
    connect(formulaPanel_, &FormulaPanel::categoryChosen, this, &MainWindow::chooseCategory);
    // Choosing a kind only sets it; the lists follow at the next refresh.
    connect(formulaPanel_, &FormulaPanel::kindChosen, this, [this](Kind kind) {
        session_->setKind(kind);
        refresh();
    });
    connect(formulaPanel_, &FormulaPanel::methodChosen, this, [this](CalculationMethod method) {
        session_->settings().setCalculateSelected(session_->mirror(), method == CalculationMethod::Selected);
    });
    connect(formulaPanel_, &FormulaPanel::formulaReleased, this, &MainWindow::formulaReleased);
    connect(formulaPanel_, &FormulaPanel::addTypedFormula, formulaCommands_, &FormulaCommands::addTyped);
}

void MainWindow::connectCommands()
{
    const CommandButtons& buttons = formulaPanel_->commands();
    const HistoryMenu& history = *historyMenu_;
    const FormulaMenu& formulas = *formulaMenu_;
    auto on = [this](auto* control, auto* receiver, auto slot) {
        using Control = std::remove_pointer_t<decltype(control)>;
        if constexpr (std::is_same_v<Control, QAction>)
            connect(control, &QAction::triggered, receiver, slot);
        else
            connect(control, &QPushButton::clicked, receiver, slot);
    };
    on(buttons.updateHistory, historyCommands_, &HistoryCommands::updateOnline);
    on(buttons.exportHistoryText, historyCommands_, &HistoryCommands::exportText);
    on(buttons.deleteLastDraw, historyCommands_, &HistoryCommands::deleteLast);
    on(history.deleteAll, historyCommands_, &HistoryCommands::deleteAll);
    on(history.deleteToSelected, historyCommands_, &HistoryCommands::deleteAfterSelected);
    on(history.deleteLastN, historyCommands_, &HistoryCommands::deleteLastN);
    on(history.pasteHistory, historyCommands_, &HistoryCommands::importClipboard);
    on(history.restoreBackup, historyCommands_, &HistoryCommands::openBackups);

    on(buttons.importFormulas, formulaCommands_, &FormulaCommands::importFile);
    on(buttons.updateFormulas, formulaCommands_, &FormulaCommands::updateOnline);
    on(buttons.clearFormulas, formulaCommands_, &FormulaCommands::clearAll);
    on(buttons.exportAllCategories, formulaCommands_, &FormulaCommands::exportAllCategories);
    on(buttons.exportCategory, formulaCommands_, &FormulaCommands::exportSelectedCategory);
    on(formulas.deleteThis, formulaCommands_, &FormulaCommands::deleteThis);
    on(formulas.deleteLast, formulaCommands_, &FormulaCommands::deleteLast);
    on(formulas.deleteSelected, formulaCommands_, &FormulaCommands::deleteSelected);
    on(formulas.deleteUnselected, formulaCommands_, &FormulaCommands::deleteUnselected);

    on(buttons.filter, toolCommands_, &ToolWindowCommands::openFilter);
    on(buttons.calculate, toolCommands_, &ToolWindowCommands::calculate);
    on(buttons.replay, toolCommands_, &ToolWindowCommands::replay);
    on(formulas.steps, toolCommands_, &ToolWindowCommands::showFormulaSteps);
    on(formulas.hitRate, toolCommands_, &ToolWindowCommands::showHitRateChart);
    on(formulas.journal, toolCommands_, &ToolWindowCommands::openJournal);
    on(formulas.trend, this, [this] { TrendWindow::open(*this); });
    connect(historyPanel_, &HistoryPanel::trendChartRequested, this, [this] { TrendWindow::open(*this); });

    // Money: 奖金设置 beside the game, 倍投计划 with the bets of the last calculation.
    auto* money = new MoneyCommands(*this, [tools = toolCommands_]() -> const std::optional<CategoryCalculation>& {
        return tools->lastCalculation();
    });
    on(dataMenu_->payout, money, &MoneyCommands::openPayoutDialog);
    on(formulas.chasePlan, money, &MoneyCommands::openChasePlan);

    // 自动更新开奖 makes the player's last calculation again after new draws.
    new DrawWatchCommands(*this, historyMenu_->menu, statusBar(),
                          {[tools = toolCommands_] { return tools->lastRequest(); },
                           [tools = toolCommands_](const CalculationRun& run) { tools->showMadeCalculation(run.calculation); }});

    auto* exports = new ListExportCommands(*this);
    auto exportHistory = [this, exports] { exports->exportHistory(historyPanel_->verificationShown()); };
    on(buttons.exportSheet, exports, exportHistory);
    on(history.exportHistory, exports, exportHistory);
    on(formulas.exportList, exports, [this, exports] { exportFormulaList(*exports); });

    on(buttons.guide, this, [this] { openGuide(QString()); });
    on(buttons.tour, this, [this] { openGuide(QStringLiteral("quick-tour")); });
    on(buttons.pictures, this, [this] { openGuide(QStringLiteral("pictures")); });
    on(buttons.search, this, [this] { openFormulaSearchWindow(*this); });
    on(buttons.settings, this, [this] { settingsMenu_->menu()->popup(QCursor::pos()); });
    on(buttons.parameterReference, this, [this] {
        auto* window = new ParameterReferenceWindow(session_->history(), this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    });
    connectListButtons();
}

void MainWindow::connectListButtons()
{
    const CommandButtons& buttons = formulaPanel_->commands();
    connect(buttons.selectAll, &QPushButton::clicked, this, [this] {
        session_->selection().selectAll(session_->listedIdx());
        formulaList().model().selectionChanged();
    });
    connect(buttons.invertSelection, &QPushButton::clicked, this, [this] {
        session_->selection().invert(session_->listedIdx());
        formulaList().model().selectionChanged();
    });
}

void MainWindow::exportFormulaList(ListExportCommands& exports)
{
    // The rows as the list shows them: in its current order, with the digits it shows.
    const FormulaListModel& model = formulaList().model();
    std::vector<FormulaSheetRow> rows;
    rows.reserve(model.rows().size());
    for (const FormulaListRow& shown : model.rows()) {
        rows.push_back({shown.number, shown.kind, shown.code, shown.chinese, shown.starWord, shown.next, shown.rateText,
                        shown.maxMissRun, shown.maxHitRun, shown.lastMissRun, shown.lastHitRun});
    }
    exports.exportFormulaList(rows, model.showChinese());
}

void MainWindow::offerSampleOnFirstStart()
{
    auto offer = shouldOfferSample(session_->store(), session_->settings());
    if (!offer || !*offer)
        return;
    const bool accepted = Dialogs::confirm(this, sampleOfferTitle(), sampleOfferQuestion());
    rememberSampleOffer(session_->settings());
    if (!accepted)
        return;
    const QString sample = bundledFile(QStringLiteral("data/sample-history.txt"));
    auto loaded = sample.isEmpty() ? Result<SampleLoad>(storageError(QStringLiteral("找不到随程序附带的示例历史号码文件")))
                                   : loadSample(session_->store(), sample);
    if (!loaded)
        Dialogs::warn(this, sampleOfferTitle(), loaded.error().message);
    refresh();
}

void MainWindow::openGuide(const QString& section)
{
    const QString guide = bundledFile(QStringLiteral("docs/guide/index.html"));
    if (guide.isEmpty()) {
        Dialogs::warn(this, QStringLiteral("使用说明"), QStringLiteral("找不到使用说明文件（docs/guide/index.html）。"));
        return;
    }
    QUrl url = QUrl::fromLocalFile(guide);
    if (!section.isEmpty())
        url.setFragment(section);
    if (openWrittenFiles())
        QDesktopServices::openUrl(url);
}

void MainWindow::refreshKeepingSelection()
{
    const FormulaSelection kept = session_->selection();
    if (Status s = session_->reloadFormulas(&kept); !s)
        Dialogs::warn(this, QStringLiteral("读取公式失败"), s.error().message);
    showFormulaRows();
    reloadHistoryGrid();
    backtest();
}

void MainWindow::showList(const FormulaListKey& key)
{
    session_->showList(key);
    formulaPanel_->showListOptions(key);
    refresh();
}

QString MainWindow::typedFormula() const { return formulaPanel_->typedFormula(); }

void MainWindow::takeTypedFormula() { formulaPanel_->clearTypedFormula(); }

void MainWindow::focusTypedFormula() { formulaPanel_->focusTypedFormula(); }

CalculationChoice MainWindow::calculationChoice() const { return formulaPanel_->calculationChoice(); }

FormulaListView& MainWindow::formulaList() const { return formulaPanel_->list(); }

const FormulaListRow* MainWindow::chosenFormula() const
{
    if (!chosen_ || chosen_->list != session_->listKey())
        return nullptr;
    for (const FormulaListRow& row : formulaList().model().rows()) {
        if (row.idx == chosen_->idx)
            return row.code == chosen_->code ? &row : nullptr;
    }
    return nullptr;
}

std::optional<int> MainWindow::chosenFormulaIdx() const
{
    const FormulaListRow* row = chosenFormula();
    return row ? std::optional<int>(row->idx) : std::nullopt;
}

QString MainWindow::currentPeriod() const
{
    return historyPanel_->typedPeriod();
}

void MainWindow::storeReplaced()
{
    forgetChosenFormula();
    showGame();
    refresh();
}

void MainWindow::focusFirstDigit()
{
    historyPanel_->focusFirstDigit();
}

void MainWindow::refresh()
{
    reloadFormulaList();
    reloadHistoryGrid();
    backtest();
}

void MainWindow::reloadFormulaList()
{
    if (Status s = session_->reloadFormulas(); !s)
        Dialogs::warn(this, QStringLiteral("读取公式失败"), s.error().message);
    showFormulaRows();
    scrollToEndIfLong(&formulaList());
}

void MainWindow::showFormulaRows()
{
    formulaList().showRows(session_->formulaList(), session_->statistics(), session_->mirror().weightedRate);
}

void MainWindow::reloadHistoryGrid()
{
    if (Status s = session_->reloadHistory(); !s)
        Dialogs::warn(this, QStringLiteral("读取历史号码失败"), s.error().message);
    historyPanel_->showHistory();
    formulaPanel_->setLatestPeriod(session_->latestPeriod());
}

void MainWindow::backtest()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status tested = session_->backtest();
    QApplication::restoreOverrideCursor();
    if (!tested)
        Dialogs::warn(this, QStringLiteral("公式验算"), tested.error().message);
    FormulaListView& list = formulaList();
    const int top = list.rowAt(0);
    showFormulaRows();
    if (top >= 0 && top < list.model().rowCount())
        list.scrollTo(list.model().index(top, 0), QAbstractItemView::PositionAtTop);
    historyPanel_->showVerification();
}

void MainWindow::chooseCategory(int positions, bool group)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    session_->setPositions(positions);
    session_->setGroup(group);
    refresh();
    QApplication::restoreOverrideCursor();
}

void MainWindow::storeTypedDraw(const QString& period, const QString& digits)
{
    auto stored = session_->addDraw(period, digits, historyPanel_->typedDrawDate());
    if (!stored) {
        Dialogs::warn(this, QStringLiteral("开奖号输入有误"), stored.error().message);
        return;
    }
    reloadHistoryGrid();
    backtest();
    focusFirstDigit();
    historyPanel_->scrollToEnd();
}

void MainWindow::formulaReleased(int row, int column, Qt::MouseButton button)
{
    FormulaListModel& model = formulaList().model();
    if (row < 0 || row >= model.rowCount())
        return;
    const FormulaListRow& chosen = model.rows()[size_t(row)];
    chosen_ = ChosenFormula{session_->listKey(), chosen.idx, chosen.code};
    if (button == Qt::RightButton) {
        formulaMenu_->menu->popup(QCursor::pos());
        return;
    }
    if (column == FormulaListModel::Text) {
        session_->selection().set(chosen.idx, !session_->selection().isSelected(chosen.idx));
        model.selectionChanged();
    } else if (column == FormulaListModel::Next) {
        model.markAgreement(row);
    }
}

}  // namespace qeltaro::gui
