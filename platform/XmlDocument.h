// XmlDocument: the XML DOM document of the program, over pugixml. Requests are built element by
// element, serialised, parsed back and searched by element name, the way the server exchange
// needs it:
//
//   XmlDocument document;
//   XmlElement envelope = document.appendElement("SOAP:Envelope");   // a plain name
//   envelope.setAttribute("xmlns:SOAP", urn);                        // an ordinary attribute
//   envelope.appendElement("SOAP:Body").appendElement("request").setText("...");
//   std::string text = document.xml();
//
// Prefixed names are plain names: no namespace processing happens anywhere.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pugi {
class xml_document;
class xml_node;
struct xml_node_struct;
}  // namespace pugi

namespace dks {

/// An element of a document; a handle that stays valid while its document holds the element.
/// A default-constructed handle names no element: it converts to false, reads as "" and
/// ignores writes.
class XmlElement {
 public:
  XmlElement() = default;
  explicit operator bool() const noexcept { return node_ != nullptr; }

  /// The element's name as written ("SOAP:Body").
  std::string name() const;

  /// The text of every text node below the element, concatenated in document order.
  std::string text() const;

  /// Replaces the element's children by one text node holding `text` (by none for "").
  void setText(std::string_view text);

  /// The value of the attribute named exactly `name`; "" when the element has none.
  std::string attribute(std::string_view name) const;

  /// Adds the attribute, or replaces the value of one of that name.
  void setAttribute(std::string_view name, std::string_view value);

  /// Appends a new element named `name` as the last child and returns it.
  XmlElement appendElement(std::string_view name);

  /// The child elements, in document order.
  std::vector<XmlElement> childElements() const;

 private:
  friend class XmlDocument;
  explicit XmlElement(pugi::xml_node_struct* node) : node_(node) {}
  pugi::xml_node_struct* node_ = nullptr;
};

class XmlDocument {
 public:
  /// An empty document: no element, serialised as "".
  XmlDocument();
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  /// The document element; an empty handle when the document is empty.
  XmlElement documentElement() const;

  /// Makes a new element named `name` the document element. Throws Failure 5 when the
  /// document already has one.
  XmlElement appendElement(std::string_view name);

  /// The serialisation: no XML declaration, no indentation or line breaks of its own, attribute
  /// values in double quotes; an element without children is written as "<name/>". "" for an
  /// empty document.
  std::string xml() const;

  /// Replaces the content by the document parsed from the UTF-8 `text`. True when it parsed as
  /// a document with exactly one document element; otherwise False and the document is empty.
  /// Text nodes of white space only are dropped.
  bool loadXML(std::string_view text);

  /// Every element named exactly `name` (letter case counts), in document order.
  std::vector<XmlElement> getElementsByTagName(std::string_view name) const;

 private:
  std::unique_ptr<pugi::xml_document> document_;
};

}  // namespace dks
