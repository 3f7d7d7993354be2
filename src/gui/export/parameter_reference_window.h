#pragma once
// frmShuoming "参数对照": parameter kinds against positions with the latest draw's values; a
// click copies the cell's text to the clipboard.

#include "domain/draw_record.h"

#include <QDialog>

#include <optional>

class QTableWidget;

namespace qeltaro::gui {

class ParameterReferenceWindow : public QDialog {
    Q_OBJECT
public:
    explicit ParameterReferenceWindow(const std::optional<DrawRecord>& latest, QWidget* parent = nullptr);

private:
    QTableWidget* grid_;
};

}  // namespace qeltaro::gui
