// Small pieces shared by the stand-in's handlers: Google's error shapes,
// timestamps, generated ids, page tokens.
#pragma once

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "standin.h"

namespace standin {

// Thrown by handlers; answered with Google's JSON error body.
struct ApiError : std::runtime_error {
  ApiError(int status, std::string reason, const std::string& message)
      : std::runtime_error(message), status(status), reason(std::move(reason)) {}
  int status;
  std::string reason;
};

ApiError notFound();
ApiError badRequest(const std::string& reason, const std::string& message);

// {"error": {"errors": [{domain, reason, message}], "code", "message", "status"}}
Json googleErrorBody(int status, const std::string& reason, const std::string& message);
// The body of a fault or an unexpected status: the usual reason for the code.
Json googleErrorBody(int status);

using Clock = std::chrono::system_clock;
using Millis = std::chrono::time_point<Clock, std::chrono::milliseconds>;

Millis nowMillis();
std::string rfc3339(Millis time);            // "2025-01-02T03:04:05.678Z"
std::string isoDate(std::chrono::sys_days day);  // "2025-01-02"
std::optional<std::chrono::sys_days> parseIsoDate(std::string_view text);
std::string etagFor(Millis time);            // "\"<microseconds>\"" like Google's

// Random ids in Google's alphabets; the generator is reseeded by reset() so a
// seeded account gets the same ids every time.
void reseedIds(unsigned seed);
std::string base32HexId(size_t length);  // event ids: [a-v0-9]
std::string base64UrlId(size_t length);  // task and list ids, tokens

std::string base64Url(std::string_view bytes);  // without padding
std::string sha256(std::string_view bytes);     // raw digest

// Page tokens carry the offset of the next item.
std::string pageTokenFor(size_t offset);
size_t offsetFromPageToken(const std::string& token);  // throws ApiError 400
// maxResults: default when absent, capped at `cap`; throws for bad values.
size_t pageSize(const std::string& maxResults, size_t defaultSize, size_t cap);

// Keeps only the top-level members named in a `fields` selector such as
// "items(id,summary),nextPageToken" (the parts in parentheses are ignored).
Json selectFields(const Json& body, const std::string& fields);

}  // namespace standin
