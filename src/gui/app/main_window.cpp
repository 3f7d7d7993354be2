#include "gui/app/main_window.h"

#include "domain/chance_statistics.h"
#include "export/list_sheets.h"
#include "gui/app/data_folders.h"
#include "gui/app/formula_list_model.h"
#include "gui/app/game_dialog.h"
#include "gui/app/history_grid_model.h"
#include "gui/app/money_commands.h"
#include "gui/app/settings_menu.h"
#include "gui/app/tool_window_commands.h"
#include "gui/common/dialogs.h"
#include "gui/export/list_export_commands.h"
#include "gui/export/parameter_reference_window.h"
#include "gui/common/background_task.h"
#include "gui/common/grid_view.h"
#include "gui/common/widgets.h"
#include "gui/history/draw_entry.h"
#include "gui/history/draw_watch_commands.h"
#include "io/data_location.h"
#include "gui/common/open_file.h"
#include "gui/formula/formula_commands.h"
#include "session/first_start.h"
#include "gui/history/history_commands.h"
#include "gui/search/search_window_commands.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

#include <QDesktopServices>
#include <QCloseEvent>
#include <QEvent>
#include <QUrl>

#include <algorithm>
#include <map>
#include <variant>

namespace qeltaro::gui {
namespace {

int twips(int width) { return twipsToPixels(width); }

QTableView* makeGrid(const char* name, QWidget* parent)
{
    auto* grid = new QTableView(parent);
    setUpReadOnlyGrid(grid, name);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    return grid;
}

}  // namespace

MainWindow::MainWindow(std::unique_ptr<AnalysisSession> session, QWidget* parent)
    : QMainWindow(parent), session_(std::move(session))
{
    setObjectName(QStringLiteral("frmMain"));

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(buildHistoryPanel());
    splitter->addWidget(buildFormulaPanel());
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 5);
    setCentralWidget(splitter);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setMaximumWidth(360);
    progress_->setTextVisible(true);
    progress_->reset();  // no text until a task reports
    statusBar()->addPermanentWidget(progress_);
    QPushButton* stop = namedButton(QStringLiteral("cmdStop"), QStringLiteral("停止"));
    statusBar()->addPermanentWidget(stop);
    task_ = new BackgroundTask(progress_, stop, this);
    historyCommands_ = new HistoryCommands(*this);
    formulaCommands_ = new FormulaCommands(*this);
    buildMenus();
    connectCommands();

    // Start-up: 一星直选, kill formulas, all selected, then the refresh cycle.
    positionOptions_[1]->setChecked(true);
    playOptions_[0]->setChecked(true);
    playOptions_[1]->setEnabled(false);
    killOptions_[0]->setChecked(true);
    periodModeOptions_[0]->setChecked(true);
    methodOptions_[session_->mirror().calculateSelected ? 1 : 0]->setChecked(true);
    showGame();
    refresh();
    resize(1366, 698);
}

MainWindow::~MainWindow()
{
    // The grids and their models read the session: let them go before it does.
    delete takeCentralWidget();
    delete historyModel_;
    delete formulaModel_;
}

