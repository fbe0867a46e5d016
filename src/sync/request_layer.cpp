#include "sync/request_layer.h"

#include <chrono>
#include <set>
#include <thread>

#include "base/files.h"
#include "base/text.h"
#include "sync/cache_store.h"
#include "sync/cache_text.h"
#include "sync/oauth.h"

namespace gsync {
namespace {

constexpr const char* kMailFile = "mail.txt";
constexpr const char* kMemberFile = "member.txt";
constexpr const char* kGroupFile = "group.txt";
constexpr const char* kAllItems = "999999";
constexpr int kDeletionPauseMs = 100;
constexpr double kSecondsPerDay = 86400.0;

std::string queryText(const QueryParameters& parameters) {
  std::string query;
  for (const auto& [name, value] : parameters) {
    if (!query.empty()) query += '&';
    query += name + "=" + encodeId(value);
  }
  return query;
}

std::string formText(const QueryParameters& fields) {
  std::string text;
  for (const auto& [name, value] : fields) {
    if (!text.empty()) text += '&';
    text += encodeId(name) + "=" + encodeId(value);
  }
  return text;
}

std::optional<Json> parseJson(const std::string& text) {
  Json json = Json::parse(text, nullptr, false);
  if (json.is_discarded()) return std::nullopt;
  return json;
}

std::string stringMember(const Json& json, const char* name) {
  if (!json.is_object()) return {};
  const auto it = json.find(name);
  return it != json.end() && it->is_string() ? it->get<std::string>() : std::string();
}

}  // namespace

std::string serverFailureText(int status, const std::string& answer) {
  return base::format("서버 요청 실패: %d - %s", status, answer.c_str());
}

std::string unknownFailureText() { return "알 수 없는 오류가 발생하였습니다."; }

bool TokenState::reusable(base::DateTime now) const {
  return !authorizationCode.empty() && !accessToken.empty() && expiry > 0 && now <= expiry + 7;
}

void RequestHost::pause(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string encodeId(const std::string& id) {
  static const char* hex = "0123456789abcdef";
  std::string out;
  for (const unsigned char c : id) {
    if (std::isalnum(c) && c < 0x80) {
      out += static_cast<char>(c);
    } else if (std::string_view("!$'()*-.@_").find(static_cast<char>(c)) != std::string_view::npos) {
      out += static_cast<char>(c);
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

RequestLayer::RequestLayer(GoogleConfig config, std::string cacheFolder, TokenState& tokens,
                           base::HttpClient& client, RequestHost& host)
    : config_(std::move(config)), tokens_(tokens), client_(client), host_(host) {
  setCacheFolder(std::move(cacheFolder));
}

void RequestLayer::setCacheFolder(std::string folder) {
  cacheFolder_ = base::withTrailingSlash(folder);
}

// ------------------------------------------------------------------ transport

RequestLayer::Answer RequestLayer::exchange(base::HttpClient& client, base::HttpRequest request) {
  const base::HttpResponse response = client.send(request);
  if (!response.transportOk) throw RequestError(unknownFailureText());
  lastStatusLine_ = response.statusLine;
  if (response.status < 200 || response.status >= 300)
    throw RequestError(serverFailureText(response.status, response.body), response.status);
  return Answer{response.statusLine, response.body};
}

void RequestLayer::sendRequest(const std::string& method, const std::string* body,
                               const QueryParameters& parameters, const std::string& url) {
  base::HttpRequest request;
  request.method = method;
  request.url = url;
  request.headers = {{"Authorization", "Bearer " + tokens_.accessToken}, {"GData-Version", "3.0"}};
  const std::string query = queryText(parameters);
  const bool contactsKind = static_cast<int>(heldKind_) < 9;
  if (method == "GET") {
    request.url += "?" + query;
  } else if (method == "POST" || method == "PUT") {
    if (contactsKind) {
      request.headers.emplace_back("If-Match", "*");
      request.headers.emplace_back("Content-Type", "application/atom+xml; charset=utf-8");
    } else {
      request.headers.emplace_back("Content-Type", "application/json; charset=utf-8");
      if (!query.empty()) request.url += "?" + query;
    }
    if (body) request.body = *body;
  } else if (method == "DELETE") {
    request.headers.emplace_back("If-Match", "*");
  }
  answer_.clear();
  const Answer answer = exchange(client_, std::move(request));
  if (method == "DELETE") return;
  answer_ = answer.body;
  storeAnswer();
}

std::string RequestLayer::sendForm(const std::string& url, const QueryParameters& fields) {
  base::HttpRequest request;
  request.method = "POST";
  request.url = url;
  request.headers = {{"Content-Type", "application/x-www-form-urlencoded"}};
  request.body = formText(fields);
  return exchange(client_, std::move(request)).body;
}

std::string RequestLayer::answerFile() const {
  switch (heldKind_) {
    case RequestKind::CalendarListDownload: return cacheFolder_ + kCalendarFile;
    case RequestKind::TaskListsDownload: return cacheFolder_ + kTaskListFile;
    case RequestKind::ListItemsDownload: return cacheFolder_ + detailFileName(held_.slot);
    case RequestKind::CalendarColoursDownload: return cacheFolder_ + kCalendarColourFile;
    case RequestKind::EventColoursDownload: return cacheFolder_ + kEventColourFile;
    case RequestKind::MailEventInsert: return cacheFolder_ + kMailFile;
    case RequestKind::ContactsDownload:
    case RequestKind::GroupsUpload:
    case RequestKind::ContactsUpload:
      return cacheFolder_ + (held_.contactsStage == "contacts" ? kMemberFile : kGroupFile);
    case RequestKind::None: return {};
    default: return cacheFolder_ + kActionFile;
  }
}

void RequestLayer::storeAnswer() {
  const std::string path = answerFile();
  if (path.empty()) return;
  if (!writeCacheFile(path, answer_)) throw RequestError(unknownFailureText());
}

// A list answer of several pages is stored as one answer whose "items" hold
// every page; "maxResults" is sent with each page all the same.
void RequestLayer::downloadList(const std::string& url, const std::string& maxResults) {
  const auto pageRequest = [&](const std::string& pageToken) {
    base::HttpRequest request;
    request.url = url;
    request.headers = {{"Authorization", "Bearer " + tokens_.accessToken}, {"GData-Version", "3.0"}};
    QueryParameters parameters{{"maxResults", maxResults}};
    if (!pageToken.empty()) parameters.emplace_back("pageToken", pageToken);
    request.url += "?" + queryText(parameters);
    return request;
  };

  answer_.clear();
  Answer first = exchange(client_, pageRequest({}));
  std::optional<Json> merged = parseJson(first.body);
  std::string next = merged ? stringMember(*merged, "nextPageToken") : std::string();
  if (next.empty()) {
    answer_ = std::move(first.body);
    storeAnswer();
    return;
  }
  if (!merged->contains("items") || !(*merged)["items"].is_array()) (*merged)["items"] = Json::array();
  Json& items = (*merged)["items"];
  std::set<std::string> seenTokens;
  for (int page = 1; !next.empty(); ++page) {
    // A server that keeps sending tokens (or the same one) must not keep us here.
    if (page >= pageLimit_ || !seenTokens.insert(next).second) throw RequestError(unknownFailureText());
    const Answer answer = exchange(client_, pageRequest(next));
    std::optional<Json> json = parseJson(answer.body);
    if (!json || !json->is_object()) throw RequestError(unknownFailureText());
    if (const auto it = json->find("items"); it != json->end() && it->is_array())
      for (Json& item : *it) items.push_back(std::move(item));
    next = stringMember(*json, "nextPageToken");
    if (next.empty() && json->contains("nextSyncToken")) (*merged)["nextSyncToken"] = (*json)["nextSyncToken"];
  }
  merged->erase("nextPageToken");
  answer_ = merged->dump(1, ' ', false, Json::error_handler_t::replace);
  storeAnswer();
}

// ------------------------------------------------------------------ operations

void RequestLayer::hold(RequestKind kind, HeldArguments arguments) {
  heldKind_ = kind;
  held_ = std::move(arguments);
}

bool RequestLayer::passGate() {
  const bool skipExpiry = skipExpiryOnce_;
  skipExpiryOnce_ = false;
  if (tokens_.authorizationCode.empty()) {
    host_.signInNeeded();
    return false;
  }
  if (skipExpiry) return true;
  if (tokens_.refreshToken.empty() && tokens_.accessToken.empty()) {
    exchangeCode(true);
    return false;
  }
  if (base::now() > tokens_.expiry) {
    refreshToken(true);
    return false;
  }
  return true;
}

void RequestLayer::finishOperation(RequestKind kind) {
  const bool alwaysFollows = kind == RequestKind::ItemsDelete || kind == RequestKind::OccurrencesDelete ||
                             kind == RequestKind::MailEventInsert;
  if ((alwaysFollows || base::contains(lastStatusLine_, "200")) && followUps_) followUps_->followUp(kind, held_);
  host_.closeConnectionWindow();
}

std::string RequestLayer::actionBody(const char* file) const {
  return base::cp949ToUtf8(base::readBytes(cacheFolder_ + file).value_or(std::string()));
}

void RequestLayer::calendarListDownload() {
  hold(RequestKind::CalendarListDownload, {});
  if (!passGate()) return;
  downloadList(api("/calendar/v3/users/me/calendarList"), kAllItems);
  finishOperation(heldKind_);
}

void RequestLayer::taskListsDownload() {
  hold(RequestKind::TaskListsDownload, {});
  if (!passGate()) return;
  downloadList(api("/tasks/v1/users/@me/lists"), kAllItems);
  finishOperation(heldKind_);
}

void RequestLayer::listItemsDownload(int slot, const std::string& listId, bool taskList) {
  HeldArguments arguments;
  arguments.slot = slot;
  arguments.listId = listId;
  arguments.taskList = taskList;
  hold(RequestKind::ListItemsDownload, std::move(arguments));
  if (!passGate()) return;
  downloadList(taskList ? api("/tasks/v1/lists/" + encodeId(listId) + "/tasks")
                        : api("/calendar/v3/calendars/" + encodeId(listId) + "/events"),
               kAllItems);
  finishOperation(heldKind_);
}

void RequestLayer::calendarColoursDownload() {
  hold(RequestKind::CalendarColoursDownload, {});
  if (!passGate()) return;
  sendRequest("GET", nullptr, {{"fields", "calendar"}}, api("/calendar/v3/colors"));
  finishOperation(heldKind_);
}

void RequestLayer::eventColoursDownload() {
  hold(RequestKind::EventColoursDownload, {});
  if (!passGate()) return;
  sendRequest("GET", nullptr, {{"fields", "event"}}, api("/calendar/v3/colors"));
  finishOperation(heldKind_);
}

void RequestLayer::calendarInsert(int colourId) {
  HeldArguments arguments;
  arguments.colourId = colourId;
  hold(RequestKind::CalendarInsert, std::move(arguments));
  if (!passGate()) return;
  const std::string body = actionBody(kActionFile);
  sendRequest("POST", &body, {}, api("/calendar/v3/calendars"));
  const std::optional<Json> created = parseJson(answer_);
  const std::string id = created ? stringMember(*created, "id") : std::string();
  if (id.empty()) throw RequestError(unknownFailureText());
  const std::string entry = api("/calendar/v3/users/me/calendarList/" + encodeId(id));
  sendRequest("GET", nullptr, {}, entry);
  const std::string colour =
      base::format("{\r\n \"colorId\": \"%d\",\r\n \"selected\": true\r\n}", held_.colourId);
  sendRequest("PUT", &colour, {}, entry);
  finishOperation(heldKind_);
}

void RequestLayer::calendarUpdate(const std::string& listId) {
  HeldArguments arguments;
  arguments.listId = listId;
  hold(RequestKind::CalendarUpdate, std::move(arguments));
  if (!passGate()) return;
  // The dialog's one body serves both requests (the first answer overwrites
  // action.txt and would drop the colour from the second).
  const std::string body = actionBody(kActionFile);
  sendRequest("PUT", &body, {}, api("/calendar/v3/calendars/" + encodeId(listId)));
  sendRequest("PUT", &body, {}, api("/calendar/v3/users/me/calendarList/" + encodeId(listId)));
  finishOperation(heldKind_);
}

void RequestLayer::deleteOne(base::HttpClient& client, const std::string& url) {
  base::HttpRequest request;
  request.method = "DELETE";
  request.url = url;
  request.headers = {{"Authorization", "Bearer " + tokens_.accessToken},
                     {"GData-Version", "3.0"},
                     {"If-Match", "*"}};
  exchange(client, std::move(request));
}

void RequestLayer::itemsDelete(const std::string& listId, bool deleteList, bool taskList,
                               const std::vector<std::string>& itemIds) {
  HeldArguments arguments;
  arguments.listId = listId;
  arguments.deleteList = deleteList;
  arguments.taskList = taskList;
  arguments.itemIds = itemIds;
  hold(RequestKind::ItemsDelete, std::move(arguments));
  if (!passGate()) return;
  const std::string list = encodeId(listId);
  for (const std::string& id : held_.itemIds) {
    deleteOne(client_, taskList ? api("/tasks/v1/lists/" + list + "/tasks/" + encodeId(id))
                                : api("/calendar/v3/calendars/" + list + "/events/" + encodeId(id)));
    host_.pause(kDeletionPauseMs);
  }
  if (deleteList)
    deleteOne(client_, taskList ? api("/tasks/v1/users/@me/lists/" + list) : api("/calendar/v3/calendars/" + list));
  finishOperation(heldKind_);
}

void RequestLayer::taskListInsert() {
  hold(RequestKind::TaskListInsert, {});
  if (!passGate()) return;
  const std::string body = actionBody(kActionFile);
  sendRequest("POST", &body, {}, api("/tasks/v1/users/@me/lists"));
  finishOperation(heldKind_);
}

void RequestLayer::taskListUpdate(const std::string& listId) {
  HeldArguments arguments;
  arguments.listId = listId;
  hold(RequestKind::TaskListUpdate, std::move(arguments));
  if (!passGate()) return;
  const std::string body = actionBody(kActionFile);
  sendRequest("PUT", &body, {}, api("/tasks/v1/users/@me/lists/" + encodeId(listId)));
  finishOperation(heldKind_);
}

void RequestLayer::eventInsert(const std::string& listId, bool notify) {
  HeldArguments arguments;
  arguments.listId = listId;
  arguments.notify = notify;
  hold(RequestKind::EventInsert, std::move(arguments));
  if (!passGate()) return;
  const std::string body = actionBody(kActionFile);
  QueryParameters parameters;
  if (notify) parameters.emplace_back("sendNotifications", "true");
  sendRequest("POST", &body, parameters, api("/calendar/v3/calendars/" + encodeId(listId) + "/events"));
  finishOperation(heldKind_);
}

void RequestLayer::eventUpdate(const std::string& listId, const std::string& itemId, bool notify) {
  HeldArguments arguments;
  arguments.listId = listId;
  arguments.itemId = itemId;
  arguments.notify = notify;
  hold(RequestKind::EventUpdate, std::move(arguments));
  if (!passGate()) return;
  const std::string body = actionBody(kActionFile);
  QueryParameters parameters;
  if (notify) parameters.emplace_back("sendNotifications", "true");
  sendRequest("PUT", &body, parameters,
              api("/calendar/v3/calendars/" + encodeId(listId) + "/events/" + encodeId(itemId)));
  finishOperation(heldKind_);
}

void RequestLayer::occurrencesDelete(const std::vector<std::string>& itemIds) {
  HeldArguments arguments;
  arguments.itemIds = itemIds;
  hold(RequestKind::OccurrencesDelete, std::move(arguments));
  if (!passGate()) return;
  for (const std::string& id : held_.itemIds) {
    const std::optional<ItemLocation> where = itemLookup_ ? itemLookup_(id) : std::nullopt;
    if (!where) continue;  // not in the store any more: nothing to delete
    const std::string list = encodeId(where->listId);
    deleteOne(client_, where->taskList ? api("/tasks/v1/lists/" + list + "/tasks/" + encodeId(id))
                                       : api("/calendar/v3/calendars/" + list + "/events/" + encodeId(id)));
    host_.pause(kDeletionPauseMs);
  }
  finishOperation(heldKind_);
}

void RequestLayer::taskInsert(const std::string& listId) {
  HeldArguments arguments;
  arguments.listId = listId;
  hold(RequestKind::TaskInsert, std::move(arguments));
  if (!passGate()) return;
  const std::string body = actionBody(kActionFile);
  sendRequest("POST", &body, {}, api("/tasks/v1/lists/" + encodeId(listId) + "/tasks"));
  finishOperation(heldKind_);
}

void RequestLayer::taskUpdate(const std::string& listId, const std::string& itemId) {
  HeldArguments arguments;
  arguments.listId = listId;
  arguments.itemId = itemId;
  hold(RequestKind::TaskUpdate, std::move(arguments));
  if (!passGate()) return;
  const std::string body = actionBody(kActionFile);
  sendRequest("PUT", &body, {}, api("/tasks/v1/lists/" + encodeId(listId) + "/tasks/" + encodeId(itemId)));
  finishOperation(heldKind_);
}

void RequestLayer::mailEventInsert(const std::string& calendarId) {
  HeldArguments arguments;
  arguments.listId = calendarId;
  hold(RequestKind::MailEventInsert, std::move(arguments));
  if (!passGate()) return;
  const std::string body = actionBody(kMailFile);
  sendRequest("POST", &body, {}, api("/calendar/v3/calendars/" + encodeId(calendarId) + "/events"));
  if (followUps_) followUps_->followUp(heldKind_, held_);
}

int RequestLayer::queuedDeletions() {
  const std::string path = cacheFolder_ + kDeletionQueueFile;
  if (!base::fileExists(path)) return 0;
  hold(RequestKind::QueuedDeletions, {});
  if (!passGate()) return 0;
  base::HttpClient& client = deletionClient_ ? *deletionClient_ : client_;
  std::vector<std::string> refused;
  for (const std::string& line : base::readLines(path).value_or(std::vector<std::string>{})) {
    const std::size_t bar = line.find('|');
    if (bar == std::string::npos) continue;
    try {
      deleteOne(client, api("/calendar/v3/calendars/" + encodeId(line.substr(0, bar)) + "/events/" +
                            encodeId(line.substr(bar + 1))));
    } catch (const RequestError&) {
      // One refused line (an event already deleted elsewhere) must not stop
      // the exit; it stays queued for the next one.
      refused.push_back(line);
    }
    host_.pause(kDeletionPauseMs);
  }
  if (refused.empty())
    base::removeFile(path);
  else
    base::writeLines(path, refused);
  return static_cast<int>(refused.size());
}

void RequestLayer::repeatHeld() {
  skipExpiryOnce_ = true;
  runHeld();
  skipExpiryOnce_ = false;
}

void RequestLayer::runHeld() {
  const HeldArguments a = held_;
  switch (heldKind_) {
    case RequestKind::None: break;
    case RequestKind::ContactsDownload:
    case RequestKind::GroupsUpload:
    case RequestKind::ContactsUpload:
      if (contactsOperation_) contactsOperation_(heldKind_, a);
      break;
    case RequestKind::CalendarListDownload: calendarListDownload(); break;
    case RequestKind::TaskListsDownload: taskListsDownload(); break;
    case RequestKind::ListItemsDownload: listItemsDownload(a.slot, a.listId, a.taskList); break;
    case RequestKind::CalendarColoursDownload: calendarColoursDownload(); break;
    case RequestKind::EventColoursDownload: eventColoursDownload(); break;
    case RequestKind::CalendarInsert: calendarInsert(a.colourId); break;
    case RequestKind::CalendarUpdate: calendarUpdate(a.listId); break;
    case RequestKind::ItemsDelete: itemsDelete(a.listId, a.deleteList, a.taskList, a.itemIds); break;
    case RequestKind::TaskListInsert: taskListInsert(); break;
    case RequestKind::TaskListUpdate: taskListUpdate(a.listId); break;
    case RequestKind::EventInsert: eventInsert(a.listId, a.notify); break;
    case RequestKind::EventUpdate: eventUpdate(a.listId, a.itemId, a.notify); break;
    case RequestKind::OccurrencesDelete: occurrencesDelete(a.itemIds); break;
    case RequestKind::TaskInsert: taskInsert(a.listId); break;
    case RequestKind::TaskUpdate: taskUpdate(a.listId, a.itemId); break;
    case RequestKind::MailEventInsert: mailEventInsert(a.listId); break;
    case RequestKind::QueuedDeletions: queuedDeletions(); break;
  }
}

// ------------------------------------------------------------------ tokens

void RequestLayer::takeTokenAnswer(const std::string& text, bool needRefreshToken) {
  const std::optional<Json> json = parseJson(text);
  const auto has = [&](const char* name) { return json && json->is_object() && json->contains(name); };
  const bool numberExpiry = has("expires_in") && (*json)["expires_in"].is_number();
  const std::string access = json ? stringMember(*json, "access_token") : std::string();
  const std::string refresh = json ? stringMember(*json, "refresh_token") : std::string();
  if (!numberExpiry || access.empty() || (needRefreshToken && refresh.empty()))
    throw RequestError(unknownFailureText());
  const double seconds = (*json)["expires_in"].get<double>();
  tokens_.expiry = base::now() + seconds / kSecondsPerDay;
  tokens_.accessToken = access;
  if (!refresh.empty()) tokens_.refreshToken = refresh;
  idToken_ = stringMember(*json, "id_token");
}

void RequestLayer::exchangeCode(bool repeat) {
  QueryParameters fields{{"code", tokens_.authorizationCode},
                         {"client_id", config_.clientId},
                         {"client_secret", config_.clientSecret},
                         {"redirect_uri", tokens_.redirectUri},
                         {"grant_type", "authorization_code"}};
  if (!tokens_.codeVerifier.empty()) fields.emplace_back("code_verifier", tokens_.codeVerifier);
  try {
    takeTokenAnswer(sendForm(config_.tokenUrl, fields), true);
  } catch (const RequestError& error) {
    // A code is good for one attempt: a refused one ends the session, so
    // the next request asks for a new sign-in instead of failing forever.
    if (error.status() == 400 || error.status() == 401) tokens_.clear();
    throw;
  }
  tokens_.codeVerifier.clear();
  if (repeat) repeatHeld();
}

void RequestLayer::refreshToken(bool repeat) {
  const QueryParameters fields{{"client_id", config_.clientId},
                               {"client_secret", config_.clientSecret},
                               {"refresh_token", tokens_.refreshToken},
                               {"grant_type", "refresh_token"}};
  try {
    takeTokenAnswer(sendForm(config_.tokenUrl, fields), false);
  } catch (const RequestError& error) {
    // A refused refresh token (revoked, or expired) cannot come back.
    if (error.status() == 400 || error.status() == 401) tokens_.clear();
    throw;
  }
  if (repeat) repeatHeld();
}

void RequestLayer::tokenTick() {
  if (!tokens_.authorizationCode.empty() && tokens_.refreshToken.empty()) {
    exchangeCode(true);
  } else if (!tokens_.refreshToken.empty() && (tokens_.accessToken.empty() || base::now() > tokens_.expiry)) {
    refreshToken(true);
  } else {
    repeatHeld();
  }
}

void RequestLayer::fetchIdentity() {
  std::optional<Identity> who = idToken_.empty() ? std::nullopt : identityFromIdToken(idToken_);
  if (!who || who->email.empty()) {
    base::HttpRequest request;
    request.url = config_.userInfoUrl();
    request.headers = {{"Authorization", "Bearer " + tokens_.accessToken}};
    const std::optional<Json> json = parseJson(exchange(client_, std::move(request)).body);
    if (!json || stringMember(*json, "email").empty()) throw RequestError(unknownFailureText());
    who = Identity{stringMember(*json, "email"), stringMember(*json, "name")};
  }
  tokens_.signedInAddress = who->email;
  tokens_.myName = who->name;
}

}  // namespace gsync
