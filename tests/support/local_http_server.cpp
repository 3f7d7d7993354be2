#include "local_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace qeltaro::test {
namespace {

std::string escapeForRegex(const std::string& text)
{
    static const std::string special = R"(\^$.|?*+()[]{})";
    std::string out;
    for (char c : text) {
        if (special.find(c) != std::string::npos)
            out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

LocalHttpServer::LocalHttpServer()
{
    // One handler for every path, registered before the server runs; the routes behind it may
    // change while it runs.
    server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        dispatch(request, response);
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0)
        return;
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() is only safe once the server loop runs.
    for (int i = 0; i < 5000 && !server_.is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LocalHttpServer::~LocalHttpServer()
{
    stop();
}

void LocalHttpServer::stop()
{
    if (thread_.joinable()) {
        server_.stop();
        thread_.join();
    }
}

QString LocalHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

void LocalHttpServer::dispatch(const httplib::Request& request, httplib::Response& response)
{
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        std::string target = request.path;
        std::string query;
        for (const auto& [key, value] : request.params)
            query += (query.empty() ? "?" : "&") + key + "=" + value;
        requests_.push_back(target + query);
        // The latest route added for a path wins.
        for (auto it = routes_.rbegin(); it != routes_.rend(); ++it) {
            if (std::regex_match(request.path, it->pattern)) {
                handler = it->handler;
                break;
            }
        }
    }
    if (!handler) {
        response.status = 404;
        response.set_content("not found", "text/plain");
        return;
    }
    handler(request, response);
}

void LocalHttpServer::serve(const std::string& path, const QByteArray& body, int status, const std::string& contentType)
{
    const std::string content(body.constData(), size_t(body.size()));
    Handler handler = [content, status, contentType](const httplib::Request&, httplib::Response& response) {
        response.status = status;
        response.set_content(content, contentType);
    };
    std::lock_guard lock(mutex_);
    routes_.push_back({std::regex(escapeForRegex(path)), std::move(handler)});
}

void LocalHttpServer::serve(const std::string& pattern, Handler handler)
{
    std::lock_guard lock(mutex_);
    routes_.push_back({std::regex(pattern), std::move(handler)});
}

std::vector<std::string> LocalHttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
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

}  // namespace qeltaro::test
