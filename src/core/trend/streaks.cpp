#include "trend/streaks.h"

#include "domain/parameter_catalogue.h"

#include <algorithm>
#include <cmath>

namespace qeltaro {

std::vector<Streak> currentStreaks(const HistoryColumns& history)
{
    std::vector<Streak> streaks;
    const int newest = history.rowCount() - 1;
    if (newest < 0)
        return streaks;
    for (int position = 1; position <= 5; ++position) {
        for (TrendForm form : kStreakForms) {
            Streak streak;
            streak.position = position;
            streak.form = form;
            streak.value = positionFormValue(form, history.digit(newest, position));
            while (streak.length <= newest
                   && positionFormValue(form, history.digit(newest - streak.length, position)) == streak.value)
                ++streak.length;
            streak.nextChance = trendValueChances(form)[size_t(streak.value)];
            streak.chance = std::pow(streak.nextChance, streak.length - 1);
            streaks.push_back(streak);
        }
    }
    std::stable_sort(streaks.begin(), streaks.end(), [](const Streak& a, const Streak& b) { return a.length > b.length; });
    return streaks;
}

QStringList streakHeaders()
{
    return {QStringLiteral("位置"), QStringLiteral("形态"), QStringLiteral("当前"), QStringLiteral("连出期数"),
            QStringLiteral("随机概率"), QStringLiteral("下期延续")};
}

QStringList streakCells(const Streak& streak)
{
    return {positionName(streak.position), trendFormName(streak.form), streak.valueLabel(),
            QString::number(streak.length), chanceText(streak.chance), chanceText(streak.nextChance)};
}

QString streakNote()
{
    return QStringLiteral("随机概率：纯随机开奖时前面各期都与最新一期相同的机会。"
                          "不论长龙已有多长，下一期延续它的概率都只是这一形态本身的概率（大小、单双各1/2）。");
}

}  // namespace qeltaro
