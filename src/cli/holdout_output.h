#pragma once
// How the commands show a formula's result on held-out periods: as JSON and as table columns.

#include "backtest/holdout.h"

#include <QJsonObject>
#include <QString>

namespace qeltaro::cli {

// {"hits","trials","rate","chance","p_value","beats_chance"}
QJsonObject holdoutJson(const HoldoutResult& result);

// The header of the columns below, tab-separated.
QString holdoutHeader();
// "93.33%（112/120）\t90.00%\t0.285\t否"
QString holdoutColumns(const HoldoutResult& result);

}  // namespace qeltaro::cli
