#pragma once
// A read-only grid model over cells the core already computed: the window hands it functions
// that give a cell's text, colours and alignment, so one model serves every tool window's list.

#include <QAbstractTableModel>
#include <QColor>

#include <functional>
#include <optional>

namespace qeltaro::gui {

struct CellSource {
    int rows = 0;
    int columns = 0;
    std::function<QString(int column)> header;
    std::function<QString(int row, int column)> text;
    std::function<std::optional<QColor>(int row, int column)> background;  // none: the view's own
    std::function<std::optional<QColor>(int row, int column)> foreground;
    std::function<Qt::Alignment(int column)> alignment;                    // none: left, centred
};

class CellTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CellTableModel(QObject* parent = nullptr);

    void reset(CellSource source);
    // Repaint every cell after the data behind the functions changed without a change of shape.

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    CellSource source_;
};

}  // namespace qeltaro::gui
