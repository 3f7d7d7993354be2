#pragma once
// The two kinds of formula: a kill formula names a digit the next draw will not show, a keep
// formula one it will. Stored as the kill flag of the formula tables; written "kill"/"keep" on
// the command line and in search run files, 杀码/留码 in the windows' texts.

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace qeltaro {

enum class Kind { Keep, Kill };

inline constexpr std::array<Kind, 2> kAllKinds = {Kind::Kill, Kind::Keep};

constexpr bool isKill(Kind kind) { return kind == Kind::Kill; }
// The stored kill flag read back.
constexpr Kind kindOfKillFlag(bool killFlag) { return killFlag ? Kind::Kill : Kind::Keep; }

QString kindName(Kind kind);  // "kill" / "keep"
std::optional<Kind> kindFromName(QStringView name);
QString kindWord(Kind kind);  // "杀码" / "留码"

}  // namespace qeltaro
