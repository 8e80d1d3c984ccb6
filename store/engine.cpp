#include "store/engine.h"

#include "store/paths.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace tovek {

namespace {

// Every question file holds its questions in one table of this name.
constexpr const char* kInnerTable = "SORULAR";
// A walk reads ahead this many rows per query; a lookup elsewhere reads one.
constexpr int kChunkRows = 256;
constexpr int kBusyTimeoutMs = 3000;

bool equalsNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

std::string quoteIdent(const std::string& name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string declaredType(const FieldDef& f)
{
    switch (f.type) {
    case FieldType::Float:
        return "FLOAT";
    case FieldType::Boolean:
        return "BOOLEAN";
    case FieldType::FmtMemo:
        return "FMTMEMO(" + std::to_string(f.size) + ")";
    case FieldType::String:
        return "CHAR(" + std::to_string(f.size) + ")";
    }
    return "TEXT";
}

FieldDef parseDeclared(const std::string& name, std::string decl, bool notNull)
{
    FieldDef f;
    f.name = name;
    f.required = notNull;
    for (char& c : decl)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    auto sizeOf = [&decl]() {
        const auto open = decl.find('(');
        return open == std::string::npos ? 0 : std::atoi(decl.c_str() + open + 1);
    };
    if (decl.rfind("FLOAT", 0) == 0 || decl.rfind("REAL", 0) == 0 || decl.rfind("DOUBLE", 0) == 0 ||
        decl.rfind("INT", 0) == 0 || decl.rfind("NUMERIC", 0) == 0) {
        f.type = FieldType::Float;
    } else if (decl.rfind("BOOL", 0) == 0) {
        f.type = FieldType::Boolean;
    } else if (decl.rfind("FMTMEMO", 0) == 0 || decl.rfind("MEMO", 0) == 0 || decl == "TEXT" || decl.empty()) {
        f.type = FieldType::FmtMemo;
        f.size = sizeOf();
    } else {
        f.type = FieldType::String;
        f.size = sizeOf();
    }
    return f;
}

class Connection
{
public:
    explicit Connection(const std::string& path, bool create = false)
    {
        const bool writable = create || isWritableByUser(path);
        const int flags = (writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) |
                          (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
        const int rc = sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr);
        if (rc != SQLITE_OK) {
            const std::string msg = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
            sqlite3_close(m_db);
            m_db = nullptr;
            throw EngineError("Tablo açılamadı: " + path + " (" + msg + ")");
        }
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        // Reading through a memory map spares a copy per page on every walk of a freshly opened file.
        sqlite3_exec(m_db, "PRAGMA mmap_size=268435456", nullptr, nullptr, nullptr);
        sqlite3_extended_result_codes(m_db, 1);
    }
    ~Connection() { sqlite3_close(m_db); }
    sqlite3* release()
    {
        sqlite3* db = m_db;
        m_db = nullptr;
        return db;
    }
    sqlite3* get() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// Resets a reused statement when the write is done, so it holds no lock between writes.
class CachedStatement
{
public:
    explicit CachedStatement(sqlite3_stmt* stmt) : m_stmt(stmt) {}
    ~CachedStatement()
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt;
};

class Statement
{
public:
    Statement(sqlite3* db, const std::string& sql, const std::string& context)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &m_stmt, nullptr) != SQLITE_OK)
            throw EngineError(context + ": " + sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

std::string describeWriteFailure(sqlite3* db, const std::string& what, const std::string& path)
{
    const int primary = sqlite3_errcode(db) & 0xff;
    if (primary == SQLITE_READONLY)
        return what + ": soru dosyası salt okunur, değişiklik kaydedilemez (" + path + ")";
    if (primary == SQLITE_FULL)
        return what + ": diskte yer kalmadı (" + path + ")";
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return what + ": soru dosyası başka bir program tarafından kullanılıyor (" + path + ")";
    return what + ": " + sqlite3_errmsg(db);
}

std::string describeOpenFailure(sqlite3* db, int rc, const std::string& path)
{
    const int primary = rc & 0xff;
    if (primary == SQLITE_NOTADB)
        return "Dosya bir soru dosyası değil (veritabanı biçiminde değil): " + path;
    if (primary == SQLITE_CORRUPT)
        return "Soru dosyası bozuk: " + path + " (" + sqlite3_errmsg(db) + ")";
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return "Soru dosyası başka bir program tarafından kullanılıyor: " + path;
    return std::string("Soru dosyası okunamadı: ") + path + " (" + sqlite3_errmsg(db) + ")";
}

// Reads the column layout of the question table; throws when the file is not a question file.
std::vector<FieldDef> layoutOf(sqlite3* db, const std::string& path, int* keyField)
{
    sqlite3_stmt* raw = nullptr;
    const std::string sql = std::string("PRAGMA table_info(") + kInnerTable + ")";
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    if (rc != SQLITE_OK)
        throw EngineError(describeOpenFailure(db, rc, path));
    std::vector<FieldDef> fields;
    int key = -1;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        const char* name = reinterpret_cast<const char*>(sqlite3_column_text(raw, 1));
        const char* type = reinterpret_cast<const char*>(sqlite3_column_text(raw, 2));
        fields.push_back(parseDeclared(name ? name : "", type ? type : "", sqlite3_column_int(raw, 3) != 0));
        if (sqlite3_column_int(raw, 5) == 1)
            key = static_cast<int>(fields.size()) - 1;
    }
    sqlite3_finalize(raw);
    if (rc != SQLITE_DONE)
        throw EngineError(describeOpenFailure(db, rc, path));
    if (fields.empty())
        throw EngineError("Dosyada soru tablosu yok, bu bir soru dosyası değil: " + path);
    if (key < 0)
        throw EngineError("Soru tablosunun birincil anahtarı yok: " + path);
    if (keyField)
        *keyField = key;
    return fields;
}

Value columnValue(sqlite3_stmt* stmt, int col, FieldType type)
{
    const int kind = sqlite3_column_type(stmt, col);
    if (kind == SQLITE_NULL)
        return {};
    switch (type) {
    case FieldType::Float:
        return sqlite3_column_double(stmt, col);
    case FieldType::Boolean:
        if (kind == SQLITE_TEXT) {
            const std::string t(reinterpret_cast<const char*>(sqlite3_column_text(stmt, col)));
            return equalsNoCase(t, "TRUE") || t == "1";
        }
        return sqlite3_column_int64(stmt, col) != 0;
    case FieldType::FmtMemo:
    case FieldType::String: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
        return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, col)));
    }
    }
    return {};
}

