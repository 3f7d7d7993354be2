#pragma once
// Fetching one document over HTTP or HTTPS, bounded in time and size, and stoppable.

#include "common/result.h"

#include <QByteArray>
#include <QUrl>

#include <chrono>

namespace qeltaro {

class Progress;

struct HttpGetLimits {
    // The whole request (connect, send, receive) must finish within this time.
    std::chrono::milliseconds timeout{20000};
    qint64 maxBytes = 8 * 1024 * 1024;
};

// The body of a GET answered with 200 OK, after redirects. A refused address is BadInput; a
// network failure, another status, a timeout or an oversized body is a Storage error; a stop
// asked through `progress` is Cancelled. Messages are for the user.
Result<QByteArray> httpGet(const QUrl& url, const HttpGetLimits& limits = {}, const Progress* progress = nullptr);

// Whether a text is an address httpGet accepts: http:// or https:// with a host.
bool isHttpAddress(const QString& text);

}  // namespace qeltaro