QWidget* MainWindow::buildHistoryPanel()
{
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);

    layout->addWidget(new QLabel(QStringLiteral("手工输入已经开出的历史号码记录下一期:")));
    auto* entry = new QHBoxLayout;
    entry->addWidget(new QLabel(QStringLiteral("期号：")));
    nextPeriodBox_ = namedBox(QStringLiteral("Text1"), 110);
    entry->addWidget(nextPeriodBox_);
    drawDateLabel_ = new QLabel(QStringLiteral("开奖日期："));
    entry->addWidget(drawDateLabel_);
    drawDateBox_ = new QDateEdit;
    drawDateBox_->setObjectName(QStringLiteral("dtpDrawDate"));
    drawDateBox_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    drawDateBox_->setCalendarPopup(true);
    drawDateBox_->setToolTip(QStringLiteral("按年份编排期号的彩种：这一期的开奖日期"));
    // The period follows the date: a date in a later year starts that year's sequence.
    // A period typed by hand stays as typed.
    connect(drawDateBox_, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        if (session_->store().game().numbering != Numbering::Year || nextPeriodBox_->text() != proposedPeriod_)
            return;
        if (auto period = session_->periodOn(date)) {
            proposedPeriod_ = *period;
            nextPeriodBox_->setText(*period);
        }
    });
    entry->addWidget(drawDateBox_);
    entry->addSpacing(8);
    entry->addWidget(new QLabel(QStringLiteral("开奖号：")));
    for (int i = 0; i < 5; ++i) {
        QLineEdit* box = namedBox(QStringLiteral("txtIpt_%1").arg(i + 1), 28);
        entry->addWidget(box);
        digitBoxes_[size_t(i)] = box;
    }
    entry->addStretch();
    layout->addLayout(entry);
    drawEntry_ = new DrawEntry(digitBoxes_, nextPeriodBox_, this);
    connect(drawEntry_, &DrawEntry::drawComplete, this, &MainWindow::storeTypedDraw);

    historyGrid_ = makeGrid("MSFlexGrid1", panel);
    historyModel_ = new HistoryGridModel(this);
    historyGrid_->setModel(historyModel_);
    historyGrid_->horizontalHeader()->setDefaultSectionSize(twips(760));
    layout->addWidget(historyGrid_, 1);
    connect(historyGrid_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { historyGridReleased(index, Qt::LeftButton); });
    connect(historyGrid_, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        historyGridReleased(historyGrid_->indexAt(at), Qt::RightButton);
    });

    formulaPager_ = new QScrollBar(Qt::Horizontal);
    formulaPager_->setObjectName(QStringLiteral("HScroll1"));
    formulaPager_->setMinimum(1);
    formulaPager_->setMaximum(1);
    formulaPager_->setPageStep(500);
    formulaPager_->setSingleStep(1);
    layout->addWidget(formulaPager_);
    connect(formulaPager_, &QScrollBar::valueChanged, this, [this](int value) {
        // Jump the history grid to formula column `value`.
        if (historyModel_->columnCount() > 6)
            historyGrid_->scrollTo(historyModel_->index(historyGrid_->rowAt(0) < 0 ? 0 : historyGrid_->rowAt(0),
                                                        std::min(historyModel_->columnCount() - 1, 5 + value)),
                                   QAbstractItemView::PositionAtTop);
    });

    verificationBox_ = new QCheckBox(QStringLiteral("历史列表显示公式各期验算结果(时间较长，请耐心等待...)"));
    verificationBox_->setObjectName(QStringLiteral("Check1"));
    layout->addWidget(verificationBox_);
    connect(verificationBox_, &QCheckBox::clicked, this, [this] {
        const int n = session_->formulaList().size();
        formulaPager_->setMaximum(std::max(1, ((n - 1) / 500) * 500 + 1));
        reloadHistoryGrid();
        backtest();
    });
    return panel;
}

