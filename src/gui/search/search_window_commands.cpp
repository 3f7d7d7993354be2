#include "gui/search/search_window_commands.h"

#include "gui/app/main_window.h"
#include "gui/search/formula_search_window.h"

namespace qeltaro::gui {

void openFormulaSearchWindow(MainWindow& window)
{
    auto* search = new FormulaSearchWindow(window);
    search->setAttribute(Qt::WA_DeleteOnClose);
    search->show();
    search->raise();
    search->activateWindow();
}

}  // namespace qeltaro::gui
