#include "refserver/HttpListener.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "platform/Text.h"

namespace dks {
namespace {

constexpr size_t kHeaderLimit = 64 * 1024;
constexpr size_t kBodyLimit = 256 * 1024 * 1024;
constexpr int kIdleSeconds = 30;

const char* reasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    case 411:
      return "Length Required";
    case 413:
      return "Payload Too Large";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

std::string htmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '&')
      out += "&amp;";
    else
      out += c;
  }
  return out;
}

// Reads up to `size` bytes; 0 at the end of the stream or after the idle time.
size_t receive(int connection, char* data, size_t size) {
  ssize_t got;
  do {
    got = ::recv(connection, data, size, 0);
  } while (got < 0 && errno == EINTR);
  return got > 0 ? static_cast<size_t>(got) : 0;
}

void sendAll(int connection, std::string_view data) {
  while (!data.empty()) {
    ssize_t sent = ::send(connection, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return;  // the client went away; nothing to tell it any more
    data.remove_prefix(static_cast<size_t>(sent));
  }
}

void writeAnswer(int connection, const HttpAnswer& answer) {
  std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " +
                     reasonPhrase(answer.status) + "\r\nContent-Type: " + answer.contentType +
                     "\r\nContent-Length: " + std::to_string(answer.body.size()) +
                     "\r\nConnection: close\r\n\r\n";
  sendAll(connection, head + answer.body);
}

// The value of header `name` (letter case ignored) in the header block, trimmed.
std::optional<std::string> headerValue(std::string_view block, std::string_view name) {
  size_t start = block.find("\r\n");
  while (start != std::string_view::npos && start + 2 < block.size()) {
    start += 2;
    size_t end = block.find("\r\n", start);
    std::string_view line = block.substr(start, end - start);
    size_t colon = line.find(':');
    if (colon != std::string_view::npos && equalsIgnoreCase(line.substr(0, colon), name)) {
      std::string value(line.substr(colon + 1));
      size_t first = value.find_first_not_of(" \t");
      size_t last = value.find_last_not_of(" \t");
      return first == std::string::npos ? "" : value.substr(first, last - first + 1);
    }
    start = end;
  }
  return std::nullopt;
}

int openListeningSocket(const std::string& host, uint16_t port, uint16_t& boundPort) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (int error = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); error != 0)
    throw std::runtime_error("cannot resolve " + host + ": " + ::gai_strerror(error));
  std::string reason = "no address";
  int listening = -1;
  for (addrinfo* address = found; address && listening < 0; address = address->ai_next) {
    int candidate = ::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, 0);
    if (candidate < 0) continue;
    int on = 1;
    ::setsockopt(candidate, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(candidate, address->ai_addr, address->ai_addrlen) == 0 &&
        ::listen(candidate, 16) == 0) {
      listening = candidate;
    } else {
      reason = std::strerror(errno);
      ::close(candidate);
    }
  }
  ::freeaddrinfo(found);
  if (listening < 0)
    throw std::runtime_error("cannot listen on " + host + ":" + service + ": " + reason);
  sockaddr_storage bound{};
  socklen_t length = sizeof bound;
  ::getsockname(listening, reinterpret_cast<sockaddr*>(&bound), &length);
  boundPort = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                                : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
  return listening;
}

}  // namespace

HttpAnswer htmlErrorAnswer(int status, const std::string& reason) {
  const std::string title = std::to_string(status) + " " + reasonPhrase(status);
  return {status, "text/html; charset=utf-8",
          "<html><head><title>" + title + "</title></head><body><h1>" + title + "</h1><p>" +
              htmlEscape(reason) + "</p><hr></body></html>\r\n"};
}

HttpListener::HttpListener(const std::string& host, uint16_t port, Handler handler)
    : handler_(std::move(handler)) {
  listening_ = openListeningSocket(host, port, port_);
  int pipe[2];
  if (::pipe2(pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    ::close(listening_);
    throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
  }
  wakeRead_ = pipe[0];
  wakeWrite_ = pipe[1];
}

HttpListener::~HttpListener() {
  ::close(listening_);
  ::close(wakeRead_);
  ::close(wakeWrite_);
}

void HttpListener::serve() {
  while (!stopping_) {
    pollfd watched[2] = {{listening_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    if (::poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (stopping_ || (watched[1].revents & POLLIN)) return;
    int connection = ::accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    timeval idle{kIdleSeconds, 0};
    ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &idle, sizeof idle);
    serveConnection(connection);
    ::close(connection);
  }
}

void HttpListener::stop() {
  stopping_ = true;
  char wake = 1;
  [[maybe_unused]] ssize_t written = ::write(wakeWrite_, &wake, 1);
}

void HttpListener::serveConnection(int connection) {
  std::string data;
  char buffer[16 * 1024];
  size_t headerEnd;
  while ((headerEnd = data.find("\r\n\r\n")) == std::string::npos) {
    if (data.size() > kHeaderLimit)
      return writeAnswer(connection, htmlErrorAnswer(400, "The request header is too long."));
    size_t got = receive(connection, buffer, sizeof buffer);
    if (got == 0) return;
    data.append(buffer, got);
  }
  const std::string_view block(data.data(), headerEnd);
  HttpMessage request;
  const std::string_view requestLine = block.substr(0, block.find("\r\n"));
  const size_t firstSpace = requestLine.find(' ');
  const size_t secondSpace = requestLine.find(' ', firstSpace + 1);
  if (firstSpace == std::string_view::npos || secondSpace == std::string_view::npos ||
      !requestLine.substr(secondSpace + 1).starts_with("HTTP/"))
    return writeAnswer(connection, htmlErrorAnswer(400, "The request line is not HTTP."));
  request.method = requestLine.substr(0, firstSpace);
  request.target = requestLine.substr(firstSpace + 1, secondSpace - firstSpace - 1);

  if (headerValue(block, "Transfer-Encoding"))
    return writeAnswer(connection, htmlErrorAnswer(411, "Send the body with a Content-Length."));
  size_t length = 0;
  if (std::optional<std::string> declared = headerValue(block, "Content-Length")) {
    auto [end, error] =
        std::from_chars(declared->data(), declared->data() + declared->size(), length);
    if (error != std::errc() || end != declared->data() + declared->size())
      return writeAnswer(connection, htmlErrorAnswer(400, "The Content-Length is not a number."));
    if (length > kBodyLimit)
      return writeAnswer(connection, htmlErrorAnswer(413, "The request body is too large."));
  }
  request.body = data.substr(headerEnd + 4);
  while (request.body.size() < length) {
    size_t got = receive(connection, buffer, sizeof buffer);
    if (got == 0) return;
    request.body.append(buffer, got);
  }
  request.body.resize(length);
  HttpAnswer answer;
  try {
    answer = handler_(request);
  } catch (const std::exception& failure) {
    answer = htmlErrorAnswer(500, failure.what());
  }
  writeAnswer(connection, answer);
}

}  // namespace dks
