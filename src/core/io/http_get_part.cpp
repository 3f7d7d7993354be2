#include "io/web_part.h"

#include "common/message_text.h"
#include "common/progress.h"

#include <httplib.h>

namespace qeltaro {
namespace {

QString reasonOf(httplib::Error error)
{
    switch (error) {
    case httplib::Error::Connection: return QStringLiteral("无法连接服务器");
    case httplib::Error::ConnectionTimeout: return QStringLiteral("连接服务器超时");
    case httplib::Error::BindIPAddress: return QStringLiteral("无法使用本机网络地址");
    case httplib::Error::Read: return QStringLiteral("读取网页时连接中断或超时");
    case httplib::Error::Write: return QStringLiteral("发送请求时连接中断");
    case httplib::Error::ExceedRedirectCount: return QStringLiteral("网页重定向次数过多");
    case httplib::Error::SSLConnection: return QStringLiteral("无法建立安全连接（HTTPS）");
    case httplib::Error::SSLLoadingCerts: return QStringLiteral("无法读取系统的根证书");
    case httplib::Error::SSLServerVerification: return QStringLiteral("服务器证书无效");
    case httplib::Error::Compression: return QStringLiteral("网页内容无法解压");
    default: return QStringLiteral("网络错误（%1）").arg(QString::fromStdString(httplib::to_string(error)));
    }
}

}  // namespace

Result<QByteArray> fetchPage(const QUrl& url, const HttpGetLimits& limits, const Progress* progress)
{
    const QString origin =
        url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment)
            .toString(QUrl::FullyEncoded);
    QString target = url.path(QUrl::FullyEncoded);
    if (target.isEmpty())
        target = QStringLiteral("/");
    if (url.hasQuery())
        target += u'?' + url.query(QUrl::FullyEncoded);

    httplib::Client client(origin.toStdString());
    if (!client.is_valid())
        return badInput(QStringLiteral("网址“%1”无效").arg(excerpt(url.toString())));
    client.set_connection_timeout(limits.timeout);
    client.set_read_timeout(limits.timeout);
    client.set_write_timeout(limits.timeout);
    client.set_follow_location(true);
    // The target is already percent-encoded; encoding it again would change it.
    client.set_url_encode(false);

    // The socket timeouts bound each wait; the deadline bounds a server that trickles bytes.
    const auto deadline = std::chrono::steady_clock::now() + limits.timeout;
    QByteArray body;
    bool tooLarge = false;
    bool timedOut = false;
    bool stopped = false;
    const httplib::Headers headers = {{"User-Agent", "Qeltaro"}, {"Accept", "text/html, text/plain, */*"}};
    auto result = client.Get(
        target.toStdString(), headers,
        [&](const char* data, size_t length) {
            if (progress && progress->cancelled()) {
                stopped = true;
                return false;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                timedOut = true;
                return false;
            }
            if (body.size() + qint64(length) > limits.maxBytes) {
                tooLarge = true;
                return false;
            }
            body.append(data, qsizetype(length));
            return true;
        },
        [&](uint64_t, uint64_t) {
            if (progress && progress->cancelled()) {
                stopped = true;
                return false;
            }
            return true;
        });

    if (stopped)
        return Error{ErrorKind::Cancelled, QStringLiteral("已停止读取网页")};
    if (tooLarge)
        return storageError(QStringLiteral("网页超过%1MB，没有读取").arg(limits.maxBytes / (1024 * 1024)));
    if (timedOut)
        return storageError(QStringLiteral("读取网页超时"));
    if (!result)
        return storageError(reasonOf(result.error()));
    if (result->status != 200)
        return storageError(QStringLiteral("服务器回答 HTTP %1").arg(result->status));
    return body;
}

}  // namespace qeltaro

namespace {
// The HTML half lives in html_text_part.cpp.
const qeltaro::WebPart kWebPart{&qeltaro::fetchPage, &qeltaro::readVisibleText};
}  // namespace

QELTARO_PART_ENTRY(kWebPart)
