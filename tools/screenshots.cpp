// Writes PNG pictures of the program's windows, filled with the sample history and a few
// formulas, for the README and the user guide: qeltaro-screenshots OUTPUT_FOLDER

#include "io/data_location.h"
#include "gui/app/main_window.h"
#include "gui/common/background_task.h"
#include "gui/common/dialogs.h"
#include "gui/app/formula_list_model.h"
#include "gui/app/game_dialog.h"
#include "gui/common/qt_translations.h"
#include "gui/predictions/journal_window.h"
#include "gui/search/formula_search_window.h"
#include "history/draw_history.h"
#include "history/game_schedule.h"
#include "store/formula_table.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QHeaderView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

void save(QWidget* widget, const QString& path, const QRect& part = QRect(QPoint(0, 0), QSize(-1, -1)))
{
    widget->grab(part).save(path);
    std::printf("%s\n", qPrintable(path));
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

template <typename T = QWidget>
T* child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QLatin1String(name));
}

void click(QWidget* parent, const char* name)
{
    child<QAbstractButton>(parent, name)->click();
    settle();
}

// The tool windows: filter and sort dialogs, the Err value windows, the detail list, the
// ranking list and the formula's calculation history.
void saveToolWindows(qeltaro::gui::MainWindow& window, const QString& output)
{
    click(&window, "Command7");
    auto* filter = child<QDialog>(&window, "frmGSGuolv");
    save(filter, output + QStringLiteral("/filter-dialog.png"));
    filter->reject();

    click(&window, "optXing_3");
    click(&window, "Option6_0");
    click(&window, "Command23");
    auto* sort = child<QDialog>(&window, "frmGsCsArr");
    save(sort, output + QStringLiteral("/sort-dialog.png"));
    click(sort, "Command1");
    click(&window, "Option6_1");
    click(&window, "Command23");
    auto* direct = child(&window, "frmErrarrLei");
    child<QTabWidget>(direct, "TabStrip1")->setCurrentIndex(2);
    settle();
    save(direct, output + QStringLiteral("/err-values-direct.png"));
    click(direct, "Command2");
    auto* detail = child<QDialog>(direct, "frmXxlb");
    save(detail, output + QStringLiteral("/detail-list.png"));
    detail->close();
    direct->close();

    click(&window, "opTDG_1");
    click(&window, "Command23");
    auto* group = child(&window, "frmErrarr");
    save(group, output + QStringLiteral("/err-values-group.png"));
    group->close();

    click(&window, "optXing_1");
    qeltaro::gui::Dialogs::queueAnswer(QStringLiteral("ok"));
    click(&window, "Command12");
    window.task().wait();
    settle();
    auto* ranking = child(&window, "frmLslb");
    save(ranking, output + QStringLiteral("/ranking-list.png"));
    ranking->close();

    auto* list = child<QTableView>(&window, "MSFlexGrid2");
    emit list->clicked(list->model()->index(0, 2));
    window.findChild<QAction*>(QStringLiteral("mnuGsls"))->trigger();
    settle();
    auto* steps = child(&window, "frmGsbz");
    save(steps, output + QStringLiteral("/formula-steps.png"));
    steps->close();

    window.findChild<QAction*>(QStringLiteral("mnuHitRate"))->trigger();
    settle();
    auto* hitRate = child(&window, "frmHitRate");
    save(hitRate, output + QStringLiteral("/hit-rate-chart.png"));
    hitRate->close();

    // The trend chart of 个位 over the newest 30 draws, from the button under the history.
    click(&window, "cmdZoushi");
    auto* trend = child(&window, "frmZoushi");
    child<QTabBar>(trend, "tabPositions")->setCurrentIndex(4);
    child<QComboBox>(trend, "cboPeriods")->setCurrentIndex(0);
    settle();
    save(trend, output + QStringLiteral("/trend-chart.png"));
    child<QTabBar>(trend, "tabPositions")->setCurrentIndex(5);
    settle();
    save(trend, output + QStringLiteral("/trend-last-three.png"));
    trend->close();
}

