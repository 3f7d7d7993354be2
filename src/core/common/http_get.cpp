#include "common/http_get.h"

#include <QUrl>

#include <httplib.h>

namespace qeltaro {
namespace {

QString describe(httplib::Error error)
{
    switch (error) {
    case httplib::Error::Connection: return QStringLiteral("无法连接服务器");
    case httplib::Error::ConnectionTimeout: return QStringLiteral("连接服务器超时");
    case httplib::Error::Read: return QStringLiteral("读取数据失败或超时");
    case httplib::Error::Write: return QStringLiteral("发送请求失败");
    case httplib::Error::ExceedRedirectCount: return QStringLiteral("重定向次数过多");
    case httplib::Error::SSLConnection:
    case httplib::Error::SSLLoadingCerts:
    case httplib::Error::SSLServerVerification: return QStringLiteral("安全连接（HTTPS）失败");
    case httplib::Error::Compression: return QStringLiteral("解压数据失败");
    default: return QString::fromStdString(httplib::to_string(error));
    }
}

}  // namespace

bool isHttpAddress(const QString& url)
{
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    return parsed.isValid() && (scheme == u"http" || scheme == u"https") && !parsed.host().isEmpty();
}

Result<QByteArray> httpGet(const QString& url, const HttpGetOptions& options)
{
    if (!isHttpAddress(url))
        return badInput(QStringLiteral("地址“%1”无效：应以 http:// 或 https:// 开头").arg(url));
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    QString host = parsed.host(QUrl::FullyEncoded);
    if (host.contains(u':'))
        host = u'[' + host + u']';  // IPv6 literal
    const int port = parsed.port(scheme == u"https" ? 443 : 80);
    const std::string base = QStringLiteral("%1://%2:%3").arg(scheme, host).arg(port).toStdString();
    QString target = parsed.path(QUrl::FullyEncoded);
    if (target.isEmpty())
        target = QStringLiteral("/");
    if (parsed.hasQuery())
        target += u'?' + parsed.query(QUrl::FullyEncoded);

    httplib::Client client(base);
    client.set_connection_timeout(options.connectTimeout);
    client.set_read_timeout(options.readTimeout);
    client.set_write_timeout(options.readTimeout);
    client.set_follow_location(true);
    client.set_url_encode(false);  // the target is encoded already
    client.set_default_headers({{"User-Agent", "Qeltaro"}});

    std::string body;
    bool tooLarge = false;
    bool stopped = false;
    auto result = client.Get(target.toStdString(), [&](const char* data, size_t length) {
        if (options.cancelled && options.cancelled()) {
            stopped = true;
            return false;
        }
        if (qint64(body.size() + length) > options.maxBytes) {
            tooLarge = true;
            return false;
        }
        body.append(data, length);
        return true;
    });
    if (stopped)
        return Error{ErrorKind::Cancelled, QStringLiteral("已停止下载 %1").arg(url)};
    if (tooLarge)
        return storageError(QStringLiteral("下载 %1 失败：内容超过 %2 字节").arg(url).arg(options.maxBytes));
    if (!result)
        return storageError(QStringLiteral("下载 %1 失败：%2").arg(url, describe(result.error())));
    if (result->status != 200)
        return storageError(QStringLiteral("下载 %1 失败：服务器返回 %2").arg(url).arg(result->status));
    return QByteArray(body.data(), qsizetype(body.size()));
}

}  // namespace qeltaro
