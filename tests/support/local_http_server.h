#pragma once
// A small HTTP server on 127.0.0.1 for tests of the online updates: it listens on a port the
// system chooses, serves fixed answers or handlers in a thread of its own, and stops when it goes
// out of scope.

#include <httplib.h>

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace qeltaro::test {

class LocalHttpServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    LocalHttpServer();  // started; check port() > 0
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:PORT" + path (path begins with "/").
    QString url(const QString& path) const;

    // GET `path` answers with `body` and `status`. Paths not served answer 404. Answers may be
    // added or replaced while the server runs; the latest one for a path wins.
    void serve(const std::string& path, const QByteArray& body, int status = 200,
               const std::string& contentType = "text/plain; charset=utf-8");
    // GET of a path matching `pattern` (a regular expression over the whole path) runs `handler`.
    void serve(const std::string& pattern, Handler handler);

    // The paths (with query) of the requests received so far, in order.
    std::vector<std::string> requests() const;

    void stop();

    // An address on 127.0.0.1 where nothing listens: a port the system handed out and that was
    // closed again.
    static QString unreachableUrl(const QString& path = QStringLiteral("/"));

private:
    struct Route {
        std::regex pattern;
        Handler handler;
    };
    void dispatch(const httplib::Request& request, httplib::Response& response);

    httplib::Server server_;
    std::vector<Route> routes_;
    std::thread thread_;
    int port_ = -1;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
};

}  // namespace qeltaro::test
