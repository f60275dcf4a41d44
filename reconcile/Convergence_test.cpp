// Runs of the reconciler over a generated Maildir against the reference server: after a run the
// catalogue holds exactly one document per message, a run over an unchanged store sends nothing,
// and after mail is added, deleted, re-flagged and moved the next run sends exactly those
// changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/testing/HostFixture.h"
#include "bench/MaildirWriter.h"
#include "mailstore/PathText.h"
#include "mailstore/WriteRules.h"
#include "mailstore/clsItem.h"
#include "platform/maildir/MaildirApplication.h"
#include "platform/maildir/MaildirNames.h"
#include "reconcile/clsReconciler.h"
#include "refserver/Catalogue.h"
#include "refserver/ReferenceServer.h"
#include "refserver/testing/LoopbackServer.h"

namespace dks {
namespace fs = std::filesystem;
namespace {

constexpr const char* kIncludeKey = "Software\\DKS\\Reconciler\\Include\\Inbox#1";
constexpr std::time_t kDay = 24 * 60 * 60;

using Documents = std::map<std::string, std::string>;  // location without scheme -> title

class ConvergenceTest : public HostFixture {
 protected:
  ConvergenceTest()
      : catalogue(dir.file("catalogue.db"), [this] { return serverTime; }), reference(catalogue) {
    server.respond = [this](const HttpMessage& request) { return reference.answer(request); };
    useServer(server.url(""));
    platform.utility->setValue(kSharedKey, "UserID", 7);
    platform.utility->setValue(kIncludeKey, "SubFolders", 1);
    platform.utility->setValue("Software\\DKS\\Reconciler\\Include", "MaximumMatches", 25);
    write(60, 1);
    startHost();
    MaildirSettings settings;
    settings.root = maildir;
    gobjOutlook = openMaildirStore(settings);
  }

  void write(int64_t messages, int64_t first) {
    MaildirWriterOptions options;
    options.messages = messages;
    options.first = first;
    options.seed = 7;
    MaildirWriter writer(options);
    std::string error;
    ASSERT_TRUE(writer.write(maildir, &error)) << error;
  }

  /// What the catalogue should hold: one document per message of the walked folders, its
  /// title cleaned as every request text is.
  Documents storeDocuments() {
    Documents documents;
    auto application = std::dynamic_pointer_cast<OutlookApplication>(gobjOutlook);
    for (int32_t number : {6, 5}) {
      int32_t folder = number;
      collect(application->GetNamespace("MAPI")->GetDefaultFolder(folder), documents);
    }
    return documents;
  }

  void collect(const std::shared_ptr<OutlookFolder>& folder, Documents& documents) {
    auto items = folder->Items();
    for (int32_t i = 1; i <= items->Count(); ++i) {
      clsItem record;
      record.pblnLoad(items->Item(i));
      std::string title = record.Parent() + "\\" + record.Subject();
      gobjUtility->ReplaceText(title, "", "", 5);
      gobjUtility->ReplaceText(title, "", "", 4);
      documents[record.EntryID()] = title;
    }
    auto folders = folder->Folders();
    for (int32_t i = 1; i <= folders->Count(); ++i) collect(folders->Item(i), documents);
  }

  Documents catalogueDocuments() {
    Documents documents;
    catalogue.forEachDocument([&](const CatalogueDocument& document) {
      EXPECT_EQ(document.user, 7);
      EXPECT_TRUE(
          documents.emplace(document.location.substr(kLocationScheme.size()), document.title)
              .second)
          << "two documents for " << document.location;
    });
    return documents;
  }

  /// How many documents the requests from `first` on carried, by request type.
  std::map<std::string, int> sentFrom(size_t first) const {
    std::map<std::string, int> sent;
    const auto requests = server.requests();
    for (size_t i = first; i < requests.size(); ++i) {
      const std::string& body = requests[i].body;
      const size_t open = body.find("<type>") + 6;
      const std::string type = body.substr(open, body.find("</type>") - open);
      for (size_t at = body.find("<document>"); at != std::string::npos;
           at = body.find("<document>", at + 1))
        ++sent[type];
    }
    return sent;
  }

  /// The message files of the folder directory `folder` (relative to the store), sorted.
  std::vector<fs::path> messages(const std::string& folder) const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(maildir + "/" + folder + "/cur"))
      if (entry.path().filename().string().front() != '.') files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
  }

  /// Dates the document at `location` (without scheme) `serverTime` as it stands.
  void redate(const std::string& location) {
    const std::string wire = std::string(kLocationScheme) + location;
    for (int64_t id : catalogue.idsAt(7, wire)) {
      const CatalogueDocument document = *catalogue.find(7, id);
      catalogue.resave(id, document.title, document.location);
    }
  }

  std::string maildir = dir.file("Maildir");
  std::time_t serverTime = std::time(nullptr) + kDay;
  Catalogue catalogue;
  ReferenceServer reference;
  LoopbackServer server;
};

TEST_F(ConvergenceTest, TheCatalogueFollowsTheStoreAndUnchangedMailSendsNothing) {
  clsReconciler reconciler;
  ASSERT_TRUE(reconciler.pblnReconcile());
  const Documents expected = storeDocuments();
  EXPECT_EQ(expected.size(), 60u);
  EXPECT_EQ(catalogueDocuments(), expected);
  EXPECT_EQ(sentFrom(0), (std::map<std::string, int>{{"save", 60}}));

  size_t mark = server.requests().size();
  ASSERT_TRUE(reconciler.pblnReconcile());
  EXPECT_EQ(sentFrom(mark), (std::map<std::string, int>{}));

  // New mail, deleted mail, a flag change and a move into a sub-folder. The server dated the
  // documents of the changed messages a day back: their change is in a later minute.
  write(5, 61);
  std::vector<fs::path> inbox = messages("Inbox");
  ASSERT_GE(inbox.size(), 6u);
  for (size_t i = 0; i < 3; ++i) fs::remove(inbox[i]);
  const fs::path flagged = inbox[3].string() + "F";
  fs::rename(inbox[3], flagged);
  const fs::path moved = fs::path(maildir) / "Inbox/Projects/cur" / inbox[4].filename();
  fs::rename(inbox[4], moved);
  const Documents changedStore = storeDocuments();
  serverTime = std::time(nullptr) - kDay;
  for (const fs::path& changed : {flagged, moved}) {
    const std::string name = changed.filename().string();
    redate(hexOf(name.substr(0, name.find_first_of(",:"))));
  }
  serverTime = std::time(nullptr) + kDay;

  mark = server.requests().size();
  ASSERT_TRUE(reconciler.pblnReconcile());
  EXPECT_EQ(sentFrom(mark), (std::map<std::string, int>{{"save", 5 + 2}, {"delete", 3}}));
  EXPECT_EQ(catalogueDocuments(), changedStore);
  EXPECT_EQ(gcolError->Count(), 0);
}

}  // namespace
}  // namespace dks
