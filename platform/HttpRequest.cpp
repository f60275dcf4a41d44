#include "platform/HttpRequest.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>

#include "platform/Failure.h"

namespace dks {
namespace {

void initialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The most a response's announced length reserves at once; a longer body grows as it comes.
constexpr curl_off_t kMostReserved = curl_off_t{64} << 20;

// The body of a response as it arrives. The length the response announces is reserved with its
// first bytes, so that a large answer (a listing page is over 100 KiB) is not copied again and
// again as it grows.
struct ResponseBody {
  CURL* handle = nullptr;
  std::string text;
};

size_t appendBody(char* data, size_t size, size_t count, void* target) {
  ResponseBody& body = *static_cast<ResponseBody*>(target);
  if (body.text.empty()) {
    curl_off_t length = -1;
    if (curl_easy_getinfo(body.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
        length > 0)
      body.text.reserve(static_cast<size_t>(std::min(length, kMostReserved)));
  }
  body.text.append(data, size * count);
  return size * count;
}

Failure transferFailure(CURLcode code, const char* detail) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
      return {-2146697211, "The system cannot locate the resource specified."};
    case CURLE_OPERATION_TIMEDOUT:
      return {-2147012894, "The operation timed out"};
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
      return {-2147012890, "The URL does not use a recognized protocol"};
    default:
      return {-2147467259, *detail ? detail : curl_easy_strerror(code)};
  }
}

// libcurl's own low-speed check averages over a window of several seconds, so a stall that
// follows the upload of the body is noticed only seconds after the guard's time. The guard
// therefore watches the byte counts itself; libcurl reports them about once a second while
// nothing moves.
struct StallGuard {
  std::chrono::seconds limit;
  std::chrono::steady_clock::time_point lastMoved = std::chrono::steady_clock::now();
  curl_off_t received = 0;
  curl_off_t sent = 0;
  bool stalled = false;
};

int checkStall(void* data, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent) {
  StallGuard& guard = *static_cast<StallGuard*>(data);
  const auto now = std::chrono::steady_clock::now();
  if (received != guard.received || sent != guard.sent) {
    guard.received = received;
    guard.sent = sent;
    guard.lastMoved = now;
    return 0;
  }
  if (now - guard.lastMoved < guard.limit) return 0;
  guard.stalled = true;
  return 1;  // ends the transfer with CURLE_ABORTED_BY_CALLBACK
}

struct CurlDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

HttpRequest::HttpRequest(int32_t stallSeconds)
    : stallSeconds_(stallSeconds < 1 ? 1 : stallSeconds) {}

void HttpRequest::open(std::string_view method, std::string_view url) {
  method_ = method;
  url_ = url;
  status_ = 0;
  responseText_.clear();
}

void HttpRequest::send(std::string_view body) {
  if (method_.empty()) throw Failure::invalidCall();
  initialiseCurlOnce();
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) throw Failure::outOfMemory();

  // libcurl would add a form content type and, for large bodies, "Expect: 100-continue";
  // an empty value removes a header.
  curl_slist* headers = curl_slist_append(nullptr, "Content-Type:");
  headers = curl_slist_append(headers, "Expect:");
  std::unique_ptr<curl_slist, HeaderListDeleter> headerList(headers);

  char detail[CURL_ERROR_SIZE] = "";
  CURL* handle = curl.get();
  ResponseBody answer{handle, {}};
  curl_easy_setopt(handle, CURLOPT_URL, url_.c_str());
  curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, method_.c_str());
  curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headerList.get());
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, static_cast<long>(stallSeconds_));
  StallGuard guard{std::chrono::seconds(stallSeconds_)};
  curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, checkStall);
  curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &guard);
  curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, appendBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &answer);
  curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, detail);

  CURLcode code = curl_easy_perform(handle);
  if (code == CURLE_ABORTED_BY_CALLBACK && guard.stalled) code = CURLE_OPERATION_TIMEDOUT;
  if (code != CURLE_OK) throw transferFailure(code, detail);
  long status = 0;
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
  status_ = static_cast<int32_t>(status);
  responseText_ = std::move(answer.text);
}

}  // namespace dks
