#include "common/message_text.h"

namespace qeltaro {

QString excerpt(QStringView text, qsizetype maxCharacters)
{
    if (text.size() <= maxCharacters)
        return text.toString();
    qsizetype cut = maxCharacters;
    if (text[cut - 1].isHighSurrogate())
        --cut;  // never half a character
    return text.left(cut).toString() + QStringLiteral("…（共%1个字符）").arg(text.size());
}

}  // namespace qeltaro