QWidget* MainWindow::buildFormulaPanel()
{
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);

    // Two rows of frames, so the panel fits beside the history at 1366 pixels.
    auto* frameRows = new QVBoxLayout;
    auto* frames = new QHBoxLayout;
    auto* secondFrames = new QHBoxLayout;
    const CategoryFrames category = categoryFrames(positionOptions_, playOptions_, killOptions_);
    for (int i = 1; i <= 5; ++i)
        connect(positionOptions_[size_t(i)], &QRadioButton::clicked, this, [this, i] { selectPositions(i); });
    connect(playOptions_[0], &QRadioButton::clicked, this, [this] { selectPlay(false); });
    connect(playOptions_[1], &QRadioButton::clicked, this, [this] { selectPlay(true); });
    // Choosing a kind only sets it; the lists follow at the next refresh.
    connect(killOptions_[0], &QRadioButton::clicked, this, [this] { session_->setKind(Kind::Kill); refresh(); });
    connect(killOptions_[1], &QRadioButton::clicked, this, [this] { session_->setKind(Kind::Keep); refresh(); });
    frames->addWidget(category.positions);
    frames->addWidget(category.play);
    frames->addWidget(category.kind);

    auto* mode = new QGroupBox(QStringLiteral("计算/验算选择"));
    auto* modeLayout = new QHBoxLayout(mode);
    periodModeOptions_[0] = addOption(modeLayout, QStringLiteral("Option5_0"), QStringLiteral("计算下期结果"));
    periodModeOptions_[1] = addOption(modeLayout, QStringLiteral("Option5_1"), QStringLiteral("验证历史结果"));
    periodModeOptions_[0]->setToolTip(QStringLiteral("现存历史号码的下一期"));
    periodModeOptions_[1]->setToolTip(QStringLiteral("验算指定期下期结果"));
    latestPeriodBox_ = namedBox(QStringLiteral("Text3"), 96);
    latestPeriodBox_->installEventFilter(this);
    modeLayout->addWidget(latestPeriodBox_);
    secondFrames->addWidget(mode);

    auto* method = new QGroupBox(QStringLiteral("计算方法"));
    auto* methodLayout = new QHBoxLayout(method);
    methodOptions_[0] = addOption(methodLayout, QStringLiteral("Option6_0"), QStringLiteral("最优公式法"));
    methodOptions_[1] = addOption(methodLayout, QStringLiteral("Option6_1"), QStringLiteral("计算选中公式"));
    for (int i = 0; i < 2; ++i) {
        connect(methodOptions_[size_t(i)], &QRadioButton::clicked, this,
                [this, i] { session_->settings().setCalculateSelected(session_->mirror(), i == 1); });
    }
    secondFrames->addWidget(method);
    frames->addStretch();
    secondFrames->addStretch();
    frameRows->addLayout(frames);
    frameRows->addLayout(secondFrames);
    layout->addLayout(frameRows);

    textTabs_ = new QTabBar;
    textTabs_->setObjectName(QStringLiteral("TabStrip1"));
    textTabs_->addTab(QStringLiteral("公式中文显示"));
    textTabs_->addTab(QStringLiteral("公式英文显示"));
    // Each click flips the text shown, whichever tab is clicked.
    connect(textTabs_, &QTabBar::tabBarClicked, this,
            [this](int) { formulaModel_->setShowChinese(!formulaModel_->showChinese()); });
    layout->addWidget(textTabs_);

    formulaGrid_ = makeGrid("MSFlexGrid2", panel);
    formulaGrid_->setToolTip(QStringLiteral("双击参数列可以以该参数次序排序，单击鼠标右键可以打开此表功能扩展菜单"));
    formulaModel_ = new FormulaListModel(this);
    formulaGrid_->setModel(formulaModel_);
    auto* headerLabels = new WrappedHeaderModel(formulaGrid_);
    headerLabels->setSourceModel(formulaModel_);
    formulaGrid_->horizontalHeader()->setModel(headerLabels);
    formulaGrid_->horizontalHeader()->setTextElideMode(Qt::ElideNone);
    formulaGrid_->setColumnHidden(FormulaListModel::Idx, true);
    formulaGrid_->horizontalHeader()->setSectionResizeMode(FormulaListModel::Text, QHeaderView::Stretch);
    formulaGrid_->horizontalHeader()->setMinimumSectionSize(24);
    connect(headerLabels, &QAbstractItemModel::modelReset, this, &MainWindow::fitFormulaColumns);
    connect(headerLabels, &QAbstractItemModel::headerDataChanged, this, &MainWindow::fitFormulaColumns);
    fitFormulaColumns();
    layout->addWidget(formulaGrid_, 1);
    connect(formulaGrid_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { formulaListReleased(index, Qt::LeftButton); });
    connect(formulaGrid_, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        formulaListReleased(formulaGrid_->indexAt(at), Qt::RightButton);
    });
    connect(formulaGrid_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && index.column() > FormulaListModel::Next)
            sortFormulaList(index.column(), Qt::AscendingOrder);
    });
    // A click on a header sorts by its column, a second one the other way round; the header
    // shows which.
    QHeaderView* header = formulaGrid_->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        const bool again = formulaSort_ && formulaSort_->first == column && formulaSort_->second == Qt::AscendingOrder;
        sortFormulaList(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
    });

    auto* typed = new QHBoxLayout;
    formulaBox_ = new QLineEdit;
    formulaBox_->setObjectName(QStringLiteral("Text2"));
    formulaBox_->setPlaceholderText(QStringLiteral("例如：万位码+千位码=下期杀一星直选"));
    typed->addWidget(formulaBox_, 1);
    typed->addWidget(namedButton(QStringLiteral("Command1"), QStringLiteral("添加所输公式(&A)")));
    layout->addLayout(typed);
    layout->addWidget(buildCommandButtons());
    return panel;
}

