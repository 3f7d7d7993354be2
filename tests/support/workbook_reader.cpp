#include "workbook_reader.h"

#include <QProcess>
#include <QXmlStreamReader>

#include <vector>

namespace qeltaro::test {
namespace {

// "AB12" -> row 12, column 28.
std::pair<int, int> parseReference(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i].isLetter(); ++i)
        column = column * 26 + (reference[i].toUpper().unicode() - u'A' + 1);
    return {reference.mid(i).toInt(), column};
}

QStringList readSheetNames(const QString& xml)
{
    QStringList names;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("sheet"))
            names << reader.attributes().value(QLatin1String("name")).toString();
    }
    return names;
}

QStringList readSharedStrings(const QString& xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    QString current;
    bool inItem = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("si")) {
            inItem = true;
            current.clear();
        } else if (reader.isStartElement() && reader.name() == QLatin1String("t") && inItem) {
            current += reader.readElementText();
        } else if (reader.isEndElement() && reader.name() == QLatin1String("si")) {
            strings << current;
            inItem = false;
        }
    }
    return strings;
}

// Style index -> fill colour, through cellXfs' fillId and the fills' solid foreground colours.
std::vector<std::optional<std::uint32_t>> readStyleFills(const QString& xml)
{
    std::vector<std::optional<std::uint32_t>> fills;
    std::vector<int> styleFill;
    QXmlStreamReader reader(xml);
    QString section;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const auto name = reader.name();
            if (name == QLatin1String("fills") || name == QLatin1String("cellXfs") || name == QLatin1String("cellStyleXfs"))
                section = name.toString();
            else if (name == QLatin1String("fill") && section == QLatin1String("fills"))
                fills.emplace_back();
            else if (name == QLatin1String("fgColor") && section == QLatin1String("fills") && !fills.empty()) {
                const QString rgb = reader.attributes().value(QLatin1String("rgb")).toString();
                if (!rgb.isEmpty())
                    fills.back() = std::uint32_t(rgb.right(6).toUInt(nullptr, 16));
            } else if (name == QLatin1String("xf") && section == QLatin1String("cellXfs"))
                styleFill.push_back(reader.attributes().value(QLatin1String("fillId")).toInt());
        } else if (reader.isEndElement()) {
            const auto name = reader.name();
            if (name == QLatin1String("fills") || name == QLatin1String("cellXfs") || name == QLatin1String("cellStyleXfs"))
                section.clear();
        }
    }
    std::vector<std::optional<std::uint32_t>> byStyle;
    for (int fillId : styleFill)
        byStyle.push_back(fillId >= 0 && fillId < int(fills.size()) ? fills[size_t(fillId)] : std::nullopt);
    return byStyle;
}

}  // namespace

QString WorkbookCell::shown() const
{
    return number ? QString::number(*number, 'g', 15) : text;
}

QString workbookPart(const QString& path, const QString& part)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, part});
    if (!unzip.waitForFinished(60000) || unzip.exitCode() != 0)
        return {};
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

std::optional<WorkbookContents> WorkbookContents::read(const QString& path)
{
    const QString workbook = workbookPart(path, QStringLiteral("xl/workbook.xml"));
    const QString sheet = workbookPart(path, QStringLiteral("xl/worksheets/sheet1.xml"));
    if (workbook.isEmpty() || sheet.isEmpty())
        return std::nullopt;
    WorkbookContents contents;
    contents.sheetNames_ = readSheetNames(workbook);
    const QStringList shared = readSharedStrings(workbookPart(path, QStringLiteral("xl/sharedStrings.xml")));
    const auto styleFills = readStyleFills(workbookPart(path, QStringLiteral("xl/styles.xml")));

    QXmlStreamReader reader(sheet);
    std::pair<int, int> at;
    WorkbookCell cell;
    QString type;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("c")) {
            at = parseReference(reader.attributes().value(QLatin1String("r")));
            type = reader.attributes().value(QLatin1String("t")).toString();
            cell = WorkbookCell{};
            const int style = reader.attributes().value(QLatin1String("s")).toInt();
            if (style > 0 && style < int(styleFills.size()))
                cell.fill = styleFills[size_t(style)];
        } else if (reader.isStartElement() && reader.name() == QLatin1String("v")) {
            const QString value = reader.readElementText();
            if (type == QLatin1String("s"))
                cell.text = shared.value(value.toInt());
            else if (type == QLatin1String("str") || type == QLatin1String("inlineStr"))
                cell.text = value;
            else
                cell.number = value.toDouble();
        } else if (reader.isStartElement() && reader.name() == QLatin1String("t")) {
            cell.text += reader.readElementText();  // an inline string
        } else if (reader.isEndElement() && reader.name() == QLatin1String("c")) {
            contents.cells_[at] = cell;
        }
    }
    if (reader.hasError())
        return std::nullopt;
    return contents;
}

const WorkbookCell* WorkbookContents::cell(int row, int column) const
{
    const auto it = cells_.find({row, column});
    return it == cells_.end() ? nullptr : &it->second;
}

QString WorkbookContents::shown(int row, int column) const
{
    const WorkbookCell* c = cell(row, column);
    return c ? c->shown() : QString();
}

std::optional<std::uint32_t> WorkbookContents::fill(int row, int column) const
{
    const WorkbookCell* c = cell(row, column);
    return c ? c->fill : std::nullopt;
}

int WorkbookContents::rowCount() const
{
    return cells_.empty() ? 0 : cells_.rbegin()->first.first;
}

int WorkbookContents::columnCount(int row) const
{
    int columns = 0;
    for (auto it = cells_.lower_bound({row, 0}); it != cells_.end() && it->first.first == row; ++it)
        columns = it->first.second;
    return columns;
}

QStringList WorkbookContents::rowTexts(int row) const
{
    QStringList texts;
    for (int c = 1; c <= columnCount(row); ++c)
        texts << shown(row, c);
    return texts;
}

}  // namespace qeltaro::test