void bindValue(sqlite3_stmt* stmt, int index, const Value& v)
{
    if (std::holds_alternative<double>(v))
        sqlite3_bind_double(stmt, index, std::get<double>(v));
    else if (std::holds_alternative<bool>(v))
        sqlite3_bind_int(stmt, index, std::get<bool>(v) ? 1 : 0);
    else if (std::holds_alternative<std::string>(v)) {
        const auto& s = std::get<std::string>(v);
        sqlite3_bind_text(stmt, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    } else
        sqlite3_bind_null(stmt, index);
}

bool parseDecimal(const std::string& text, double& out)
{
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    if (b == e)
        return false;
    const char* first = text.data() + b;
    if (*first == '+')
        ++first;
    const auto [ptr, ec] = std::from_chars(first, text.data() + e, out);
    return ec == std::errc() && ptr == text.data() + e;
}

std::string truncateUtf8(const std::string& s, int maxChars)
{
    if (maxChars <= 0)
        return s;
    int count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (count == maxChars)
                return s.substr(0, i);
            ++count;
        }
    }
    return s;
}

Value convertForField(const FieldDef& f, const Value& v)
{
    if (isEmpty(v))
        return v;
    switch (f.type) {
    case FieldType::Float:
        if (std::holds_alternative<double>(v))
            return v;
        if (std::holds_alternative<bool>(v))
            return std::get<bool>(v) ? 1.0 : 0.0;
        {
            const auto& s = std::get<std::string>(v);
            if (s.empty())
                return {};
            double d = 0;
            if (!parseDecimal(s, d))
                throw EngineError("'" + s + "' geçerli bir sayı değil (" + f.name + ")");
            return d;
        }
    case FieldType::Boolean:
        if (std::holds_alternative<bool>(v))
            return v;
        if (std::holds_alternative<double>(v))
            return std::get<double>(v) != 0;
        {
            const auto& s = std::get<std::string>(v);
            if (s.empty())
                return {};
            if (equalsNoCase(s, "TRUE"))
                return true;
            if (equalsNoCase(s, "FALSE"))
                return false;
            throw EngineError("'" + s + "' geçerli bir mantıksal değer değil (" + f.name + ")");
        }
    case FieldType::FmtMemo:
    case FieldType::String: {
        std::string s;
        if (std::holds_alternative<std::string>(v))
            s = std::get<std::string>(v);
        else if (std::holds_alternative<double>(v))
            s = formatNumber(std::get<double>(v));
        else
            s = std::get<bool>(v) ? "True" : "False";
        if (f.type == FieldType::String)
            s = truncateUtf8(s, f.size);
        return s;
    }
    }
    return v;
}

