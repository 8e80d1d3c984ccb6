#pragma once
// Bulk operations on the active flags of an open question table: count, all on, all off and
// the activation of a requested number of randomly chosen questions. The windows and the
// command-line tool both run these.

#include "exam/random.h"
#include "store/engine.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace tovek {

// A bulk command refused because of what was asked of it; the message tells the user what to do.
class ActivationRefused : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Number of active questions in the current view (an unset flag is not active).
// A pending edit is stored first; the cursor ends on the first question.
int countActive(Table& table);

// "ŞU ANDA <count> SORU AKTIF DURUMDA..."
std::string activeCountMessage(int count);

// Sets AKTIF of every question in the current view, in one transaction, and ends on the first
// question. With the filter on, switching off walks every shown question although each one
// leaves the view as it is stored.
void setAllActive(Table& table, bool active);

// Throws ActivationRefused unless 1 <= count <= questions in the file and the filter is off.
void checkRandomActivation(const Table& table, int count);

// Chooses count distinct keys, each set equally likely, by a partial Fisher-Yates shuffle of keys;
// returned in ascending order. Needs 0 <= count <= keys.size().
std::vector<double> drawDistinctKeys(std::vector<double> keys, int count, Random& random);

// Switches every question off, then count questions drawn uniformly among the file's own numbers
// on, all in one transaction; ends on the first question. Returns the numbers switched on.
std::vector<double> activateRandom(Table& table, int count, Random& random);

} // namespace tovek
