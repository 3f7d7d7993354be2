#pragma once

namespace qeltaro::gui {

class WindowHost;

// "公式搜索(&F)": opens the formula search window, modal over the main window.
void openFormulaSearchWindow(WindowHost& host);

}  // namespace qeltaro::gui