signed char activeCode(const Value& v)
{
    if (isEmpty(v))
        return -1;
    if (std::holds_alternative<bool>(v))
        return std::get<bool>(v) ? 1 : 0;
    if (std::holds_alternative<double>(v))
        return std::get<double>(v) != 0 ? 1 : 0;
    return -1;
}

} // namespace

std::string formatNumber(double v)
{
    char buf[64];
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15) {
        const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(v));
        return std::string(buf, r.ptr);
    }
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string resolveTablePath(const std::string& directory, const std::string& tableName)
{
    if (fsPath(tableName).is_absolute() || directory.empty())
        return tableName;
    std::string dir = directory;
    if (!isPathSeparator(dir.back()))
        dir += preferredSeparator();
    return dir + tableName;
}

void createTable(const std::string& path, const std::vector<FieldDef>& fields, const IndexDef& index)
{
    if (fileExists(path))
        throw EngineError("Tablo zaten var: " + path);
    if (fields.empty())
        throw EngineError("Tablo alanları tanımlanmamış: " + path);
    std::string sql = std::string("CREATE TABLE ") + kInnerTable + " (";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            sql += ", ";
        sql += quoteIdent(fields[i].name) + " " + declaredType(fields[i]);
        if (fields[i].required)
            sql += " NOT NULL";
    }
    if (!index.fields.empty())
        sql += std::string(", ") + (index.primary ? "PRIMARY KEY" : "UNIQUE") + " (" + quoteIdent(index.fields) + ")";
    sql += ")";
    {
        Connection conn(path, true);
        char* err = nullptr;
        if (sqlite3_exec(conn.get(), sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            const std::string msg = err ? err : "?";
            sqlite3_free(err);
            sqlite3_close(conn.release());
            std::error_code ec;
            std::filesystem::remove(fsPath(path), ec);
            throw EngineError("Tablo oluşturulamadı: " + path + " (" + msg + ")");
        }
    }
}

std::vector<FieldDef> readLayout(const std::string& path)
{
    if (!fileExists(path))
        throw EngineError("Tablo bulunamadı: " + path);
    Connection conn(path);
    return layoutOf(conn.get(), path, nullptr);
}

void deleteTableFile(const std::string& path)
{
    std::error_code ec;
    std::filesystem::remove(fsPath(path), ec);
    if (ec)
        throw EngineError("Dosya silinemedi: " + path + " (" + ec.message() + ")");
    std::filesystem::remove(fsPath(path + "-journal"), ec);
}

// ---------------------------------------------------------------- Table

Table::Table() = default;

Table::~Table()
{
    close();
}

void Table::raise(const std::string& what) const
{
    throw EngineError(what);
}

void Table::ensureOpen() const
{
    if (!m_db)
        raise("Tablo açık değil: " + path());
}

void Table::exec(const std::string& sql)
{
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        raise(describeWriteFailure(m_db, "İşlem yapılamadı", path()));
}

void Table::open()
{
    if (m_db)
        return;
    const std::string p = path();
    if (!fileExists(p))
        raise("Tablo bulunamadı: " + p);
    Connection conn(p);
    int key = -1;
    m_fields = layoutOf(conn.get(), p, &key);
    m_keyField = key;
    m_activeField = fieldIndex("AKTIF");
    if (m_filtered && m_activeField < 0)
        raise("Süzgeç için AKTIF alanı gerekli, dosyada yok: " + p);
    m_db = conn.release();
    try {
        loadKeys();
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
    m_state = TableState::Browse;
    m_changes.assign(m_fields.size(), std::nullopt);
    m_transactionDepth = 0;
    setPosition(0);
}

void Table::close() noexcept
{
    if (!m_db)
        return;
    if (m_transactionDepth > 0)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_transactionDepth = 0;
    sqlite3_finalize(m_rowQuery);
    m_rowQuery = nullptr;
    for (auto& [sql, stmt] : m_writeStatements)
        sqlite3_finalize(stmt);
    m_writeStatements.clear();
    sqlite3_close(m_db);
    m_db = nullptr;
    m_state = TableState::Inactive;
    m_keys.clear();
    m_active.clear();
    m_changes.clear();
    invalidateCache();
    m_pos = 0;
    m_eof = m_bof = true;
}

std::string Table::selectList() const
{
    std::string cols;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (i)
            cols += ", ";
        cols += quoteIdent(m_fields[i].name);
    }
    return cols;
}

