// The plain text of a popup message: tags dropped, <BR> as line breaks, entities replaced once.
#include <gtest/gtest.h>

#include "alert/HtmlText.h"

TEST(HtmlPlainText, Cases) {
    const struct {
        const wchar_t* html;
        const wchar_t* text;
    } cases[] = {
        {L"", L""},
        {L"plain", L"plain"},
        {L"<b>bold</b> and <i>it</i>", L"bold and it"},
        {L"a<br>b<BR>c<br/>d", L"a\r\nb\r\nc\r\nd"},
        {L"&lt;img src=&quot;x&quot;&gt;", L"<img src=\"x\">"},
        {L"&amp;lt; stays an entity's text", L"&lt; stays an entity's text"},
        {L"a&nbsp;b &AMP; c &unknown; d", L"a b & c &unknown; d"},
        {L"text<br><br>", L"text"},
        {L"cut <b", L"cut"},
        {L"x > y", L"x > y"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HtmlPlainText(c.html), c.text) << c.html;
}
