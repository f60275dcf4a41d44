#include "automation/BusValue.h"

#include <utility>

namespace dks::automation {
namespace {

// An integer of any D-Bus type as a position; one beyond 32 bits names no position (0).
template <class Integer>
int32_t positionOf(const sdbus::Variant& value) {
  const auto number = value.get<Integer>();
  return std::in_range<int32_t>(number) ? static_cast<int32_t>(number) : 0;
}

}  // namespace

Variant BusValue<Variant>::read(sdbus::Message& message, ObjectTable&) {
  sdbus::Variant value;
  message >> value;
  const std::string type = value.peekValueType();
  if (type == "s") return value.get<std::string>();
  if (type == "i") return value.get<int32_t>();
  if (type == "y") return positionOf<uint8_t>(value);
  if (type == "n") return positionOf<int16_t>(value);
  if (type == "q") return positionOf<uint16_t>(value);
  if (type == "u") return positionOf<uint32_t>(value);
  if (type == "x") return positionOf<int64_t>(value);
  if (type == "t") return positionOf<uint64_t>(value);
  return Variant{};
}

void BusValue<std::shared_ptr<XmlDocument>>::write(sdbus::Message& message,
                                                    const std::shared_ptr<XmlDocument>& document,
                                                    ObjectTable&) {
  message << (document ? document->xml() : std::string());
}

}  // namespace dks::automation