std::string Table::visibleCondition() const
{
    return m_filtered ? quoteIdent(m_fields[m_activeField].name) + " = 1" : "1";
}

void Table::loadKeys()
{
    invalidateCache();
    m_keys.clear();
    m_active.clear();
    const std::string key = quoteIdent(m_fields[m_keyField].name);
    const std::string active = m_activeField >= 0 ? quoteIdent(m_fields[m_activeField].name) : "NULL";
    const std::string sql = "SELECT " + key + ", " + active + " FROM " + kInnerTable + " WHERE " + visibleCondition() +
                            " ORDER BY " + key;
    Statement st(m_db, sql, "Tablo okunamadı: " + path());
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        m_keys.push_back(sqlite3_column_double(st.get(), 0));
        m_active.push_back(activeCode(columnValue(st.get(), 1, FieldType::Boolean)));
    }
    if (rc != SQLITE_DONE)
        raise(describeOpenFailure(m_db, rc, path()));
}

void Table::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    if (!m_db) {
        m_filtered = on;
        return;
    }
    checkBrowse();
    if (on && m_activeField < 0)
        raise("Süzgeç için AKTIF alanı gerekli, dosyada yok: " + path());
    m_filtered = on;
    sqlite3_finalize(m_rowQuery);
    m_rowQuery = nullptr;
    loadKeys();
    setPosition(0);
}

void Table::invalidateCache() const
{
    m_cache.clear();
    m_cacheStart = -1;
}

