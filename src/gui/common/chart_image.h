#pragma once
// Every chart of the program can be kept as a PNG picture: "保存图片(&S)..." in the chart's
// context menu (and on a button where a window has room for one).

#include <QString>

class QAction;
class QWidget;

namespace qeltaro::gui {

// Adds the action to the chart view's context menu; the picture is what the view shows.
QAction* addSaveImageAction(QWidget* chartView, const QString& suggestedName);

// Asks where to save and saves; false when cancelled or the file could not be written (said).
bool saveChartImage(QWidget* chartView, const QString& suggestedName);

QString saveImageCaption();  // 保存图片(&S)...

}  // namespace qeltaro::gui
