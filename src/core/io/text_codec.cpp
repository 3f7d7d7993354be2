#include "io/text_codec.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace qeltaro {

QString decodeText(const QByteArray& bytes)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    QStringDecoder gb("GB18030");
    if (gb.isValid())
        return gb.decode(bytes);
    return QString::fromLocal8Bit(bytes);
}

QStringList splitLines(const QString& text)
{
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(u'\r', u'\n');
    QStringList lines = normalized.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray encodeLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toLocal8Bit();
        bytes += "\r\n";
    }
    return bytes;
}

Result<QByteArray> readFileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return storageError(QStringLiteral("无法读取文件 %1：%2").arg(path, file.errorString()));
    return file.readAll();
}

namespace {

Error writeFailure(const QString& path, const QSaveFile& file, bool opening)
{
    const QString plain = opening ? QStringLiteral("文件夹不允许写入或不存在，文件没有保存")
                                  : QStringLiteral("写入磁盘失败（磁盘可能已满），原有文件保持不变");
    return storageError(QStringLiteral("无法写入文件 %1：%2（%3）").arg(path, plain, file.errorString()));
}

}  // namespace

Status writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return writeFailure(path, file, true);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return writeFailure(path, file, false);
    return success();
}

}  // namespace qeltaro
