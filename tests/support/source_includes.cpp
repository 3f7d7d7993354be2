#include "source_includes.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace qeltaro::test {

std::vector<SourceInclude> quotedIncludes(const QString& root)
{
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""),
                                            QRegularExpression::MultilineOption);
    std::vector<SourceInclude> out;
    QDirIterator it(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        const QString relative = path.mid(root.size() + 1);
        for (auto m = include.globalMatch(text); m.hasNext();)
            out.push_back({relative, m.next().captured(1)});
    }
    return out;
}

}  // namespace qeltaro::test
