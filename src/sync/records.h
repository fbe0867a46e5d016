// Calendars, task lists, events and tasks as the program keeps them in memory
// while it runs.  They are built from the cache files by CacheStore.
#pragma once

#include <string>

#include "app/event_extra.h"
#include "base/datetime.h"

namespace gsync {

// Field widths in CP949 bytes; longer texts are cut.
constexpr std::size_t kNameWidth = 80;
constexpr std::size_t kIdWidth = 80;
constexpr std::size_t kTitleWidth = 80;
constexpr std::size_t kNoteWidth = 20;

// One calendar or task list (a node of the window's tree).
struct ListRecord {
  bool isTaskList = false;
  int picture = 0;  // picture index in the tree's picture list; task lists use 1
  std::string name;
  std::string id;   // Google calendar id or task list id
  int colour = 0;   // the calendar's colour (0xRRGGBB), 0 for task lists
};

// Item kinds.
enum ItemKind : int {
  kTask = -2,
  kSingleEvent = -1,
  kDaily = 0,
  kWeekly = 1,
  kMonthly = 2,
  kOtherRecurrence = 3,
};

// One event or task.
struct ItemRecord {
  const ListRecord* list = nullptr;
  app::EventExtra* extra = nullptr;  // always set after loading
  int picture = 0;   // colour picture of the event's own colour, 0 when none
  int colorId = 0;   // Google event colour number, 0 when none
  int kind = kSingleEvent;
  int colour = 0;    // the event's own colour (0xRRGGBB), 0 when none
  std::string id;
  std::string title;
  std::string note;  // short rule description, or "진행중"/"완료" for a task
  bool timed = false;
  base::DateTime start = 0;  // event start; due date of a task (0 when none)
  base::DateTime end = 0;    // event end; completion time of a task, else its due date
};

// A numbered entry of the item loading: slot numbers name the detail files.
struct ListSlot {
  int number = 0;
  const ListRecord* list = nullptr;
};

enum class ColourKind { Calendar, Event };

// A colour table entry whose background did not read as a colour.
constexpr int kNoColour = -1;

}  // namespace gsync
