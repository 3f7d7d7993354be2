#pragma once
// frmXxlb "详细结果列表": the formulas the last calculation by the selected formulas counted,
// in list order, with their next-period digit and rate. Modal; its height follows the rows.

#include "backtest/detail_list_rows.h"

#include <QDialog>

#include <vector>

class QTableView;

namespace qeltaro::gui {

class CellTableModel;

class DetailListDialog : public QDialog {
    Q_OBJECT
public:
    // Exports are written to `dataFolder`.
    DetailListDialog(std::vector<DetailListRow> rows, const QString& dataFolder, QWidget* parent = nullptr);

private:
    QTableView* grid_ = nullptr;  // MSFlexGrid1
    CellTableModel* model_ = nullptr;
};

}  // namespace qeltaro::gui
