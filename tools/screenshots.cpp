// Writes PNG pictures of the program's windows, filled with the sample history and a few
// formulas, for the README and the user guide: qeltaro-screenshots OUTPUT_FOLDER

#include "common/data_location.h"
#include "gui/app/main_window.h"
#include "gui/common/dialogs.h"
#include "history/draw_history.h"
#include "store/formula_table.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

void save(QWidget* widget, const QString& path)
{
    widget->grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
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
        qeltaro::FormulaTable table(**store, qeltaro::Category{1, false});
        const char* formulas[][2] = {
            {"L1A+L2A", "万位码+千位码"}, {"LH+QH", "和数+本期号"}, {"L5A*3+7", "个位码*3+7"},
            {"L1L+L3M+2", "万位邻号和+百位邻号差+2"}, {"LT+LR+SQH", "跨度+数字个数+上期号"},
            {"L2G+L4I", "千位平方+十位互补数"}, {"(LH+RQ) MOD 7", "(和数+日期) MOD 7"}};
        int idx = 0;
        for (const auto& f : formulas)
            (void)table.append(true, QString::fromUtf8(f[0]), QString::fromUtf8(f[1]) + QStringLiteral("=下期杀一星直选"), ++idx);
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
    return 0;
}
