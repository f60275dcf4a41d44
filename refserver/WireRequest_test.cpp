#include "refserver/WireRequest.h"

#include <gtest/gtest.h>

namespace dks {
namespace {

// The reconciler's transport: two replacements of every occurrence, in this order.
std::string tripleQuotes(std::string text) {
  auto replaceAll = [](std::string& in, const std::string& find, const std::string& by) {
    for (size_t at = in.find(find); at != std::string::npos; at = in.find(find, at + by.size()))
      in.replace(at, find.size(), by);
  };
  replaceAll(text, "SOAP=\"", "SOAP=\"\"\"");
  replaceAll(text, "\"><SOAP", "\"\"\"><SOAP");
  return text;
}

TEST(WireRequestTest, TripledQuotesAreUndoneExactlyWhateverTheTextHolds) {
  for (const char* text :
       {R"(<SOAP:Envelope xmlns:SOAP="urn:x"><SOAP:Body>)", R"(<SOAP:Envelope xmlns:SOAP=""><SOAP)",
        R"(SOAP="><SOAP)", R"(SOAP=""")", R"(x"""><SOAP)", R"(SOAP=""><SOAP="">)", "plain"})
    EXPECT_EQ(undoTripledQuotes(tripleQuotes(text)), text) << text;
}

TEST(WireRequestTest, ReadsTheFieldsOfEachKindAsTheReconcilerSendsThem) {
  WireRequest request;
  std::string error;
  // A well-formed request, without the tripled quotes, reads as well. (Tripled quotes in any
  // field are undone by the test above.)
  ASSERT_TRUE(readWireRequest(
      std::string(
          R"(<SOAP:Envelope xmlns:SOAP="urn:dks:1"><SOAP:Body><request><type>move document</type><user><id>-3</id></user><document><id>+12</id><previous_location><path>dkemail://AB12</path><date>05/12/2026 10:00:00</date></previous_location><current_location> dkemail://CD34 </current_location></document><document><id/><previous_location><path/><date/></previous_location><current_location/></document></request></SOAP:Body></SOAP:Envelope>)"),
      &request, &error))
      << error;
  EXPECT_EQ(request.urn, "urn:dks:1");
  EXPECT_EQ(request.kind, RequestKind::moveDocument);
  EXPECT_EQ(request.user, -3);
  ASSERT_EQ(request.documents.size(), 2u);
  EXPECT_EQ(request.documents[0].id, 12);
  EXPECT_EQ(request.documents[0].previousLocation, "dkemail://AB12");
  EXPECT_EQ(request.documents[0].location, "dkemail://CD34");
  EXPECT_EQ(request.documents[1].id, 0);
  EXPECT_EQ(request.documents[1].location, "");
}

TEST(WireRequestTest, ListSelectionIsNormalisedAndNumbersMustBe32BitDecimals) {
  auto list = [](const std::string& selection, std::string* error) {
    WireRequest request;
    bool read = readWireRequest(
        "<SOAP:Envelope xmlns:SOAP=\"\"\"u\"\"\"><SOAP:Body><request><type> List Documents "
        "</type>" +
            selection + "<user><id>7</id></user></request></SOAP:Body></SOAP:Envelope>",
        &request, error);
    const ListSelection& s = request.selection;
    return read ? std::to_string(s.firstMatch) + " " + std::to_string(s.maximumMatches) + " " +
                      std::to_string(s.maximumCharacters)
                : "unread";
  };
  std::string error;
  EXPECT_EQ(list("", &error), "1 -1 -1");
  EXPECT_EQ(list("<maximum_matches>0</maximum_matches><first_match>-4</first_match>"
                 "<maximum_characters>0</maximum_characters>",
                 &error),
            "1 -1 -1");
  EXPECT_EQ(list("<maximum_matches>50</maximum_matches><first_match> 51\n</first_match>"
                 "<maximum_characters>2147483647</maximum_characters>",
                 &error),
            "51 50 2147483647");
  for (const char* bad : {"2147483648", "-2147483649", "1.5", "0x10", "+-1", "-", "1 2", "٣"}) {
    EXPECT_EQ(list(std::string("<first_match>") + bad + "</first_match>", &error), "unread");
    EXPECT_EQ(error,
              std::string("The first_match \"") + bad + "\" is not a 32-bit decimal integer.");
  }
}

}  // namespace
}  // namespace dks
