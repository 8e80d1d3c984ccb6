#include "app/activeflags.h"

#include "store/questionfile.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace tovek {

namespace {

// A walk over thousands of records would otherwise call the windows' scroll and data hooks once
// per record; they are silenced for the walk and told once at its end.
class QuietHooks
{
public:
    explicit QuietHooks(Table& table)
        : m_table(table), m_afterScroll(std::exchange(table.afterScroll, nullptr)),
          m_dataChanged(std::exchange(table.dataChanged, nullptr))
    {
    }
    ~QuietHooks()
    {
        m_table.afterScroll = std::move(m_afterScroll);
        m_table.dataChanged = std::move(m_dataChanged);
    }
    QuietHooks(const QuietHooks&) = delete;
    QuietHooks& operator=(const QuietHooks&) = delete;

private:
    Table& m_table;
    std::function<void()> m_afterScroll;
    std::function<void()> m_dataChanged;
};

std::vector<double> visibleKeys(const Table& table)
{
    std::vector<double> keys(static_cast<std::size_t>(table.recordCount()));
    for (int i = 0; i < table.recordCount(); ++i)
        keys[static_cast<std::size_t>(i)] = table.keyAt(i);
    return keys;
}

bool flagIs(const Value& v, bool wanted)
{
    return std::holds_alternative<bool>(v) && std::get<bool>(v) == wanted;
}

// Sets AKTIF of the records with the given keys. Records are found by key rather than walked with
// next(), because with the filter on a record switched off leaves the view when it is stored, and
// a plain walk would then step over its neighbour.
void setFlags(Table& table, const std::vector<double>& keys, bool active)
{
    for (double key : keys) {
        if (!table.findKey(key))
            continue;
        if (flagIs(table.activeAt(table.position()), active))
            continue;
        table.edit();
        table.setBoolean(fld::AKTIF, active);
        table.post();
    }
}

// Runs body inside one transaction with the hooks silenced; on any failure the pending edit is
// dropped and the transaction rolled back, so the file is left as it was.
template <typename Body> void inOneTransaction(Table& table, Body&& body)
{
    // Moving stores a pending edit of the user's before the walk, outside the walk's transaction.
    table.first();
    {
        QuietHooks quiet(table);
        table.beginTransaction();
        try {
            body();
            table.commit();
        } catch (...) {
            table.cancel();
            table.rollback();
            throw;
        }
    }
    table.first();
    if (table.dataChanged)
        table.dataChanged();
}

} // namespace

int countActive(Table& table)
{
    table.first();
    int count = 0;
    for (int i = 0; i < table.recordCount(); ++i)
        if (flagIs(table.activeAt(i), true))
            ++count;
    return count;
}

std::string activeCountMessage(int count)
{
    return "ŞU ANDA " + std::to_string(count) + " SORU AKTIF DURUMDA...";
}

void setAllActive(Table& table, bool active)
{
    inOneTransaction(table, [&] { setFlags(table, visibleKeys(table), active); });
}

void checkRandomActivation(const Table& table, int count)
{
    if (table.filtered())
        throw ActivationRefused("Rastgele seçim bütün sorular üzerinde yapılır; önce AKTIF süzgecini kapatınız.");
    const int n = table.recordCount();
    if (n == 0)
        throw ActivationRefused("Dosyada hiç soru yok; rastgele aktif yapılacak soru bulunamadı. "
                                "Önce soru ekleyiniz.");
    if (count < 1 || count > n)
        throw ActivationRefused("Aktif yapılacak soru sayısı 1 ile " + std::to_string(n) +
                                " arasında olmalıdır; lütfen bu aralıkta bir sayı giriniz.");
}

std::vector<double> drawDistinctKeys(std::vector<double> keys, int count, Random& random)
{
    const std::size_t n = keys.size();
    const std::size_t k = static_cast<std::size_t>(std::clamp<long long>(count, 0, static_cast<long long>(n)));
    for (std::size_t i = 0; i < k; ++i) {
        const std::size_t j = i + static_cast<std::size_t>(random.below(n - i));
        std::swap(keys[i], keys[j]);
    }
    keys.resize(k);
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::vector<double> activateRandom(Table& table, int count, Random& random)
{
    checkRandomActivation(table, count);
    std::vector<double> chosen;
    inOneTransaction(table, [&] {
        const std::vector<double> all = visibleKeys(table);
        setFlags(table, all, false);
        chosen = drawDistinctKeys(all, count, random);
        setFlags(table, chosen, true);
    });
    return chosen;
}

} // namespace tovek
