// Catalogue: the documents that the reference server holds, per user, in one SQLite table.
// Document ids are assigned by the catalogue, from 1 up, and never given out twice, also after
// the document that had one was deleted; so a client's stale id can never name a newer
// document.
//
//   Catalogue catalogue(path);
//   catalogue.transaction([&] {
//     int64_t id = catalogue.create(7, "Inbox\\Hello", "dkemail://AB12");
//     catalogue.raiseUsage(id);
//   });
//
// Every member throws Failure when the database fails (see platform/SqliteDatabase.h).
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dks {

class SqliteDatabase;

/// One document as the catalogue holds it.
struct CatalogueDocument {
  int64_t id = 0;
  int32_t user = 0;
  std::string title;
  std::string location;      ///< as it came in the request, with its "dkemail://" scheme
  std::string lastModified;  ///< "dd/mm/yyyy hh:nn:ss", the server's local time when saved
  int64_t size = 0;          ///< 0: the save request carries no size
  int64_t usage = 0;         ///< how often the document was reported as used
};

class Catalogue {
 public:
  /// The source of "now" for last_modified; tests give fixed times.
  using Clock = std::function<std::time_t()>;

  /// Opens the catalogue at `path`, creating missing folders, the file and its table;
  /// ":memory:" opens a private in-memory catalogue. An empty `clock` reads the system clock.
  /// Throws Failure 75 "Path/File access error (PATH holds no catalogue)" for a database that
  /// holds tables of another kind, which it leaves as it is.
  explicit Catalogue(const std::string& path, Clock clock = {});
  ~Catalogue();
  Catalogue(const Catalogue&) = delete;
  Catalogue& operator=(const Catalogue&) = delete;

  /// Runs `changes` as one transaction: all of its changes are stored, or, when it throws, none
  /// are and the exception passes on.
  void transaction(const std::function<void()>& changes);

  /// The document `id` when it belongs to `user`.
  std::optional<CatalogueDocument> find(int32_t user, int64_t id);

  /// The ids of the user's documents whose location is exactly `location`, in id order.
  std::vector<int64_t> idsAt(int32_t user, std::string_view location);

  /// Adds a document of `user` with a fresh id, dated now, size 0 and usage 0; its id.
  int64_t create(int32_t user, std::string_view title, std::string_view location);

  /// Replaces the title and location of document `id` and dates it now.
  void resave(int64_t id, std::string_view title, std::string_view location);

  /// Moves document `id` to `location`; its date stays.
  void move(int64_t id, std::string_view location);

  /// Raises the usage of document `id` by 1.
  void raiseUsage(int64_t id);

  /// Removes document `id`.
  void remove(int64_t id);

  /// The user's documents in id order, leaving out the first `skip`, at most `limit` of them
  /// (all for a negative `limit`). A call whose `skip` falls within or right behind the page
  /// the previous call read, with the catalogue unchanged since, starts behind the id found
  /// there instead of counting the documents before it, so paging through a user's documents
  /// costs what the pages hold.
  std::vector<CatalogueDocument> documents(int32_t user, int64_t skip, int64_t limit);

  /// Calls `visit` for every document, ordered by user, then id.
  void forEachDocument(const std::function<void(const CatalogueDocument&)>& visit);

 private:
  // The ids of the page documents() read last: ids[i] is the user's document at position
  // skip + i, as long as the catalogue holds what it held then (version).
  struct PageIds {
    int32_t user = 0;
    int64_t version = 0;
    int64_t skip = 0;
    std::vector<int64_t> ids;
  };

  std::string now() const;
  // SQLite's data_version: it changes when another connection commits.
  int64_t dataVersion();
  // The id the user's documents from position `skip` on follow, when the last page tells.
  std::optional<int64_t> idBefore(int32_t user, int64_t skip, int64_t version) const;

  std::unique_ptr<SqliteDatabase> db_;
  Clock clock_;
  // Forgotten with every change of this connection that adds or removes a document, and
  // with every transaction that fails, since its changes are rolled back.
  std::optional<PageIds> lastPage_;
};

}  // namespace dks
