#include "common/message_text.h"

namespace qeltaro {

namespace {

// Control characters (a NUL ends the message for C APIs, a line break splits it) become U+FFFD.
QString printable(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QChar::ReplacementCharacter;
    }
    return out;
}

}  // namespace

QString excerpt(QStringView text, qsizetype maxCharacters)
{
    if (text.size() <= maxCharacters)
        return printable(text);
    qsizetype cut = maxCharacters;
    if (text[cut - 1].isHighSurrogate())
        --cut;  // never half a character
    return printable(text.left(cut)) + QStringLiteral("…（共%1个字符）").arg(text.size());
}

}  // namespace qeltaro
