// KeyedCollection: the ordered collection that every colX of the program builds on. Members
// count from 1 and may stand under a unique text key; keys that differ only in letter case are
// the same key. Removing the first member costs O(1), finding by position or key O(1).
//
// The public members record their own failures under the collection's class name (for example
// ("colItem", "Item")) and report them as an empty member; a colX whose Part passes failures to
// its caller instead (colError) exposes the throwing protected members.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <ranges>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "app/attempt.h"
#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/Variant.h"

namespace dks {

template <class T>
class KeyedCollection {
 public:
  using Member = std::shared_ptr<T>;

  /// The number of members.
  int32_t Count() const noexcept { return static_cast<int32_t>(entries_.size()); }

  /// The member at a position (from 1) or under a key. A position or key that names no member
  /// records (class, "Item") and gives an empty member.
  Member Item(const vntIndex& index) const {
    return attemptValue<Member>(className_, "Item", [&] { return at(index); });
  }

  /// Removes the member at a position or under a key. One that names no member records
  /// (class, "Remove") and changes nothing.
  void Remove(const vntIndex& index) {
    attempt(className_, "Remove", [&] { erase(index); });
  }

  /// The members in order, for iteration.
  auto NewEnum() const {
    return entries_ |
           std::views::transform([](const Entry& entry) -> const Member& { return entry.member; });
  }

  /// Empties the collection. True.
  bool pblnReset() noexcept {
    // The key index lets go first, so that the members end in the order they were added, next
    // to each other in memory, not in the scattered order of the index's buckets.
    keys_.clear();
    entries_.clear();
    return true;
  }

 protected:
  explicit KeyedCollection(std::string className) : className_(std::move(className)) {}

  const std::string& className() const noexcept { return className_; }

  /// Appends `member`, under `key` when that is not "". Throws Failure 457 when the key is
  /// already taken; nothing is appended then.
  void append(Member member, const std::string& key) {
    std::string folded = key.empty() ? std::string() : foldCase(key);
    if (!folded.empty() && !keys_.emplace(folded, member).second) throw Failure::duplicateKey();
    entries_.push_back({std::move(member), std::move(folded)});
  }

  /// Appends a new member, made by T's default constructor, under `key` with its spaces trimmed
  /// ("" for none), and returns it. Throws Failure 457 when the key is taken; nothing is
  /// appended then.
  Member appendNew(std::string_view key) {
    auto member = std::make_shared<T>();
    append(member, trimSpaces(key));
    return member;
  }

  /// The member at a position or under a key. Throws Failure 9 for a position outside 1 to
  /// Count, Failure 5 for a key that is not there or an Empty index.
  const Member& at(const vntIndex& index) const {
    if (const auto* key = std::get_if<std::string>(&index)) {
      auto found = keys_.find(foldCase(*key));
      if (found == keys_.end()) throw Failure::invalidCall();
      return found->second;
    }
    return entries_[positionOf(index)].member;
  }

  /// Removes the member at a position or under a key, with the failures of at().
  void erase(const vntIndex& index) {
    size_t position = positionOf(index);
    if (!entries_[position].key.empty()) keys_.erase(entries_[position].key);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
  }

 private:
  struct Entry {
    Member member;
    std::string key;  // folded; "" for a member without key
  };

  size_t positionOf(const vntIndex& index) const {
    if (const auto* key = std::get_if<std::string>(&index)) {
      std::string folded = foldCase(*key);
      for (size_t i = 0; !folded.empty() && i < entries_.size(); ++i)
        if (entries_[i].key == folded) return i;
      throw Failure::invalidCall();
    }
    if (isEmpty(index)) throw Failure::invalidCall();
    int32_t position = std::get<int32_t>(index);
    if (position < 1 || position > Count()) throw Failure::subscriptOutOfRange();
    return static_cast<size_t>(position - 1);
  }

  std::string className_;
  std::deque<Entry> entries_;
  std::unordered_map<std::string, Member> keys_;
};

}  // namespace dks
