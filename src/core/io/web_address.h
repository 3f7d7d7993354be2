#pragma once
// Addresses the user types for downloads: http:// or https:// with a server name, where
// `{date}` (yyyy-MM-dd), `{ymd}` (yyyyMMdd) and `{yymmdd}` stand for the day of a page.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace qeltaro {

bool hasDayPlaceholder(const QString& text);
QString fillDayPlaceholders(QString text, const QDate& day);

// Several addresses kept in one text, one a line (or apart by blanks): each trimmed, none empty.
QStringList addressLines(const QString& text);

// Valid, http or https, with a server name.
bool isWebAddress(const QUrl& url);

}  // namespace qeltaro
