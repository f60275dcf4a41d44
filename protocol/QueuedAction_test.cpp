// The shared shape of the four actions, through clsSave and clsDelete, against a real HTTP server
// on the loopback interface.
#include "protocol/QueuedAction.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/LogHeader.h"
#include "app/orrEnums.h"
#include "app/testing/HostFixture.h"
#include "protocol/clsAction.h"
#include "protocol/clsDelete.h"
#include "protocol/clsSave.h"
#include "refserver/testing/LoopbackServer.h"

namespace dks {
namespace {

constexpr const char* kSaveKey = "Software\\DKS\\Reconciler\\Actions\\Save";
constexpr const char* kDeleteKey = "Software\\DKS\\Reconciler\\Actions\\Delete";

/// The URL of a port where nothing listens any more.
std::string closedUrl() {
  LoopbackServer gone;
  return gone.url("/updateDocumentStatus");
}

/// The step block of the run log around `summary`.
std::string stepBlock(const std::string& summary) {
  const std::string rule = logRuleLine() + "\r\n";
  return "\r\n" + rule + kStamp + ", " + summary + "\r\n" + rule;
}

/// `request` as it goes over the wire: the namespace value in tripled quotes.
std::string wireText(std::string request) {
  const size_t open = request.find("SOAP=\"") + 6;
  request.insert(open, "\"\"");
  request.insert(request.find("\"><SOAP"), "\"\"");
  return request;
}

class QueuedActionTest : public HostFixture {
 protected:
  QueuedActionTest() { useServer(server.url("")); }

  /// Appends a record titled `title` to the queue of `action`.
  static clsEmail& queue(QueuedAction& action, const std::string& title) {
    action.Emails()->Add("00AB");
    clsEmail& email = *action.Emails()->Item(action.Emails()->Count());
    email.setTitle(title);
    return email;
  }

  /// The titles of the records in the queue of `action`, in order.
  static std::vector<std::string> titles(const QueuedAction& action) {
    std::vector<std::string> result;
    for (int32_t i = 1; i <= action.Emails()->Count(); ++i)
      result.push_back(action.Emails()->Item(i)->Title());
    return result;
  }

  /// Queues one record, builds the request for it and sends it with dump selector `lngFile`.
  static bool sendOne(QueuedAction& action, int32_t lngFile) {
    queue(action, "Inbox\\One");
    std::string text;
    EXPECT_TRUE(action.pblnLoadXML(1, text));
    return action.pblnSendXML(1, lngFile);
  }

  std::string requestDump() const { return dir.file("qdmrequest.xml"); }
  std::string responseDump() const { return dir.file("qdmresponse.xml"); }

  LoopbackServer server;
};

TEST_F(QueuedActionTest, TheActionKeyOverridesTheApplicationSettings) {
  clsApplication& app = startHost();
  platform.utility->setValue(kSaveKey, "Script", "  dks/save.asp  ");
  platform.utility->setValue(kSaveKey, "URN", "urn:DKS-Save Test");
  platform.utility->setValue(kSaveKey, "RequestLog", "  C:\\Dumps\\Request.XML ");
  platform.utility->setValue(kDeleteKey, "Script", "   ");

  clsSave save;
  EXPECT_EQ(save.Script(), server.url("/dks/save.asp"));
  EXPECT_EQ(save.URN(), "Urn:dks-save Test");
  EXPECT_EQ(save.RequestLog(), "c:\\dumps\\request.xml");
  EXPECT_EQ(save.ResponseLog(), app.ResponseLog());
  queue(save, "Inbox\\One");
  std::string text;
  ASSERT_TRUE(save.pblnLoadXML(1, text));
  EXPECT_NE(text.find("xmlns:SOAP=\"Urn:dks-save Test\""), std::string::npos) << text;

  clsDelete remove;
  EXPECT_EQ(remove.Script(), server.url("/updateDocumentStatus"));
  EXPECT_EQ(remove.URN(), app.URN());

  clsAction listing;
  EXPECT_EQ(listing.Script(), server.url("/listDocuments"));
  listing.setAction(3);
  EXPECT_EQ(listing.Script(), server.url("/listDocuments"));
  listing.setAction(raMove);
  EXPECT_EQ(listing.Script(), app.Script());
  EXPECT_EQ(gcolError->Count(), 0);
}

TEST_F(QueuedActionTest, EveryResetReadsTheKeyAgainButOnlyAWrittenScriptReachesTheRequest) {
  clsApplication& app = startHost();
  platform.utility->setValue(kSaveKey, "Script", "dks/save.asp");
  clsSave save;

  platform.utility->setValue(kSaveKey, "Script", "   ");
  platform.utility->setValue(kSaveKey, "URN", "URN:LATER");
  ASSERT_TRUE(save.pblnReset());
  EXPECT_EQ(save.Script(), app.Script());
  EXPECT_EQ(save.URN(), "Urn:later");
  EXPECT_EQ(save.Request()->Script(), server.url("/dks/save.asp"));

  save.setScript("  " + server.url("/written") + " ");
  EXPECT_EQ(save.Script(), server.url("/written"));
  EXPECT_TRUE(sendOne(save, 0));
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].target, "/written");
}

