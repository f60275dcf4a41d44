#include "refserver/ReferenceServer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/XmlDocument.h"
#include "refserver/RefServerCommand.h"

namespace dks {
namespace {

// Requests exactly as the reconciler puts them on the wire.
const std::string kHead = R"(<SOAP:Envelope xmlns:SOAP="""urn:x"""><SOAP:Body><request>)";
const std::string kTail = "</request></SOAP:Body></SOAP:Envelope>";

std::string saveDocument(const std::string& id, const std::string& title,
                         const std::string& location) {
  return "<document>" + (id.empty() ? "<id/>" : "<id>" + id + "</id>") + "<title>" + title +
         "</title><source_url>dkemail://" + location +
         "</source_url><data_type>eml</data_type><current_version>" +
         (location.empty() ? "<location/>" : "<location>dkemail://" + location + "</location>") +
         "<resave>" + (id.empty() ? "False" : "True") +
         "</resave></current_version><snapshot_version><location/></snapshot_version></document>";
}

std::string save(const std::string& user, const std::string& documents) {
  return kHead +
         "<type>save</type><source_application><name>N</name><version>V</version>"
         "</source_application><user>" +
         (user.empty() ? "<id/>" : "<id>" + user + "</id>") + "</user>" + documents + kTail;
}

std::string listDocuments(const std::string& user, int32_t firstMatch, int32_t maximumMatches,
                          int32_t maximumCharacters = -1) {
  return kHead +
         R"(<type>list documents</type><criteria>outlook email</criteria><location>Personal Folders\Inbox</location><include_sub_locations>False</include_sub_locations><sorted>False</sorted><maximum_matches>)" +
         std::to_string(maximumMatches) + "</maximum_matches><first_match>" +
         std::to_string(firstMatch) + "</first_match><maximum_characters>" +
         std::to_string(maximumCharacters) + "</maximum_characters><user>" +
         (user.empty() ? "<id/>" : "<id>" + user + "</id>") + "</user>" + kTail;
}

std::time_t localTime(int day, int hour, int minute) {
  std::tm time{};
  time.tm_year = 2026 - 1900;
  time.tm_mon = 11;
  time.tm_mday = day;
  time.tm_hour = hour;
  time.tm_min = minute;
  time.tm_isdst = -1;
  return std::mktime(&time);
}

class ReferenceServerTest : public ::testing::Test {
 protected:
  HttpAnswer send(const std::string& body) { return server_.answer({"GET", "/dks", body}); }

  // Sends a request that must be answered 200; the answer's body.
  std::string apply(const std::string& body) {
    HttpAnswer answer = send(body);
    EXPECT_EQ(answer.status, 200) << answer.body;
    EXPECT_EQ(answer.contentType, "text/xml; charset=utf-8");
    return answer.body;
  }

  // The catalogue's rows below the header, as the dump prints them.
  std::string rows() {
    std::ostringstream out;
    printCatalogue(catalogue_, out);
    std::string text = out.str();
    return text.substr(text.find('\n') + 1);
  }

  std::time_t now_ = localTime(5, 10, 0);
  Catalogue catalogue_{":memory:", [this] { return now_; }};
  ReferenceServer server_{catalogue_};
};

TEST_F(ReferenceServerTest, SaveCreatesNewDocumentsAndResavesOnlyTheUsersOwnIds) {
  EXPECT_EQ(apply(save("7", saveDocument("", "Inbox\\Hello", "AB12") +
                                saveDocument("", "Tom &amp; Jerry", "CD34"))),
            R"(<SOAP:Envelope xmlns:SOAP="urn:x"><SOAP:Body><response><type>save</type>)"
            "<count>2</count><document><result>created</result><id>1</id></document>"
            "<document><result>created</result><id>2</id></document>"
            "</response></SOAP:Body></SOAP:Envelope>");
  apply(save("8", saveDocument("", "Other user", "EF56")));
  EXPECT_EQ(rows(),
            "7\t1\tInbox\\Hello\tdkemail://AB12\t05/12/2026 10:00:00\t0\t0\n"
            "7\t2\tTom & Jerry\tdkemail://CD34\t05/12/2026 10:00:00\t0\t0\n"
            "8\t3\tOther user\tdkemail://EF56\t05/12/2026 10:00:00\t0\t0\n");

  // Id 1 is user 7's own: resaved. Id 3 is user 8's and 99 is unknown: both new documents.
  // Without a location nothing can pair the document with an e-mail again: not stored.
  now_ = localTime(6, 11, 30);
  EXPECT_EQ(apply(save("7", saveDocument("1", "Inbox\\Hello again", "AB12X") +
                                saveDocument("3", "Taken", "GH78") +
                                saveDocument("99", "Unknown", "IJ90") +
                                saveDocument("2", "Nowhere", ""))),
            R"(<SOAP:Envelope xmlns:SOAP="urn:x"><SOAP:Body><response><type>save</type>)"
            "<count>3</count><document><result>resaved</result><id>1</id></document>"
            "<document><result>created</result><id>4</id></document>"
            "<document><result>created</result><id>5</id></document>"
            "<document><result>no location</result></document>"
            "</response></SOAP:Body></SOAP:Envelope>");
  EXPECT_EQ(rows(),
            "7\t1\tInbox\\Hello again\tdkemail://AB12X\t06/12/2026 11:30:00\t0\t0\n"
            "7\t2\tTom & Jerry\tdkemail://CD34\t05/12/2026 10:00:00\t0\t0\n"
            "7\t4\tTaken\tdkemail://GH78\t06/12/2026 11:30:00\t0\t0\n"
            "7\t5\tUnknown\tdkemail://IJ90\t06/12/2026 11:30:00\t0\t0\n"
            "8\t3\tOther user\tdkemail://EF56\t05/12/2026 10:00:00\t0\t0\n");
}

TEST_F(ReferenceServerTest, DeleteMoveAndUpdateUsageGoByIdElseByLocation) {
  apply(save("7", saveDocument("", "A", "AB12") + saveDocument("", "B", "AB12") +
                      saveDocument("", "C", "CD34")));
  apply(save("8", saveDocument("", "D", "AB12")));
  now_ = localTime(7, 9, 0);

  // "update usage": id 3 by id; an unknown id falls back to the location, raising both at AB12.
  EXPECT_EQ(apply(kHead +
                  "<type>update usage</type><user><id>7</id></user>"
                  "<document><id>3</id><current_location>dkemail://AB12</current_location>"
                  "<action/><description/></document>"
                  "<document><id>42</id><current_location>dkemail://AB12</current_location>"
                  "<action>open</action><description/></document>" +
                  kTail),
            R"(<SOAP:Envelope xmlns:SOAP="urn:x"><SOAP:Body><response><type>update usage</type>)"
            "<count>3</count><document><result>updated</result><id>3</id></document>"
            "<document><result>updated</result><id>1</id><id>2</id></document>"
            "</response></SOAP:Body></SOAP:Envelope>");

  // "move document": by id; without one by the previous location; the date stays.
  apply(kHead +
        "<type>move document</type><user><id>7</id></user>"
        "<document><id>3</id><previous_location><path>dkemail://XX</path><date/>"
        "</previous_location><current_location>dkemail://EF56</current_location></document>"
        "<document><id/><previous_location><path>dkemail://AB12</path><date/>"
        "</previous_location><current_location>dkemail://GH78</current_location></document>" +
        kTail);
  EXPECT_EQ(rows(),
            "7\t1\tA\tdkemail://GH78\t05/12/2026 10:00:00\t0\t1\n"
            "7\t2\tB\tdkemail://GH78\t05/12/2026 10:00:00\t0\t1\n"
            "7\t3\tC\tdkemail://EF56\t05/12/2026 10:00:00\t0\t1\n"
            "8\t4\tD\tdkemail://AB12\t05/12/2026 10:00:00\t0\t0\n");

  // "delete": id 1 by id (its location is not looked at), then what is at GH78; nothing is at
  // AB12 for user 7 any more, and user 8's document there stays.
  EXPECT_EQ(apply(kHead +
                  "<type>delete</type><user><id>7</id></user>"
                  "<document><id>1</id><current_location>dkemail://EF56</current_location>"
                  "</document><document><id/><current_location>dkemail://GH78"
                  "</current_location></document><document><id/><current_location>"
                  "dkemail://AB12</current_location></document>" +
                  kTail),
            R"(<SOAP:Envelope xmlns:SOAP="urn:x"><SOAP:Body><response><type>delete</type>)"
            "<count>2</count><document><result>deleted</result><id>1</id></document>"
            "<document><result>deleted</result><id>2</id></document>"
            "<document><result>not found</result></document>"
            "</response></SOAP:Body></SOAP:Envelope>");
  EXPECT_EQ(rows(),
            "7\t3\tC\tdkemail://EF56\t05/12/2026 10:00:00\t0\t1\n"
            "8\t4\tD\tdkemail://AB12\t05/12/2026 10:00:00\t0\t0\n");
}

TEST_F(ReferenceServerTest, ListingAnswersEveryDocumentOfTheUserWithTitlesCutByCharacters) {
  apply(save("", saveDocument("", "Grüße aus Köln", "AB12")));
  apply(save("7", saveDocument("", "Not user 0", "CD34")));

  EXPECT_EQ(apply(listDocuments("", 1, -1, 5)),
            R"(<SOAP:Envelope xmlns:SOAP="urn:x"><SOAP:Body><response><type>list documents</type>)"
            "<more_results>FALSE</more_results><document><id>1</id><title>Grüße</title>"
            "<saved_location>dkemail://AB12</saved_location><size>0</size>"
            "<last_modified>05/12/2026 10:00:00</last_modified></document>"
            "</response></SOAP:Body></SOAP:Envelope>");
  EXPECT_EQ(firstCharacters("Köln", 2), "Kö");
  EXPECT_EQ(firstCharacters("K\xF6ln", 2), "K\xF6");  // a stray byte counts as one
  EXPECT_EQ(firstCharacters("Köln", 9), "Köln");
}

// The reconciler asks again while the answer says "more_results" TRUE, with first_match raised
// by the number of documents in the page. Every combination must list each document from the
// first first_match on exactly once, in id order. A first_match below 1 reads as 1.
TEST_F(ReferenceServerTest, PagingListsEveryDocumentOnceForAnyFirstMatchAndMaximum) {
  std::vector<std::string> ids;
  for (int count : {0, 1, 5, 7}) {
    while (static_cast<int>(ids.size()) < count) {
      apply(save("7", saveDocument("", "Mail", "L" + std::to_string(ids.size()))));
      ids.push_back(std::to_string(ids.size() + 1));
    }
    for (int32_t first = 1; first <= count + 2; ++first) {
      for (int32_t maximum : {-1, 0, 1, 2, 3, count, count + 1}) {
        SCOPED_TRACE("documents " + std::to_string(count) + ", first_match " +
                     std::to_string(first) + ", maximum_matches " + std::to_string(maximum));
        std::vector<std::string> listed;
        int32_t firstMatch = first;
        for (int page = 0; page <= count + 1; ++page) {
          XmlDocument answer;
          ASSERT_TRUE(answer.loadXML(apply(listDocuments("7", firstMatch, maximum))));
          std::vector<XmlElement> documents = answer.getElementsByTagName("document");
          if (maximum >= 1) {
            EXPECT_LE(documents.size(), static_cast<size_t>(maximum));
          }
          for (const XmlElement& document : documents)
            listed.push_back(document.childElements().front().text());
          std::vector<XmlElement> more = answer.getElementsByTagName("more_results");
          ASSERT_EQ(more.size(), 1u);
          if (more.front().text() != "TRUE") break;
          ASSERT_FALSE(documents.empty());
          firstMatch += static_cast<int32_t>(documents.size());
        }
        const size_t skip = std::min<size_t>(first - 1, ids.size());
        EXPECT_EQ(listed, std::vector<std::string>(ids.begin() + skip, ids.end()));
      }
    }
  }
  for (int32_t below : {0, -5})
    EXPECT_EQ(apply(listDocuments("7", below, 2)), apply(listDocuments("7", 1, 2)));
}

TEST_F(ReferenceServerTest, UnreadableRequestsAreAnswered400AndChangeNothing) {
  apply(save("7", saveDocument("", "Kept", "AB12")));
  const std::string before = rows();
  const std::string readable = saveDocument("", "Would be new", "CD34");
  struct Case {
    std::string body;
    std::string reason;
  } cases[] = {
      {"", "The request is empty."},
      {"<html><body>GET /</body></html>", "document element is \"html\""},
      {kHead + "<type>save</type>", "The request is not well-formed XML."},
      {kHead + "<type>sav</type>" + kTail, "The request type \"sav\" is not known."},
      {kHead + kTail, "The request has no \"type\"."},
      {R"(<SOAP:Envelope xmlns:SOAP="""urn:x"""><SOAP:Body/></SOAP:Envelope>)",
       "no \"request\" element"},
      // The first document is readable, the second is not: the first is not saved either.
      {save("7", readable + saveDocument("12x", "Bad id", "EF56")),
       "The id of document 2 \"12x\" is not a 32-bit decimal integer."},
  };
  for (const Case& bad : cases) {
    HttpAnswer answer = send(bad.body);
    EXPECT_EQ(answer.status, 400) << bad.body;
    EXPECT_EQ(answer.contentType, "text/html; charset=utf-8");
    EXPECT_NE(answer.body.find(bad.reason), std::string::npos) << answer.body;
  }
  EXPECT_EQ(rows(), before);
}

}  // namespace
}  // namespace dks