QWidget* MainWindow::buildCommandButtons()
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    struct Entry { const char* name; const char16_t* caption; };
    const Entry entries[] = {
        {"Command23", u"计算公式(&C)"}, {"Command7", u"公式过滤设置"}, {"Command8", u"选中所有公式"},
        {"Command5", u"反选所有公式"}, {"Command2", u"清空所有公式"}, {"Command12", u"公式往期位置值结果列表"},
        {"Command22", u"公式搜索(&F)"}, {"Command10", u"读取公式文本(N)"}, {"cmdGsgx", u"公式在线更新（&W)"},
        {"Command11", u"所有类公式中文导出"}, {"Command20", u"所选类公式中文导出"}, {"cmdDcexl", u"导出列表到Excel"},
        {"Command4", u"公式参数对照说明(&I)"}, {"Command9", u"软件设置(&T)"}, {"Command21", u"开奖历史在线更新(&O)"},
        {"cmdLsdcTxt", u"历史号码导出文本文件(&X)"}, {"Command3", u"删除最后历史(&D)"}, {"Command18", u"使用说明文档下载(&L)"},
        {"Command6", u"演示说明录像下载(&M)"}, {"Command139", u"幻灯图示说明下载(&P)"}};
    constexpr int kColumns = 6;
    int at = 0;
    for (const Entry& entry : entries) {
        grid->addWidget(namedButton(QLatin1String(entry.name), QString::fromUtf16(entry.caption)), at / kColumns,
                        at % kColumns);
        ++at;
    }
    const QString selectionTip = QStringLiteral("执行公式列表中序号为蓝色的公式");
    for (const char* name : {"Command2", "Command8", "Command5"})
        findChild<QPushButton*>(QLatin1String(name))->setToolTip(selectionTip);
    findChild<QPushButton*>(QStringLiteral("Command21"))->setToolTip(QStringLiteral("从官方服务器更新历史号码"));

    connect(findChild<QPushButton*>(QStringLiteral("Command8")), &QPushButton::clicked, this, [this] {
        session_->selection().selectAll(session_->listedIdx());
        formulaModel_->selectionChanged();
    });
    connect(findChild<QPushButton*>(QStringLiteral("Command5")), &QPushButton::clicked, this, [this] {
        session_->selection().invert(session_->listedIdx());
        formulaModel_->selectionChanged();
    });
    connect(findChild<QPushButton*>(QStringLiteral("Command4")), &QPushButton::clicked, this, [this] {
        auto* window = new ParameterReferenceWindow(session_->latestDraw(), this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    });
    connect(findChild<QPushButton*>(QStringLiteral("Command9")), &QPushButton::clicked, this,
            [this] { settingsMenu_->menu()->popup(QCursor::pos()); });
    return box;
}

void MainWindow::buildMenus()
{
    settingsMenu_ = new SettingsMenu(session_->settings(), session_->mirror(), this);
    connect(settingsMenu_, &SettingsMenu::periodWindowChanged, this, &MainWindow::backtest);
    menuBar()->addMenu(settingsMenu_->menu());
    buildDataMenuItems();

    historyMenu_ = menuBar()->addMenu(QStringLiteral("历史管理"));
    historyMenu_->setObjectName(QStringLiteral("mnuLsgl"));
    const std::pair<const char*, const char16_t*> historyItems[] = {
        {"mnuDcls", u"导出历史号码(&O)"}, {"mnuDlAll", u"删除所有历史(&A）"},
        {"mnuDlzd", u"删除到选定期(&D)"}, {"mnuEszhzd", u"删除最后指定数量期历史(&E)"},
        {"mnuPasteHistory", u"从剪贴板导入历史(&V)"}, {"mnuRestoreBackup", u"从备份恢复(&B)..."}};
    for (const auto& [name, caption] : historyItems)
        historyMenu_->addAction(QString::fromUtf16(caption))->setObjectName(QLatin1String(name));

    formulaMenu_ = menuBar()->addMenu(QStringLiteral("管理"));
    formulaMenu_->setObjectName(QStringLiteral("mnuMang"));
    const std::pair<const char*, const char16_t*> formulaItems[] = {
        {"mnuExl", u"导出到EXCEL表格(&E)"}, {"mnuGsls", u"查询该公式历史计算式(&U)"},
        {"mnuHitRate", u"命中率走势图(&R)"},
        {"mnuDelGS", u"删除该公式(&D)"}, {"mnuDelXzGS", u"删除选中所有公式(&C)"},
        {"mnuDelLst", u"删除最后公式(&E)"}, {"mnuDelNXzGS", u"删除未选中公式(&X)"}};
    for (const auto& [name, caption] : formulaItems)
        formulaMenu_->addAction(QString::fromUtf16(caption))->setObjectName(QLatin1String(name));
}

