#include "zep/character_store.h"

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <span>
#include <system_error>

#include "gfx/little_endian.h"
#include "sys/files.h"
#include "zep/region_format.h"

namespace fs = std::filesystem;

namespace player {

namespace {

// "ZEPk" in the header's application id marks our sets among SQLite files;
// the schema's version is the user version.
constexpr int32_t kApplicationId = 0x5A45506B;
constexpr int32_t kSchemaVersion = 1;
// Small pages: a record averages under 2 KB, and a large page's unused tail
// would be most of the file.
constexpr int kPageSize = 1024;
// A record's region files, each as its length (4 bytes, little-endian) and
// its bytes. No real record comes near the limit, which stops a foreign
// file's huge values before they are read.
constexpr size_t kLengthSize = 4;
constexpr int kMaxValueBytes = static_cast<int>(rgn::kMaxRegionFiles *
                                                (kLengthSize + rgn::kMaxFileSize));
// A reader may meet a file that another program is writing in place.
constexpr int kBusyTimeoutMs = 2000;

constexpr char kSchema[] =
    "CREATE TABLE characters("
    " character TEXT PRIMARY KEY NOT NULL,"
    " grade INTEGER,"
    " strokes INTEGER NOT NULL,"
    " script BLOB NOT NULL,"
    " regions BLOB NOT NULL);"
    // A table of its own, so that a set written before it reads as before.
    "CREATE TABLE stroke_paths("
    " character TEXT PRIMARY KEY NOT NULL,"
    " paths BLOB NOT NULL)";

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

std::string Printable(const fs::path& path) {
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

std::string ReadFailure(const fs::path& store, const std::string& reason) {
    return "cannot read the kanji set '" + Printable(store) + "': " + reason;
}

std::string Reason(sqlite3* db, int code) {
    return db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
}

// A foreign file's schema can hold triggers and views: nothing of it runs.
void Harden(sqlite3* db) {
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
}

Database Open(const std::string& name, int flags, std::string& reason) {
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(name.c_str(), &raw, flags, nullptr);
    Database db(raw);
    if (code != SQLITE_OK) {
        reason = Reason(db.get(), code);
        return nullptr;
    }
    Harden(db.get());
    return db;
}

Statement Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    return Statement(raw);
}

std::optional<int64_t> PragmaValue(sqlite3* db, const char* sql) {
    const Statement statement = Prepare(db, sql);
    if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW) return std::nullopt;
    return sqlite3_column_int64(statement.get(), 0);
}

// The set opened for reading, or nothing with the reason; a file of another
// program, or of a later schema, is no set of ours.
Database OpenSet(const fs::path& store, std::string& reason) {
    std::error_code ec;
    if (!sys::CheckPath(store, ec)) {
        reason = ec.message();
        return nullptr;
    }
    Database db = Open(Printable(store), SQLITE_OPEN_READONLY, reason);
    if (!db) return nullptr;
    const std::optional<int64_t> id = PragmaValue(db.get(), "PRAGMA application_id");
    if (!id) {
        reason = sqlite3_errmsg(db.get());
        return nullptr;
    }
    if (*id != kApplicationId ||
        PragmaValue(db.get(), "PRAGMA user_version") != kSchemaVersion) {
        reason = "not a kanji set of this program";
        return nullptr;
    }
    return db;
}

// OpenSet for a reader that reports: error is empty, or says why the set
// cannot be read, naming it.
Database OpenToRead(const fs::path& store, std::string& error) {
    error.clear();
    std::string reason;
    Database db = OpenSet(store, reason);
    if (!db) error = ReadFailure(store, reason);
    return db;
}

std::span<const uint8_t> ColumnBytes(sqlite3_stmt* statement, int column) {
    const void* data = sqlite3_column_blob(statement, column);
    const int size = sqlite3_column_bytes(statement, column);
    if (!data || size <= 0) return {};
    return {static_cast<const uint8_t*>(data), static_cast<size_t>(size)};
}

std::string PackRegions(const std::vector<std::string>& regions) {
    std::vector<uint8_t> packed;
    for (const std::string& file : regions) {
        gfx::PutLe32(packed, static_cast<uint32_t>(file.size()));
        packed.insert(packed.end(), file.begin(), file.end());
    }
    return {packed.begin(), packed.end()};
}

// The region files of a record, or nothing for a damaged one: every length
// within the format and the bytes, the count that of the strokes.
std::optional<std::vector<std::string>> UnpackRegions(std::span<const uint8_t> packed,
                                                      int64_t strokes) {
    std::vector<std::string> regions;
    size_t at = 0;
    while (at < packed.size() && regions.size() < rgn::kMaxRegionFiles) {
        if (packed.size() - at < kLengthSize) return std::nullopt;
        const size_t length = gfx::Le32(packed, at);
        at += kLengthSize;
        if (length > rgn::kMaxFileSize || length > packed.size() - at) return std::nullopt;
        regions.emplace_back(reinterpret_cast<const char*>(packed.data() + at), length);
        at += length;
    }
    if (at != packed.size() || static_cast<int64_t>(regions.size()) != strokes) {
        return std::nullopt;
    }
    return regions;
}

std::optional<StoredCharacter> RecordOf(sqlite3_stmt* row, const std::string& name) {
    const std::span<const uint8_t> script = ColumnBytes(row, 0);
    std::optional<std::vector<std::string>> regions =
        UnpackRegions(ColumnBytes(row, 1), sqlite3_column_int64(row, 2));
    if (!regions) return std::nullopt;
    StoredCharacter record{name, std::string(script.begin(), script.end()), std::move(*regions),
                           std::nullopt, {}};
    if (sqlite3_column_type(row, 3) == SQLITE_INTEGER) record.grade = sqlite3_column_int(row, 3);
    return record;
}

// Runs one statement that returns no rows.
bool Execute(sqlite3* db, const char* sql, std::string& reason) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    reason = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    return false;
}

