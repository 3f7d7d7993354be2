#include "local_http_server.h"

#include <httplib.h>

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
        const HttpAnswer answer = route_(path, query);
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

QStringList LocalHttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

}  // namespace qeltaro::test
