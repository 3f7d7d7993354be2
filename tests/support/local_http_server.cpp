#include "local_http_server.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace qeltaro::test {

LocalHttpServer::LocalHttpServer(HttpRoute route, int maxRequests, std::chrono::seconds lifetime)
    : server_(std::make_unique<httplib::Server>()), route_(std::move(route)), maxRequests_(maxRequests)
{
    server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        const QString path = QString::fromStdString(request.path);
        QUrlQuery query;
        for (const auto& [key, value] : request.params)
            query.addQueryItem(QString::fromStdString(key), QString::fromStdString(value));
        {
            std::lock_guard lock(mutex_);
            if (requests_.size() >= maxRequests_) {
                response.status = 503;
                return;
            }
            const QString target = request.target.empty() ? path : QString::fromStdString(request.target);
            requests_ << target;
        }
        HttpAnswer answer{404, QByteArray("not found"), "text/plain"};
        {
            std::lock_guard lock(mutex_);
            if (auto it = fixed_.find(path); it != fixed_.end())
                answer = it->second;
            else if (route_)
                answer.status = -1;
        }
        if (answer.status == -1)
            answer = route_(path, query);
        if (answer.delay.count() > 0)
            std::this_thread::sleep_for(answer.delay);
        response.status = answer.status;
        response.set_content(answer.body.toStdString(), answer.contentType.toStdString());
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        ADD_FAILURE() << "the local web server could not bind to 127.0.0.1";
        return;
    }
    listener_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() is only heard once the server runs.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    watchdog_ = std::thread([this, lifetime] {
        std::unique_lock lock(mutex_);
        stopRequested_.wait_for(lock, lifetime, [this] { return stopping_; });
        server_->stop();
    });
}

LocalHttpServer::~LocalHttpServer()
{
    stop();
    if (watchdog_.joinable())
        watchdog_.join();
    if (listener_.joinable())
        listener_.join();
}

void LocalHttpServer::stop()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopRequested_.notify_all();
    if (watchdog_.joinable())
        watchdog_.join();
    if (listener_.joinable())
        listener_.join();
}

QString LocalHttpServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port_);
}

void LocalHttpServer::serve(const QString& path, const QByteArray& body, int status, const QByteArray& contentType)
{
    std::lock_guard lock(mutex_);
    fixed_[path] = HttpAnswer{status, body, contentType, std::chrono::milliseconds(0)};
}

QString LocalHttpServer::unreachableUrl(const QString& path)
{
    // Bind a socket to a free port and close it again: nothing listens there afterwards.
    int port = 9;  // discard; nothing listens on it here either
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd >= 0) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof address;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port = ntohs(address.sin_port);
        ::close(fd);
    }
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
}

QStringList LocalHttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

}  // namespace qeltaro::test
