// dks-refserver as a script starts it: serve on a free port, take a save, stop, dump.
#include "refserver/RefServerCommand.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <regex>

#include "platform/HttpRequest.h"
#include "platform/testing/TempFolder.h"

namespace dks {
namespace {

TEST(RefServerCommandTest, ListenAddressesTakeThePortAfterTheLastColon) {
  std::optional<ListenAddress> address = readListenAddress("[::1]:8080");
  ASSERT_TRUE(address);
  EXPECT_EQ(address->host, "[::1]");
  EXPECT_EQ(address->bareHost(), "::1");
  EXPECT_EQ(address->port, 8080);
  EXPECT_EQ(readListenAddress("localhost:0")->port, 0);
  for (const char* bad : {"localhost", ":80", "host:", "host:65536", "host:-1", "host:8o"})
    EXPECT_FALSE(readListenAddress(bad)) << bad;
}

TEST(RefServerCommandTest, ServesOnAFreePortStopsOnSigtermAndDumpsWhatItSaved) {
  TempFolder folder;
  const std::string catalogue = folder.file("catalogue.db");
  int output[2];
  ASSERT_EQ(::pipe(output), 0);
  pid_t server = ::fork();
  ASSERT_GE(server, 0);
  if (server == 0) {
    ::dup2(output[1], STDOUT_FILENO);
    ::execl(DKSR_REFSERVER, DKSR_REFSERVER, "--listen", "127.0.0.1:0", "--catalogue",
            catalogue.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(output[1]);
  FILE* lines = ::fdopen(output[0], "r");
  char line[256] = "";
  ASSERT_NE(std::fgets(line, sizeof line, lines), nullptr);
  std::cmatch port;
  ASSERT_TRUE(std::regex_match(line, port, std::regex("listening on 127\\.0\\.0\\.1:(\\d+)\n")))
      << line;

  HttpRequest request;
  request.open("GET", "http://127.0.0.1:" + port[1].str() + "/");
  request.send(
      R"(<SOAP:Envelope xmlns:SOAP="""urn:x"""><SOAP:Body><request><type>save</type><source_application><name>N</name><version>V</version></source_application><user><id>7</id></user><document><id/><title>Inbox\Hello</title><source_url>dkemail://AB12</source_url><data_type>eml</data_type><current_version><location>dkemail://AB12</location><resave>False</resave></current_version><snapshot_version><location/></snapshot_version></document></request></SOAP:Body></SOAP:Envelope>)");
  EXPECT_EQ(request.status(), 200) << request.responseText();

  ::kill(server, SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(server, &status, 0), server);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  std::fclose(lines);

  const std::string dumped = folder.file("dump");
  EXPECT_EQ(std::system((std::string(DKSR_REFSERVER) + " --catalogue '" + catalogue +
                         "' --dump >'" + dumped + "'")
                            .c_str()),
            0);
  EXPECT_TRUE(std::regex_match(readFileBytes(dumped),
                               std::regex("user\tid\ttitle\tlocation\tlast_modified\tsize\tusage\n"
                                          "7\t1\tInbox\\\\Hello\tdkemail://AB12\t"
                                          "\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d\t0\t0\n")))
      << readFileBytes(dumped);
}

}  // namespace
}  // namespace dks
