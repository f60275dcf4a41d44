// Whole request texts, byte for byte, for the five kinds of request.
#include <gtest/gtest.h>

#include <string>

#include "app/orrEnums.h"
#include "app/testing/HostFixture.h"
#include "protocol/ListDocumentsRequest.h"
#include "protocol/clsDelete.h"
#include "protocol/clsMove.h"
#include "protocol/clsSave.h"
#include "protocol/clsUpdate.h"

namespace dks {
namespace {

const std::string kOpen = "<SOAP:Envelope xmlns:SOAP=\"Urn:dks-test\"><SOAP:Body><request>";
const std::string kClose = "</request></SOAP:Body></SOAP:Envelope>";

class RequestsTest : public HostFixture {
 protected:
  RequestsTest() {
    platform.utility->setValue(kAppKey, "URN", "urn:DKS-test");
    platform.utility->setValue(kSharedKey, "UserID", 7);
    startHost();
  }

  /// Appends a record to `action`'s queue with the given id and locations.
  static clsEmail& queue(QueuedAction& action, int32_t id, const std::string& current,
                         const std::string& previous = "") {
    action.Emails()->Add(current);
    clsEmail& email = *action.Emails()->Item(action.Emails()->Count());
    email.setDocumentID(id);
    email.setPreviousLocation(previous);
    return email;
  }

