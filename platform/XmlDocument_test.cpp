#include "platform/XmlDocument.h"

#include <gtest/gtest.h>

#include "platform/Failure.h"

namespace dks {
namespace {

std::vector<std::string> texts(const std::vector<XmlElement>& elements) {
  std::vector<std::string> result;
  for (const XmlElement& element : elements) result.push_back(element.text());
  return result;
}

TEST(XmlDocumentTest, ParsesOneDocumentElementAndSearchesByExactNameInDocumentOrder) {
  XmlDocument document;
  ASSERT_TRUE(document.loadXML(
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r:a>\n  <document><id>1</id>"
      "<x>a<b>b</b>c</x></document>\n  <Document><id>2</id></Document>"
      "<n><document><id>3</id></document></n></r:a>"));
  EXPECT_EQ(document.documentElement().name(), "r:a");
  EXPECT_EQ(texts(document.getElementsByTagName("id")), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(document.getElementsByTagName("document").size(), 2u);
  EXPECT_EQ(document.getElementsByTagName("x").at(0).text(), "abc");
  EXPECT_EQ(document.getElementsByTagName("document").at(0).childElements().size(), 2u);
  EXPECT_EQ(document.xml().substr(0, 20), "<r:a><document><id>1");
}

TEST(XmlDocumentTest, TextThatIsNotOneWellFormedDocumentLeavesItEmpty) {
  for (const char* text : {"Not Found", "<a>1</a><b/>", "<html><body><hr></body></html>", ""}) {
    XmlDocument document;
    ASSERT_TRUE(document.loadXML("<old/>"));
    EXPECT_FALSE(document.loadXML(text)) << text;
    EXPECT_EQ(document.xml(), "") << text;
    EXPECT_FALSE(document.documentElement()) << text;
    EXPECT_TRUE(document.getElementsByTagName("a").empty()) << text;
  }
}

TEST(XmlDocumentTest, BuildsPrefixedNamesAndSerialisesWithoutDeclarationOrIndentation) {
  XmlDocument document;
  XmlElement root = document.appendElement("SOAP:Envelope");
  root.setAttribute("xmlns:SOAP", "urn:\"x\"");
  XmlElement value = root.appendElement("v");
  value.setText("1 < 2 & 3");
  value.setText("a\"b");
  root.appendElement("empty").setText("");
  EXPECT_EQ(document.xml(),
            "<SOAP:Envelope xmlns:SOAP=\"urn:&quot;x&quot;\"><v>a\"b</v><empty/></SOAP:Envelope>");
  EXPECT_THROW(document.appendElement("second"), Failure);
}

}  // namespace
}  // namespace dks
