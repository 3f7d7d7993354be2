#include "gui/search/found_formula_panel.h"

#include "export/found_formula_export.h"
#include "gui/common/dialogs.h"
#include "gui/common/open_file.h"
#include "gui/common/widgets.h"
#include "gui/common/window_host.h"
#include "gui/search/search_category_panel.h"
#include "gui/search/search_checks_panel.h"
#include "gui/search/search_window_parts.h"
#include "search/search_category.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qeltaro::gui {

FoundFormulaPanel::FoundFormulaPanel(WindowHost& main, SearchCategoryPanel& category, SearchCounters& counters)
    : main_(main), category_(category), counters_(counters)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("搜索到的合格公式：")));
    list_ = new QListWidget;
    list_->setObjectName(QStringLiteral("List1"));
    list_->setUniformItemSizes(true);
    layout->addWidget(list_, 1);

    auto* saving = new QHBoxLayout;
    appendButton_ = searchButton("Command3", QStringLiteral("公式追加到数据库(&A)"));
    appendButton_->setToolTip(QStringLiteral("保留软件现有公式然后将所有合格公式追加到软件数据库。"));
    replaceButton_ = searchButton("Command4", QStringLiteral("公式更新到数据库(&N)"));
    replaceButton_->setToolTip(QStringLiteral("删除软件现有公式然后将所有合格公式添加到软件数据库。"));
    QPushButton* exportButton = searchButton("Command20", QStringLiteral("公式中文导出"));
    connect(appendButton_, &QPushButton::clicked, this, [this] { save(SaveMode::Append); });
    connect(replaceButton_, &QPushButton::clicked, this, [this] { save(SaveMode::Replace); });
    connect(exportButton, &QPushButton::clicked, this, &FoundFormulaPanel::exportFound);
    saving->addWidget(appendButton_);
    saving->addWidget(replaceButton_);
    saving->addWidget(exportButton);
    layout->addLayout(saving);
}

void FoundFormulaPanel::add(const std::vector<FoundFormula>& fresh)
{
    if (fresh.empty())
        return;
    found_.add(fresh);
    for (const FoundFormula& formula : fresh)
        list_->addItem(formula.text);
    list_->scrollToBottom();
}

void FoundFormulaPanel::showHoldout(int holdoutPeriods, const std::vector<FoundFormula>& found)
{
    if (holdoutPeriods <= 0)
        return;
    // The run's formulas are the newest rows of the list, in the order found.
    const int first = list_->count() - int(found.size());
    for (int i = 0; i < int(found.size()) && first + i >= 0; ++i) {
        if (found[size_t(i)].holdout)
            list_->item(first + i)->setToolTip(holdoutText(holdoutPeriods, *found[size_t(i)].holdout));
    }
}

void FoundFormulaPanel::setIdle(bool idle)
{
    idle_ = idle;
    appendButton_->setEnabled(idle);
    replaceButton_->setEnabled(idle);
}

void FoundFormulaPanel::save(SaveMode mode)
{
    if (!idle_)
        return;
    AnalysisSession& session = main_.session();
    const SavePath path = found_.fromScheme() ? SavePath::Scheme : SavePath::Manual;
    // The kind in force now is stored, whatever it was when the formulas were found.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto report = saveFoundFormulas(session.store(), found_.unsaved(), mode, category_.kind());
    QApplication::restoreOverrideCursor();
    if (!report) {
        Dialogs::warn(window(), saveFinishedTitle(), report.error().message);
        return;
    }
    FormulaSelection flags = session.selection();
    applySaveSelection(*report, session.category(), mode, path, flags);
    session.selection() = flags;
    main_.refreshKeepingSelection();
    if (path == SavePath::Manual && report->lastCategory)
        category_.selectCategory(searchNumberOf(*report->lastCategory));
    emit saved();
    Dialogs::inform(window(), saveFinishedTitle(), saveFinishedMessage());
    found_.markSaved();
    counters_.showFound(0);
}

bool FoundFormulaPanel::readyToClose()
{
    if (!found_.unkept())
        return true;
    const QString title = QStringLiteral("关闭公式搜索");
    const QString question = QStringLiteral("搜索到的%1条公式还没有保存，也没有导出。关闭窗口前要保存到公式库吗？")
                                 .arg(found_.unsavedCount());
    switch (Dialogs::askUnsaved(window(), title, question)) {
    case Dialogs::UnsavedChoice::Save:
        save(SaveMode::Append);
        return !found_.unkept();
    case Dialogs::UnsavedChoice::Discard: return true;
    case Dialogs::UnsavedChoice::Stay: return false;
    }
    return false;
}

void FoundFormulaPanel::exportFound()
{
    AnalysisSession& session = main_.session();
    auto report = exportFoundFormulas(session.store(), main_.currentPeriod(), found_.shownTexts());
    if (!report) {
        Dialogs::warn(window(), QStringLiteral("公式中文导出"), report.error().message);
        return;
    }
    found_.markExported();
    openWrittenFile(report->path);
}

}  // namespace qeltaro::gui
