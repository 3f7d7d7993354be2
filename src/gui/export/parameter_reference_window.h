#pragma once
// frmShuoming "参数对照": parameter kinds against positions with the latest draw's values; a
// click copies the cell's text to the clipboard.

#include "domain/history_columns.h"

#include <QDialog>

class QTableWidget;

namespace qeltaro::gui {

class ParameterReferenceWindow : public QDialog {
    Q_OBJECT
public:
    explicit ParameterReferenceWindow(const HistoryColumns& history, QWidget* parent = nullptr);

private:
    QTableWidget* grid_;
};

}  // namespace qeltaro::gui
