// The "list documents" exchange of an include folder against a real HTTP server on the loopback
// interface that answers with scripted pages.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/LogHeader.h"
#include "app/orrEnums.h"
#include "app/testing/HostFixture.h"
#include "reconcile/clsInclude.h"
#include "refserver/testing/LoopbackServer.h"

namespace dks {
namespace {

constexpr const char* kInbox = "Personal Folders\\Inbox";

/// A response page holding `content` inside "response".
HttpAnswer page(const std::string& content) {
  return {200, "text/xml; charset=utf-8",
          "<SOAP:Envelope xmlns:SOAP=\"urn:x\"><SOAP:Body><response><type>list documents</type>" +
              content + "</response></SOAP:Body></SOAP:Envelope>"};
}

/// `count` documents with the ids from `first` on, each at "dkemail://E" and its id.
std::string documents(int first, int count) {
  std::string text;
  for (int id = first; id < first + count; ++id)
    text += "<document><id>" + std::to_string(id) + "</id><title>Inbox\\Doc</title>" +
            "<saved_location>dkemail://E" + std::to_string(id) + "</saved_location>" +
            "<size>100</size><last_modified>01/03/2002 10:00:00</last_modified></document>";
  return text;
}

const std::string kMore = "<more_results>TRUE</more_results>";

class IncludeListingTest : public HostFixture {
 protected:
  IncludeListingTest() {
    platform.utility->setValue(kAppKey, "URN", "urn:DKS-test");
    platform.utility->setValue(kSharedKey, "UserID", 7);
    startHost();
    include = std::make_unique<clsInclude>();
    include->setScript(server.url("/listDocuments"));
  }

  /// The "first_match" texts of the requests received, in order.
  std::vector<std::string> firstMatches() const {
    std::vector<std::string> result;
    for (const HttpMessage& request : server.requests()) {
      const size_t start = request.body.find("<first_match>") + 13;
      result.push_back(request.body.substr(start, request.body.find('<', start) - start));
    }
    return result;
  }

  /// The keys of MailItems by their DocumentID, in order.
  std::vector<int32_t> documentIDs() const {
    std::vector<int32_t> ids;
    for (const auto& record : include->MailItems()->NewEnum()) ids.push_back(record->DocumentID());
    return ids;
  }

