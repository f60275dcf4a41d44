#include "refserver/HttpListener.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace dks {
namespace {

// What a client without an HTTP library gets for `bytes` sent to `port` on loopback.
std::string exchangeRaw(uint16_t port, const std::string& bytes) {
  int connection = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  EXPECT_EQ(::connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  EXPECT_EQ(::send(connection, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
  std::string answer;
  char buffer[4096];
  for (ssize_t got; (got = ::recv(connection, buffer, sizeof buffer, 0)) > 0;)
    answer.append(buffer, static_cast<size_t>(got));
  ::close(connection);
  return answer;
}

// Well-formed requests and their bodies reach the handler in every test that sends to a
// LoopbackServer.
TEST(HttpListenerTest, JunkIsAnswered400WithoutReachingTheHandler) {
  int handled = 0;
  HttpListener listener("127.0.0.1", 0, [&](const HttpMessage&) {
    ++handled;
    return HttpAnswer{200, "text/xml; charset=utf-8", "<answer/>"};
  });
  std::thread serving([&] { listener.serve(); });
  const std::string junk = exchangeRaw(listener.port(), "HELLO\r\n\r\n");
  listener.stop();
  serving.join();

  EXPECT_EQ(junk.substr(0, junk.find("\r\n")), "HTTP/1.1 400 Bad Request");
  EXPECT_NE(junk.find("The request line is not HTTP."), std::string::npos) << junk;
  EXPECT_EQ(handled, 0);
}

}  // namespace
}  // namespace dks
