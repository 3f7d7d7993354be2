#include "io/text_codec.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace qeltaro;

TEST(TextCodec, ReadsUtf8WithOrWithoutBomAndGb18030Alike)
{
    const QString text = QStringLiteral("万位码+3=下期杀三星直选\r\n[二星组选]个位码\r\n");
    QStringEncoder gb("GB18030");
    ASSERT_TRUE(gb.isValid());
    const QByteArray gbBytes = gb.encode(text);
    ASSERT_NE(gbBytes, text.toUtf8());
    EXPECT_EQ(decodeText(gbBytes), text);
    EXPECT_EQ(decodeText(text.toUtf8()), text);
    EXPECT_EQ(decodeText("\xEF\xBB\xBF" + text.toUtf8()), text);
}

TEST(TextCodec, SplitsAnyLineEndAndWritesCrLf)
{
    EXPECT_EQ(splitLines(QStringLiteral("a\r\nb\nc\rd\n")), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines(QStringLiteral("a\n\nb")), (QStringList{"a", "", "b"}));
    EXPECT_TRUE(splitLines(QString()).isEmpty());
    EXPECT_EQ(encodeLines({QStringLiteral("160121001 12345"), QStringLiteral("x")}), QByteArray("160121001 12345\r\nx\r\n"));
}
