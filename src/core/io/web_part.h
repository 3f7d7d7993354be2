#pragma once
// The web part (libqeltaro-web.so, see part_module.h): fetching a page over HTTP or HTTPS and
// reading the text a page shows. httpGet() and visibleText() load it when first called.

#include "io/http_get.h"
#include "io/part_module.h"

namespace qeltaro {

struct WebPart {
    // httpGet() once the address is known to be one it accepts.
    Result<QByteArray> (*fetch)(const QUrl& url, const HttpGetLimits& limits, const Progress* progress);
    QString (*visibleText)(const QString& html);
};

// The module's own functions behind the table.
Result<QByteArray> fetchPage(const QUrl& url, const HttpGetLimits& limits, const Progress* progress);
QString readVisibleText(const QString& html);

inline const WebPart* webPart(QString* error = nullptr)
{
    return static_cast<const WebPart*>(loadPart("web", error));
}

}  // namespace qeltaro
