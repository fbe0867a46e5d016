#include <gtest/gtest.h>

#include "base/files.h"
#include "base/text.h"
#include "support/cache_fixtures.h"
#include "sync/cache_text.h"
#include "sync/google_time.h"

namespace {

using gsync::toCacheText;

struct TextCase {
  const char* name;
  std::string answer;    // UTF-8 as received
  std::string expected;  // UTF-8 view of the CP949 file
};

TEST(CacheText, WritesPiecesAsTrimmedCp949Lines) {
  const TextCase cases[] = {
      {"no >", "{\"a\": 1}", "{\"a\": 1}\r\n"},
      {"> then blank", "{\"d\": \"x > y\"}", "{\"d\": \"x >\r\ny\"}\r\n"},
      {"ends with >", "<a><b>", "<a>\r\n<b>\r\n"},
      {"xml one element a line", "<feed>\n  <entry>t</entry>\n</feed>",
       "<feed>\r\n<entry>\r\nt</entry>\r\n</feed>\r\n"},
      {"byte-order mark", "\xEF\xBB\xBF{\"k\": \"v\"}", "{\"k\": \"v\"}\r\n"},
      {"character CP949 lacks", "{\"s\": \"파티🎉\"}", "{\"s\": \"파티?\"}\r\n"},
      {"question mark kept", "{\"s\": \"> ?왜\"}", "{\"s\": \">\r\n?왜\"}\r\n"},
      {"trailing bar", "a>b|", "a>\r\nb\r\n"},
      {"inner line breaks", "{\r\n \"a\": 1,\n \"b\": 2\r\n}", "{\r\n \"a\": 1,\r\n \"b\": 2\r\n}\r\n"},
      {"blank pieces", ">  >", ">\r\n>\r\n"},
      {"empty", "", ""},
  };
  for (const TextCase& c : cases) {
    const std::string written = toCacheText(c.answer);
    EXPECT_EQ(written, base::utf8ToCp949(c.expected)) << c.name;
  }
}

TEST(CacheText, ReadsBackWhatItWrote) {
  testsupport::TempFolder folder;
  const std::string path = folder.file("x.txt");
  const std::string answer =
      "\xEF\xBB\xBF{\n \"items\": [\n  {\n   \"id\": \"e1\",\n   \"description\": \"준비물 > "
      "노트북 > 충전기\"\n  }\n ]\n}\n";
  ASSERT_TRUE(gsync::writeCacheFile(path, answer));
  std::string error;
  const auto json = gsync::readCacheJson(path, error);
  ASSERT_TRUE(json) << error;
  EXPECT_EQ((*json)["items"][0]["description"], "준비물 >노트북 >충전기");
  // Every line of the file ends with CR LF.
  const std::string bytes = *base::readBytes(path);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
    }
}

TEST(CacheText, BadFileIsReportedWithItsName) {
  testsupport::TempFolder folder;
  std::string error;
  EXPECT_FALSE(gsync::readCacheJson(folder.file("missing.txt"), error));
  EXPECT_NE(error.find("missing.txt"), std::string::npos);
  ASSERT_TRUE(base::writeBytesAtomic(folder.file("broken.txt"), "{\"items\": [ {\"id\": "));
  EXPECT_FALSE(gsync::readCacheJson(folder.file("broken.txt"), error));
  EXPECT_NE(error.find("broken.txt"), std::string::npos);
}

TEST(GoogleDateTime, KeepsTheWallClockTime) {
  struct Case {
    const char* text;
    std::optional<base::DateTime> expected;
  };
  const Case cases[] = {
      {"2025-03-14", base::encodeDate(2025, 3, 14)},
      {"2025-03-10T10:00:00+09:00", base::encodeDateTime(2025, 3, 10, 10, 0)},
      {"2025-03-12T16:00:00-07:00", base::encodeDateTime(2025, 3, 12, 16, 0)},
      {"2025-02-12T05:12:44.000Z", base::encodeDateTime(2025, 2, 12, 5, 12, 44)},
      {"2024-02-29T23:59:59Z", base::encodeDateTime(2024, 2, 29, 23, 59, 59)},
      {"", std::nullopt},
      {"내일", std::nullopt},
      {"2025-13-01", std::nullopt},
      {"2025-02-30", std::nullopt},
      {"2025-03-10T1x:00:00Z", std::nullopt},
      {"2025-03-10T25:00:00Z", std::nullopt},
      {"2025-03", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto value = gsync::parseGoogleDateTime(c.text);
    ASSERT_EQ(value.has_value(), c.expected.has_value()) << c.text;
    if (value) {
      EXPECT_NEAR(*value, *c.expected, 1e-9) << c.text;
    }
  }
}

}  // namespace

namespace {

TEST(CacheText, DecodesLikeTheTextHelpers) {
  const std::string samples[] = {
      base::utf8ToCp949("똠방각하 뷁 {\"a\": \"가>나\"}"),  // trail bytes in the ASCII range
      std::string("abc\x80" "def"),                        // a byte that is no character
      std::string("\xB0\xA1\xFF\xB0"),                     // bad pair, then a cut-off lead byte
      std::string(""),
  };
  for (const std::string& bytes : samples)
    EXPECT_EQ(gsync::cacheTextToUtf8(bytes), base::cp949ToUtf8(bytes)) << bytes;
}

}  // namespace