void MainWindow::buildDataMenuItems()
{
    // The store's game and the folder it lives in, beside the other things kept per user.
    QMenu* menu = settingsMenu_->menu();
    menu->addSeparator();
    QAction* game = menu->addAction(QStringLiteral("彩种设置(&G)..."));
    game->setObjectName(QStringLiteral("mnuGame"));
    connect(game, &QAction::triggered, this, &MainWindow::openGameDialog);

    QAction* choose = menu->addAction(QStringLiteral("切换数据文件夹(&F)..."));
    choose->setObjectName(QStringLiteral("mnuDataDir"));
    connect(choose, &QAction::triggered, this, [this] {
        const QString folder = Dialogs::chooseFolder(this, QStringLiteral("切换数据文件夹"), session_->store().dataDir());
        if (!folder.isEmpty())
            emit dataFolderChosen(folder);
    });

    QMenu* recent = menu->addMenu(QStringLiteral("最近使用的数据文件夹(&L)"));
    recent->setObjectName(QStringLiteral("mnuRecentDataDirs"));
    // Listed when opened: every folder opened changes the list.
    connect(recent, &QMenu::aboutToShow, this, [this, recent] {
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
    });
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
    const Game& game = session_->store().game();
    setWindowTitle(QStringLiteral("Qeltaro - %1").arg(game.name));
    const bool dated = game.numbering == Numbering::Year;
    drawDateLabel_->setVisible(dated);
    drawDateBox_->setVisible(dated);
    const QSignalBlocker quiet(drawDateBox_);
    drawDateBox_->setDate(session_->proposedDate().isValid() ? session_->proposedDate() : session_->today());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Entering the period box of the calculation frame means checking a past period.
    if (watched == latestPeriodBox_ && event->type() == QEvent::FocusIn)
        periodModeOptions_[1]->setChecked(true);
    return QMainWindow::eventFilter(watched, event);
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

void MainWindow::connectCommands()
{
    auto button = [this](const char* name) { return findChild<QPushButton*>(QLatin1String(name)); };
    auto action = [this](const char* name) { return findChild<QAction*>(QLatin1String(name)); };
    // A button's click or a menu entry's choice, by the object name.
    auto onCommand = [&](const char* name, auto* receiver, auto slot) {
        if (QPushButton* b = button(name))
            connect(b, &QPushButton::clicked, receiver, slot);
        else
            connect(action(name), &QAction::triggered, receiver, slot);
    };
    const std::pair<const char*, void (HistoryCommands::*)()> historyEntries[] = {
        {"Command21", &HistoryCommands::updateOnline}, {"cmdLsdcTxt", &HistoryCommands::exportText},
        {"Command3", &HistoryCommands::deleteLast},    {"mnuDlAll", &HistoryCommands::deleteAll},
        {"mnuDlzd", &HistoryCommands::deleteAfterSelected}, {"mnuEszhzd", &HistoryCommands::deleteLastN},
        {"mnuPasteHistory", &HistoryCommands::importClipboard}, {"mnuRestoreBackup", &HistoryCommands::openBackups}};
    for (const auto& [name, slot] : historyEntries)
        onCommand(name, historyCommands_, slot);
    const std::pair<const char*, void (FormulaCommands::*)()> formulaEntries[] = {
        {"Command1", &FormulaCommands::addTyped},         {"Command10", &FormulaCommands::importFile},
        {"cmdGsgx", &FormulaCommands::updateOnline},      {"Command2", &FormulaCommands::clearAll},
        {"Command11", &FormulaCommands::exportAllCategories}, {"Command20", &FormulaCommands::exportSelectedCategory},
        {"mnuDelGS", &FormulaCommands::deleteThis},       {"mnuDelLst", &FormulaCommands::deleteLast},
        {"mnuDelXzGS", &FormulaCommands::deleteSelected}, {"mnuDelNXzGS", &FormulaCommands::deleteUnselected}};
    for (const auto& [name, slot] : formulaEntries)
        onCommand(name, formulaCommands_, slot);
    // Enter in the formula box adds the formula, as 添加所输公式 does.
    connect(formulaBox_, &QLineEdit::returnPressed, formulaCommands_, &FormulaCommands::addTyped);
    connect(button("Command18"), &QPushButton::clicked, this, [this] { openGuide(QString()); });
    connect(button("Command6"), &QPushButton::clicked, this, [this] { openGuide(QStringLiteral("quick-tour")); });
    connect(button("Command139"), &QPushButton::clicked, this, [this] { openGuide(QStringLiteral("pictures")); });
    connect(button("Command22"), &QPushButton::clicked, this, [this] { openFormulaSearchWindow(*this); });
    auto* tools = new ToolWindowCommands(*this);
    new DrawWatchCommands(*this, historyMenu_, statusBar(),
                          {[tools] { return tools->lastRequest(); },
                           [tools](const CalculationRun& run) { tools->showMadeCalculation(run.calculation); }});
    // Money: 奖金设置 beside the game, 倍投计划 after the journal with the bets of the last calculation.
    new MoneyCommands(*this, settingsMenu_->menu(), formulaMenu_,
                      [tools]() -> const std::optional<CategoryCalculation>& { return tools->lastCalculation(); });
    auto* exports = new ListExportCommands(*this);
    auto exportHistory = [this, exports] { exports->exportHistory(verificationBox_->isChecked()); };
    onCommand("cmdDcexl", exports, exportHistory);
    onCommand("mnuDcls", exports, exportHistory);
    onCommand("mnuExl", exports, [this, exports] {
        // The rows as the list shows them: in its current order, with the digits it shows.
        std::vector<FormulaSheetRow> rows;
        rows.reserve(formulaModel_->rows().size());
        for (const FormulaListRow& shown : formulaModel_->rows()) {
            rows.push_back({shown.number, shown.kind, shown.code, shown.chinese, shown.starWord, shown.next, shown.rateText,
                            shown.maxMissRun, shown.maxHitRun, shown.lastMissRun, shown.lastHitRun});
        }
        exports->exportFormulaList(rows, formulaModel_->showChinese());
    });
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
    positionOptions_[size_t(key.category.positions)]->setChecked(true);
    playOptions_[1]->setEnabled(key.category.positions != 1);
    playOptions_[key.category.group ? 1 : 0]->setChecked(true);
    killOptions_[isKill(key.kind) ? 0 : 1]->setChecked(true);
    refresh();
}

const FormulaListRow* MainWindow::chosenFormula() const
{
    if (!chosen_ || chosen_->list != session_->listKey())
        return nullptr;
    for (const FormulaListRow& row : formulaModel_->rows()) {
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
    return nextPeriodBox_->text().trimmed();
}

void MainWindow::storeReplaced()
{
    forgetChosenFormula();
    showGame();
    refresh();
}

void MainWindow::focusFirstDigit()
{
    digitBoxes_[0]->setFocus();
    drawEntry_->clear();
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
    scrollToEndIfLong(formulaGrid_);
}

void MainWindow::showFormulaRows()
{
    const FormulaList& list = session_->formulaList();
    const FormulaStatsTable& statistics = session_->statistics();
    std::vector<FormulaSheetRow> shown = formulaSheetRows(list, statistics);
    // Back in list order: no sort shown.
    formulaSort_.reset();
    formulaGrid_->horizontalHeader()->setSortIndicatorShown(false);
    std::vector<FormulaListRow> rows;
    rows.reserve(shown.size());
    const auto chance = assessStatistics(list.category(), list.kind(), statistics);
    for (size_t ordinal = 0; ordinal < shown.size(); ++ordinal) {
        FormulaSheetRow& sheet = shown[ordinal];
        FormulaListRow row;
        row.idx = list.formulas()[ordinal].idx;
        row.number = sheet.number;
        row.kind = sheet.kind;
        row.code = std::move(sheet.code);
        row.chinese = std::move(sheet.text);
        row.starWord = std::move(sheet.starWord);
        row.next = std::move(sheet.next);
        row.rateText = std::move(sheet.rateText);
        row.maxMissRun = sheet.maxMissRun;
        row.maxHitRun = sheet.maxHitRun;
        row.lastMissRun = sheet.lastMissRun;
        row.lastHitRun = sheet.lastHitRun;
        const FormulaStats* stats = statistics.find(row.idx);
        if (stats && stats->evaluated() && ordinal < chance.size() && chance[ordinal].evidence &&
            statistics.size() == list.size()) {
            row.chance = chance[ordinal].chance;
            row.lift = chance[ordinal].lift;
            row.pValue = chance[ordinal].pValue;
            row.pMaxHit = chance[ordinal].pMaxHit;
            row.beatsChance = chance[ordinal].beatsChance;
        }
        rows.push_back(std::move(row));
    }
    formulaModel_->setRows(std::move(rows), &session_->selection());
    formulaModel_->setWeightedHeader(session_->mirror().weightedRate);
}

void MainWindow::reloadHistoryGrid()
{
    if (Status s = session_->reloadHistory(); !s)
        Dialogs::warn(this, QStringLiteral("读取历史号码失败"), s.error().message);
    historyModel_->setHistory(&session_->history(), session_->category());
    historyGrid_->setColumnWidth(0, twips(1500));
    for (int c = 1; c <= 5; ++c)
        historyGrid_->setColumnWidth(c, twips(600));
    scrollToEndIfLong(historyGrid_);
    proposedPeriod_ = session_->proposedPeriod();
    nextPeriodBox_->setText(proposedPeriod_);
    if (session_->proposedDate().isValid()) {
        const QSignalBlocker quiet(drawDateBox_);
        drawDateBox_->setDate(session_->proposedDate());
    }
    latestPeriodBox_->setText(session_->latestPeriod());
}

void MainWindow::backtest()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status tested = session_->backtest();
    QApplication::restoreOverrideCursor();
    if (!tested)
        Dialogs::warn(this, QStringLiteral("公式验算"), tested.error().message);
    const int top = formulaGrid_->rowAt(0);
    showFormulaRows();
    if (top >= 0 && top < formulaModel_->rowCount())
        formulaGrid_->scrollTo(formulaModel_->index(top, 0), QAbstractItemView::PositionAtTop);
    if (verificationBox_->isChecked()) {
        historyModel_->setVerification(session_->verification(0, session_->formulaList().size()),
                                       session_->mirror().showOnCurrentRow);
        for (int c = 6; c < historyModel_->columnCount(); ++c)
            historyGrid_->setColumnWidth(c, twips(760));
    } else {
        historyModel_->clearVerification();
    }
}

void MainWindow::fitFormulaColumns()
{
    // Every column but the formula text as wide as its header and its widest cell, so numbers
    // are never cut; the text takes the rest.
    // Texts of one length differ in width ("+1.25" is wider than "-1.25"), so every text of the
    // longest length, or one character short of it, is measured; a typical list has few.
    QHeaderView* header = formulaGrid_->horizontalHeader();
    const int rows = formulaModel_->rowCount();
    const QFontMetrics metrics(formulaGrid_->font());
    // A shown sort indicator widens every header's size hint; only the sorted column needs room
    // for it, or the text would lose that room once per column.
    const bool sorted = header->isSortIndicatorShown();
    std::vector<int> headerWidths(FormulaListModel::ColumnCount);
    header->setSortIndicatorShown(false);
    for (int c = 0; c < FormulaListModel::ColumnCount; ++c)
        headerWidths[size_t(c)] = header->sectionSizeHint(c);
    header->setSortIndicatorShown(sorted);
    if (sorted && header->sortIndicatorSection() >= 0 && header->sortIndicatorSection() < FormulaListModel::ColumnCount)
        headerWidths[size_t(header->sortIndicatorSection())] = header->sectionSizeHint(header->sortIndicatorSection());
    for (int c = 0; c < FormulaListModel::ColumnCount; ++c) {
        if (c == FormulaListModel::Text || c == FormulaListModel::Idx)
            continue;
        QStringList texts;
        texts.reserve(rows);
        qsizetype longest = 0;
        for (int r = 0; r < rows; ++r) {
            texts << formulaModel_->index(r, c).data().toString();
            longest = std::max(longest, texts.back().size());
        }
        int widest = -1;
        int widestAdvance = -1;
        for (int r = 0; r < rows; ++r) {
            if (texts[r].size() + 1 < longest || texts[r].isEmpty())
                continue;
            const int advance = metrics.horizontalAdvance(texts[r]);
            if (advance > widestAdvance) {
                widestAdvance = advance;
                widest = r;
            }
        }
        int width = headerWidths[size_t(c)];
        if (widest >= 0)
            width = std::max(width, formulaGrid_->sizeHintForIndex(formulaModel_->index(widest, c)).width() + 1);
        formulaGrid_->setColumnWidth(c, width);
    }
}

void MainWindow::selectPositions(int positions)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    session_->setPositions(positions);
    if (positions == 1)
        playOptions_[0]->setChecked(true);
    playOptions_[1]->setEnabled(positions != 1);
    session_->setGroup(playOptions_[1]->isChecked());
    refresh();
    QApplication::restoreOverrideCursor();
}

