#include "gui/common/open_file.h"

#include "io/data_location.h"

#include <QDesktopServices>
#include <QUrl>

namespace qeltaro::gui {

void openWrittenFile(const QString& path)
{
    if (openWrittenFiles())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace qeltaro::gui
