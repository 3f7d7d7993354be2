#pragma once
// Formula categories: the number of positions played (一星..五星) and the play (直选/组选).
// Each has its own formula table, Gongshi + positions + D (direct) or G (group).

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace qeltaro {

struct Category {
    int positions = 1;   // 1..5
    bool group = false;  // 组选; there is no one-position group play

    // The nine categories in table order: 1D..5D, then 2G..5G.
    static const std::array<Category, 9>& all();
    // "3D", "2G", also the table name "Gongshi3D", case-insensitive.
    static std::optional<Category> fromSuffix(QStringView text);
    // "三星直选" and the like.

    QString suffix() const;     // "3D"
    QString starWord() const;   // "三星"
    QString playWord() const;   // "直选"
    QString caption() const;    // "三星直选"

    friend bool operator==(const Category&, const Category&) = default;
};

// "一星".."五星" for 1..5; empty for anything else.
QString starWord(int positions);
// 1..5 for "一星".."五星", 0 otherwise.
int positionsOfStarWord(QStringView word);

}  // namespace qeltaro
