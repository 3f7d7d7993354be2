#include "io/http_get.h"

#include "common/message_text.h"
#include "io/web_part.h"

namespace qeltaro {

bool isHttpAddress(const QString& text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

Result<QByteArray> httpGet(const QUrl& url, const HttpGetLimits& limits, const Progress* progress)
{
    if (!isHttpAddress(url.toString()))
        return badInput(QStringLiteral("网址“%1”无效：应以 http:// 或 https:// 开头并含有服务器名").arg(excerpt(url.toString())));
    QString error;
    const WebPart* part = webPart(&error);
    if (!part)
        return storageError(error);
    return part->fetch(url, limits, progress);
}

}  // namespace qeltaro
