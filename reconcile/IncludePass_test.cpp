// One include folder's pass over a scripted mail store, against a loopback server that answers
// every request with the same listing.
#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/orrEnums.h"
#include "app/testing/HostFixture.h"
#include "platform/TimeText.h"
#include "platform/testing/FakeOutlook.h"
#include "reconcile/clsInclude.h"
#include "reconcile/clsReconciler.h"
#include "refserver/testing/LoopbackServer.h"

namespace dks {
namespace {

constexpr const char* kIncludeKey = "Software\\DKS\\Reconciler\\Include\\Inbox#1";
constexpr std::time_t kModified = 1015682707 + 293;  // the fake items' modification time

/// One request as the server saw it: its type and the locations of its documents.
struct Sent {
  std::string type;
  std::vector<std::string> locations;
  bool operator==(const Sent&) const = default;
};

class IncludePassTest : public HostFixture {
 protected:
  IncludePassTest() {
    useServer(server.url(""));
    platform.utility->setValue(kIncludeKey, "SubFolders", 0);
    ns->defaultFolders[6] = inbox;
    ns->defaultFolders[5] = sent;
    startHost();
    gobjOutlook = std::make_shared<FakeApplication>(ns);
  }

  /// Puts a mail item with entry id `id` into `folder`.
  static void mail(const std::shared_ptr<FakeFolder>& folder, const std::string& id) {
    auto item = fakeMailItem(folder);
    item->set("EntryID", id);
    folder->items.push_back(item);
  }

  /// Makes the server list these documents, each "location/last_modified".
  void list(const std::vector<std::pair<std::string, std::string>>& documents) {
    std::string body = "<SOAP:Envelope xmlns:SOAP=\"urn:x\"><SOAP:Body><response>";
    int id = 0;
    for (const auto& [location, date] : documents)
      body += "<document><id>" + std::to_string(++id) + "</id><title>T</title><saved_location>" +
              "dkemail://" + location + "</saved_location><last_modified>" + date +
              "</last_modified></document>";
    server.answer.body = body + "</response></SOAP:Body></SOAP:Envelope>";
  }

  /// The requests sent from `first` on (0-based), "list documents" left out.
  std::vector<Sent> sentFrom(size_t first) const {
    static const std::regex location(
        "(?:<current_version><location>|<current_location>)dkemail://([^<]*)<");
    std::vector<Sent> result;
    const auto requests = server.requests();
    for (size_t i = first; i < requests.size(); ++i) {
      const std::string& body = requests[i].body;
      const size_t open = body.find("<type>") + 6;
      Sent request{body.substr(open, body.find("</type>") - open), {}};
      if (request.type == "list documents") continue;
      for (std::sregex_iterator it(body.begin(), body.end(), location), end; it != end; ++it)
        request.locations.push_back((*it)[1]);
      result.push_back(request);
    }
    return result;
  }

  LoopbackServer server;
  std::shared_ptr<FakeNamespace> ns = std::make_shared<FakeNamespace>();
  std::shared_ptr<FakeFolder> top = FakeFolder::make("Personal Folders", "T1", ns);
  std::shared_ptr<FakeFolder> inbox = FakeFolder::make("Inbox", "F6", top);
  std::shared_ptr<FakeFolder> sent = FakeFolder::make("Sent Items", "F5", top);
};

/// Keeps what a run shows its monitor.
struct RecordingMonitor : RunMonitor {
  explicit RecordingMonitor(bool dry) : dry(dry) {}
  bool dryRun() const override { return dry; }
  void wouldSend(std::string_view action, const PendingDocument& document) override {
    shown.push_back(std::string(action) + " " + std::to_string(document.documentID) + " " +
                    document.location + " " + document.title);
  }
  void passEnded(const PassTally& tally) override { passes.push_back(tally); }
  void runEnded(bool succeeded, int32_t errorRecords) override {
    ended = {succeeded, errorRecords};
  }

