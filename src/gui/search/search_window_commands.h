#pragma once

namespace qeltaro::gui {

class MainWindow;

// "公式搜索(&F)": opens the formula search window, modal over the main window.
void openFormulaSearchWindow(MainWindow& window);

}  // namespace qeltaro::gui
