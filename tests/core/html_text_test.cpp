#include "io/html_text.h"

#include <gtest/gtest.h>

using namespace qeltaro;

TEST(HtmlText, VisibleTextIsWhatABrowserShows)
{
    const std::pair<const char*, const char*> cases[] = {
        // inline elements join, cells and blocks stay apart
        {"<td>160121-001<b>1</b><i>2</i>345</td>", "160121-00112345"},
        {"<tr><td>160121-001</td><td>12345</td></tr>", "160121-001\t12345"},
        {"<p>a</p><p>b</p>x<br>y<br/>z", "a\nb\nx\ny\nz"},
        {"<table><tr><td>a<td>b<tr><td>c</table>d", "a\tb\nc\nd"},  // cells and rows closed by the next
        {"a \n\t  b", "a b"},
        // invisible content
        {"<head><title>160121-001 走势</title></head><body>ok</body>", "ok"},
        {"a<script type=\"text/javascript\">var s = '</b>160121-00199999';</script>b", "ab"},
        {"a<SCRIPT>x</scripts></SCRIPT >b", "ab"},
        {"a<style>p > b { }</style>b", "ab"},
        {"a<!-- 160121-001 99999 -->b<!DOCTYPE html>c", "abc"},
        {"a<!-- never closed 160121-00199999", "a"},
        {"a<script>never closed 160121-00199999", "a"},
        // quoted attribute values may hold '>'
        {"<td title=\"a > b\" data-x='>'>160121-001</td>", "160121-001"},
        // character references
        {"160121&#45;001&#x31;2&amp;&lt;&gt;&quot;&apos;", "160121-00112&<>\"'"},
        {"a&nbsp;b &foo;", "a\u00a0b &foo;"},
        // a '<' that opens no tag is text
        {"1 < 2 <3", "1 < 2 <3"},
    };
    for (const auto& [html, text] : cases)
        EXPECT_EQ(visibleText(QString::fromUtf8(html)).toStdString(), std::string(text)) << html;
    // Control characters stay visible marks: as blanks they would join a marker to digits that
    // never followed it.
    EXPECT_EQ(visibleText(QString::fromUtf8(QByteArray("<p>160121-001\0" "12345\x01</p>", 24))),
              QStringLiteral("160121-001\uFFFD12345\uFFFD"));
}
