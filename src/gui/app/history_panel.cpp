#include "gui/app/history_panel.h"

#include "gui/app/history_grid_model.h"
#include "gui/common/dialogs.h"
#include "gui/common/grid_view.h"
#include "gui/common/widgets.h"
#include "gui/history/draw_entry.h"
#include "session/analysis_session.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace qeltaro::gui {
namespace {

int twips(int width) { return twipsToPixels(width); }

constexpr int kPagerStep = 500;  // formula columns a page of HScroll1

}  // namespace

HistoryPanel::HistoryPanel(AnalysisSession& session, QWidget* parent) : QWidget(parent), session_(session)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(new QLabel(QStringLiteral("手工输入已经开出的历史号码记录下一期:")));
    layout->addLayout(buildEntry());

    grid_ = new QTableView(this);
    setUpReadOnlyGrid(grid_, "MSFlexGrid1");
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    model_ = new HistoryGridModel(this);
    grid_->setModel(model_);
    grid_->horizontalHeader()->setDefaultSectionSize(twips(760));
    layout->addWidget(grid_, 1);
    connect(grid_, &QTableView::clicked, this, [this](const QModelIndex& index) { released(index.row(), Qt::LeftButton); });
    connect(grid_, &QTableView::customContextMenuRequested, this,
            [this](const QPoint& at) { released(grid_->indexAt(at).row(), Qt::RightButton); });

    pager_ = new QScrollBar(Qt::Horizontal);
    pager_->setObjectName(QStringLiteral("HScroll1"));
    pager_->setRange(1, 1);
    pager_->setPageStep(kPagerStep);
    pager_->setSingleStep(1);
    layout->addWidget(pager_);
    connect(pager_, &QScrollBar::valueChanged, this, [this](int value) {
        // Jump the grid to formula column `value`.
        if (model_->columnCount() > 6)
            grid_->scrollTo(model_->index(std::max(0, grid_->rowAt(0)), std::min(model_->columnCount() - 1, 5 + value)),
                            QAbstractItemView::PositionAtTop);
    });

    verificationBox_ = new QCheckBox(QStringLiteral("历史列表显示公式各期验算结果(时间较长，请耐心等待...)"));
    verificationBox_->setObjectName(QStringLiteral("Check1"));
    layout->addWidget(verificationBox_);
    connect(verificationBox_, &QCheckBox::clicked, this, &HistoryPanel::verificationToggled);
}

QLayout* HistoryPanel::buildEntry()
{
    auto* entry = new QHBoxLayout;
    entry->addWidget(new QLabel(QStringLiteral("期号：")));
    periodBox_ = namedBox(QStringLiteral("Text1"), 110);
    entry->addWidget(periodBox_);
    dateLabel_ = new QLabel(QStringLiteral("开奖日期："));
    entry->addWidget(dateLabel_);
    dateBox_ = new QDateEdit;
    dateBox_->setObjectName(QStringLiteral("dtpDrawDate"));
    dateBox_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    dateBox_->setCalendarPopup(true);
    dateBox_->setToolTip(QStringLiteral("按年份编排期号的彩种：这一期的开奖日期"));
    connect(dateBox_, &QDateEdit::dateChanged, this, &HistoryPanel::followDate);
    entry->addWidget(dateBox_);
    entry->addSpacing(8);
    entry->addWidget(new QLabel(QStringLiteral("开奖号：")));
    for (int i = 0; i < 5; ++i) {
        QLineEdit* box = namedBox(QStringLiteral("txtIpt_%1").arg(i + 1), 28);
        entry->addWidget(box);
        digitBoxes_[size_t(i)] = box;
    }
    entry->addStretch();
    entry_ = new DrawEntry(digitBoxes_, periodBox_, this);
    connect(entry_, &DrawEntry::drawComplete, this, &HistoryPanel::typedDrawComplete);
    return entry;
}

void HistoryPanel::followDate(const QDate& date)
{
    // The period follows the date: a date in a later year starts that year's sequence. A period
    // typed by hand stays as typed.
    if (session_.store().game().numbering != Numbering::Year || periodBox_->text() != proposedPeriod_)
        return;
    if (auto period = session_.periodOn(date)) {
        proposedPeriod_ = *period;
        periodBox_->setText(*period);
    }
}

void HistoryPanel::typedDrawComplete(const QString& period, const QString& digits)
{
    if (const QString problem = entry_->problem(); !problem.isEmpty()) {
        Dialogs::warn(window(), QStringLiteral("开奖号输入有误"), problem);
        return;
    }
    emit drawTyped(period, digits);
}

void HistoryPanel::released(int row, Qt::MouseButton button)
{
    if (row >= 0)
        emit periodReleased(session_.history().period(row).right(10), button);
}

void HistoryPanel::showHistory()
{
    model_->setHistory(&session_.history(), session_.category());
    grid_->setColumnWidth(0, twips(1500));
    for (int c = 1; c <= 5; ++c)
        grid_->setColumnWidth(c, twips(600));
    scrollToEndIfLong(grid_);
    proposedPeriod_ = session_.proposedPeriod();
    periodBox_->setText(proposedPeriod_);
    if (session_.proposedDate().isValid()) {
        const QSignalBlocker quiet(dateBox_);
        dateBox_->setDate(session_.proposedDate());
    }
}

void HistoryPanel::showVerification()
{
    if (!verificationBox_->isChecked()) {
        model_->clearVerification();
        return;
    }
    model_->setVerification(session_.verification(0, session_.formulaList().size()), session_.mirror().showOnCurrentRow);
    for (int c = 6; c < model_->columnCount(); ++c)
        grid_->setColumnWidth(c, twips(760));
}

void HistoryPanel::showGame()
{
    const bool dated = session_.store().game().numbering == Numbering::Year;
    dateLabel_->setVisible(dated);
    dateBox_->setVisible(dated);
    const QSignalBlocker quiet(dateBox_);
    dateBox_->setDate(session_.proposedDate().isValid() ? session_.proposedDate() : session_.today());
}

void HistoryPanel::setFormulaCount(int formulas)
{
    pager_->setMaximum(std::max(1, ((formulas - 1) / kPagerStep) * kPagerStep + 1));
}

bool HistoryPanel::verificationShown() const { return verificationBox_->isChecked(); }

void HistoryPanel::focusFirstDigit()
{
    digitBoxes_[0]->setFocus();
    entry_->clear();
}

void HistoryPanel::scrollToEnd() { scrollToEndIfLong(grid_); }

QString HistoryPanel::typedPeriod() const { return periodBox_->text().trimmed(); }

std::optional<QDate> HistoryPanel::typedDrawDate() const
{
    if (session_.store().game().numbering != Numbering::Year)
        return std::nullopt;
    return dateBox_->date();
}

}  // namespace qeltaro::gui
