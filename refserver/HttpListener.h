// HttpListener: a small HTTP/1.1 server for the reference document server and for tests. It
// reads every request the way the reconciler sends it, including the body of a GET request
// (which common server libraries drop), hands it to a handler and writes the handler's answer.
// Connections are served one at a time, one request each ("Connection: close").
//
//   HttpListener listener("127.0.0.1", 0, [](const HttpMessage& request) {
//     return HttpAnswer{200, "text/xml; charset=utf-8", answerFor(request.body)};
//   });
//   std::thread serving([&] { listener.serve(); });
//   ... connect to listener.port() ...
//   listener.stop();
//   serving.join();
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace dks {

/// One request as it arrived.
struct HttpMessage {
  std::string method;  ///< as sent, for example "GET"
  std::string target;  ///< the path and query, for example "/updateDocumentStatus"
  std::string body;    ///< byte for byte
};

/// The answer to one request.
struct HttpAnswer {
  int status = 200;
  std::string contentType = "text/xml; charset=utf-8";
  std::string body;
};

/// The answer to a request that cannot be read: `status` with a short HTML page naming
/// `reason`.
HttpAnswer htmlErrorAnswer(int status, const std::string& reason);

class HttpListener {
 public:
  using Handler = std::function<HttpAnswer(const HttpMessage&)>;

  /// Listens on `host` (a numeric IPv4 or IPv6 address, or a name such as "localhost") at
  /// `port`; port 0 takes a free port. Throws std::runtime_error naming the address when it
  /// cannot listen there.
  HttpListener(const std::string& host, uint16_t port, Handler handler);
  ~HttpListener();
  HttpListener(const HttpListener&) = delete;
  HttpListener& operator=(const HttpListener&) = delete;

  /// The port it listens on.
  uint16_t port() const noexcept { return port_; }

  /// Serves connections until stop() is called. A request that is not HTTP, or whose body
  /// length is not given by Content-Length, is answered 400 or 411 without calling the
  /// handler. A client that sends nothing for 30 seconds is dropped.
  void serve();

  /// Makes serve() return after the request in hand, if any; callable from any thread.
  void stop();

 private:
  void serveConnection(int connection);

  Handler handler_;
  int listening_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
};

}  // namespace dks