// The search window after a short manual search with the first thresholds, so the list and
// the plot have something, and its best formula checked against 19 shuffled copies.
void saveSearchWindow(qeltaro::gui::MainWindow& window, const QString& output)
{
    click(&window, "optXing_1");
    click(&window, "Command22");
    auto* search = child<qeltaro::gui::FormulaSearchWindow>(&window, "frmGSGL");
    child<QLineEdit>(search, "Text5_1")->setText(QStringLiteral("60"));
    child<QLineEdit>(search, "Text5_3")->setText(QStringLiteral("30"));
    child<QLineEdit>(search, "Text5_8")->setText(QStringLiteral("20"));
    // Searches for a few seconds, then stops, as a user pressing 暂停搜索 would.
    click(search, "Command1");
    QElapsedTimer waited;
    waited.start();
    while (search->running() && waited.elapsed() < 1500)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    click(search, "Command2");
    while (search->running())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    settle();
    click(search, "cmdRealityCheck");
    search->findChild<qeltaro::gui::BackgroundTask*>()->wait();
    settle();
    save(search, output + QStringLiteral("/search-window.png"));
    search->close();
    settle();
}

// The formulas every picture's store holds: kill formulas for 1D, 2D, 3D and 3G.
void addSampleFormulas(qeltaro::Store& store)
{
    const char* formulas[][2] = {
        {"L1A+L2A", "万位码+千位码"}, {"LH+QH", "和数+本期号"}, {"L5A*3+7", "个位码*3+7"},
        {"L1L+L3M+2", "万位邻号和+百位邻号差+2"}, {"LT+LR+SQH", "跨度+数字个数+上期号"},
        {"L2G+L4I", "千位平方+十位互补数"}, {"(LH+RQ) MOD 7", "(和数+日期) MOD 7"}};
    const std::pair<qeltaro::Category, QString> categories[] = {{{1, false}, QStringLiteral("一星直选")},
                                                                {{2, false}, QStringLiteral("二星直选")},
                                                                {{3, false}, QStringLiteral("三星直选")},
                                                                {{3, true}, QStringLiteral("三星组选")}};
    for (const auto& [category, caption] : categories) {
        qeltaro::FormulaTable table(store, category);
        int idx = 0;
        for (const auto& f : formulas)
            (void)table.append(qeltaro::Kind::Kill, QString::fromUtf8(f[0]), QString::fromUtf8(f[1]) + QStringLiteral("=下期杀") + caption, ++idx);
    }
}

