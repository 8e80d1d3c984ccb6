#pragma once
// The storage engine: question tables kept as SQLite database files, reached through a
// table object with a cursor, an edit buffer and event hooks, plus a small local SQL query.
// Every failure raises EngineError with a message that says what went wrong.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tovek {

class EngineError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Thrown by a hook (or a guard) to end the calling command silently, without a message.
class Abort : public std::exception
{
public:
    const char* what() const noexcept override { return "Abort"; }
};

enum class FieldType { Float, Boolean, FmtMemo, String };

struct FieldDef
{
    std::string name;
    FieldType type = FieldType::String;
    int size = 0;
    bool required = false;
};

struct IndexDef
{
    std::string name; // empty: the primary index
    std::string fields;
    bool primary = true;
    bool unique = true;
};

// An untyped field value; monostate is the empty (NULL) state.
using Value = std::variant<std::monostate, double, bool, std::string>;

inline bool isEmpty(const Value& v) { return std::holds_alternative<std::monostate>(v); }

// Creates an empty table of the given layout as a new database file at path.
// An existing file at path is an error (callers check first).
void createTable(const std::string& path, const std::vector<FieldDef>& fields, const IndexDef& index);

// The declared layout of the table in an existing file.
std::vector<FieldDef> readLayout(const std::string& path);

// Removes a table file and whatever files the engine keeps beside it.
void deleteTableFile(const std::string& path);

// Resolves a table reference: a full (absolute) path wins, otherwise it names a file in directory.
std::string resolveTablePath(const std::string& directory, const std::string& tableName);

enum class TableState { Inactive, Browse, Edit, Insert };

class Table
{
public:
    Table();
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    void setDirectory(const std::string& dir) { m_directory = dir; }
    void setTableName(const std::string& name) { m_tableName = name; }
    const std::string& directory() const { return m_directory; }
    const std::string& tableName() const { return m_tableName; }
    std::string path() const { return resolveTablePath(m_directory, m_tableName); }

    void open();
    // Closes the table; an unposted edit is dropped.
    void close() noexcept;
    bool isOpen() const { return m_db != nullptr; }
    TableState state() const { return m_state; }

    // Filter "AKTIF = TRUE": a switch of the table object, kept across close and open.
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    // Cursor over the visible records in ascending SORUNO. Every move posts a pending edit first.
    void first();
    void next();
    void prior();
    void last();
    void moveBy(int distance);
    void moveTo(int position);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmptyTable() const { return m_keys.empty(); }
    int recordCount() const { return static_cast<int>(m_keys.size()); }
    // Position of the current record among the visible ones, from 0; -1 when there is none.
    int position() const { return m_keys.empty() ? -1 : m_pos; }
    // Cheap read of the key and flag of a visible record without moving (for list views).
    double keyAt(int position) const { return m_keys.at(position); }
    Value activeAt(int position) const;

    void append(); // same as insert: records are kept in key order
    void insert();
    void edit();
    void post();
    void cancel();
    void remove();

    bool findKey(double key);
    bool findKey(const std::string& decimalText);

    const std::vector<FieldDef>& fields() const { return m_fields; }
    bool hasField(const std::string& name) const { return fieldIndex(name) >= 0; }

    Value value(const std::string& field) const;
    std::string asText(const std::string& field) const;
    long long asInteger(const std::string& field) const;
    bool asBoolean(const std::string& field) const;
    void setValue(const std::string& field, const Value& v);
    void setInteger(const std::string& field, long long v) { setValue(field, static_cast<double>(v)); }
    void setBoolean(const std::string& field, bool v) { setValue(field, v); }
    void setText(const std::string& field, const std::string& v) { setValue(field, v); }
    // True when the edit buffer differs from the stored record (or the record is new).
    bool modified() const;

    // Groups many writes into one atomic transaction; posts inside it are committed together.
    void beginTransaction();
    void commit();
    void rollback() noexcept;
    bool inTransaction() const { return m_transactionDepth > 0; }

    // Hooks. beforeInsert and beforeDelete may throw Abort to refuse silently.
    std::function<void()> beforeInsert;
    std::function<void()> beforeDelete;
    std::function<void()> onNewRecord;
    std::function<void()> afterDelete;
    std::function<void()> afterScroll;
    // Called whenever the record data or state changes without a move (edit, post, cancel, setValue).
    std::function<void()> dataChanged;

private:
    int fieldIndex(const std::string& name) const;
    int requireField(const std::string& name) const;
    void ensureOpen() const;
    const std::vector<Value>& currentRow() const;
    void loadKeys();
    void setPosition(int pos);
    void checkBrowse();
    const FieldDef& fieldAt(const std::string& name) const;
    void exec(const std::string& sql);
    void raise(const std::string& what) const;
    void invalidateCache() const;
    void postInsert();
    void postEdit();
    int lowerBound(double key) const;
    std::string selectList() const;
    std::string visibleCondition() const;
    void notifyData() const;

    std::string m_directory;
    std::string m_tableName;
    sqlite3* m_db = nullptr;
    std::vector<FieldDef> m_fields;
    int m_keyField = -1;
    int m_activeField = -1;
    bool m_filtered = false;
    TableState m_state = TableState::Inactive;
    std::vector<double> m_keys;          // visible records in key order
    std::vector<signed char> m_active;   // their AKTIF: -1 empty, 0 false, 1 true
    int m_pos = 0;
    bool m_eof = true;
    bool m_bof = true;
    int m_transactionDepth = 0;
    int m_prevPos = 0;                   // where an insert started, for cancel

    // Stored rows around the cursor, read a chunk at a time so that walks cost one query per chunk.
    mutable std::vector<std::vector<Value>> m_cache;
    mutable int m_cacheStart = -1;
    mutable sqlite3_stmt* m_rowQuery = nullptr; // prepared once per open and filter state
    // Writing statements, prepared once per open; a bulk write reuses them for every record.
    std::map<std::string, sqlite3_stmt*> m_writeStatements;
    sqlite3_stmt* writeStatement(const std::string& sql);
    // Pending changes of the current record, per field; unset fields read from the stored row.
    std::vector<std::optional<Value>> m_changes;
};

// Local SQL against a table file: the statement names the table in double quotes
// (a full path, or a file name within the directory).
class Query
{
public:
    void setDirectory(const std::string& dir) { m_directory = dir; }
    // SELECT: runs the statement and returns the names of the result's fields.
    std::vector<std::string> open(const std::string& sql);
    // ALTER TABLE, UPDATE and other statements without a result.
    void execSql(const std::string& sql);

private:
    std::string m_directory;
};

std::string formatNumber(double v); // whole numbers without fraction: 12, not 12.0

} // namespace tovek
