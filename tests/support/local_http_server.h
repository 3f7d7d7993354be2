#pragma once
// A web server on 127.0.0.1 for tests: the system picks the port, it answers a bounded number
// of requests, and it stops by itself after a while even if a test forgets it.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrlQuery>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class Server;
}

namespace qeltaro::test {

struct HttpAnswer {
    int status = 200;
    QByteArray body;
    QByteArray contentType = "text/html; charset=utf-8";
    std::chrono::milliseconds delay{0};  // before answering
};

using HttpRoute = std::function<HttpAnswer(const QString& path, const QUrlQuery& query)>;

class LocalHttpServer {
public:
    // Without a route, only the answers given to serve() are known; anything else is a 404.
    explicit LocalHttpServer(HttpRoute route = {}, int maxRequests = 200,
                             std::chrono::seconds lifetime = std::chrono::seconds(120));
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    QString baseUrl() const;  // http://127.0.0.1:PORT
    int port() const { return port_; }
    QString url(const QString& path) const { return baseUrl() + path; }
    // A fixed answer for one path, taking precedence over the route; may change while running.
    void serve(const QString& path, const QByteArray& body, int status = 200,
               const QByteArray& contentType = "text/plain; charset=utf-8");
    // An address on 127.0.0.1 where nothing listens: a port handed out by the system and closed.
    static QString unreachableUrl(const QString& path = QStringLiteral("/"));
    // Each request's path and query as received, in arrival order.
    QStringList requests() const;
    // Stops answering; the port is closed afterwards.
    void stop();

private:
    std::unique_ptr<httplib::Server> server_;
    HttpRoute route_;
    int port_ = -1;
    int maxRequests_;
    mutable std::mutex mutex_;
    std::condition_variable stopRequested_;
    bool stopping_ = false;
    QStringList requests_;
    std::map<QString, HttpAnswer> fixed_;
    std::thread listener_;
    std::thread watchdog_;
};

}  // namespace qeltaro::test