bool Insert(sqlite3_stmt* insert, const StoredCharacter& c) {
    const std::string regions = PackRegions(c.regions);
    sqlite3_reset(insert);
    sqlite3_bind_text(insert, 1, c.name.data(), static_cast<int>(c.name.size()), SQLITE_STATIC);
    if (c.grade) {
        sqlite3_bind_int(insert, 2, *c.grade);
    } else {
        sqlite3_bind_null(insert, 2);
    }
    sqlite3_bind_int64(insert, 3, static_cast<int64_t>(c.regions.size()));
    sqlite3_bind_blob(insert, 4, c.script.data(), static_cast<int>(c.script.size()),
                      SQLITE_STATIC);
    sqlite3_bind_blob(insert, 5, regions.data(), static_cast<int>(regions.size()),
                      SQLITE_TRANSIENT);
    return sqlite3_step(insert) == SQLITE_DONE;
}

bool InsertPaths(sqlite3_stmt* insert, const StoredCharacter& c) {
    if (c.stroke_paths.empty()) return true;
    sqlite3_reset(insert);
    sqlite3_bind_text(insert, 1, c.name.data(), static_cast<int>(c.name.size()), SQLITE_STATIC);
    sqlite3_bind_blob(insert, 2, c.stroke_paths.data(), static_cast<int>(c.stroke_paths.size()),
                      SQLITE_STATIC);
    return sqlite3_step(insert) == SQLITE_DONE;
}

