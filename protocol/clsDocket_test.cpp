// The transport against a real HTTP server on the loopback interface.
#include "protocol/clsDocket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "app/orrEnums.h"
#include "app/testing/HostFixture.h"
#include "refserver/testing/LoopbackServer.h"

namespace dks {
namespace {

const std::string kRequest =
    "<SOAP:Envelope xmlns:SOAP=\"Urn:x\"><SOAP:Body><request><type>save</type>"
    "<title>say SOAP=\"hi\"</title></request></SOAP:Body></SOAP:Envelope>";
// The namespace value in tripled quotes, and every other "SOAP=" plus quote as well.
const std::string kWire =
    "<SOAP:Envelope xmlns:SOAP=\"\"\"Urn:x\"\"\"><SOAP:Body><request><type>save</type>"
    "<title>say SOAP=\"\"\"hi\"</title></request></SOAP:Body></SOAP:Envelope>";

class DocketTest : public HostFixture {
 protected:
  /// A request object holding kRequest and sending to the loopback server.
  clsDocket loadedRequest() {
    clsDocket request;
    request.setScript(server.url("/updateDocumentStatus"));
    EXPECT_TRUE(request.pblnLoadXML(kRequest));
    return request;
  }

  static std::vector<std::string> parameterMissing(const std::string& procedure) {
    return {errorLine("clsDocket", procedure, -99987, "Parameter missing")};
  }

