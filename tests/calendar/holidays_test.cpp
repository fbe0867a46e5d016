#include "calendar/holidays.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>
#include <thread>

#include "base/datetime.h"
#include "base/files.h"
#include "base/text.h"
#include "calendar/lunar.h"

namespace {

using calendar::Holiday;
using calendar::parseHolidayLine;

TEST(Holidays, ParsesLinesOfEveryShape) {
  const auto seollal = parseHolidayLine("ho00002=1|3|1/1|설날");
  ASSERT_TRUE(seollal);
  EXPECT_EQ(seollal->key, "ho00002");
  EXPECT_TRUE(seollal->lunar);
  EXPECT_EQ(seollal->days, 3);
  EXPECT_EQ(seollal->month, 1);
  EXPECT_EQ(seollal->day, 1);
  EXPECT_EQ(seollal->name, "설날");
  EXPECT_EQ(seollal->year, 0);

  const auto once = parseHolidayLine("ho00102=0|1|9/10|대체공휴일|2014");
  ASSERT_TRUE(once);
  EXPECT_FALSE(once->lunar);
  EXPECT_EQ(once->month, 9);
  EXPECT_EQ(once->day, 10);
  EXPECT_EQ(once->year, 2014);

  // Key cut to 7 bytes, name to 20 CP949 bytes (never half a character).
  const auto cut = parseHolidayLine("holiday99=2|1|6/6|a가나다라마바사아자차|");
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->key, "holiday");
  EXPECT_FALSE(cut->lunar);  // only exactly "1" is lunar
  EXPECT_EQ(cut->name, "a가나다라마바사아자");
  EXPECT_EQ(cut->year, 0);
}

TEST(Holidays, RejectsLinesWithBadNumbersOrDates) {
  for (const char* line : {
           "",
           "ho00001",                          // no value
           "ho00001=0|x|1/1|신정",             // days
           "ho00001=0|1|a/1|신정",             // month
           "ho00001=0|1|1/1일|신정",           // day
           "ho00001=0|1|1/1|신정|20x4",        // year
           "ho00001=0|1|13/1|신정",            // no such month
           "ho00001=0|1|2/0|신정",             // no such day
           "=0|1|1/1|신정",                    // no key
           "ho|01=0|1|1/1|신정",               // a key that would split an index entry
       })
    EXPECT_FALSE(parseHolidayLine(line)) << line;
}

TEST(Holidays, BadLinesAreSkippedAndTheRestLoad) {
  const std::vector<Holiday> list = calendar::parseHolidayLines(
      {"ho00001=0|1|1/1|신정", "ho00003=0|1|삼|1|삼일절", "ho00004=0|1|5/5|어린이날"});
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].key, "ho00001");
  EXPECT_EQ(list[1].key, "ho00004");
  EXPECT_EQ(calendar::findHoliday(list, "ho00004"), &list[1]);
  EXPECT_EQ(calendar::findHoliday(list, "ho0000"), nullptr);
}

// The built-in file: CP949 with CR LF, every line good, unique day-off keys.
TEST(Holidays, BundledListIsCompleteAndWellFormed) {
  const std::string_view data = calendar::bundledHolidayData();
  ASSERT_FALSE(data.empty());
  EXPECT_TRUE(base::endsWith(data, "\r\n"));
  EXPECT_FALSE(base::isValidUtf8(data));  // Hangul in CP949
  const std::vector<Holiday> list = calendar::bundledHolidays();
  EXPECT_EQ(list.size(), base::splitLines(data).size());
  std::set<std::string> keys;
  for (const Holiday& h : list) {
    EXPECT_TRUE(keys.insert(h.key).second) << h.key;
    EXPECT_TRUE(base::contains(h.key, "ho00")) << h.key;
  }
  const struct {
    const char* name;
    bool lunar;
    int days, month, day;
  } everyYear[] = {
      {"신정", false, 1, 1, 1},     {"설날", true, 3, 1, 1},      {"삼일절", false, 1, 3, 1},
      {"어린이날", false, 1, 5, 5}, {"부처님오신날", true, 1, 4, 8}, {"현충일", false, 1, 6, 6},
      {"광복절", false, 1, 8, 15},  {"추석", true, 3, 8, 15},     {"개천절", false, 1, 10, 3},
      {"한글날", false, 1, 10, 9},  {"성탄절", false, 1, 12, 25},
  };
  for (const auto& e : everyYear) {
    int found = 0;
    for (const Holiday& h : list)
      if (h.name == e.name && h.year == 0) {
        ++found;
        EXPECT_EQ(h.lunar, e.lunar) << e.name;
        EXPECT_EQ(h.days, e.days) << e.name;
        EXPECT_EQ(h.month, e.month) << e.name;
        EXPECT_EQ(h.day, e.day) << e.name;
      }
    EXPECT_EQ(found, 1) << e.name;
  }
}