  static std::string built(QueuedAction& action, int32_t count) {
    std::string text;
    EXPECT_TRUE(action.pblnLoadXML(count, text));
    EXPECT_EQ(action.Request()->XMLText(), text);
    return text;
  }
};

TEST_F(RequestsTest, SaveCarriesTheSourceApplicationAndBothVersions) {
  clsSave save;
  clsEmail& fresh = queue(save, 0, "00AB");
  fresh.setTitle("Inbox\\Hello <there> & \"you\"");
  clsEmail& changed = queue(save, 12, "");
  changed.setResave(true);
  changed.setSnapshotLocation("5A");
  queue(save, 13, "FF");  // beyond the batch

  EXPECT_EQ(built(save, 2),
            kOpen +
                "<type>save</type><source_application><name>Dks Reconciler</name>"
                "<version>01.00.05</version></source_application><user><id>7</id></user>"
                "<document><id/><title>Inbox\\Hello &lt;there&gt; &amp; \"you\"</title>"
                "<source_url>dkemail://00AB</source_url><data_type>eml</data_type>"
                "<current_version><location>dkemail://00AB</location><resave>False</resave>"
                "</current_version><snapshot_version><location/></snapshot_version></document>"
                "<document><id>12</id><title/><source_url>dkemail://</source_url>"
                "<data_type>eml</data_type><current_version><location/><resave>True</resave>"
                "</current_version><snapshot_version><location>dkemail://5A</location>"
                "</snapshot_version></document>" +
                kClose);
  EXPECT_EQ(save.Emails()->Count(), 3);
}

TEST_F(RequestsTest, UpdateUsageCarriesActionAndDescription) {
  clsUpdate update;
  clsEmail& used = queue(update, 7, "00AB");
  used.setAction("open");
  used.setDescription("read twice");
  used.setTitle("not sent");
  queue(update, -1, "");

  EXPECT_EQ(built(update, -1),
            kOpen +
                "<type>update usage</type><user><id>7</id></user>"
                "<document><id>7</id><current_location>dkemail://00AB</current_location>"
                "<action>open</action><description>read twice</description></document>"
                "<document><id>-1</id><current_location/><action/><description/></document>" +
                kClose);
}

TEST_F(RequestsTest, MoveCarriesThePreviousPathAndDateAndTheCurrentLocation) {
  clsMove move;
  queue(move, 3, "00CD", "00AB");
  clsEmail& nowhere = queue(move, 0, "");
  nowhere.setPreviousDate("03/04/2002 10:00:00");
  nowhere.setCurrentDate("04/04/2002 10:00:00");

  EXPECT_EQ(built(move, 5),
            kOpen +
                "<type>move document</type><user><id>7</id></user>"
                "<document><id>3</id><previous_location><path>dkemail://00AB</path><date/>"
                "</previous_location><current_location>dkemail://00CD</current_location>"
                "</document><document><id/><previous_location><path/>"
                "<date>03/04/2002 10:00:00</date></previous_location><current_location/>"
                "</document>" +
                kClose);
}

TEST_F(RequestsTest, DeleteCarriesOnlyIdAndLocationAndZeroEmailsGiveTheUserBlockAlone) {
  clsDelete remove;
  clsEmail& gone = queue(remove, 0, "00AB");
  gone.setTitle("Inbox\\Gone");

  EXPECT_EQ(built(remove, 1), kOpen +
                                  "<type>delete</type><user><id>7</id></user><document><id/>"
                                  "<current_location>dkemail://00AB</current_location>"
                                  "</document>" +
                                  kClose);
  EXPECT_EQ(built(remove, 0), kOpen + "<type>delete</type><user><id>7</id></user>" + kClose);
}

TEST_F(RequestsTest, ListDocumentsSetsTheSelectionAsItIsAndAnEmptyIdForUserZero) {
  ListDocumentsQuery query;
  query.urn = "Urn:dks-test";
  query.folder = "  Personal Folders\\Inbox ";
  query.sorted = true;
  query.maxMatches = 50;
  query.firstMatch = 51;
  std::string text;
  ASSERT_TRUE(buildListDocumentsRequest(*gobjUtility, query, text));
  EXPECT_EQ(text, kOpen +
                      "<type>list documents</type><criteria>outlook email</criteria>"
                      "<location>Personal Folders\\Inbox</location>"
                      "<include_sub_locations>False</include_sub_locations><sorted>True</sorted>"
                      "<maximum_matches>50</maximum_matches><first_match>51</first_match>"
                      "<maximum_characters>-1</maximum_characters><user><id/></user>" +
                      kClose);
}

TEST_F(RequestsTest, TextValuesAreCleanedAndRepairedButLocationsInListDocumentsAreNot) {
  clsDelete remove;
  queue(remove, 0,
        std::string("A\x01"
                    "B\xe9"));
  EXPECT_NE(built(remove, 1).find("<current_location>dkemail://AB\xc3\xa9</current_location>"),
            std::string::npos);

  ListDocumentsQuery query;
  query.folder = "Inbox\xe9";
  std::string text;
  ASSERT_TRUE(buildListDocumentsRequest(*gobjUtility, query, text));
  EXPECT_NE(text.find("<location>Inbox\xe9</location>"), std::string::npos);
}

TEST_F(RequestsTest, EachActionLogsItsOwnLinePerRecordAtDebugLevelThree) {
  gobjApplication->setDebugLevel(dlThree);
  clsUpdate update;
  clsMove move;
  clsDelete remove;
  for (QueuedAction* action : std::initializer_list<QueuedAction*>{&update, &move, &remove}) {
    clsEmail& email = queue(*action, 7, "00CD", "00AB");
    email.setTitle("Inbox\\Hi");
    email.setCurrentDate("04/04/2002 10:00:00");
    email.setPreviousDate("03/04/2002 10:00:00");
    email.setAction("open");
    email.setDescription("twice");
    built(*action, 1);
  }
  const std::string log = runLog();
  for (const char* line :
       {"update usage, Title=Inbox\\Hi, CLocation=00CD, CDate=04/04/2002 10:00:00, Action=open, "
        "Description=twice\r\n",
        "move document, Title=Inbox\\Hi, CLocation=00CD, CDate=04/04/2002 10:00:00, "
        "PLocation=00AB, PDate=03/04/2002 10:00:00\r\n",
        "delete, Title=Inbox\\Hi, CLocation=00CD, CDate=04/04/2002 10:00:00\r\n"})
    EXPECT_NE(log.find(std::string(kStamp) + ", " + line), std::string::npos) << line << log;
}

TEST_F(RequestsTest, AFailedTextPreparationStopsTheBuildAndChangesNothing) {
  clsSave save;
  queue(save, 0, "00AB");
  std::string before;
  ASSERT_TRUE(save.pblnLoadXML(1, before));
  platform.utility->failReplaceText = true;

  std::string text = "stale";
  EXPECT_FALSE(save.pblnLoadXML(1, text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(save.Request()->XMLText(), before);
  EXPECT_EQ(save.Emails()->Count(), 1);
  EXPECT_EQ(gcolError->Count(), 0);

  ListDocumentsQuery query;
  query.folder = "Inbox";
  text = "stale";
  EXPECT_FALSE(buildListDocumentsRequest(*gobjUtility, query, text));
  EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace dks
