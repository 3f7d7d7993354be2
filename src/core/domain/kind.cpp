#include "domain/kind.h"

namespace qeltaro {

QString kindName(Kind kind)
{
    return isKill(kind) ? QStringLiteral("kill") : QStringLiteral("keep");
}

std::optional<Kind> kindFromName(QStringView name)
{
    if (name == u"kill")
        return Kind::Kill;
    if (name == u"keep")
        return Kind::Keep;
    return std::nullopt;
}

QString kindWord(Kind kind)
{
    return isKill(kind) ? QStringLiteral("杀码") : QStringLiteral("留码");
}

}  // namespace qeltaro
