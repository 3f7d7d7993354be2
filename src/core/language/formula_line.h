#pragma once
// One line of formula text, as typed or read from a formula file:
//   statement shape  万位码+千位码=下期杀一星直选   (expression, separator, 下期, kind, category)
//   header shape     [三星直选]百位平方-十位码        (category header, expression; kind from the caller)
// split into its Chinese text, code form, kind and category, and checked before it may be stored.

#include "domain/category.h"
#include "domain/kind.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace qeltaro {

// The formula list a window shows: a category and a kind (kill formulas or keep formulas).
struct FormulaListKey {
    Category category;
    Kind kind = Kind::Kill;

    friend bool operator==(const FormulaListKey&, const FormulaListKey&) = default;
};

// Typed lines are taken whole; file lines (imports and downloads) lose their run-length tail
// ("连准12期") and must pass the character check of formula files.
enum class LineSource { Typed, File };

struct ParsedLine {
    QString text;        // gongshiCN: the line trimmed, file lines without the tail
    QString expression;  // the Chinese expression, as written
    QString code;        // gongshi: the expression translated and trimmed
    Kind kind = Kind::Kill;    // the line's kind; a header line takes the current kind
    bool statement = false;              // statement shape: its kind becomes the current kind
    std::optional<Category> category;    // none when the star or play word is not recognised
};

// Splits a line. `currentKind` is the kind a header line takes. Never fails: whether the result
// may be stored is checkLine's answer.
ParsedLine parseFormulaLine(QStringView line, LineSource source, Kind currentKind);

// Everything from "连准" on removed, then trimmed.
QString cutHitRunTail(QStringView line);

// Longer lines are refused: no formula needs them, and one of megabytes would make every
// back-test of its list crawl.
inline constexpr qsizetype kLongestFormulaLine = 1024;

// Why a parsed line cannot be stored.
enum class LineProblem {
    None,
    Empty,                // nothing on the line
    TooLong,              // more than kLongestFormulaLine characters
    UnknownCategory,      // the star or play word is not one of the nine categories
    DisallowedCharacter,  // file lines: the code form holds a character formula files may not use
    InvalidExpression,    // the code form does not compile
};

struct LineCheck {
    LineProblem problem = LineProblem::None;
    QString reason;  // a message for the user; empty when the line may be stored
    bool ok() const { return problem == LineProblem::None; }
    // What 无法识别公式.txt receives for this line: the code form when the expression is at
    // fault, the line itself when its category is.
    QString unrecognisedEntry(const ParsedLine& line) const;
};

LineCheck checkLine(const ParsedLine& line, LineSource source);

// The characters a translated formula-file expression may hold: A-Z [ ` a-z { 0-9 ( ) * + - /
// and blank. Returns the first other character's position, or -1.
qsizetype firstDisallowedCharacter(QStringView code);

}  // namespace qeltaro