// The journal after a few days' worth of calculations: a store without the sample's last draws,
// a three-star calculation (direct and group) before each of them is added, then a walk-forward
// run of the one-star formulas over the newest 120 periods.
void saveJournalWindow(const QString& output)
{
    constexpr int kHeldBack = 8;
    QTemporaryDir temp;
    QFile file(QStringLiteral(QELTARO_SOURCE_DIR "/data/sample-history.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    {
        auto store = qeltaro::Store::open(temp.path());
        if (!store || !qeltaro::DrawHistory(**store).importText(lines.mid(0, lines.size() - kHeldBack).join(u'\n')))
            return;
        addSampleFormulas(**store);
    }
    auto session = qeltaro::AnalysisSession::open(temp.path(), std::make_unique<qeltaro::Settings>(temp.filePath(QStringLiteral("settings.conf"))));
    if (!session)
        return;
    qeltaro::gui::MainWindow window(std::move(*session));
    click(&window, "optXing_3");
    click(&window, "Option6_1");
    auto calculateBoth = [&window] {
        click(&window, "opTDG_0");
        click(&window, "Command23");
        click(&window, "opTDG_1");
        click(&window, "Command23");
    };
    for (const QString& line : lines.mid(lines.size() - kHeldBack)) {
        calculateBoth();
        const QStringList parts = line.simplified().split(u' ');
        (void)window.session().addDraw(parts.value(0), parts.value(1));
        window.refresh();
    }
    calculateBoth();
    for (const char* name : {"frmErrarrLei", "frmErrarr"}) {
        if (QWidget* err = child(&window, name))
            err->close();
    }

    click(&window, "optXing_1");
    window.findChild<QAction*>(QStringLiteral("mnuJournal"))->trigger();
    settle();
    auto* journal = child<qeltaro::gui::JournalWindow>(&window, "frmJournal");
    child<QSpinBox>(journal, "txtPeriods")->setValue(120);
    click(journal, "cmdStart");
    journal->task().wait();
    settle();
    save(journal, output + QStringLiteral("/journal-window.png"));
    // The whole method: a search of 20,000 candidates before each period instead of the formulas,
    // calculated by the best-formula method.
    click(&window, "Option6_0");
    child<QCheckBox>(journal, "chkWalkSearch")->setChecked(true);
    child<QSpinBox>(journal, "txtWalkCandidates")->setValue(20000);
    click(journal, "cmdStart");
    journal->task().wait();
    settle();
    save(journal, output + QStringLiteral("/journal-walk-search.png"));
    journal->close();

    // The chase plan of the last calculation's kept digits (three-star group play).
    window.findChild<QAction*>(QStringLiteral("mnuChasePlan"))->trigger();
    settle();
    QWidget* plan = child(&window, "frmChasePlan");
    click(plan, "cmdFromCalculation");
    child<QSpinBox>(plan, "txtPeriods")->setValue(8);
    settle();
    save(plan, output + QStringLiteral("/chase-plan-window.png"));
    plan->close();
}

// The game dialog on an empty store, filled in for a daily game numbered by year, and the draw
// entry of such a game with its date box.
void saveGameWindows(const QString& output)
{
    QTemporaryDir temp;
    auto session = qeltaro::AnalysisSession::open(temp.path(), std::make_unique<qeltaro::Settings>(temp.filePath(QStringLiteral("settings.conf"))));
    if (!session)
        return;
    qeltaro::gui::MainWindow window(std::move(*session));
    window.resize(1366, 698);
    window.show();
    settle();
    window.findChild<QAction*>(QStringLiteral("mnuGame"))->trigger();
    settle();
    auto* dialog = child<qeltaro::gui::GameDialog>(&window, "frmGame");
    child<QLineEdit>(dialog, "txtGameName")->setText(QStringLiteral("每日五位数"));
    child<QSpinBox>(dialog, "txtDrawsPerDay")->setValue(1);
    click(dialog, "optNumbering_1");
    save(dialog, output + QStringLiteral("/game-dialog.png"));
    click(dialog, "cmdSave");
    // Draws of a past year being typed in: the proposed date and period agree with the newest.
    (void)window.session().addDraw(QStringLiteral("24064"), QStringLiteral("38146"), QDate(2024, 3, 5));
    window.refresh();
    settle();

    window.findChild<QAction*>(QStringLiteral("mnuPayout"))->trigger();
    settle();
    QWidget* payout = child(&window, "frmPayout");
    save(payout, output + QStringLiteral("/payout-dialog.png"));
    payout->close();

    QWidget* entry = child(&window, "Text1")->parentWidget();
    const QRect row = child(&window, "txtIpt_5")->geometry().united(child(&window, "Text1")->geometry());
    save(entry, output + QStringLiteral("/draw-entry-year.png"), QRect(0, 0, entry->width(), row.bottom() + 6));
}

// The window while it watches: today's draws so far (the sample's digits under today's periods),
// the standard schedule, and the status bar counting down to the next draw.
void saveWatchingWindow(const QString& output)
{
    QTemporaryDir temp;
    const auto schedule = *qeltaro::parseDrawSchedule(QStringLiteral("00:05/5/23,10:00/10/73,22:05/5/24"));
    {
        auto store = qeltaro::Store::open(temp.path());
        if (!store)
            return;
        QFile sample(QStringLiteral(QELTARO_SOURCE_DIR "/data/sample-history.txt"));
        if (!sample.open(QIODevice::ReadOnly))
            return;
        const QStringList lines = QString::fromUtf8(sample.readAll()).split(u'\n', Qt::SkipEmptyParts);
        const QDateTime now = QDateTime::currentDateTime();
        QString today;
        for (int issue = 1; issue <= 120 && schedule.dueOf(now.date(), issue) <= now; ++issue) {
            today += now.date().toString(QStringLiteral("yyMMdd")) + QStringLiteral("%1 ").arg(issue, 3, 10, QChar(u'0')) +
                     lines.value(issue - 1).section(u' ', 1, 1).trimmed() + u'\n';
        }
        (void)qeltaro::DrawHistory(**store).importText(today);
        (void)qeltaro::changeGame(**store, (*store)->game(), schedule);
        addSampleFormulas(**store);
    }
    auto settings = std::make_unique<qeltaro::Settings>(temp.filePath(QStringLiteral("settings.conf")));
    (void)settings->set(QStringLiteral("HistoryUrl"), QStringLiteral("http://127.0.0.1:9"));
    (void)settings->set(QStringLiteral("AutoWatch"), QStringLiteral("True"));
    auto session = qeltaro::AnalysisSession::open(temp.path(), std::move(settings));
    if (!session)
        return;
    qeltaro::gui::MainWindow window(std::move(*session));
    window.resize(1366, 768);
    window.show();
    settle();
    save(&window, output + QStringLiteral("/watching-window.png"));
}

}  // namespace

