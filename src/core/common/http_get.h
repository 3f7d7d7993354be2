#pragma once
// Fetching a document over HTTP or HTTPS for the online updates. Synchronous and free of shared
// state, so a window may run it on a worker thread.

#include "common/result.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

namespace qeltaro {

struct HttpGetOptions {
    std::chrono::seconds connectTimeout{15};
    std::chrono::seconds readTimeout{30};
    // Larger answers are refused rather than held in memory.
    qint64 maxBytes = 64ll * 1024 * 1024;
    // Asked while the body arrives; returning true stops the download (ErrorKind::Cancelled).
    std::function<bool()> cancelled;
};

// The body of a 200 answer. Redirects are followed. Refused (BadInput) for an address that is
// not http:// or https://; a failed connection, another status or an oversized answer is a
// Storage error whose message says what happened.
Result<QByteArray> httpGet(const QString& url, const HttpGetOptions& options = {});

// Whether a text is an address httpGet accepts.
bool isHttpAddress(const QString& url);

}  // namespace qeltaro
