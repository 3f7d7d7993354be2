#pragma once
// The read-only grids of the tool windows: one row per wheel step, no editing, no row numbers.

#include <QHeaderView>
#include <QTableView>

namespace qeltaro::gui {

// Old grid widths were in twips; 15 twips make a pixel at 96 dpi.
inline int twipsToPixels(int twips) { return twips / 15; }

inline void setUpReadOnlyGrid(QTableView* grid, const char* name)
{
    grid->setObjectName(QLatin1String(name));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->setWordWrap(false);
}

}  // namespace qeltaro::gui