TEST_F(QueuedActionTest, ABatchIsSentInOneRequestAndOnlyItsRecordsLeaveTheQueue) {
  startHost();
  clsSave save;
  for (const char* title : {"A", "B", "C"}) queue(save, title);

  // No request prepared: one is built for the whole queue, and the batch of two is removed.
  EXPECT_TRUE(save.pblnSendXML(2, 0));
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].body, wireText(save.Request()->XMLText()));
  EXPECT_NE(save.Request()->XMLText().find("<title>C</title>"), std::string::npos);
  EXPECT_EQ(titles(save), std::vector<std::string>{"C"});
  EXPECT_EQ(save.Response()->XMLText(), server.answer.body);

  queue(save, "D");
  queue(save, "E");
  std::string text;
  ASSERT_TRUE(save.pblnLoadXML(-1, text));
  EXPECT_TRUE(save.pblnSendXML(-1, 0));
  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(server.requests()[1].body, wireText(text));
  EXPECT_NE(text.find("<title>E</title>"), std::string::npos);
  EXPECT_EQ(save.Emails()->Count(), 0);

  // Nothing to send: nothing goes out.
  EXPECT_FALSE(save.pblnSendXML(-1, 0));
  EXPECT_FALSE(save.pblnSendXML(5, 0));
  EXPECT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(gcolError->Count(), 0);
}

TEST_F(QueuedActionTest, AFailedSendDropsTheBatchButAnAnswerThatCannotBeLoadedKeepsIt) {
  startAtDebugLevel(1);
  clsSave save;
  for (const char* title : {"A", "B", "C"}) queue(save, title);
  std::string text;

  save.setScript(closedUrl());
  ASSERT_TRUE(save.pblnLoadXML(1, text));
  EXPECT_FALSE(save.pblnSendXML(1, 0));
  EXPECT_EQ(titles(save), (std::vector<std::string>{"B", "C"}));

  save.setScript(server.url("/updateDocumentStatus"));
  server.answer.body = "";
  ASSERT_TRUE(save.pblnLoadXML(1, text));
  EXPECT_FALSE(save.pblnSendXML(1, 0));
  EXPECT_EQ(titles(save), (std::vector<std::string>{"B", "C"}));

  EXPECT_EQ(errorLines(), (std::vector<std::string>{
                              errorLine("clsDocket", "pblnSendXML", -2146697211,
                                        "The system cannot locate the resource specified."),
                              errorLine("clsDocket", "pblnLoadXML", -99987, "Parameter missing")}));
  EXPECT_EQ(runLog(), logHeader("DKS RECONCILER LOG") + stepBlock("save, LoadXML, Emails=1") +
                          stepBlock("save, SendXML=False, Emails=1") +
                          stepBlock("save, LoadXML, Emails=1") +
                          stepBlock("save, SendXML=True, Emails=1"));
}

