#pragma once
// The read-only grids of the windows: no editing, no row numbers, and the mouse wheel scrolls
// the grid that has the keyboard focus by one row per wheel step, wherever the mouse is.

#include <QHeaderView>
#include <QTableView>

namespace qeltaro::gui {

// Old grid widths were in twips; 15 twips make a pixel at 96 dpi.
inline int twipsToPixels(int twips) { return twips / 15; }

void setUpReadOnlyGrid(QTableView* grid, const char* name);

// Once per application: every wheel step goes to the grid that has the focus, one row per step;
// a grid without the focus does not scroll.
void installGridWheel();

// After the view has laid out its rows: a grid of 30 rows or more shows its last rows, a
// shorter one its first.
void scrollToEndIfLong(QTableView* view);

}  // namespace qeltaro::gui