// The list sorted by 高出随机, going down, with a formula that names no digit (no figures against
// chance), and the history's copies offered by 从备份恢复 after 删除所有历史.
void saveListAndBackups(qeltaro::gui::MainWindow& window, const QString& output)
{
    {
        qeltaro::FormulaTable table(window.session().store(), qeltaro::Category{1, false});
        (void)table.append(qeltaro::Kind::Kill, QStringLiteral("0-L1A-1"), QStringLiteral("0-万位码-1=下期杀一星直选"), 8);
    }
    window.refresh();
    auto* grid = child<QTableView>(&window, "MSFlexGrid2");
    QHeaderView* header = grid->horizontalHeader();
    const int lift = qeltaro::gui::FormulaListModel::Lift;
    for (int i = 0; i < 2; ++i) {  // twice: going down
        emit header->sectionClicked(lift);
        settle();
    }
    QWidget* panel = grid->parentWidget();
    save(panel, output + QStringLiteral("/formula-list-sorted.png"),
         QRect(0, grid->y(), panel->width(), std::min(grid->height(), 300)));

    qeltaro::gui::Dialogs::queueAnswer(QStringLiteral("ok"));
    window.findChild<QAction*>(QStringLiteral("mnuDlAll"))->trigger();
    window.findChild<QAction*>(QStringLiteral("mnuRestoreBackup"))->trigger();
    settle();
    if (QWidget* backups = child(&window, "frmBackups")) {
        child<QTableWidget>(backups, "grdBackups")->selectRow(0);
        settle();
        save(backups, output + QStringLiteral("/backups-dialog.png"));
        qeltaro::gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        click(backups, "cmdRestore");
    }
}

int main(int argc, char** argv)
{
    auto chinese = std::make_unique<qeltaro::gui::ChineseSystemLocale>();
    QApplication application(argc, argv);
    chinese.reset();
    qeltaro::gui::installQtTranslations(application);
    QApplication::setApplicationName(QStringLiteral("Qeltaro"));
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/images");
    QDir().mkpath(output);

    QTemporaryDir temp;
    qeltaro::gui::Dialogs::setScripted(true);
    {
        auto store = qeltaro::Store::open(temp.path());
        if (!store)
            return 3;
        const QString sample = QStringLiteral(QELTARO_SOURCE_DIR "/data/sample-history.txt");
        if (!qeltaro::DrawHistory(**store).importFile(sample))
            return 3;
        addSampleFormulas(**store);
    }
    auto session = qeltaro::AnalysisSession::open(temp.path(), std::make_unique<qeltaro::Settings>(temp.filePath(QStringLiteral("settings.conf"))));
    if (!session)
        return 3;
    qeltaro::gui::MainWindow window(std::move(*session));
    window.resize(1366, 768);
    window.show();
    QApplication::processEvents();
    QApplication::processEvents();
    save(&window, output + QStringLiteral("/main-window.png"));

    window.findChild<QPushButton*>(QStringLiteral("Command4"))->click();
    QApplication::processEvents();
    if (auto* reference = window.findChild<QDialog*>(QStringLiteral("frmShuoming")))
        save(reference, output + QStringLiteral("/parameter-reference.png"));
    saveToolWindows(window, output);
    saveSearchWindow(window, output);
    saveListAndBackups(window, output);
    saveJournalWindow(output);
    saveGameWindows(output);
    saveWatchingWindow(output);
    return 0;
}