void MainWindow::selectPlay(bool group)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    session_->setGroup(group);
    refresh();
    QApplication::restoreOverrideCursor();
}

void MainWindow::storeTypedDraw(const QString& period, const QString& digits)
{
    if (const QString problem = drawEntry_->problem(); !problem.isEmpty()) {
        Dialogs::warn(this, QStringLiteral("开奖号输入有误"), problem);
        return;
    }
    std::optional<QDate> drawDate;
    if (session_->store().game().numbering == Numbering::Year)
        drawDate = drawDateBox_->date();
    auto stored = session_->addDraw(period, digits, drawDate);
    if (!stored) {
        Dialogs::warn(this, QStringLiteral("开奖号输入有误"), stored.error().message);
        return;
    }
    reloadHistoryGrid();
    backtest();
    focusFirstDigit();
    scrollToEndIfLong(historyGrid_);
}

void MainWindow::formulaListReleased(const QModelIndex& index, Qt::MouseButton button)
{
    if (!index.isValid())
        return;
    const FormulaListRow& row = formulaModel_->rows()[size_t(index.row())];
    chosen_ = ChosenFormula{session_->listKey(), row.idx, row.code};
    if (button == Qt::RightButton) {
        formulaMenu_->popup(QCursor::pos());
        return;
    }
    if (index.column() == FormulaListModel::Text) {
        session_->selection().set(row.idx, !session_->selection().isSelected(row.idx));
        formulaModel_->selectionChanged();
    } else if (index.column() == FormulaListModel::Next) {
        formulaModel_->markAgreement(index.row());
    }
}

