// The requests of the action classes, applied by the reference server and read back with a
// "list documents" request as the client builds it. (Paging is the server's own test and the
// listing exchange's.)
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "app/testing/HostFixture.h"
#include "protocol/ListDocumentsRequest.h"
#include "protocol/clsDelete.h"
#include "protocol/clsDocket.h"
#include "protocol/clsMove.h"
#include "protocol/clsSave.h"
#include "protocol/clsUpdate.h"
#include "refserver/testing/RefServerProcess.h"

namespace dks {
namespace {

struct Listed {
  std::string id, title, location, date;
};

struct Page {
  std::vector<Listed> documents;
  bool more = false;
};

class ActionsOnReferenceServerTest : public HostFixture {
 protected:
  ActionsOnReferenceServerTest() : server(dir.file("catalogue.db")) {
    useServer(server.url(""));
    platform.utility->setValue(kSharedKey, "UserID", 7);
    startHost();
  }

  /// Queues one record on `action` and sends the whole queue.
  static void send(QueuedAction& action, int32_t id, const std::string& current,
                   const std::string& title = "", const std::string& previous = "") {
    action.Emails()->Add(current);
    clsEmail& email = *action.Emails()->Item(action.Emails()->Count());
    email.setDocumentID(id);
    email.setTitle(title);
    email.setPreviousLocation(previous);
    std::string text;
    ASSERT_TRUE(action.pblnLoadXML(-1, text));
    ASSERT_TRUE(action.pblnSendXML(-1, 0));
    EXPECT_EQ(action.Emails()->Count(), 0);
  }

  /// The user's documents, asked for as the client asks.
  Page list() {
    ListDocumentsQuery query;
    query.urn = "urn:dks";
    query.folder = "Personal Folders\\Inbox";
    query.userID = 7;
    std::string text;
    std::string answer;
    clsDocket request;
    clsDocket response;
    request.setScript(server.url("/listDocuments"));
    EXPECT_TRUE(buildListDocumentsRequest(*gobjUtility, query, text));
    EXPECT_TRUE(request.pblnLoadXML(text));
    EXPECT_TRUE(request.pblnSendXML(answer));
    EXPECT_TRUE(response.pblnLoadXML(answer));
    Page page;
    auto more = response.XMLDocument()->getElementsByTagName("more_results");
    page.more = more.size() == 1 && more[0].text() == "TRUE";
    for (XmlElement document : response.XMLDocument()->getElementsByTagName("document")) {
      std::map<std::string, std::string> fields;
      for (XmlElement child : document.childElements()) fields[child.name()] = child.text();
      page.documents.push_back(
          {fields["id"], fields["title"], fields["saved_location"], fields["last_modified"]});
    }
    return page;
  }

  RefServerProcess server;
};

TEST_F(ActionsOnReferenceServerTest, EachActionChangesTheCatalogueAsItsRequestSays) {
  clsSave save;
  send(save, 0, "00AB", "Inbox\\Hello");
  Page page = list();
  ASSERT_EQ(page.documents.size(), 1u);
  const Listed saved = page.documents[0];
  EXPECT_EQ(saved.title, "Inbox\\Hello");
  EXPECT_EQ(saved.location, "dkemail://00AB");
  EXPECT_TRUE(std::regex_match(saved.date, std::regex(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)")));
  EXPECT_FALSE(page.more);

  send(save, std::stoi(saved.id), "00AB", "Inbox\\Hello again");
  page = list();
  ASSERT_EQ(page.documents.size(), 1u);
  EXPECT_EQ(page.documents[0].id, saved.id);
  EXPECT_EQ(page.documents[0].title, "Inbox\\Hello again");

  clsMove move;
  send(move, 0, "00CD", "", "00AB");  // by previous location
  EXPECT_EQ(list().documents.at(0).location, "dkemail://00CD");

  clsUpdate update;
  send(update, std::stoi(saved.id), "00CD");
  send(update, 0, "00CD");
  const std::string dumped = dumpCatalogue(dir.file("catalogue.db"));
  EXPECT_NE(dumped.find("\tInbox\\Hello again\tdkemail://00CD\t"), std::string::npos) << dumped;
  EXPECT_TRUE(dumped.ends_with("\t0\t2\n")) << "raised once by id, once by location: " << dumped;

  clsDelete remove;
  send(remove, std::stoi(saved.id), "");
  EXPECT_TRUE(list().documents.empty());
  send(save, 0, "00EF", "Inbox\\Other");
  send(remove, 0, "00EF");
  EXPECT_TRUE(list().documents.empty());
}

}  // namespace
}  // namespace dks
