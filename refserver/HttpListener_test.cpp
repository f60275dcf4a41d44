#include "refserver/HttpListener.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "platform/HttpRequest.h"

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

TEST(HttpListenerTest, ReadsTheBodyOfAGetAndAnswersJunkWith400) {
  std::vector<HttpMessage> seen;
  HttpListener listener("127.0.0.1", 0, [&](const HttpMessage& request) {
    seen.push_back(request);
    return HttpAnswer{200, "text/xml; charset=utf-8", "<answer>" + request.body + "</answer>"};
  });
  std::thread serving([&] { listener.serve(); });

  const std::string body = R"(<SOAP:Envelope xmlns:SOAP="""urn:x"""><SOAP:Body/></SOAP:Envelope>)";
  HttpRequest request;
  request.open("GET", "http://127.0.0.1:" + std::to_string(listener.port()) + "/dks/script.asp");
  request.send(body);
  EXPECT_EQ(request.status(), 200);
  EXPECT_EQ(request.responseText(), "<answer>" + body + "</answer>");

  const std::string junk = exchangeRaw(listener.port(), "HELLO\r\n\r\n");
  listener.stop();
  serving.join();

  EXPECT_EQ(junk.substr(0, junk.find("\r\n")), "HTTP/1.1 400 Bad Request");
  EXPECT_NE(junk.find("The request line is not HTTP."), std::string::npos) << junk;
  ASSERT_EQ(seen.size(), 1u);  // the junk never reached the handler
  EXPECT_EQ(seen[0].method, "GET");
  EXPECT_EQ(seen[0].target, "/dks/script.asp");
  EXPECT_EQ(seen[0].body, body);
}

}  // namespace
}  // namespace dks
