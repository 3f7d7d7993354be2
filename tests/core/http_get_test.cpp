#include "common/http_get.h"
#include "local_http_server.h"

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::LocalHttpServer;

TEST(HttpGet, FetchesFollowsRedirectsAndKeepsTheQuery)
{
    LocalHttpServer server;
    ASSERT_GT(server.port(), 0);
    const QByteArray body("\x00\xFF binary \r\n kept", 17);
    server.serve("/a.txt", body);
    server.serve("/old", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/a.txt");
    });
    auto got = httpGet(server.url(QStringLiteral("/a.txt")));
    ASSERT_TRUE(got) << got.error().message.toStdString();
    EXPECT_EQ(*got, body);
    got = httpGet(server.url(QStringLiteral("/old")));
    ASSERT_TRUE(got) << got.error().message.toStdString();
    EXPECT_EQ(*got, body);

    server.serve("/q", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.get_param_value("day") + "/" + request.get_param_value("n"), "text/plain");
    });
    got = httpGet(server.url(QStringLiteral("/q?day=2016-01-21&n=%E4%B8%80")));
    ASSERT_TRUE(got);
    EXPECT_EQ(QString::fromUtf8(*got).toStdString(), "2016-01-21/一");
}

TEST(HttpGet, RefusesWhatItCannotUse)
{
    LocalHttpServer server;
    server.serve("/big", QByteArray(5000, 'x'));
    HttpGetOptions small;
    small.maxBytes = 4096;
    auto got = httpGet(server.url(QStringLiteral("/big")), small);
    ASSERT_FALSE(got);
    EXPECT_EQ(got.error().kind, ErrorKind::Storage);

    HttpGetOptions stop;
    stop.cancelled = [] { return true; };
    got = httpGet(server.url(QStringLiteral("/big")), stop);
    ASSERT_FALSE(got);
    EXPECT_EQ(got.error().kind, ErrorKind::Cancelled);

    for (const char* address : {"", "127.0.0.1/a.txt", "file:///etc/passwd", "ftp://127.0.0.1/a", "http://", "http:// bad host/"}) {
        got = httpGet(QString::fromUtf8(address));
        ASSERT_FALSE(got) << address;
        EXPECT_EQ(got.error().kind, ErrorKind::BadInput) << address;
    }
}
