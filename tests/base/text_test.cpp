#include <gtest/gtest.h>

#include "base/text.h"

using namespace base;

TEST(Text, Cp949RoundTripAndMissingCharacters) {
  const std::string korean = "가나다 똠 abc";
  const std::string bytes = utf8ToCp949(korean);
  EXPECT_EQ(bytes.size(), 3u * 2 + 1 + 2 + 4);
  EXPECT_EQ(cp949ToUtf8(bytes), korean);
  // An emoji and a Thai letter are not in CP949.
  EXPECT_EQ(cp949Lossy("a😀b\xE0\xB8\x81"), "a?b?");
  // Invalid UTF-8 does not stop the conversion.
  EXPECT_EQ(utf8ToCp949("x\xFFy"), "x?y");
  EXPECT_EQ(cp949ToUtf8("x\xFF"), "x?");
}

TEST(Text, ByteWidthCutsNeverSplitACharacter) {
  struct Case {
    const char* text;
    std::size_t width;
    const char* expected;
  } cases[] = {{"가나다", 5, "가나"}, {"가나다", 6, "가나다"}, {"a가", 2, "a"},
               {"abc", 0, ""},        {"똠x", 3, "똠x"},     {"가", 1, ""}};
  for (const Case& c : cases) EXPECT_EQ(cutToCp949Width(c.text, c.width), c.expected) << c.text;
  EXPECT_EQ(cutCp949Bytes(utf8ToCp949("a가나"), 4), utf8ToCp949("a가"));
}

TEST(Text, TrimAndNumbers) {
  EXPECT_EQ(trim(" \t\r\nab c\x01 "), "ab c");
  int i = 7;
  EXPECT_TRUE(parseInt(" -12 ", i));
  EXPECT_EQ(i, -12);
  EXPECT_FALSE(parseInt("12a", i));
  EXPECT_FALSE(parseInt("", i));
  double d = 0;
  EXPECT_TRUE(parseDouble("127.053904129352", d));
  EXPECT_EQ(formatShortest(d), "127.053904129352");
  EXPECT_EQ(formatShortest(41640.5), "41640.5");
  EXPECT_EQ(formatShortest(0.1 + 0.2), "0.30000000000000004");
  EXPECT_FALSE(parseDouble("1,5", d));
  EXPECT_TRUE(isValidUtf8("가a"));
  EXPECT_FALSE(isValidUtf8(utf8ToCp949("가")));
}
