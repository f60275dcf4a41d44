#include "platform/maildir/MaildirStore.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/maildir/Directory.h"
#include "platform/maildir/MaildirNames.h"

namespace dks {
namespace {

constexpr const char* kTopPath = "/";
constexpr const char* kPlusPlusInbox = ".";
// How deep the fs layout looks below a directory without cur/ and new/ for folders further down.
constexpr int kMaxSearchDepth = 16;

bool isMaildir(const std::string& directory) {
  return isDirectory(directory + "/cur") || isDirectory(directory + "/new");
}

// A directory name of the fs layout that can be a folder.
bool isFsFolderName(std::string_view name) {
  return !name.empty() && name.front() != '.' && name != "cur" && name != "new" && name != "tmp";
}

// Whether `directory` is an fs folder: it holds cur/ or new/, or such a folder further down.
bool holdsFsFolder(const std::string& directory, int depth) {
  if (isMaildir(directory)) return true;
  if (depth >= kMaxSearchDepth) return false;
  bool found = false;
  listDirectory(directory, [&](std::string_view name, EntryKind kind) {
    if (!found && kind == EntryKind::kFolder && isFsFolderName(name))
      found = holdsFsFolder(directory + "/" + std::string(name), depth + 1);
  });
  return found;
}

// The levels of a Maildir++ folder path (".A.B" gives "A" and "B"); none for a path that is
// not one: no leading ".", an empty level, or a "/".
std::vector<std::string_view> plusPlusLevels(std::string_view path) {
  if (path.size() < 2 || path.front() != '.' || path.find('/') != std::string_view::npos) return {};
  std::vector<std::string_view> levels;
  for (size_t start = 1; start <= path.size();) {
    size_t end = std::min(path.find('.', start), path.size());
    if (end == start) return {};
    levels.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return levels;
}

std::string_view lastComponent(std::string_view path, char separator) {
  size_t at = path.find_last_of(separator);
  return at == std::string_view::npos ? path : path.substr(at + 1);
}

}  // namespace

MaildirStore::MaildirStore(std::string root, bool plusPlus, MaildirSettings settings)
    : root_(std::move(root)), plusPlus_(plusPlus), settings_(std::move(settings)) {}

std::shared_ptr<MaildirStore> MaildirStore::open(const MaildirSettings& settings) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(settings.root, error);
  if (settings.root.empty() || error || !isDirectory(absolute.string()))
    throw Failure::cannotCreateObject();
  std::string root = absolute.lexically_normal().string();
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  bool plusPlus = isMaildir(root);
  return std::shared_ptr<MaildirStore>(new MaildirStore(root, plusPlus, settings));
}

FolderPlace MaildirStore::top() const {
  return {kTopPath, settings_.storeName, ""};
}

FolderPlace MaildirStore::placeAt(const std::string& path) const {
  if (path == kTopPath) return top();
  if (plusPlus_ && path == kPlusPlusInbox) return {path, "Inbox", root_};
  std::string directory = root_ == "/" ? "/" + path : root_ + "/" + path;
  if (plusPlus_) return {path, decodeFolderName(lastComponent(path, '.')), directory};
  return {path, repairUtf8(lastComponent(path, '/')), directory};
}

std::optional<std::string> MaildirStore::parentPath(std::string_view path) const {
  if (path == kTopPath || path.empty()) return std::nullopt;
  if (!plusPlus_) {
    size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? kTopPath : std::string(path.substr(0, slash));
  }
  if (path == kPlusPlusInbox) return kTopPath;
  std::vector<std::string_view> levels = plusPlusLevels(path);
  if (levels.empty()) return std::nullopt;
  if (levels.size() == 1) return kTopPath;
  if (levels.size() == 2 && equalsIgnoreCase(levels[0], "INBOX")) return kPlusPlusInbox;
  return std::string(path.substr(0, path.find_last_of('.')));
}

// Every ".Name" directory with cur/ or new/ is a folder, and so is every level above it; the
// children of `path` are those whose parent it is.
std::vector<std::string> MaildirStore::childPathsPlusPlus(const std::string& path) const {
  std::set<std::string> children;
  if (path == kTopPath) children.insert(kPlusPlusInbox);
  listDirectory(root_, [&](std::string_view name, EntryKind kind) {
    if (kind != EntryKind::kFolder || plusPlusLevels(name).empty()) return;
    std::string folder(name);
    if (!isMaildir(root_ + "/" + folder)) return;
    for (std::optional<std::string> up = parentPath(folder); up; up = parentPath(folder)) {
      if (*up == path) {
        children.insert(folder);
        break;
      }
      folder = std::move(*up);
    }
  });
  return {children.begin(), children.end()};
}

std::vector<std::string> MaildirStore::childPathsFs(const std::string& path) const {
  std::string directory = path == kTopPath ? root_ : placeAt(path).directory;
  std::string prefix = path == kTopPath ? "" : path + "/";
  std::vector<std::string> children;
  listDirectory(directory, [&](std::string_view name, EntryKind kind) {
    if (kind != EntryKind::kFolder || !isFsFolderName(name)) return;
    if (holdsFsFolder(directory + "/" + std::string(name), 1))
      children.push_back(prefix + std::string(name));
  });
  return children;
}

std::vector<FolderPlace> MaildirStore::children(const FolderPlace& folder) const {
  std::vector<FolderPlace> places;
  for (const std::string& path :
       plusPlus_ ? childPathsPlusPlus(folder.path) : childPathsFs(folder.path))
    places.push_back(placeAt(path));
  std::vector<std::pair<std::string, size_t>> order;
  for (size_t i = 0; i < places.size(); ++i) order.emplace_back(foldCase(places[i].name), i);
  std::sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    return places[a.second].path < places[b.second].path;
  });
  std::vector<FolderPlace> sorted;
  sorted.reserve(places.size());
  for (const auto& entry : order) sorted.push_back(std::move(places[entry.second]));
  return sorted;
}

std::optional<FolderPlace> MaildirStore::parent(const FolderPlace& folder) const {
  std::optional<std::string> path = parentPath(folder.path);
  if (!path) return std::nullopt;
  return placeAt(*path);
}

std::optional<FolderPlace> MaildirStore::find(std::string_view path) const {
  if (path == kTopPath) return top();
  std::optional<std::string> up = parentPath(path);
  if (!up) return std::nullopt;
  std::optional<FolderPlace> parentFolder = find(*up);
  if (!parentFolder) return std::nullopt;
  std::vector<std::string> siblings = plusPlus_ ? childPathsPlusPlus(*up) : childPathsFs(*up);
  if (std::find(siblings.begin(), siblings.end(), path) == siblings.end()) return std::nullopt;
  return placeAt(std::string(path));
}

std::optional<FolderPlace> MaildirStore::inbox() const {
  if (plusPlus_) return placeAt(kPlusPlusInbox);
  for (FolderPlace& folder : children(top()))
    if (equalsIgnoreCase(folder.name, "Inbox")) return std::move(folder);
  return std::nullopt;
}

std::optional<FolderPlace> MaildirStore::sentItems() const {
  std::vector<FolderPlace> folders = children(top());
  for (const std::string& name : settings_.sentFolderNames)
    for (FolderPlace& folder : folders)
      if (equalsIgnoreCase(folder.name, name)) return std::move(folder);
  return std::nullopt;
}

}  // namespace dks
