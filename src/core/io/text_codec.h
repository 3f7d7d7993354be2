#pragma once
// Text files: read as UTF-8 (with or without BOM) when the bytes are valid UTF-8, otherwise as
// GB18030, the encoding Chinese Windows programs write. Written with CR LF line ends.

#include "common/result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qeltaro {

QString decodeText(const QByteArray& bytes);
// Lines without their CR/LF ends; a final empty line after the last line end is dropped.
QStringList splitLines(const QString& text);

// Lines joined with CR LF (one after every line) in the system's encoding (UTF-8 here).
QByteArray encodeLines(const QStringList& lines);

Result<QByteArray> readFileBytes(const QString& path);
// Replaces the file atomically: a failure leaves any older file of that name untouched.
Status writeFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace qeltaro
