#include "backtest/formula_breakdown.h"

#include "domain/draw_record.h"
#include "domain/parameter_catalogue.h"
#include "language/expression.h"

#include <QRegularExpression>

#include <cmath>

namespace qeltaro {
namespace {

std::optional<int> columnOf(QStringView name)
{
    const auto index = parameterIndexOfCode(name);
    if (!index)
        return std::nullopt;
    return *index - 1;
}

QString valueText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("无值");
    if (value == std::nearbyint(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<long long>(value));
    QString text = QString::number(value, 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    return text;
}

// The code text with every column name replaced by its value on the row.
QString substituteValues(const QString& code, const HistoryColumns& history, int row)
{
    static const QRegularExpression word(QStringLiteral("[A-Za-z][A-Za-z0-9]*"));
    QString out;
    qsizetype from = 0;
    auto it = word.globalMatch(code);
    while (it.hasNext()) {
        const auto match = it.next();
        out += QStringView(code).mid(from, match.capturedStart() - from);
        const auto column = columnOf(match.capturedView());
        out += column ? QString::number(history.column(*column)[row]) : match.captured();
        from = match.capturedEnd();
    }
    out += QStringView(code).mid(from);
    return out;
}

}  // namespace

std::optional<std::vector<SumTerm>> sumTerms(QStringView code)
{
    static const QRegularExpression modTerm(QStringLiteral("^\\(\\s*([A-Za-z][A-Za-z0-9]*)\\s+MOD\\s+(\\d+)\\s*\\)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression number(QStringLiteral("^\\d+$"));
    const auto pieces = code.split(u'+');
    std::vector<SumTerm> terms;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QStringView piece = pieces[i].trimmed();
        if (const auto column = columnOf(piece)) {
            terms.push_back({SumTerm::Column, *column, 0});
            continue;
        }
        if (const auto match = modTerm.match(piece.toString()); match.hasMatch()) {
            const auto column = columnOf(match.capturedView(1));
            bool ok = false;
            const int divisor = match.capturedView(2).toInt(&ok);
            if (!column || !ok || divisor == 0)
                return std::nullopt;
            terms.push_back({SumTerm::ColumnMod, *column, divisor});
            continue;
        }
        bool ok = false;
        const int value = piece.toInt(&ok);
        if (i + 1 == pieces.size() && number.match(piece.toString()).hasMatch() && ok) {
            terms.push_back({SumTerm::Number, 0, value});
            continue;
        }
        return std::nullopt;
    }
    return terms;
}

Result<FormulaBreakdown> breakDownFormula(const HistoryColumns& history, const QString& code, const QString& text)
{
    auto compiled = compileFormula(code);
    if (!compiled)
        return badInput(QStringLiteral("公式“%1”无法计算：%2").arg(code, compiled.error().message));
    const auto terms = sumTerms(code);

    FormulaBreakdown breakdown;
    breakdown.headers = {QStringLiteral("期号"), QStringLiteral("当期号码"), text.isEmpty() ? code : text,
                         QStringLiteral("计算值(算下期)")};
    breakdown.termwise = terms.has_value();
    breakdown.rows.reserve(size_t(history.rowCount()));
    for (int r = 0; r < history.rowCount(); ++r) {
        BreakdownRow row{history.period(r), digitsText(history.digits(r)), {}, {}};
        if (terms) {
            QStringList values;
            long long sum = 0;
            for (const SumTerm& term : *terms) {
                long long value = term.operand;
                if (term.kind != SumTerm::Number) {
                    const double columnValue = history.column(term.column)[r];
                    value = static_cast<long long>(term.kind == SumTerm::Column
                                                       ? columnValue
                                                       : formulaMod(columnValue, term.operand));
                }
                values << QString::number(value);
                sum += value;
            }
            row.expression = values.join(u'+');
            row.value = QString::number(sum);
        } else {
            row.expression = substituteValues(code, history, r);
            row.value = valueText(compiled->evaluate(history.rowValues(r)));
        }
        breakdown.rows.push_back(std::move(row));
    }
    return breakdown;
}

}  // namespace qeltaro