const std::vector<Value>& Table::currentRow() const
{
    ensureOpen();
    static const std::vector<Value> none;
    if (m_keys.empty())
        return none;
    if (m_cacheStart >= 0 && m_pos >= m_cacheStart && m_pos < m_cacheStart + static_cast<int>(m_cache.size()))
        return m_cache[m_pos - m_cacheStart];
    const bool walkingOn = m_cacheStart >= 0 && m_pos == m_cacheStart + static_cast<int>(m_cache.size());
    const int rows = walkingOn || m_pos == 0 ? kChunkRows : 1;
    invalidateCache();
    if (!m_rowQuery) {
        const std::string key = quoteIdent(m_fields[m_keyField].name);
        const std::string sql = "SELECT " + selectList() + " FROM " + kInnerTable + " WHERE " + key + " >= ?1 AND " +
                                visibleCondition() + " ORDER BY " + key + " LIMIT ?2";
        if (sqlite3_prepare_v3(m_db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &m_rowQuery, nullptr) != SQLITE_OK)
            raise(std::string("Kayıt okunamadı: ") + sqlite3_errmsg(m_db));
    }
    struct ResetOnExit
    {
        sqlite3_stmt* stmt;
        ~ResetOnExit() { sqlite3_reset(stmt); }
    } const st{m_rowQuery};
    sqlite3_bind_double(st.stmt, 1, m_keys[m_pos]);
    sqlite3_bind_int(st.stmt, 2, rows);
    int rc;
    int expect = m_pos;
    while ((rc = sqlite3_step(st.stmt)) == SQLITE_ROW) {
        if (expect >= static_cast<int>(m_keys.size()) || sqlite3_column_double(st.stmt, m_keyField) != m_keys[expect])
            break; // the file changed under us; keep what still lines up
        std::vector<Value> row(m_fields.size());
        for (std::size_t c = 0; c < m_fields.size(); ++c)
            row[c] = columnValue(st.stmt, static_cast<int>(c), m_fields[c].type);
        m_cache.push_back(std::move(row));
        ++expect;
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        raise(describeOpenFailure(m_db, rc, path()));
    if (m_cache.empty())
        raise("Kayıt bulunamadı; dosya başka bir program tarafından değiştirilmiş olabilir: " + path());
    m_cacheStart = m_pos;
    return m_cache.front();
}

sqlite3_stmt* Table::writeStatement(const std::string& sql)
{
    auto it = m_writeStatements.find(sql);
    if (it != m_writeStatements.end())
        return it->second;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(m_db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        raise(describeWriteFailure(m_db, "Yazma hazırlanamadı", path()));
    m_writeStatements.emplace(sql, stmt);
    return stmt;
}

void Table::notifyData() const
{
    if (dataChanged)
        dataChanged();
}

void Table::setPosition(int pos)
{
    const int n = static_cast<int>(m_keys.size());
    m_pos = n == 0 ? 0 : std::clamp(pos, 0, n - 1);
    m_bof = n == 0 || m_pos == 0;
    m_eof = n == 0;
    if (afterScroll)
        afterScroll();
}

void Table::checkBrowse()
{
    ensureOpen();
    if (m_state == TableState::Edit || m_state == TableState::Insert)
        post();
}

void Table::first()
{
    checkBrowse();
    setPosition(0);
}

void Table::last()
{
    checkBrowse();
    setPosition(static_cast<int>(m_keys.size()) - 1);
    m_bof = m_keys.size() <= 1;
    m_eof = m_keys.empty();
}

void Table::next()
{
    // A stored edit may move its record or take it out of the filtered view; the next record is
    // then the one after the record's old place, not one step from wherever the cursor now stands.
    const bool editing = m_state == TableState::Edit && !m_keys.empty();
    const double from = editing ? m_keys[m_pos] : 0;
    checkBrowse();
    const int n = static_cast<int>(m_keys.size());
    const int target = editing ? static_cast<int>(std::upper_bound(m_keys.begin(), m_keys.end(), from) -
                                                  m_keys.begin())
                               : m_pos + 1;
    if (n == 0 || target >= n) {
        if (n > 0 && m_pos >= n)
            m_pos = n - 1;
        m_eof = true;
        return;
    }
    setPosition(target);
}

void Table::prior()
{
    const bool editing = m_state == TableState::Edit && !m_keys.empty();
    const double from = editing ? m_keys[m_pos] : 0;
    checkBrowse();
    const int target = editing ? lowerBound(from) - 1 : m_pos - 1;
    if (m_keys.empty() || target < 0) {
        m_bof = true;
        return;
    }
    setPosition(target);
    m_eof = false;
}

void Table::moveBy(int distance)
{
    checkBrowse();
    if (m_keys.empty())
        return;
    const int n = static_cast<int>(m_keys.size());
    const long long target = static_cast<long long>(m_pos) + distance;
    setPosition(static_cast<int>(std::clamp<long long>(target, 0, n - 1)));
    m_eof = target >= n;
    m_bof = target <= 0;
}

void Table::moveTo(int position)
{
    checkBrowse();
    setPosition(position);
}

Value Table::activeAt(int position) const
{
    const signed char c = m_active.at(position);
    return c < 0 ? Value{} : Value{c == 1};
}

int Table::fieldIndex(const std::string& name) const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name == name)
            return static_cast<int>(i);
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (equalsNoCase(m_fields[i].name, name))
            return static_cast<int>(i);
    return -1;
}

int Table::requireField(const std::string& name) const
{
    ensureOpen();
    const int i = fieldIndex(name);
    if (i < 0)
        raise("Alan bulunamadı: " + name);
    return i;
}

const FieldDef& Table::fieldAt(const std::string& name) const
{
    return m_fields[requireField(name)];
}

Value Table::value(const std::string& field) const
{
    const int i = requireField(field);
    if ((m_state == TableState::Edit || m_state == TableState::Insert) && m_changes[i])
        return *m_changes[i];
    if (m_state == TableState::Insert || m_keys.empty())
        return {};
    return currentRow()[i];
}

std::string Table::asText(const std::string& field) const
{
    const Value v = value(field);
    if (std::holds_alternative<std::string>(v))
        return std::get<std::string>(v);
    if (std::holds_alternative<double>(v))
        return formatNumber(std::get<double>(v));
    if (std::holds_alternative<bool>(v))
        return std::get<bool>(v) ? "True" : "False";
    return {};
}

