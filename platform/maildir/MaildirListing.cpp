#include "platform/maildir/MaildirListing.h"

#include <algorithm>

#include "platform/maildir/Directory.h"
#include "platform/maildir/MaildirNames.h"

namespace dks {

std::shared_ptr<MaildirListing> MaildirListing::list(const std::string& directory) {
  std::shared_ptr<MaildirListing> listing(new MaildirListing(directory));
  listing->read();
  return listing;
}

void MaildirListing::read() {
  if (directory_.empty()) return;
  // new/ first: a file moving to cur/ meanwhile is then seen twice rather than not at all.
  for (bool inCur : {false, true}) {
    listDirectory(directory_ + (inCur ? "/cur" : "/new"), [&](std::string_view name,
                                                              EntryKind kind) {
      if (kind != EntryKind::kFile || name.front() == '.') return;
      slots_.push_back({static_cast<uint32_t>(names_.size()), static_cast<uint32_t>(name.size()),
                        static_cast<uint32_t>(uniqueName(name).size()), inCur});
      names_.append(name);
    });
  }
  // Of the files that share a unique name, the first is kept: the one in cur/.
  std::sort(slots_.begin(), slots_.end(), [&](const Slot& a, const Slot& b) {
    int order = uniqueOf(a).compare(uniqueOf(b));
    if (order != 0) return order < 0;
    if (a.inCur != b.inCur) return a.inCur;
    return nameOf(a) < nameOf(b);
  });
  auto sameMessage = [&](const Slot& a, const Slot& b) { return uniqueOf(a) == uniqueOf(b); };
  slots_.erase(std::unique(slots_.begin(), slots_.end(), sameMessage), slots_.end());
}

MessageFile MaildirListing::file(size_t index) const {
  const Slot& slot = slots_.at(index);
  return {std::string(nameOf(slot)), slot.inCur};
}

std::optional<MessageFile> MaildirListing::relocate(std::string_view unique) {
  if (!relisted_) {
    relisted_.reset(new MaildirListing(directory_));
    relisted_->read();
  }
  const auto& slots = relisted_->slots_;
  auto found = std::lower_bound(
      slots.begin(), slots.end(), unique,
      [&](const Slot& slot, std::string_view name) { return relisted_->uniqueOf(slot) < name; });
  if (found == slots.end() || relisted_->uniqueOf(*found) != unique) return std::nullopt;
  return relisted_->file(static_cast<size_t>(found - slots.begin()));
}

}  // namespace dks
