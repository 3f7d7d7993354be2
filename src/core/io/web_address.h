#pragma once
// Addresses the user types for downloads: http:// or https:// with a server name, where
// `{date}` (yyyy-MM-dd), `{ymd}` (yyyyMMdd) and `{yymmdd}` stand for the day of a page.

#include <QDate>
#include <QString>
#include <QUrl>

namespace qeltaro {

bool hasDayPlaceholder(const QString& text);
QString fillDayPlaceholders(QString text, const QDate& day);

// Valid, http or https, with a server name.
bool isWebAddress(const QUrl& url);

}  // namespace qeltaro
