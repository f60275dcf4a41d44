#include "platform/XmlDocument.h"

#include <pugixml.hpp>

#include <string>

#include "platform/Failure.h"

namespace dks {
namespace {

std::string textOf(const pugi::xml_node& node) {
  std::string text;
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
      text += child.value();
    } else if (child.type() == pugi::node_element) {
      text += textOf(child);
    }
  }
  return text;
}

void collectElements(const pugi::xml_node& node, std::string_view name,
                     std::vector<pugi::xml_node>& found) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    if (name == child.name()) found.push_back(child);
    collectElements(child, name, found);
  }
}

// Appends what pugixml writes to one text, with no stream and no second copy between: a page of
// a listing is over 100 KiB.
class TextWriter final : public pugi::xml_writer {
 public:
  explicit TextWriter(std::string& text) : text_(text) {}
  void write(const void* data, size_t size) override {
    text_.append(static_cast<const char*>(data), size);
  }

 private:
  std::string& text_;
};

size_t elementCount(const pugi::xml_node& node) {
  size_t count = 0;
  for (pugi::xml_node child : node.children())
    if (child.type() == pugi::node_element) ++count;
  return count;
}

}  // namespace

std::string XmlElement::name() const {
  return pugi::xml_node(node_).name();
}

std::string XmlElement::text() const {
  return textOf(pugi::xml_node(node_));
}

void XmlElement::setText(std::string_view text) {
  pugi::xml_node node(node_);
  if (!node) return;
  while (node.first_child()) node.remove_child(node.first_child());
  if (!text.empty()) node.append_child(pugi::node_pcdata).set_value(std::string(text).c_str());
}

std::string XmlElement::attribute(std::string_view name) const {
  return pugi::xml_node(node_).attribute(std::string(name).c_str()).value();
}

void XmlElement::setAttribute(std::string_view name, std::string_view value) {
  pugi::xml_node node(node_);
  if (!node) return;
  const std::string key(name);
  pugi::xml_attribute attribute = node.attribute(key.c_str());
  if (!attribute) attribute = node.append_attribute(key.c_str());
  attribute.set_value(std::string(value).c_str());
}

XmlElement XmlElement::appendElement(std::string_view name) {
  pugi::xml_node node(node_);
  if (!node) return {};
  return XmlElement(node.append_child(std::string(name).c_str()).internal_object());
}

std::vector<XmlElement> XmlElement::childElements() const {
  std::vector<XmlElement> children;
  for (pugi::xml_node child : pugi::xml_node(node_).children())
    if (child.type() == pugi::node_element) children.push_back(XmlElement(child.internal_object()));
  return children;
}

XmlDocument::XmlDocument() : document_(std::make_unique<pugi::xml_document>()) {}

XmlDocument::~XmlDocument() = default;

XmlElement XmlDocument::documentElement() const {
  return XmlElement(document_->document_element().internal_object());
}

XmlElement XmlDocument::appendElement(std::string_view name) {
  if (document_->document_element()) throw Failure::invalidCall();
  return XmlElement(document_->append_child(std::string(name).c_str()).internal_object());
}

std::string XmlDocument::xml() const {
  std::string text;
  TextWriter writer(text);
  document_->save(writer, "", pugi::format_raw | pugi::format_no_declaration);
  return text;
}

bool XmlDocument::loadXML(std::string_view text) {
  pugi::xml_parse_result result =
      document_->load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
  if (result && elementCount(*document_) == 1) return true;
  document_->reset();
  return false;
}

std::vector<XmlElement> XmlDocument::getElementsByTagName(std::string_view name) const {
  std::vector<pugi::xml_node> nodes;
  collectElements(*document_, name, nodes);
  std::vector<XmlElement> elements;
  elements.reserve(nodes.size());
  for (const pugi::xml_node& node : nodes) elements.push_back(XmlElement(node.internal_object()));
  return elements;
}

}  // namespace dks