  LoopbackServer server;
  std::unique_ptr<clsInclude> include;
};

TEST_F(IncludeListingTest, SeventyDocumentsComeInTwoPagesOfAtMostFifty) {
  gobjApplication->setDebugLevel(dlOne);
  include->setMaxMatches(50);
  include->setSorted(true);
  server.answers = {page(kMore + documents(1, 50)), page(documents(51, 20))};

  EXPECT_TRUE(include->pblnSendXML("  " + std::string(kInbox) + " ", true, 0));
  EXPECT_EQ(firstMatches(), (std::vector<std::string>{"1", "51"}));
  EXPECT_EQ(include->MailItems()->Count(), 70);
  EXPECT_EQ(include->MailItems()->Item(std::string("70"))->PreviousLocation(), "E70");
  EXPECT_EQ(include->FirstMatch(), 1);
  EXPECT_EQ(include->Request()->XMLText(),
            "<SOAP:Envelope xmlns:SOAP=\"Urn:dks-test\"><SOAP:Body><request>"
            "<type>list documents</type><criteria>outlook email</criteria>"
            "<location>Personal Folders\\Inbox</location>"
            "<include_sub_locations>False</include_sub_locations><sorted>True</sorted>"
            "<maximum_matches>50</maximum_matches><first_match>51</first_match>"
            "<maximum_characters>-1</maximum_characters><user><id>7</id></user>"
            "</request></SOAP:Body></SOAP:Envelope>");

  const std::string rule = logRuleLine() + "\r\n";
  auto block = [&](const std::string& step, const std::string& subFolders, int firstMatch) {
    return "\r\n" + rule + kStamp + ", list documents, " + step + ", Folder=" + kInbox +
           ", SubFolders=" + subFolders + ", FirstMatch=" + std::to_string(firstMatch) +
           ", MaxMatches=50, MaxCharacters=-1\r\n" + rule;
  };
  EXPECT_EQ(runLog(), logHeader("DKS RECONCILER LOG") + block("LoadXML", "False", 1) +
                          block("SendXML=True", "True", 1) + block("LoadXML", "False", 51) +
                          block("SendXML=True", "True", 51));
}

TEST_F(IncludeListingTest, EveryDocumentOfAPageMovesTheNextFirstMatchWhileOneMoreResultsSaysTrue) {
  const std::string unplaced =
      "<document><id>2</id></document>"
      "<document><id>3</id><saved_location> </saved_location></document>";
  server.answers = {page("<more_results>true</more_results>" + documents(1, 1) + unplaced),
                    page(kMore + kMore + documents(4, 1)), page(kMore + documents(5, 1)),
                    page(kMore)};

  EXPECT_TRUE(include->pblnSendXML(kInbox, false, 0));
  EXPECT_EQ(documentIDs(), (std::vector<int32_t>{1, 4}));
  ASSERT_TRUE(include->pblnReset());
  include->setFirstMatch(5);
  EXPECT_TRUE(include->pblnSendXML(kInbox, false, 0));
  EXPECT_EQ(documentIDs(), (std::vector<int32_t>{5}));
  EXPECT_EQ(firstMatches(), (std::vector<std::string>{"1", "4", "5", "6"}));
  EXPECT_EQ(gcolError->Count(), 0);
}

TEST_F(IncludeListingTest, ADocumentBecomesARecordUnderItsIdUnlessTheIdIsTaken) {
  server.answer = page(
      "<document><ID> 12 </ID><Title> Inbox\\Hi </Title><title>Inbox\\Later</title><flag>1</flag>"
      "<SAVED_LOCATION>dkemail://AB12</SAVED_LOCATION><size>-3</size>"
      "<last_modified>2002-03-01T10:00:00</last_modified></document>"
      "<document><saved_location>CD34</saved_location></document>"
      "<document><id>12</id><title>Other</title><saved_location>EF56</saved_location></document>");

  EXPECT_TRUE(include->pblnSendXML(kInbox, false, 0));
  ASSERT_EQ(include->MailItems()->Count(), 2);
  const clsItem& listed = *include->MailItems()->Item(std::string("12"));
  EXPECT_EQ(listed.DocumentID(), 12);
  EXPECT_EQ(listed.Title(), "Inbox\\Later");
  EXPECT_EQ(listed.PreviousLocation(), "AB12");
  EXPECT_EQ(listed.PreviousSize(), 0);
  EXPECT_EQ(listed.PreviousDate(), "01/03/2002 10:00:00");
  EXPECT_FALSE(listed.hasMailHalf());
  const clsItem& keyless = *include->MailItems()->Item(2);
  EXPECT_EQ(keyless.PreviousLocation(), "CD34");
  EXPECT_EQ(keyless.DocumentID(), 0);
  EXPECT_EQ(keyless.Title(), "");
  EXPECT_EQ(errorLines(),
            (std::vector<std::string>{
                errorLine("colItem", "Add", 457,
                          "This key is already associated with an element of this collection")}));
}

TEST_F(IncludeListingTest, FailuresEndTheListingWithFirstMatchRestored) {
  include->MailItems()->Add("00AB");
  EXPECT_FALSE(include->pblnSendXML("   ", false, 0));
  std::string text = "old";
  EXPECT_FALSE(include->pblnLoadXML("", false, text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(include->MailItems()->Count(), 1);
  EXPECT_TRUE(server.requests().empty());

  include->setFirstMatch(5);
  server.answers = {page(kMore + documents(1, 2)),
                    page(documents(3, 1) +
                         "<document><id>4x</id><saved_location>E</saved_location>"
                         "</document>" +
                         documents(5, 1))};
  EXPECT_FALSE(include->pblnSendXML(kInbox, false, 0));
  EXPECT_EQ(documentIDs(), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(include->FirstMatch(), 5);
  EXPECT_EQ(firstMatches(), (std::vector<std::string>{"5", "7"}));

  server.answer = htmlErrorAnswer(500, "The catalogue failed.");
  EXPECT_TRUE(include->pblnSendXML(kInbox, false, 0));
  EXPECT_EQ(include->MailItems()->Count(), 0);
  server.answer.body = "";
  EXPECT_FALSE(include->pblnSendXML(kInbox, false, 0));

  EXPECT_EQ(errorLines(), (std::vector<std::string>{
                              errorLine("clsInclude", "pblnSendXML", -99987, "Parameter missing"),
                              errorLine("clsInclude", "pblnLoadXML", -99987, "Parameter missing"),
                              errorLine("clsInclude", "pblnSendXML", 13, "Type mismatch"),
                              errorLine("clsDocket", "pblnLoadXML", -99987, "Parameter missing")}));
}

TEST_F(IncludeListingTest, ADumpMustBeWrittenOnlyUnderItsOwnSelector) {
  gobjApplication->setDebugLevel(dlFour);
  include->setRequestLog(dir.file("missing/request.xml"));
  include->setResponseLog(dir.file("response.xml"));
  EXPECT_TRUE(include->pblnSendXML(kInbox, false, cfIgnore + cfInclude));
  EXPECT_EQ(readFileBytes(dir.file("response.xml")), include->Response()->XMLText());
  EXPECT_TRUE(include->pblnSendXML(kInbox, false, cfSave));
  EXPECT_FALSE(include->pblnSendXML(kInbox, false, cfInclude));
  const std::string pathNotFound = errorLine("clsDocket", "pblnCreateFile", 76, "Path not found");
  EXPECT_EQ(errorLines(), (std::vector<std::string>{pathNotFound, pathNotFound}));
}

}  // namespace
}  // namespace dks
