#include "gui/search/search_window_commands.h"

#include "gui/common/widgets.h"
#include "gui/common/window_host.h"
#include "gui/search/formula_search_window.h"

namespace qeltaro::gui {

void openFormulaSearchWindow(WindowHost& host)
{
    auto* search = new FormulaSearchWindow(host);
    search->setAttribute(Qt::WA_DeleteOnClose);
    showInFront(search);
}

}  // namespace qeltaro::gui
