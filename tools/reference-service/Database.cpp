#include "Database.h"

#include <sqlite3.h>

namespace qarvon::refsvc {

namespace {

[[noreturn]] void Fail(sqlite3 *db, const std::string &what)
{
    throw DatabaseError(what + ": " + (db ? sqlite3_errmsg(db) : "no database"));
}

} // namespace

Statement::Statement(sqlite3 *db, std::string_view sql)
    : m_db(db)
{
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_stmt, nullptr)
        != SQLITE_OK)
        Fail(db, "prepare " + std::string(sql));
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept
    : m_db(other.m_db)
    , m_stmt(other.m_stmt)
{
    other.m_stmt = nullptr;
}

Statement &Statement::bind(int index, std::int64_t value)
{
    if (sqlite3_bind_int64(m_stmt, index, value) != SQLITE_OK)
        Fail(m_db, "bind");
    return *this;
}

Statement &Statement::bind(int index, std::string_view value)
{
    if (sqlite3_bind_text(m_stmt, index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT)
        != SQLITE_OK)
        Fail(m_db, "bind");
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    Fail(m_db, "step");
}

void Statement::run()
{
    while (step()) { }
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

std::int64_t Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

std::string Statement::text(int column) const
{
    const auto *p = sqlite3_column_text(m_stmt, column);
    if (!p)
        return {};
    return std::string(reinterpret_cast<const char *>(p),
                       static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column)));
}

Database::Database(const std::string &path)
{
    if (sqlite3_open_v2(path.c_str(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr)
        != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DatabaseError("open " + path + ": " + message);
    }
    sqlite3_busy_timeout(m_db, 5000);
    execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
}

Database::~Database()
{
    sqlite3_close(m_db);
}

void Database::execute(std::string_view sql)
{
    const std::string text(sql);
    char *error = nullptr;
    if (sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw DatabaseError("execute: " + message);
    }
}

std::int64_t Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int Database::changes() const
{
    return sqlite3_changes(m_db);
}

Transaction::Transaction(Database &db)
    : m_db(db)
{
    m_db.execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_db.execute("ROLLBACK");
        } catch (const DatabaseError &) {
            // Nothing left to undo.
        }
    }
}

void Transaction::commit()
{
    m_db.execute("COMMIT");
    m_done = true;
}

} // namespace qarvon::refsvc
