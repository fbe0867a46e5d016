#include <gtest/gtest.h>

#include "base/fields.h"
#include "base/text.h"

using namespace base;

TEST(Fields, TakeFieldWalksARecord) {
  std::string rest = "a| b |c";
  EXPECT_EQ(takeField("|", rest), "a");
  EXPECT_EQ(rest, "b |c");
  EXPECT_EQ(takeField("|", rest), "b ");
  EXPECT_EQ(rest, "c");
  EXPECT_EQ(takeField("|", rest), "c");
  EXPECT_EQ(rest, "");
  EXPECT_EQ(takeField("|", rest), "");
}

TEST(Fields, TakeFieldTriesSeparatorsInOrder) {
  // "=" is looked for first even though "|" comes earlier in the text.
  std::string rest = "id|x=1|0";
  EXPECT_EQ(takeField("=", rest), "id|x");
  EXPECT_EQ(rest, "1|0");
  std::string multi = "key=a|b";
  EXPECT_EQ(takeField(":=", multi), "key");
  EXPECT_EQ(multi, "|b");  // the separator string is two characters long
}

TEST(Fields, InitialGroup) {
  struct Case {
    const char* text;
    int group;
  } cases[] = {{"가나", 1},  {"까치", 1}, {"나", 2},   {"똠", 3},   {"홍길동", 14}, {"힣", 14},
               {"Kim", 15}, {"", 15},     {"1", 15},   {"ㅎ", 14},  {"빠", 6},      {"짜장", 9},
               {"하", 14},  {"파", 13},   {"ㄱ", 1}};
  for (const Case& c : cases) EXPECT_EQ(initialGroup(c.text), c.group) << c.text;
}

TEST(Fields, ShortenTextKeepsWholeCharacters) {
  // Width = CP949 bytes, so a Korean character is two units wide.
  auto measure = [](const std::string& s) { return static_cast<int>(cp949Width(s)); };
  EXPECT_EQ(shortenText("  가나다  ", 6, measure), "가나다");
  EXPECT_EQ(shortenText("가나다라", 7, measure), "가나..");
  EXPECT_EQ(shortenText("가나다라", 6, measure), "가나..");
  EXPECT_EQ(shortenText("가나다라", 5, measure), "가..");
  EXPECT_EQ(shortenText("ab가나", 5, measure), "ab..");
  EXPECT_EQ(shortenText("가나", 1, measure), "..");
}

TEST(Fields, UrlEncode) {
  EXPECT_EQ(urlEncode("서울 a+b"), "%EC%84%9C%EC%9A%B8%20a%2Bb");
  EXPECT_EQ(urlEncode("A-z_0.~"), "A-z_0.~");
  EXPECT_EQ(percentEncode("a b*~/=가"), "a%20b%2A~%2F%3D%EA%B0%80");
}
