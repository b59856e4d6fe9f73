#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace qarvon::refsvc {

class DatabaseError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class Statement
{
public:
    Statement(sqlite3 *db, std::string_view sql);
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    Statement &operator=(Statement &&) = delete;

    // Parameters count from 1, as in SQL.
    Statement &bind(int index, std::int64_t value);
    Statement &bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
    Statement &bind(int index, std::string_view value);
    Statement &bind(int index, const char *value) { return bind(index, std::string_view(value)); }
    Statement &bind(int index, const std::string &value)
    {
        return bind(index, std::string_view(value));
    }

    bool step(); // true while a row is there
    void run(); // for statements without rows
    void reset();

    std::int64_t integer(int column) const;
    std::string text(int column) const;

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

// One connection; callers serialise access (the server holds its lock).
class Database
{
public:
    explicit Database(const std::string &path);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void execute(std::string_view sql);
    Statement prepare(std::string_view sql) { return Statement(m_db, sql); }
    std::int64_t lastInsertId() const;
    int changes() const;

private:
    sqlite3 *m_db = nullptr;
};

// Rolls back unless committed, so a failed generation leaves no half catalogue.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &m_db;
    bool m_done = false;
};

} // namespace qarvon::refsvc
