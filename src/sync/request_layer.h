// Every call to Google goes through RequestLayer: it adds the bearer token
// and protocol headers, sends a body from a cache file, stores the answer in
// the cache text form in the file that belongs to the request's kind, and
// turns failures into RequestError with one of two Korean texts.
//
// Each operation has a kind number; the kind of the latest operation and its
// arguments are held, so that an operation that had to wait for the sign-in
// or for a token refresh is repeated by number (repeatHeld) once the token
// is there.  Everything is synchronous: the windows run it on a worker
// thread through their HttpClient and pause function.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/datetime.h"
#include "base/http.h"
#include "sync/google_config.h"

namespace gsync {

enum class RequestKind : int {
  None = 0,
  ContactsDownload = 1,
  GroupsUpload = 2,
  ContactsUpload = 3,
  CalendarListDownload = 4,
  TaskListsDownload = 5,
  ListItemsDownload = 6,
  CalendarColoursDownload = 7,
  EventColoursDownload = 8,
  CalendarInsert = 9,
  CalendarUpdate = 10,
  ItemsDelete = 11,
  TaskListInsert = 12,
  TaskListUpdate = 13,
  EventInsert = 14,
  EventUpdate = 15,
  OccurrencesDelete = 16,
  TaskInsert = 17,
  TaskUpdate = 18,
  MailEventInsert = 19,
  QueuedDeletions = 20,
};

// The arguments of the held operation; each kind uses its own few.
struct HeldArguments {
  std::string contactsStage;          // 1: "groups" or "contacts"
  int slot = -1;                      // 6: the slot number (names the detail file)
  std::string listId;                 // 6, 10, 11, 13, 14, 15, 17, 18, 19
  std::string itemId;                 // 15, 18
  bool taskList = false;              // 6, 11: the list is a task list
  bool deleteList = false;            // 11: delete the list after its items
  bool notify = false;                // 14, 15: ask Google to notify attendees
  int colourId = 0;                   // 9: colour of the new calendar list entry
  std::vector<std::string> itemIds;   // 11, 16
};

// A failed request.  what() is the text shown to the user.
class RequestError : public std::runtime_error {
 public:
  explicit RequestError(const std::string& text, int status = 0)
      : std::runtime_error(text), status_(status) {}
  // The HTTP status of a refused request; 0 when no usable answer came.
  int status() const { return status_; }

 private:
  int status_;
};

// "서버 요청 실패: %d - %s" and "알 수 없는 오류가 발생하였습니다."
std::string serverFailureText(int status, const std::string& answer);
std::string unknownFailureText();

// The user's Google session.  The first five fields live in daybook.ini;
// the rest belong to one sign-in.
struct TokenState {
  std::string authorizationCode;
  std::string accessToken;
  std::string refreshToken;
  base::DateTime expiry = 0;
  std::string myName;           // display name of the account

  std::string codeVerifier;     // PKCE verifier of the sign-in that gave the code
  std::string redirectUri;      // loopback address of that sign-in
  std::string signedInAddress;  // address the tokens belong to

  // A stored session is reused until its expiry plus 7 days.
  bool reusable(base::DateTime now) const;
  void clear() { *this = TokenState{}; }
};

// Where a listed item lives, for deletions by item id.
struct ItemLocation {
  std::string listId;
  bool taskList = false;
};

// What the request layer asks of the windows.
class RequestHost {
 public:
  virtual ~RequestHost() = default;
  // No session: show the connection window on top and let the user sign in;
  // the held operation runs again afterwards.
  virtual void signInNeeded() {}
  // An operation ended: the connection window hides.
  virtual void closeConnectionWindow() {}
  // The pause between deletions.
  virtual void pause(int milliseconds);
};

// What follows an accepted request, in the main window and the cache store.
class FollowUps {
 public:
  virtual ~FollowUps() = default;
  // Called after the answer was stored, when the status line holds "200"
  // (kinds 11, 16 and 19 always).  The answer is in the kind's cache file.
  virtual void followUp(RequestKind, const HeldArguments&) {}
};

using QueryParameters = std::vector<std::pair<std::string, std::string>>;

class RequestLayer {
 public:
  RequestLayer(GoogleConfig config, std::string cacheFolder, TokenState& tokens,
               base::HttpClient& client, RequestHost& host);
  RequestLayer(const RequestLayer&) = delete;
  RequestLayer& operator=(const RequestLayer&) = delete;