long long Table::asInteger(const std::string& field) const
{
    const Value v = value(field);
    if (std::holds_alternative<double>(v))
        return std::llround(std::get<double>(v));
    if (std::holds_alternative<bool>(v))
        return std::get<bool>(v) ? 1 : 0;
    if (std::holds_alternative<std::string>(v)) {
        double d = 0;
        if (!parseDecimal(std::get<std::string>(v), d) || d != std::floor(d))
            raise("'" + std::get<std::string>(v) + "' geçerli bir tam sayı değil");
        return static_cast<long long>(d);
    }
    return 0;
}

bool Table::asBoolean(const std::string& field) const
{
    const Value v = value(field);
    if (std::holds_alternative<bool>(v))
        return std::get<bool>(v);
    if (std::holds_alternative<double>(v))
        return std::get<double>(v) != 0;
    if (std::holds_alternative<std::string>(v))
        return equalsNoCase(std::get<std::string>(v), "TRUE");
    return false;
}

void Table::setValue(const std::string& field, const Value& v)
{
    const int i = requireField(field);
    if (m_state != TableState::Edit && m_state != TableState::Insert)
        raise("Tablo düzenleme durumunda değil; önce kaydı düzenlemeye açın");
    m_changes[i] = convertForField(m_fields[i], v);
    notifyData();
}

bool Table::modified() const
{
    return std::any_of(m_changes.begin(), m_changes.end(), [](const auto& c) { return c.has_value(); });
}

void Table::edit()
{
    ensureOpen();
    if (m_state == TableState::Edit || m_state == TableState::Insert)
        return;
    if (m_keys.empty()) {
        insert();
        return;
    }
    currentRow(); // the record must still exist
    m_changes.assign(m_fields.size(), std::nullopt);
    m_state = TableState::Edit;
    notifyData();
}

void Table::append()
{
    insert();
}

void Table::insert()
{
    checkBrowse();
    if (beforeInsert)
        beforeInsert();
    m_prevPos = m_pos;
    m_changes.assign(m_fields.size(), std::nullopt);
    m_state = TableState::Insert;
    m_bof = m_eof = false;
    if (onNewRecord) {
        try {
            onNewRecord();
        } catch (...) {
            if (m_state == TableState::Insert)
                cancel();
            throw;
        }
    }
    notifyData();
}

void Table::post()
{
    ensureOpen();
    if (m_state == TableState::Insert)
        postInsert();
    else if (m_state == TableState::Edit)
        postEdit();
    else
        return;
    notifyData();
}

int Table::lowerBound(double key) const
{
    return static_cast<int>(std::lower_bound(m_keys.begin(), m_keys.end(), key) - m_keys.begin());
}

void Table::postInsert()
{
    std::string cols, marks;
    std::vector<Value> values;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (!m_changes[i])
            continue;
        cols += (cols.empty() ? "" : ", ") + quoteIdent(m_fields[i].name);
        marks += marks.empty() ? "?" : ", ?";
        values.push_back(*m_changes[i]);
    }
    const Value keyValue = m_changes[m_keyField] ? *m_changes[m_keyField] : Value{};
    if (!std::holds_alternative<double>(keyValue))
        raise("Kayıt kaydedilemedi: " + m_fields[m_keyField].name + " alanı boş olamaz");
    const double key = std::get<double>(keyValue);
    const std::string sql = cols.empty() ? std::string("INSERT INTO ") + kInnerTable + " DEFAULT VALUES"
                                         : std::string("INSERT INTO ") + kInnerTable + " (" + cols + ") VALUES (" +
                                               marks + ")";
    invalidateCache();
    CachedStatement st(writeStatement(sql));
    for (std::size_t i = 0; i < values.size(); ++i)
        bindValue(st.get(), static_cast<int>(i) + 1, values[i]);
    const int rc = sqlite3_step(st.get());
    if (rc != SQLITE_DONE) {
        if ((rc & 0xff) == SQLITE_CONSTRAINT)
            raise("Anahtar ihlali: " + formatNumber(key) + " numaralı kayıt zaten var");
        raise(describeWriteFailure(m_db, "Kayıt eklenemedi", path()));
    }
    const signed char active = m_activeField >= 0 && m_changes[m_activeField] ? activeCode(*m_changes[m_activeField]) : -1;
    m_changes.assign(m_fields.size(), std::nullopt);
    m_state = TableState::Browse;
    const bool visible = !m_filtered || active == 1;
    if (visible) {
        const int at = lowerBound(key);
        m_keys.insert(m_keys.begin() + at, key);
        m_active.insert(m_active.begin() + at, active);
        setPosition(at);
    } else {
        setPosition(m_prevPos);
    }
}

