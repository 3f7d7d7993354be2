#include "gui/common/chart_image.h"

#include "gui/common/dialogs.h"

#include <QAction>
#include <QDir>
#include <QPixmap>
#include <QStandardPaths>
#include <QWidget>

namespace qeltaro::gui {

QString saveImageCaption()
{
    return QStringLiteral("保存图片(&S)...");
}

QAction* addSaveImageAction(QWidget* chartView, const QString& suggestedName)
{
    auto* action = new QAction(saveImageCaption(), chartView);
    action->setObjectName(QStringLiteral("actSaveImage"));
    QObject::connect(action, &QAction::triggered, chartView,
                     [chartView, suggestedName] { saveChartImage(chartView, suggestedName); });
    chartView->addAction(action);
    chartView->setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
}

bool saveChartImage(QWidget* chartView, const QString& suggestedName)
{
    const QString title = QStringLiteral("保存图片");
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QString path = Dialogs::saveFile(chartView, title, QDir(folder).filePath(suggestedName + QStringLiteral(".png")),
                                     QStringLiteral("PNG 图片 (*.png)"));
    if (path.isEmpty())
        return false;
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    if (!chartView->grab().save(path, "PNG")) {
        Dialogs::warn(chartView, title, QStringLiteral("无法保存图片“%1”，请检查文件夹是否存在、是否可写。").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return true;
}

}  // namespace qeltaro::gui
