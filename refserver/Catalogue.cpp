#include "refserver/Catalogue.h"

#include "platform/Failure.h"
#include "platform/SqliteDatabase.h"
#include "platform/TimeText.h"

namespace dks {
namespace {

// Every statement is one of these constants; the statement cache is keyed by their address.
// AUTOINCREMENT keeps the ids of deleted documents from being given out again.
constexpr const char* kCreateSchema = R"(
  CREATE TABLE IF NOT EXISTS documents(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    user INTEGER NOT NULL,
    title TEXT NOT NULL,
    location TEXT NOT NULL,
    last_modified TEXT NOT NULL,
    size INTEGER NOT NULL DEFAULT 0,
    usage INTEGER NOT NULL DEFAULT 0
  );
  CREATE INDEX IF NOT EXISTS documents_by_user ON documents(user, id);
  CREATE INDEX IF NOT EXISTS documents_by_location ON documents(user, location);
)";
constexpr const char* kSchemaState =
    "SELECT (SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = 'documents'), "
    "(SELECT count(*) FROM sqlite_schema)";
constexpr const char* kFind =
    "SELECT id, user, title, location, last_modified, size, usage FROM documents "
    "WHERE id = ?1 AND user = ?2";
constexpr const char* kIdsAt =
    "SELECT id FROM documents WHERE user = ?1 AND location = ?2 ORDER BY id";
constexpr const char* kCreate =
    "INSERT INTO documents(user, title, location, last_modified) VALUES(?1, ?2, ?3, ?4)";
constexpr const char* kResave =
    "UPDATE documents SET title = ?2, location = ?3, last_modified = ?4 WHERE id = ?1";
constexpr const char* kMove = "UPDATE documents SET location = ?2 WHERE id = ?1";
constexpr const char* kRaiseUsage = "UPDATE documents SET usage = usage + 1 WHERE id = ?1";
constexpr const char* kRemove = "DELETE FROM documents WHERE id = ?1";
constexpr const char* kPage =
    "SELECT id, user, title, location, last_modified, size, usage FROM documents "
    "WHERE user = ?1 ORDER BY id LIMIT ?3 OFFSET ?2";
constexpr const char* kPageAfter =
    "SELECT id, user, title, location, last_modified, size, usage FROM documents "
    "WHERE user = ?1 AND id > ?2 ORDER BY id LIMIT ?3";
constexpr const char* kDataVersion = "PRAGMA data_version";
constexpr const char* kAll =
    "SELECT id, user, title, location, last_modified, size, usage FROM documents "
    "ORDER BY user, id";

// The row in hand of kFind, kPage, kPageAfter or kAll, which select the columns in this order.
CatalogueDocument documentOf(SqliteDatabase::Statement& row) {
  return {row.integer(0), static_cast<int32_t>(row.integer(1)),
          row.text(2),    row.text(3),
          row.text(4),    row.integer(5),
          row.integer(6)};
}

}  // namespace

Catalogue::Catalogue(const std::string& path, Clock clock)
    : db_(std::make_unique<SqliteDatabase>(path)), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return std::time(nullptr); };
  db_->transaction([&] {
    SqliteDatabase::Statement state = db_->statement(kSchemaState);
    state.step();
    if (state.integer(0) == 0 && state.integer(1) > 0) {
      Failure base = Failure::pathFileAccessError();
      throw Failure(base.number(), base.description() + " (" + path + " holds no catalogue)");
    }
    db_->execute(kCreateSchema);
  });
}

Catalogue::~Catalogue() = default;

std::string Catalogue::now() const {
  return timeText(clock_());
}

void Catalogue::transaction(const std::function<void()>& changes) {
  try {
    db_->transaction(changes);
  } catch (...) {
    lastPage_.reset();
    throw;
  }
}

int64_t Catalogue::dataVersion() {
  SqliteDatabase::Statement query = db_->statement(kDataVersion);
  query.step();
  return query.integer(0);
}

std::optional<int64_t> Catalogue::idBefore(int32_t user, int64_t skip, int64_t version) const {
  if (!lastPage_ || lastPage_->user != user || lastPage_->version != version) return std::nullopt;
  const int64_t offset = skip - lastPage_->skip;
  if (offset < 1 || offset > static_cast<int64_t>(lastPage_->ids.size())) return std::nullopt;
  return lastPage_->ids[static_cast<size_t>(offset - 1)];
}

std::optional<CatalogueDocument> Catalogue::find(int32_t user, int64_t id) {
  SqliteDatabase::Statement query = db_->statement(kFind);
  query.bind(id).bind(int64_t{user});
  if (!query.step()) return std::nullopt;
  return documentOf(query);
}

std::vector<int64_t> Catalogue::idsAt(int32_t user, std::string_view location) {
  std::vector<int64_t> ids;
  SqliteDatabase::Statement query = db_->statement(kIdsAt);
  query.bind(int64_t{user}).bind(location);
  while (query.step()) ids.push_back(query.integer(0));
  return ids;
}

int64_t Catalogue::create(int32_t user, std::string_view title, std::string_view location) {
  lastPage_.reset();
  db_->statement(kCreate).bind(int64_t{user}).bind(title).bind(location).bind(now()).run();
  return db_->lastInsertRowId();
}

void Catalogue::resave(int64_t id, std::string_view title, std::string_view location) {
  db_->statement(kResave).bind(id).bind(title).bind(location).bind(now()).run();
}

void Catalogue::move(int64_t id, std::string_view location) {
  db_->statement(kMove).bind(id).bind(location).run();
}

void Catalogue::raiseUsage(int64_t id) {
  db_->statement(kRaiseUsage).bind(id).run();
}

void Catalogue::remove(int64_t id) {
  lastPage_.reset();
  db_->statement(kRemove).bind(id).run();
}

std::vector<CatalogueDocument> Catalogue::documents(int32_t user, int64_t skip, int64_t limit) {
  const int64_t version = dataVersion();
  const std::optional<int64_t> after = idBefore(user, skip, version);
  std::vector<CatalogueDocument> page;
  SqliteDatabase::Statement query = db_->statement(after ? kPageAfter : kPage);
  // SQLite reads a negative LIMIT as no limit.
  query.bind(int64_t{user}).bind(after ? *after : skip).bind(limit < 0 ? int64_t{-1} : limit);
  while (query.step()) page.push_back(documentOf(query));

  PageIds read{user, version, skip, {}};
  read.ids.reserve(page.size());
  for (const CatalogueDocument& document : page) read.ids.push_back(document.id);
  lastPage_ = std::move(read);
  return page;
}

void Catalogue::forEachDocument(const std::function<void(const CatalogueDocument&)>& visit) {
  SqliteDatabase::Statement query = db_->statement(kAll);
  while (query.step()) visit(documentOf(query));
}

}  // namespace dks