  void setFollowUps(FollowUps* followUps) { followUps_ = followUps; }
  // Finds a listed item by id (occurrence deletions).
  void setItemLookup(std::function<std::optional<ItemLocation>(const std::string& id)> lookup) {
    itemLookup_ = std::move(lookup);
  }
  // The contacts kinds (1 to 3) are run by the contacts synchronisation.
  void setContactsOperation(std::function<void(RequestKind, const HeldArguments&)> operation) {
    contactsOperation_ = std::move(operation);
  }
  // The second client, used only for the queued deletions at exit.
  void setDeletionClient(base::HttpClient* client) { deletionClient_ = client; }
  void setCacheFolder(std::string folder);
  // The lists download follows next-page tokens up to this many pages.
  void setPageLimit(int pages) { pageLimit_ = pages; }

  const GoogleConfig& config() const { return config_; }
  const std::string& cacheFolder() const { return cacheFolder_; }
  TokenState& tokens() { return tokens_; }

  // --- one request ---
  // Sends with the bearer token; for every method but DELETE the answer is
  // stored in the held kind's file.  `body` is UTF-8 (or none).
  void sendRequest(const std::string& method, const std::string* body,
                   const QueryParameters& parameters, const std::string& url);
  // Posts a form; the answer text comes back as received and is not stored.
  std::string sendForm(const std::string& url, const QueryParameters& fields);
  const std::string& lastStatusLine() const { return lastStatusLine_; }
  const std::string& answer() const { return answer_; }
  // The cache file of the held kind ("" when the kind stores nothing).
  std::string answerFile() const;

  // --- operations (each holds its kind and arguments first) ---
  void calendarListDownload();
  void taskListsDownload();
  void listItemsDownload(int slot, const std::string& listId, bool taskList);
  void calendarColoursDownload();
  void eventColoursDownload();
  void calendarInsert(int colourId);
  void calendarUpdate(const std::string& listId);
  void itemsDelete(const std::string& listId, bool deleteList, bool taskList,
                   const std::vector<std::string>& itemIds);
  void taskListInsert();
  void taskListUpdate(const std::string& listId);
  void eventInsert(const std::string& listId, bool notify);
  void eventUpdate(const std::string& listId, const std::string& itemId, bool notify);
  void occurrencesDelete(const std::vector<std::string>& itemIds);
  void taskInsert(const std::string& listId);
  void taskUpdate(const std::string& listId, const std::string& itemId);
  void mailEventInsert(const std::string& calendarId);
  // Deletes every line of delevents.txt.  A line the server refuses is kept
  // in the file and the rest go on; returns the number of refused lines.
  int queuedDeletions();

  RequestKind heldKind() const { return heldKind_; }
  const HeldArguments& heldArguments() const { return held_; }
  // Runs the held operation again with the held arguments.
  void repeatHeld();
  void forgetHeld() { heldKind_ = RequestKind::None; held_ = {}; }

  // --- tokens ---
  // Exchanges the authorization code for tokens; with `repeat`, the held
  // operation runs afterwards.  An answer that lacks a token field is a
  // failed request.
  void exchangeCode(bool repeat = true);
  // A new access token from the refresh token, then the held operation.
  void refreshToken(bool repeat = true);
  // The token timer and the sign-in message: exchanges a fresh code,
  // refreshes an expired token, else repeats the held operation.
  void tokenTick();
  // Fills myName and signedInAddress from the ID token of the last exchange
  // or, without one, from the user-info endpoint.
  void fetchIdentity();

 private:
  struct Answer {
    std::string statusLine;
    std::string body;
  };
  Answer exchange(base::HttpClient& client, base::HttpRequest request);
  void hold(RequestKind kind, HeldArguments arguments);
  bool passGate();
  void finishOperation(RequestKind kind);
  std::string api(const std::string& path) const { return config_.apiBase + path; }
  std::string actionBody(const char* file) const;
  void downloadList(const std::string& url, const std::string& maxResults);
  void storeAnswer();
  void runHeld();
  void deleteOne(base::HttpClient& client, const std::string& url);
  void takeTokenAnswer(const std::string& text, bool needRefreshToken);

  GoogleConfig config_;
  std::string cacheFolder_;
  TokenState& tokens_;
  base::HttpClient& client_;
  base::HttpClient* deletionClient_ = nullptr;
  RequestHost& host_;
  FollowUps* followUps_ = nullptr;
  std::function<std::optional<ItemLocation>(const std::string&)> itemLookup_;
  std::function<void(RequestKind, const HeldArguments&)> contactsOperation_;
  int pageLimit_ = 1000;

  RequestKind heldKind_ = RequestKind::None;
  HeldArguments held_;
  std::string answer_;
  std::string lastStatusLine_;
  std::string idToken_;
  bool skipExpiryOnce_ = false;
};

// Percent-encoding of an id in an address: letters, digits and ! $ ' ( ) *
// - . @ _ kept, space as "+", every other byte as "%" and two lower-case
// hexadecimal digits.
std::string encodeId(const std::string& id);

}  // namespace gsync
