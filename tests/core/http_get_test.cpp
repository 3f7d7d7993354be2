#include "common/progress.h"
#include "io/http_get.h"
#include "local_http_server.h"

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::HttpAnswer;
using qeltaro::test::LocalHttpServer;

TEST(HttpGet, FetchesBinaryBodiesAndKeepsTheQuery)
{
    LocalHttpServer server([](const QString& path, const QUrlQuery& query) {
        return HttpAnswer{200, (path + u'|' + query.queryItemValue(QStringLiteral("day"))).toUtf8()};
    });
    ASSERT_GT(server.port(), 0);
    const QByteArray body("\x00\xFF binary \r\n kept", 17);
    server.serve(QStringLiteral("/a.txt"), body);
    auto got = httpGet(QUrl(server.url(QStringLiteral("/a.txt"))));
    ASSERT_TRUE(got) << got.error().message.toStdString();
    EXPECT_EQ(*got, body);
    got = httpGet(QUrl(server.url(QStringLiteral("/q?day=2016-01-21"))));
    ASSERT_TRUE(got);
    EXPECT_EQ(got->toStdString(), "/q|2016-01-21");
}

TEST(HttpGet, RefusesWhatItCannotUse)
{
    struct Stopped : Progress {
        bool cancelled() const override { return true; }
    };
    LocalHttpServer server;
    server.serve(QStringLiteral("/big"), QByteArray(5000, 'x'));
    server.serve(QStringLiteral("/gone"), "no", 404);
    HttpGetLimits small;
    small.maxBytes = 4096;
    auto got = httpGet(QUrl(server.url(QStringLiteral("/big"))), small);
    ASSERT_FALSE(got);
    EXPECT_EQ(got.error().kind, ErrorKind::Storage);
    got = httpGet(QUrl(server.url(QStringLiteral("/gone"))));
    ASSERT_FALSE(got);
    EXPECT_EQ(got.error().kind, ErrorKind::Storage);
    EXPECT_TRUE(got.error().message.contains(QStringLiteral("404"))) << got.error().message.toStdString();

    Stopped stopped;
    got = httpGet(QUrl(server.url(QStringLiteral("/big"))), {}, &stopped);
    ASSERT_FALSE(got);
    EXPECT_EQ(got.error().kind, ErrorKind::Cancelled);

    got = httpGet(QUrl(LocalHttpServer::unreachableUrl()));
    ASSERT_FALSE(got);
    EXPECT_EQ(got.error().kind, ErrorKind::Storage);

    for (const char* address : {"", "127.0.0.1/a.txt", "file:///etc/passwd", "ftp://127.0.0.1/a", "http://"}) {
        EXPECT_FALSE(isHttpAddress(QString::fromUtf8(address))) << address;
        got = httpGet(QUrl(QString::fromUtf8(address)));
        ASSERT_FALSE(got) << address;
        EXPECT_EQ(got.error().kind, ErrorKind::BadInput) << address;
    }
}
