#pragma once
// Questions as JSON: an array of objects with the keys AKTIF, SORUKOKU, YANITA..YANITE, DOGRUYANIT
// (and SORUNO on output). Used by the command-line tool and for the sample bank.

#include "store/questionfile.h"

#include <string>
#include <vector>

namespace tovek {

// Parses and checks the whole text first; throws InputError naming the faulty element.
std::vector<Question> questionsFromJson(const std::string& text);
std::string questionsToJson(const std::vector<Question>& questions);

// A user's input that is refused (as opposed to an engine failure).
class InputError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Creates path as a question file holding the questions of the JSON file.
void createQuestionFileFromJson(const std::string& path, const std::string& jsonPath);
// Creates path as a question file holding questions numbered 1..n; on failure no file is left behind.
void createQuestionFileWith(const std::string& path, const std::vector<Question>& questions);

std::string readWholeFile(const std::string& path);

} // namespace tovek
