#include "io/web_part.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QStringList>

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <climits>
#include <memory>
#include <mutex>

namespace qeltaro {
namespace {

// Elements whose content a reader never sees as text of the page.
bool isHiddenContent(const QString& name)
{
    static const QStringList names = {QStringLiteral("script"), QStringLiteral("style"), QStringLiteral("template"),
                                      QStringLiteral("title"), QStringLiteral("noscript"), QStringLiteral("head")};
    return names.contains(name);
}

enum Break { kNone = 0, kSpace = 1, kCell = 2, kLine = 3 };

// What an element's start or end puts between the texts around it. Inline elements put nothing,
// so "<b>160121-001</b><i>12345</i>" reads as one run, as a browser shows it.
Break breakOf(const QString& name)
{
    static const QStringList blocks = {
        QStringLiteral("address"), QStringLiteral("article"), QStringLiteral("aside"), QStringLiteral("blockquote"),
        QStringLiteral("body"), QStringLiteral("br"), QStringLiteral("caption"), QStringLiteral("center"),
        QStringLiteral("dd"), QStringLiteral("details"), QStringLiteral("dialog"), QStringLiteral("div"),
        QStringLiteral("dl"), QStringLiteral("dt"), QStringLiteral("fieldset"), QStringLiteral("figcaption"),
        QStringLiteral("figure"), QStringLiteral("footer"), QStringLiteral("form"), QStringLiteral("h1"),
        QStringLiteral("h2"), QStringLiteral("h3"), QStringLiteral("h4"), QStringLiteral("h5"), QStringLiteral("h6"),
        QStringLiteral("header"), QStringLiteral("hr"), QStringLiteral("html"), QStringLiteral("li"),
        QStringLiteral("main"), QStringLiteral("nav"), QStringLiteral("ol"), QStringLiteral("option"),
        QStringLiteral("p"), QStringLiteral("pre"), QStringLiteral("section"), QStringLiteral("summary"),
        QStringLiteral("table"), QStringLiteral("tbody"), QStringLiteral("tfoot"), QStringLiteral("thead"),
        QStringLiteral("tr"), QStringLiteral("ul")};
    if (name == QLatin1String("td") || name == QLatin1String("th"))
        return kCell;
    if (blocks.contains(name))
        return kLine;
    return kNone;
}

bool isHtmlSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// Collects text with the breaks of the elements around it: the strongest break between two
// texts wins, and none is written before the first text or after the last.
class TextWriter {
public:
    void breakHere(Break b)
    {
        if (b > pending_)
            pending_ = b;
    }
    void text(const QString& run)
    {
        for (QChar c : run) {
            if (isHtmlSpace(c)) {
                breakHere(kSpace);
                continue;
            }
            if (pending_ != kNone && !out_.isEmpty())
                out_ += pending_ == kLine ? u'\n' : pending_ == kCell ? u'\t' : u' ';
            pending_ = kNone;
            out_ += c;
        }
    }
    QString result() const { return out_; }

private:
    QString out_;
    Break pending_ = kNone;
};

QString nameOf(const xmlNode* node)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(node->name)).toLower();
}

struct DocumentFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

}  // namespace

QString readVisibleText(const QString& html)
{
    // The parser's globals must be set up once before threads use it (the window fetches pages
    // on a worker thread).
    static std::once_flag initialised;
    std::call_once(initialised, [] { xmlInitParser(); });

    // The parser turns control characters into blanks, which would join "160121-001", NUL,
    // "12345" into a draw; a browser never shows such a page as that draw either.
    static const QRegularExpression controls(QStringLiteral("[\\x{0}-\\x{8}\\x{b}\\x{e}-\\x{1f}]"));
    const QByteArray bytes = QString(html).replace(controls, QStringLiteral("\uFFFD")).toUtf8();
    if (bytes.isEmpty() || bytes.size() > INT_MAX)
        return {};
    // The text is decoded already: a charset named by the page must not decode it again.
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                        HTML_PARSE_IGNORE_ENC | HTML_PARSE_NODEFDTD;
    const std::unique_ptr<xmlDoc, DocumentFree> doc(
        htmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, "UTF-8", options));
    if (!doc)
        return {};

    // Walks the tree without recursion: nesting depth is the page's to choose.
    TextWriter writer;
    const xmlNode* node = doc->children;
    while (node) {
        bool descend = false;
        if (node->type == XML_ELEMENT_NODE) {
            const QString name = nameOf(node);
            writer.breakHere(breakOf(name));
            descend = !isHiddenContent(name) && node->children;
        } else if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            writer.text(QString::fromUtf8(reinterpret_cast<const char*>(node->content)));
        }
        if (descend) {
            node = node->children;
            continue;
        }
        // Up until a next sibling, closing every element left on the way.
        while (node && !node->next) {
            node = node->parent;
            if (node && node->type == XML_ELEMENT_NODE)
                writer.breakHere(breakOf(nameOf(node)));
            if (node == reinterpret_cast<const xmlNode*>(doc.get()))
                node = nullptr;
        }
        if (node)
            node = node->next;
    }
    return writer.result();
}

}  // namespace qeltaro