// Day numbers of the every-year holidays of one year (lunar ones converted).
std::set<int> everyYearDays(const std::vector<Holiday>& list, int year) {
  std::set<int> days;
  for (const Holiday& h : list) {
    if (h.year != 0) continue;
    int first = 0;
    if (h.lunar) {
      const calendar::SolarResult r = calendar::lunarToSolar(year, h.month, h.day, false);
      if (!r.ok) continue;
      first = base::dayNumberOf(r.solar.year, r.solar.month, r.solar.day) - (h.days > 1 ? 1 : 0);
    } else {
      first = base::dayNumberOf(year, h.month, h.day);
    }
    for (int i = 0; i < std::max(h.days, 1); ++i) days.insert(first + i);
  }
  return days;
}

// Substitute, temporary and election days off are working days that no other
// holiday of their year already takes.
TEST(Holidays, BundledOneOffDaysFallOnWorkingDays) {
  const std::vector<Holiday> list = calendar::bundledHolidays();
  int oneOff = 0;
  for (const Holiday& h : list) {
    if (h.year == 0) continue;
    ++oneOff;
    ASSERT_FALSE(h.lunar) << h.key;
    ASSERT_TRUE(base::isValidDate(h.year, h.month, h.day)) << h.key;
    const base::DateTime date = base::encodeDate(h.year, h.month, h.day);
    EXPECT_LE(base::isoDayOfWeek(date), 5) << h.key << " " << base::formatDate(date);
    EXPECT_FALSE(everyYearDays(list, h.year).contains(base::dayNumber(date)))
        << h.key << " " << base::formatDate(date);
  }
  EXPECT_GT(oneOff, 0);
}

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A local port on which nothing listens.
int closedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof addr;
  bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length);
  close(fd);
  return ntohs(addr.sin_port);
}

// Serves one answer at /program/holiday.dat on 127.0.0.1.
class HolidayServer {
 public:
  HolidayServer(int status, std::string body) {
    server_.Get("/program/holiday.dat", [status, body](const httplib::Request&, httplib::Response& res) {
      res.status = status;
      res.set_content(body, "text/plain");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~HolidayServer() {
    server_.stop();
    thread_.join();
  }
  std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

std::vector<std::string> keysOf(const std::vector<Holiday>& list) {
  std::vector<std::string> keys;
  for (const Holiday& h : list) keys.push_back(h.key);
  return keys;
}

TEST(Holidays, LoadTakesTheServersListWhenItHasOne) {
  const std::string served = base::utf8ToCp949(
      "ho00001=0|1|1/1|신정\r\nho00090=0|1|7/17|제헌절|2030\r\nbad=0|x|1/1|나쁨\r\n");
  HolidayServer server(200, served);
  ScopedEnv env("DAYBOOK_WEB_BASE", server.base().c_str());  // no trailing slash
  const std::vector<Holiday> list = calendar::loadHolidays();
  EXPECT_EQ(keysOf(list), (std::vector<std::string>{"ho00001", "ho00090"}));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].name, "제헌절");
  EXPECT_EQ(list[1].year, 2030);
}

TEST(Holidays, LoadFallsBackToTheBundledList) {
  const std::vector<std::string> bundled = keysOf(calendar::bundledHolidays());
  {
    ScopedEnv env("DAYBOOK_WEB_BASE", nullptr);
    EXPECT_EQ(keysOf(calendar::loadHolidays()), bundled);
  }
  {
    const std::string base = "http://127.0.0.1:" + std::to_string(closedPort()) + "/";
    ScopedEnv env("DAYBOOK_WEB_BASE", base.c_str());
    EXPECT_EQ(keysOf(calendar::loadHolidays()), bundled);
  }
  for (const auto& [status, body] : {std::pair<int, std::string>{404, "ho00001=0|1|1/1|신정"},
                                     std::pair<int, std::string>{200, "<html>error</html>"}}) {
    HolidayServer server(status, body);
    ScopedEnv env("DAYBOOK_WEB_BASE", (server.base() + "/").c_str());
    EXPECT_EQ(keysOf(calendar::loadHolidays()), bundled) << status;
  }
}

TEST(Holidays, ReadsAHolidayFile) {
  const std::string path = std::string(DAYBOOK_BINARY_DIR) + "/holidays_test.dat";
  ASSERT_TRUE(base::writeLines(path, {"ho00001=0|1|1/1|신정", "ho00002=1|3|1/1|설날"}));
  const auto list = calendar::readHolidayFile(path);
  ASSERT_TRUE(list);
  EXPECT_EQ(keysOf(*list), (std::vector<std::string>{"ho00001", "ho00002"}));
  EXPECT_EQ((*list)[1].name, "설날");
  base::removeFile(path);
  EXPECT_FALSE(calendar::readHolidayFile(path));
}

}  // namespace