  bool dry;
  std::vector<std::string> shown;
  std::vector<PassTally> passes;
  std::optional<std::pair<bool, int32_t>> ended;
};

TEST_F(IncludePassTest, TheActionSettingChoosesWhatIsSavedAndWhatIsDeleted) {
  const std::string sameMinute = timeText(kModified);
  const std::string minuteBefore = timeText(kModified - 60);
  list({{"00AB", sameMinute}, {"00CD", minuteBefore}, {"GONE", sameMinute}});
  mail(inbox, "00AB");
  mail(inbox, "00CD");
  mail(sent, "NEW1");
  clsInclude include;
  include.setKey(kIncludeKey);

  const std::vector<std::pair<int32_t, std::vector<Sent>>> cases = {
      {raDelete + raSave + raMove + raUpdate, {{"save", {"00CD", "NEW1"}}, {"delete", {"GONE"}}}},
      {raSave, {{"save", {"00CD", "NEW1"}}}},
      {raDelete, {{"delete", {"GONE"}}}},
      {0, {}},
  };
  for (const auto& [action, expected] : cases) {
    gobjApplication->setAction(action);
    const size_t before = server.requests().size();
    EXPECT_TRUE(include.pblnReconcile()) << action;
    EXPECT_EQ(sentFrom(before), expected) << "Action " << action;
    EXPECT_EQ(include.MailItems()->Count(), 0) << "reset after the pass";
  }
  EXPECT_EQ(platform.utility->value(kIncludeKey, "Folder"),
            Variant{std::string("Personal Folders\\Inbox")});
  EXPECT_EQ(include.Folder(), "Personal Folders\\Inbox");
  EXPECT_EQ(gcolError->Count(), 0);
}

TEST_F(IncludePassTest, BatchesFollowMaxMatchesInItemOrder) {
  list({});
  for (const char* id : {"01", "02", "03", "04", "05"}) mail(inbox, id);
  platform.utility->setValue("Software\\DKS\\Reconciler\\Include", "MaximumMatches", 2);
  clsInclude include;
  include.setKey(kIncludeKey);

  EXPECT_TRUE(include.pblnReconcile());
  EXPECT_EQ(sentFrom(0),
            (std::vector<Sent>{{"save", {"01", "02"}}, {"save", {"03", "04"}}, {"save", {"05"}}}));
}

TEST_F(IncludePassTest, AnInstallationRunWalksTheInboxOnly) {
  list({{"00AB", timeText(kModified)}});
  mail(sent, "00AB");
  mail(sent, "NEW1");
  platform.utility->setValue(kAppKey, "Flags", 999);
  clsInclude include;
  include.setKey(kIncludeKey);

  EXPECT_TRUE(include.pblnReconcile());
  EXPECT_EQ(sentFrom(0), (std::vector<Sent>{{"delete", {"00AB"}}}));
}

TEST_F(IncludePassTest, WithoutTheServersListOrTheSentItemsThePassEndsBeforeSending) {
  mail(inbox, "NEW1");
  clsInclude include;
  include.setKey(kIncludeKey);

  include.setScript("http://127.0.0.1:1/listDocuments");  // nothing listens there
  EXPECT_FALSE(include.pblnReconcile());
  include.setScript(server.url("/listDocuments"));
  list({});
  ns->defaultFolders.erase(5);
  EXPECT_FALSE(include.pblnReconcile());
  EXPECT_TRUE(sentFrom(0).empty());
  EXPECT_EQ(gcolError->Count(), 2);
}

TEST_F(IncludePassTest, ThePassTallyCountsWhatWasFoundSentAndFailed) {
  list({{"00AB", timeText(kModified)}, {"00CD", timeText(kModified - 60)}, {"GONE", ""}});
  for (const char* id : {"00AB", "00CD", "NEW1"}) mail(inbox, id);
  mail(sent, "NEW2");
  platform.utility->setValue("Software\\DKS\\Reconciler\\Include", "MaximumMatches", 2);
  clsInclude include;
  include.setKey(kIncludeKey);
  auto monitor = std::make_shared<RecordingMonitor>(false);
  include.setMonitor(monitor);
  include.Save()->setScript("http://127.0.0.1:1/save");  // nothing listens there

  EXPECT_TRUE(include.pblnReconcile());
  ASSERT_EQ(monitor->passes.size(), 1u);
  const PassTally& tally = monitor->passes.front();
  EXPECT_EQ(tally.key, "Inbox#1");
  EXPECT_EQ(tally.folder, "Personal Folders\\Inbox");
  EXPECT_TRUE(tally.passed);
  EXPECT_EQ(tally.listed, 3);
  EXPECT_EQ(std::pair(tally.walkedInbox, tally.walkedSent), std::pair(3, 1));
  EXPECT_EQ(std::tuple(tally.newItems, tally.resaves, tally.deletes), std::tuple(2, 1, 1));
  // Three saves in batches of two: both exchanges fail, and each drops its batch.
  EXPECT_EQ(std::pair(tally.save.sent, tally.save.failed), std::pair(0, 2));
  EXPECT_EQ(std::pair(tally.remove.sent, tally.remove.failed), std::pair(1, 0));
  EXPECT_EQ(tally.errorRecords, gcolError->Count());
  EXPECT_EQ(sentFrom(0), (std::vector<Sent>{{"delete", {"GONE"}}}));
}

TEST_F(IncludePassTest, ADryRunListsAndWalksButSendsAndWritesNothing) {
  list({{"00AB", timeText(kModified - 60)}, {"GONE", ""}});
  mail(inbox, "00AB");
  mail(sent, "NEW1");
  gobjApplication->setState(rsUser);
  gobjApplication->setFlags(rfSettingsChanged);
  clsReconciler reconciler;
  auto monitor = std::make_shared<RecordingMonitor>(true);
  reconciler.setMonitor(monitor);

  EXPECT_TRUE(reconciler.pblnReconcile());
  EXPECT_EQ(server.requests().size(), 1u) << "only the listing";
  // The delete shows the title the server listed; a save the title its request carries.
  EXPECT_EQ(monitor->shown, (std::vector<std::string>{
                                "delete 2 GONE T", "save 1 00AB Personal Folders\\Inbox\\Hello",
                                "save 0 NEW1 Personal Folders\\Sent Items\\Hello"}));
  ASSERT_EQ(monitor->passes.size(), 1u);
  EXPECT_EQ(std::pair(monitor->passes[0].save.sent, monitor->passes[0].save.failed),
            std::pair(0, 0));
  EXPECT_EQ(monitor->ended, std::pair(true, 0));
  EXPECT_FALSE(platform.utility->value(kIncludeKey, "Folder"));
  EXPECT_EQ(gobjApplication->Started(), "");
  EXPECT_EQ(gobjApplication->State(), rsUser);
  EXPECT_EQ(gobjApplication->Flags(), rfSettingsChanged);
}

TEST_F(IncludePassTest, TheFirstFailingIncludeFolderEndsTheRunBeforeTheNextOne) {
  list({});
  mail(inbox, "NEW1");
  const std::string listKey = "Software\\DKS\\Reconciler\\Include";
  for (const char* name : {"Second#2", "Third#3"})
    platform.utility->setValue(listKey + "\\" + name, "SubFolders", 0);
  gobjApplication->setState(rsDefault);
  clsReconciler reconciler;
  ASSERT_EQ(reconciler.Include()->Count(), 3);
  reconciler.Include()->Item(2)->setScript("http://127.0.0.1:1/listDocuments");  // unreachable

  EXPECT_FALSE(reconciler.pblnReconcile());
  EXPECT_EQ(sentFrom(0), (std::vector<Sent>{{"save", {"NEW1"}}}));
  EXPECT_TRUE(platform.utility->value(kIncludeKey, "Folder").has_value()) << "first one passed";
  EXPECT_FALSE(platform.utility->value(listKey + "\\Third#3", "Folder")) << "third untouched";
  EXPECT_EQ(reconciler.State(), rsDefault + rsRunning);
  EXPECT_EQ(gobjApplication->Finished(), "");
}

}  // namespace
}  // namespace dks
