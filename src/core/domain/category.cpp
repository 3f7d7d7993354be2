#include "domain/category.h"

namespace qeltaro {
namespace {

const std::array<QString, 5> kStarWords = {QStringLiteral("一星"), QStringLiteral("二星"),
                                           QStringLiteral("三星"), QStringLiteral("四星"),
                                           QStringLiteral("五星")};

}  // namespace

const std::array<Category, 9>& Category::all()
{
    static const std::array<Category, 9> categories = {{{1, false}, {2, false}, {3, false},
                                                        {4, false}, {5, false}, {2, true},
                                                        {3, true}, {4, true}, {5, true}}};
    return categories;
}

std::optional<Category> Category::fromSuffix(QStringView text)
{
    QStringView s = text.trimmed();
    if (s.startsWith(u"Gongshi", Qt::CaseInsensitive))
        s = s.mid(7);
    for (const Category& c : all()) {
        if (s.compare(c.suffix(), Qt::CaseInsensitive) == 0)
            return c;
    }
    return std::nullopt;
}

QString Category::suffix() const
{
    return QString::number(positions) + (group ? u'G' : u'D');
}

QString Category::starWord() const
{
    return qeltaro::starWord(positions);
}

QString Category::playWord() const
{
    return group ? QStringLiteral("组选") : QStringLiteral("直选");
}

QString Category::caption() const
{
    return starWord() + playWord();
}

QString starWord(int positions)
{
    return positions >= 1 && positions <= 5 ? kStarWords[positions - 1] : QString();
}

int positionsOfStarWord(QStringView word)
{
    for (int i = 0; i < 5; ++i) {
        if (word == kStarWords[i])
            return i + 1;
    }
    return 0;
}

}  // namespace qeltaro