  LoopbackServer server;
};

TEST_F(DocketTest, SendsTheDocumentByGetToTheTrimmedScriptWithTheNamespaceInTripledQuotes) {
  startHost();
  clsDocket request;
  request.setScript("  " + server.url("/dks/update.asp") + "  ");
  EXPECT_EQ(request.Script(), server.url("/dks/update.asp"));
  ASSERT_TRUE(request.pblnLoadXML("  " + kRequest + "  "));

  std::string answer = "stale";
  ASSERT_TRUE(request.pblnSendXML(answer));
  EXPECT_EQ(answer, server.answer.body);
  ASSERT_TRUE(request.pblnSendXML(answer));  // the document is not changed by sending

  ASSERT_EQ(server.requests().size(), 2u);
  for (const HttpMessage& received : server.requests()) {
    EXPECT_EQ(received.method, "GET");
    EXPECT_EQ(received.target, "/dks/update.asp");
    EXPECT_EQ(received.body, kWire);
  }
  EXPECT_EQ(request.XMLText(), kRequest);
  EXPECT_EQ(gcolError->Count(), 0);
}

TEST_F(DocketTest, MissingDocumentScriptOrTextIsRecordedAndNothingIsSent) {
  startHost();
  clsDocket empty;
  empty.setScript(server.url("/updateDocumentStatus"));
  std::string answer = "stale";
  EXPECT_FALSE(empty.pblnSendXML(answer));
  EXPECT_EQ(answer, "");
  EXPECT_EQ(errorLines(), parameterMissing("pblnSendXML"));

  gcolError->pblnReset();
  clsDocket unaddressed;
  ASSERT_TRUE(unaddressed.pblnLoadXML(kRequest));
  unaddressed.setScript("   ");
  EXPECT_EQ(unaddressed.Script(), "");
  EXPECT_FALSE(unaddressed.pblnSendXML(answer));
  EXPECT_EQ(errorLines(), parameterMissing("pblnSendXML"));

  gcolError->pblnReset();
  EXPECT_FALSE(unaddressed.pblnLoadXML("   "));
  EXPECT_EQ(errorLines(), parameterMissing("pblnLoadXML"));
  EXPECT_EQ(unaddressed.XMLText(), kRequest);

  EXPECT_TRUE(server.requests().empty());
}

TEST_F(DocketTest, AnHtmlErrorPageIsAnAnswerThatLoadsAsAnEmptyDocument) {
  startHost();
  server.answer = htmlErrorAnswer(404, "No such script.");
  clsDocket request = loadedRequest();
  std::string answer;
  ASSERT_TRUE(request.pblnSendXML(answer));
  EXPECT_EQ(answer, server.answer.body);

  clsDocket response;
  EXPECT_TRUE(response.pblnLoadXML(answer));
  EXPECT_EQ(response.XMLText(), "");
  EXPECT_EQ(gcolError->Count(), 0);
}

TEST_F(DocketTest, AFailingTextOperationEndsTheSendWithoutARecordOrARequest) {
  startHost();
  clsDocket request = loadedRequest();
  std::string answer = "stale";

  platform.utility->failReplaceText = true;
  EXPECT_FALSE(request.pblnSendXML(answer));
  EXPECT_EQ(answer, "");

  platform.utility->failReplaceText = false;
  platform.utility->failConvertText = true;
  EXPECT_FALSE(request.pblnSendXML(answer));

  EXPECT_EQ(gcolError->Count(), 0);
  EXPECT_TRUE(server.requests().empty());
  EXPECT_EQ(request.XMLText(), kRequest);
}

TEST_F(DocketTest, AServerThatStallsEndsTheSendInsteadOfHangingIt) {
  startHost();
  platform.httpStallSeconds = 1;
  server.delay = std::chrono::seconds(3);
  clsDocket request = loadedRequest();
  std::string answer;
  EXPECT_FALSE(request.pblnSendXML(answer));
  EXPECT_EQ(answer, "");
  EXPECT_EQ(errorLines(), std::vector<std::string>{errorLine(
                              "clsDocket", "pblnSendXML", -2147012894, "The operation timed out")});
}

TEST_F(DocketTest, DebugLevelTwoLogsTheRequestTheRawAnswerAndTheConvertedAnswer) {
  startAtDebugLevel(2);
  server.answer.body = "<response>caf\xe9</response>";
  clsDocket request;
  request.setScript(server.url("/updateDocumentStatus"));
  clsDocket response;
  ASSERT_TRUE(request.pblnLoadXML("  " + kRequest));
  ASSERT_TRUE(response.pblnReset());
  std::string answer;
  ASSERT_TRUE(request.pblnSendXML(answer));
  ASSERT_TRUE(response.pblnLoadXML(answer));

  const std::string stamp = std::string(kStamp) + ", ";
  EXPECT_EQ(runLog(), logHeader("DKS RECONCILER LOG") + "\r\n" + stamp + "XMLRequest=" + kRequest +
                          "\r\n" + "\r\n" + stamp + "XMLResponse=<response>caf\xe9</response>\r\n" +
                          "\r\n" + stamp + "XMLRequest=<response>caf\xc3\xa9</response>\r\n");
  EXPECT_EQ(response.XMLText(), "<response>caf\xc3\xa9</response>");
}

TEST_F(DocketTest, OnlyDebugLevelFourDumpsTheSerialisationAsItIs) {
  clsApplication& app = startAtDebugLevel(3);
  clsDocket request = loadedRequest();
  EXPECT_TRUE(request.pblnCreateFile(""));
  EXPECT_TRUE(request.pblnCreateFile(dir.file("request.xml")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("request.xml")));

  app.setDebugLevel(dlFour);
  EXPECT_FALSE(request.pblnCreateFile("   "));
  EXPECT_EQ(errorLines(), parameterMissing("pblnCreateFile"));
  gcolError->pblnReset();

  writeFileBytes(dir.file("request.xml"), "an older and much longer dump " + kRequest);
  EXPECT_TRUE(request.pblnCreateFile("  " + dir.file("request.xml") + "  "));
  EXPECT_EQ(readFileBytes(dir.file("request.xml")), kRequest);
  EXPECT_TRUE(clsDocket().pblnCreateFile(dir.file("response.xml")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("response.xml")));
  EXPECT_EQ(std::filesystem::file_size(dir.file("response.xml")), 0u);
  EXPECT_EQ(gcolError->Count(), 0);
}

}  // namespace
}  // namespace dks