// The whole set built in one transaction of a database in memory.
Database BuildInMemory(const std::vector<StoredCharacter>& characters, std::string& reason) {
    Database db = Open(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, reason);
    if (!db) return nullptr;
    const std::string header = "PRAGMA page_size=" + std::to_string(kPageSize) +
                               "; PRAGMA application_id=" + std::to_string(kApplicationId) +
                               "; PRAGMA user_version=" + std::to_string(kSchemaVersion) + ";";
    if (!Execute(db.get(), header.c_str(), reason) || !Execute(db.get(), "BEGIN", reason) ||
        !Execute(db.get(), kSchema, reason)) {
        return nullptr;
    }
    const Statement insert = Prepare(
        db.get(),
        "INSERT INTO characters(character, grade, strokes, script, regions) VALUES(?,?,?,?,?)");
    const Statement insert_paths =
        Prepare(db.get(), "INSERT INTO stroke_paths(character, paths) VALUES(?,?)");
    for (const StoredCharacter& c : characters) {
        if (!insert || !insert_paths || !Insert(insert.get(), c) ||
            !InsertPaths(insert_paths.get(), c)) {
            reason = "'" + c.name + "': " + sqlite3_errmsg(db.get());
            return nullptr;
        }
    }
    if (!Execute(db.get(), "COMMIT", reason)) return nullptr;
    return db;
}

}  // namespace

std::optional<StoredCharacter> ReadStoredCharacter(const fs::path& store, const std::string& name,
                                                   std::string& error) {
    const Database db = OpenToRead(store, error);
    if (!db) return std::nullopt;
    const Statement query = Prepare(
        db.get(), "SELECT script, regions, strokes, grade FROM characters WHERE character = ?");
    if (!query) {
        error = ReadFailure(store, sqlite3_errmsg(db.get()));
        return std::nullopt;
    }
    sqlite3_bind_text(query.get(), 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    const int step = sqlite3_step(query.get());
    if (step == SQLITE_DONE) return std::nullopt;
    std::optional<StoredCharacter> record;
    if (step == SQLITE_ROW) record = RecordOf(query.get(), name);
    if (!record) {
        error = ReadFailure(store, step == SQLITE_ROW ? "the record of '" + name + "' is damaged"
                                                      : sqlite3_errmsg(db.get()));
    }
    return record;
}

bool StoreHolds(const fs::path& store, const std::string& name) {
    std::string reason;
    const Database db = OpenSet(store, reason);
    if (!db) return false;
    const Statement query = Prepare(db.get(), "SELECT 1 FROM characters WHERE character = ?");
    if (!query) return false;
    sqlite3_bind_text(query.get(), 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    return sqlite3_step(query.get()) == SQLITE_ROW;
}

std::optional<std::vector<StoredStrokePaths>> ReadAllStrokePaths(const fs::path& store,
                                                                std::string& error) {
    const Database db = OpenToRead(store, error);
    if (!db) return std::nullopt;
    const Statement query =
        Prepare(db.get(), "SELECT character, paths FROM stroke_paths ORDER BY character");
    if (!query) {
        error = ReadFailure(store, "it keeps no stroke paths; import the set again");
        return std::nullopt;
    }
    std::vector<StoredStrokePaths> all;
    int step;
    while ((step = sqlite3_step(query.get())) == SQLITE_ROW) {
        const unsigned char* name = sqlite3_column_text(query.get(), 0);
        const std::span<const uint8_t> paths = ColumnBytes(query.get(), 1);
        if (!name) continue;
        all.push_back({reinterpret_cast<const char*>(name), std::string(paths.begin(), paths.end())});
    }
    if (step != SQLITE_DONE) {
        error = ReadFailure(store, sqlite3_errmsg(db.get()));
        return std::nullopt;
    }
    return all;
}

bool WriteCharacterStore(const fs::path& store, const std::vector<StoredCharacter>& characters,
                         std::string& error) {
    std::string reason;
    const Database db = BuildInMemory(characters, reason);
    sqlite3_int64 size = 0;
    unsigned char* bytes = db ? sqlite3_serialize(db.get(), "main", &size, 0) : nullptr;
    if (!bytes) {
        error = "cannot make the kanji set '" + Printable(store) + "': " +
                (reason.empty() ? "out of memory" : reason);
        return false;
    }
    const std::unique_ptr<unsigned char, decltype(&sqlite3_free)> owned(bytes, sqlite3_free);
    std::error_code ec;
    if (!sys::ReplaceFileContents(store, {bytes, static_cast<size_t>(size)}, ec)) {
        error = "cannot write '" + Printable(store) + "': " + ec.message();
        return false;
    }
    return true;
}

}  // namespace player
