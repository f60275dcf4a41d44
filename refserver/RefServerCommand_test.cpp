// dks-refserver as a script starts it: serve on a free port, take a save, stop, dump.
#include "refserver/RefServerCommand.h"

#include <gtest/gtest.h>

#include <regex>

#include "platform/HttpRequest.h"
#include "platform/testing/TempFolder.h"
#include "refserver/testing/RefServerProcess.h"

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
  RefServerProcess server(catalogue);

  HttpRequest request;
  request.open("GET", server.url());
  request.send(
      R"(<SOAP:Envelope xmlns:SOAP="""urn:x"""><SOAP:Body><request><type>save</type><source_application><name>N</name><version>V</version></source_application><user><id>7</id></user><document><id/><title>Inbox\Hello</title><source_url>dkemail://AB12</source_url><data_type>eml</data_type><current_version><location>dkemail://AB12</location><resave>False</resave></current_version><snapshot_version><location/></snapshot_version></document></request></SOAP:Body></SOAP:Envelope>)");
  EXPECT_EQ(request.status(), 200) << request.responseText();
  EXPECT_EQ(server.stop(), 0);

  const std::string dumped = dumpCatalogue(catalogue);
  EXPECT_TRUE(
      std::regex_match(dumped, std::regex("user\tid\ttitle\tlocation\tlast_modified\tsize\tusage\n"
                                          "7\t1\tInbox\\\\Hello\tdkemail://AB12\t"
                                          "\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d\t0\t0\n")))
      << dumped;
}

}  // namespace
}  // namespace dks