void Table::postEdit()
{
    const double oldKey = m_keys[m_pos];
    std::string sets;
    std::vector<Value> values;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (!m_changes[i])
            continue;
        sets += (sets.empty() ? "" : ", ") + quoteIdent(m_fields[i].name) + " = ?";
        values.push_back(*m_changes[i]);
    }
    if (sets.empty()) {
        m_state = TableState::Browse;
        return;
    }
    double newKey = oldKey;
    if (m_changes[m_keyField]) {
        if (!std::holds_alternative<double>(*m_changes[m_keyField]))
            raise("Kayıt kaydedilemedi: " + m_fields[m_keyField].name + " alanı boş olamaz");
        newKey = std::get<double>(*m_changes[m_keyField]);
    }
    const std::string sql = std::string("UPDATE ") + kInnerTable + " SET " + sets + " WHERE " +
                            quoteIdent(m_fields[m_keyField].name) + " = ?";
    CachedStatement st(writeStatement(sql));
    for (std::size_t i = 0; i < values.size(); ++i)
        bindValue(st.get(), static_cast<int>(i) + 1, values[i]);
    sqlite3_bind_double(st.get(), static_cast<int>(values.size()) + 1, oldKey);
    const int rc = sqlite3_step(st.get());
    if (rc != SQLITE_DONE) {
        if ((rc & 0xff) == SQLITE_CONSTRAINT)
            raise("Anahtar ihlali: " + formatNumber(newKey) + " numaralı kayıt zaten var");
        raise(describeWriteFailure(m_db, "Kayıt güncellenemedi", path()));
    }
    if (sqlite3_changes(m_db) == 0)
        raise("Kayıt bulunamadı; dosya başka bir program tarafından değiştirilmiş olabilir: " + path());

    // Keep the cached row in step with what was written.
    if (m_cacheStart >= 0 && m_pos >= m_cacheStart && m_pos < m_cacheStart + static_cast<int>(m_cache.size())) {
        auto& row = m_cache[m_pos - m_cacheStart];
        for (std::size_t i = 0; i < m_fields.size(); ++i)
            if (m_changes[i])
                row[i] = *m_changes[i];
    }
    const signed char active =
        m_activeField >= 0 && m_changes[m_activeField] ? activeCode(*m_changes[m_activeField]) : m_active[m_pos];
    m_changes.assign(m_fields.size(), std::nullopt);
    m_state = TableState::Browse;

    const bool visible = !m_filtered || active == 1;
    const bool keyStaysInPlace = (m_pos == 0 || m_keys[m_pos - 1] < newKey) &&
                                 (m_pos + 1 >= static_cast<int>(m_keys.size()) || newKey < m_keys[m_pos + 1]);
    if (visible && keyStaysInPlace) {
        m_keys[m_pos] = newKey;
        m_active[m_pos] = active;
        return;
    }
    invalidateCache();
    m_keys.erase(m_keys.begin() + m_pos);
    m_active.erase(m_active.begin() + m_pos);
    if (visible) {
        const int at = lowerBound(newKey);
        m_keys.insert(m_keys.begin() + at, newKey);
        m_active.insert(m_active.begin() + at, active);
        m_pos = at;
    } else if (m_pos >= static_cast<int>(m_keys.size())) {
        m_pos = std::max(0, static_cast<int>(m_keys.size()) - 1);
    }
    m_eof = m_keys.empty();
}

void Table::cancel()
{
    ensureOpen();
    const TableState was = m_state;
    if (was != TableState::Edit && was != TableState::Insert)
        return;
    m_changes.assign(m_fields.size(), std::nullopt);
    m_state = TableState::Browse;
    if (was == TableState::Insert)
        setPosition(m_prevPos);
    notifyData();
}