void MainWindow::sortFormulaList(int column, Qt::SortOrder order)
{
    // By the statistic of that column as the last full back-test stored it, or by the row's own
    // figure against chance, 序号 or text; formulas without one come first going up, as the
    // database orders empty values.
    std::vector<FormulaListRow> rows = formulaModel_->rows();
    const FormulaStatsTable& statistics = session_->statistics();
    using Key = std::variant<std::monostate, double, QString>;
    auto key = [&](const FormulaListRow& row) -> Key {
        auto number = [](const auto& value) -> Key { return value ? Key(double(*value)) : Key(); };
        switch (column) {
        case FormulaListModel::Ordinal: return double(row.number);
        case FormulaListModel::Text: return formulaModel_->showChinese() ? row.chinese : row.code;
        case FormulaListModel::Star:
        case FormulaListModel::Kind: return double(row.kind == Kind::Kill ? 0 : 1);
        case FormulaListModel::Next: return row.next.isEmpty() ? Key() : Key(row.next.toDouble());
        case FormulaListModel::Chance: return number(row.chance);
        case FormulaListModel::Lift: return number(row.lift);
        case FormulaListModel::PValue: return number(row.pValue);
        case FormulaListModel::BeatsChance:
            return row.pValue ? Key(row.beatsChance ? 1.0 : 0.0) : Key();
        default: break;
        }
        const FormulaStats* s = statistics.find(row.idx);
        if (!s || !s->evaluated() || s->scoredRows == 0)
            return {};
        switch (column) {
        case FormulaListModel::Rate: return double(s->rate);
        case FormulaListModel::MaxMiss: return double(s->maxMissRun);
        case FormulaListModel::MaxHit: return double(s->maxHitRun);
        case FormulaListModel::LastMiss: return double(s->lastMissRun);
        case FormulaListModel::LastHit: return double(s->lastHitRun);
        default: return {};
        }
    };
    std::vector<std::pair<Key, size_t>> keyed;
    keyed.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        keyed.emplace_back(key(rows[i]), i);
    std::stable_sort(keyed.begin(), keyed.end(), [order](const auto& a, const auto& b) {
        return order == Qt::AscendingOrder ? a.first < b.first : b.first < a.first;
    });
    std::vector<FormulaListRow> sorted;
    sorted.reserve(rows.size());
    for (const auto& [k, i] : keyed)
        sorted.push_back(std::move(rows[i]));
    formulaModel_->setRows(std::move(sorted), &session_->selection());
    formulaSort_ = std::make_pair(column, order);
    QHeaderView* header = formulaGrid_->horizontalHeader();
    header->setSortIndicator(column, order);
    header->setSortIndicatorShown(true);
    fitFormulaColumns();  // the indicator takes room in its header
    scrollToEndIfLong(formulaGrid_);
}

void MainWindow::historyGridReleased(const QModelIndex& index, Qt::MouseButton button)
{
    if (!index.isValid())
        return;
    selectedPeriod_ = session_->history().period(index.row()).right(10);
    if (button == Qt::RightButton)
        historyMenu_->popup(QCursor::pos());
}

}  // namespace qeltaro::gui