TEST_F(QueuedActionTest, DumpSelectorsAtDebugLevelFour) {
  startAtDebugLevel(4);
  clsSave save;
  const auto dumped = [&] {
    const bool any =
        std::filesystem::exists(requestDump()) || std::filesystem::exists(responseDump());
    std::filesystem::remove(requestDump());
    std::filesystem::remove(responseDump());
    return any;
  };

  for (int32_t selector : {cfAll, cfSave}) {
    EXPECT_TRUE(sendOne(save, selector)) << selector;
    EXPECT_EQ(readFileBytes(requestDump()), save.Request()->XMLText()) << selector;
    EXPECT_EQ(readFileBytes(responseDump()), save.Response()->XMLText()) << selector;
    EXPECT_TRUE(dumped());
  }
  EXPECT_NE(save.Response()->XMLText(), "");
  for (int32_t selector : {int32_t{0}, int32_t{cfUpdate}, cfIgnore + cfDelete}) {
    EXPECT_TRUE(sendOne(save, selector)) << selector;
    EXPECT_FALSE(dumped()) << selector;
  }
  EXPECT_EQ(gcolError->Count(), 0);

  save.setRequestLog(dir.file("missing/request.xml"));
  EXPECT_TRUE(sendOne(save, cfIgnore + cfSave));
  EXPECT_EQ(readFileBytes(responseDump()), save.Response()->XMLText());
  EXPECT_FALSE(sendOne(save, cfSave));
  EXPECT_EQ(save.Emails()->Count(), 0);
  const std::string pathNotFound = errorLine("clsDocket", "pblnCreateFile", 76, "Path not found");
  EXPECT_EQ(errorLines(), (std::vector<std::string>{pathNotFound, pathNotFound}));
}

TEST_F(QueuedActionTest, DumpsAreDeletedByTheNextResetAndWhenTheActionEnds) {
  startAtDebugLevel(4);
  auto save = std::make_unique<clsSave>();
  const std::vector<std::string> dumps = {save->RequestLog(), save->ResponseLog()};

  ASSERT_TRUE(sendOne(*save, cfAll));
  ASSERT_TRUE(std::filesystem::exists(requestDump()));
  platform.utility->deletedFiles.clear();
  EXPECT_TRUE(save->pblnReset());
  EXPECT_EQ(platform.utility->deletedFiles, dumps);
  EXPECT_FALSE(std::filesystem::exists(requestDump()));
  EXPECT_EQ(save->Request()->XMLText(), "");

  ASSERT_TRUE(sendOne(*save, cfAll));
  platform.utility->deletedFiles.clear();
  save.reset();
  EXPECT_EQ(platform.utility->deletedFiles, dumps);
  EXPECT_FALSE(std::filesystem::exists(responseDump()));
}

TEST_F(QueuedActionTest, DebugLevelThreeLogsOneLinePerRecordAfterTheStepBlock) {
  startAtDebugLevel(3);
  clsSave save;
  queue(save, "Inbox\\A");
  clsEmail& changed = queue(save, "Inbox\\B");
  changed.setResave(true);
  changed.setCurrentDate("04/04/2002 10:00:00");
  changed.setPreviousDate("03/04/2002 10:00:00");
  queue(save, "Inbox\\Not in the batch");

  std::string text;
  ASSERT_TRUE(save.pblnLoadXML(2, text));
  const std::string stamp = std::string(kStamp) + ", ";
  EXPECT_EQ(runLog(),
            logHeader("DKS RECONCILER LOG") + stepBlock("save, LoadXML, Emails=2") + stamp +
                "save, Title=Inbox\\A, Resave=False, CLocation=00AB, CDate=, PDate=\r\n" + stamp +
                "save, Title=Inbox\\B, Resave=True, CLocation=00AB, CDate=04/04/2002 10:00:00, "
                "PDate=03/04/2002 10:00:00\r\n" +
                "\r\n" + stamp + "XMLRequest=" + text + "\r\n");
}

}  // namespace
}  // namespace dks