void Table::remove()
{
    ensureOpen();
    if (m_state == TableState::Insert) {
        cancel();
        return;
    }
    if (m_keys.empty())
        raise("Boş tabloda silme yapılamaz");
    if (beforeDelete)
        beforeDelete();
    const double key = m_keys[m_pos];
    invalidateCache();
    const std::string sql =
        std::string("DELETE FROM ") + kInnerTable + " WHERE " + quoteIdent(m_fields[m_keyField].name) + " = ?";
    CachedStatement st(writeStatement(sql));
    sqlite3_bind_double(st.get(), 1, key);
    if (sqlite3_step(st.get()) != SQLITE_DONE)
        raise(describeWriteFailure(m_db, "Kayıt silinemedi", path()));
    m_changes.assign(m_fields.size(), std::nullopt);
    m_state = TableState::Browse;
    m_keys.erase(m_keys.begin() + m_pos);
    m_active.erase(m_active.begin() + m_pos);
    // The hooks below read the current record; when the last one went, the one before it is current.
    if (m_pos >= static_cast<int>(m_keys.size()))
        m_pos = std::max(0, static_cast<int>(m_keys.size()) - 1);
    notifyData();
    if (afterDelete)
        afterDelete();
    setPosition(m_pos);
}

bool Table::findKey(double key)
{
    checkBrowse();
    const int at = lowerBound(key);
    if (at >= static_cast<int>(m_keys.size()) || m_keys[at] != key)
        return false;
    setPosition(at);
    return true;
}

bool Table::findKey(const std::string& decimalText)
{
    double key = 0;
    if (!parseDecimal(decimalText, key))
        raise("'" + decimalText + "' geçerli bir sayı değil");
    return findKey(key);
}

void Table::beginTransaction()
{
    ensureOpen();
    if (m_transactionDepth == 0)
        exec("BEGIN IMMEDIATE");
    ++m_transactionDepth;
}

void Table::commit()
{
    ensureOpen();
    if (m_transactionDepth == 0)
        return;
    if (m_transactionDepth == 1)
        exec("COMMIT");
    --m_transactionDepth;
}

void Table::rollback() noexcept
{
    if (!m_db || m_transactionDepth == 0)
        return;
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_transactionDepth = 0;
    m_changes.assign(m_fields.size(), std::nullopt);
    m_state = TableState::Browse;
    const int pos = m_pos;
    try {
        loadKeys();
    } catch (...) {
        m_keys.clear();
        m_active.clear();
    }
    setPosition(pos);
    notifyData();
}

// ---------------------------------------------------------------- Query

namespace {

// Splits a statement around its double-quoted table reference.
struct SqlParts
{
    std::string before, reference, after;
};

SqlParts splitReference(const std::string& sql)
{
    // Inside the quotation marks a doubled mark stands for one, as SQL writes identifiers, so that a
    // file name holding one is read whole and the rest of its name is not taken for SQL.
    const auto open = sql.find('"');
    std::string reference;
    if (open != std::string::npos) {
        for (std::size_t i = open + 1; i < sql.size(); ++i) {
            if (sql[i] != '"') {
                reference += sql[i];
            } else if (i + 1 < sql.size() && sql[i + 1] == '"') {
                reference += '"';
                ++i;
            } else {
                return {sql.substr(0, open), reference, sql.substr(i + 1)};
            }
        }
    }
    throw EngineError("SQL cümlesinde tırnak içinde tablo adı yok: " + sql);
}

} // namespace

std::vector<std::string> Query::open(const std::string& sql)
{
    const SqlParts parts = splitReference(sql);
    const std::string target = resolveTablePath(m_directory, parts.reference);
    if (!fileExists(target))
        throw EngineError("Tablo bulunamadı: " + target);
    Connection conn(target);
    layoutOf(conn.get(), target, nullptr);
    Statement st(conn.get(), parts.before + kInnerTable + parts.after, "SQL hatası");
    const int rc = sqlite3_step(st.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw EngineError(std::string("SQL hatası: ") + sqlite3_errmsg(conn.get()));
    std::vector<std::string> names;
    for (int i = 0; i < sqlite3_column_count(st.get()); ++i)
        names.emplace_back(sqlite3_column_name(st.get(), i));
    return names;
}

void Query::execSql(const std::string& sql)
{
    const SqlParts parts = splitReference(sql);
    const std::string target = resolveTablePath(m_directory, parts.reference);
    if (!fileExists(target))
        throw EngineError("Tablo bulunamadı: " + target);
    Connection conn(target);
    layoutOf(conn.get(), target, nullptr);
    const std::string rewritten = parts.before + kInnerTable + parts.after;
    if (sqlite3_exec(conn.get(), rewritten.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw EngineError(describeWriteFailure(conn.get(), "SQL hatası", target));
}

} // namespace tovek
