// HttpRequest: the HTTP request object of the program, over libcurl. One object makes one
// exchange at a time, synchronously:
//
//   HttpRequest request(stallSeconds);
//   request.open("GET", url);
//   request.send(body);              // blocks until the whole answer has arrived
//   std::string text = request.responseText();
//
// The program sets no time-out. Like the object it stands in for, the request object has its
// own stall guard: an exchange in which nothing is sent or received for `stallSeconds` seconds
// (connecting included) fails.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dks {

/// The stall guard of a platform whose settings name none.
inline constexpr int32_t kDefaultHttpStallSeconds = 300;

class HttpRequest {
 public:
  /// A request object whose exchanges fail after `stallSeconds` (at least 1) in which no data
  /// moved.
  explicit HttpRequest(int32_t stallSeconds = kDefaultHttpStallSeconds);

  /// Prepares an exchange with `method` (sent as written, "GET" included) to `url`, taken
  /// exactly as given. Forgets the previous answer.
  void open(std::string_view method, std::string_view url);

  /// Sends `body` as the request body and waits for the whole answer. Only the headers that
  /// HTTP itself needs go out (Host, Accept, Content-Length): no content type, no "Expect".
  /// Redirections are followed. The answer's status is not judged: an error page is an answer
  /// like any other. Throws Failure when no answer arrives:
  /// - -2146697211 "The system cannot locate the resource specified." when the host cannot be
  ///   resolved or reached;
  /// - -2147012894 "The operation timed out" when the stall guard ends the exchange;
  /// - -2147012890 "The URL does not use a recognized protocol" for a URL that is not http(s);
  /// - 5 "Invalid procedure call or argument" when open() was not called;
  /// - -2147467259 with libcurl's own text for any other transfer failure.
  void send(std::string_view body);

  /// The HTTP status of the last answer; 0 before one arrived.
  int32_t status() const noexcept { return status_; }

  /// The body of the last answer, byte for byte; "" before one arrived.
  const std::string& responseText() const noexcept { return responseText_; }

 private:
  int32_t stallSeconds_;
  std::string method_;
  std::string url_;
  int32_t status_ = 0;
  std::string responseText_;
};

}  // namespace dks
