#include "automation/ObjectTable.h"

namespace dks::automation {

std::string ObjectTable::exportedPath(const std::shared_ptr<void>& object, std::type_index type,
                                      const std::string& className, const Exporter& exporter) {
  const ObjectKey key{object.get(), type};
  if (auto known = pathByObject_.find(key); known != pathByObject_.end()) {
    const Entry& entry = byPath_.at(known->second);
    // An ended object whose address a new one took is not that object.
    if (!entry.object.expired()) return known->second;
    retire(known->second);
  }
  std::string path =
      std::string(kObjectRoot) + "/" + className + "/" + std::to_string(nextNumber_++);
  auto exported = sdbus::createObject(connection_, path);
  auto bindings = exporter(*exported);
  exported->finishRegistration();
  byPath_.emplace(path, Entry{object, key, std::move(bindings), std::move(exported)});
  pathByObject_.emplace(key, path);
  return path;
}

std::shared_ptr<void> ObjectTable::findLive(const std::string& path, std::type_index type) const {
  auto found = byPath_.find(path);
  if (found == byPath_.end() || found->second.key.second != type) return nullptr;
  return found->second.object.lock();
}

void ObjectTable::retire(std::string path) {
  auto found = byPath_.find(path);
  pathByObject_.erase(found->second.key);
  retired_.push_back(std::move(found->second));
  byPath_.erase(found);
}

void ObjectTable::sweep() {
  std::vector<std::string> ended;
  for (const auto& [path, entry] : byPath_)
    if (entry.object.expired()) ended.push_back(path);
  for (const auto& path : ended) retire(path);
  retired_.clear();
}

}  // namespace dks::automation
