#include "store/questionjson.h"

#include "store/paths.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tovek {

namespace {

using nlohmann::json;

std::string elementName(std::size_t index)
{
    return std::to_string(index + 1) + ". soru";
}

std::string requireString(const json& obj, const char* key, std::size_t index)
{
    if (!obj.contains(key))
        throw InputError(elementName(index) + ": \"" + key + "\" anahtarı eksik");
    if (!obj[key].is_string())
        throw InputError(elementName(index) + ": \"" + key + "\" bir metin olmalı");
    return obj[key].get<std::string>();
}

std::size_t utf8Length(const std::string& s)
{
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

Question questionFromJson(const json& obj, std::size_t index)
{
    if (!obj.is_object())
        throw InputError(elementName(index) + ": bir nesne olmalı");
    Question q;
    if (!obj.contains(fld::AKTIF))
        throw InputError(elementName(index) + ": \"AKTIF\" anahtarı eksik");
    const json& active = obj[fld::AKTIF];
    if (active.is_boolean())
        q.active = active.get<bool>();
    else if (!active.is_null())
        throw InputError(elementName(index) + ": \"AKTIF\" true, false ya da null olmalı");
    q.stem = normalizeLineBreaks(requireString(obj, fld::SORUKOKU, index));
    for (int i = 0; i < 5; ++i)
        q.answers[i] = normalizeLineBreaks(requireString(obj, fld::YANIT[i], index));
    q.correct = requireString(obj, fld::DOGRUYANIT, index);
    if (utf8Length(q.correct) > 1)
        throw InputError(elementName(index) + ": \"DOGRUYANIT\" en çok bir harf olmalı");
    return q;
}

} // namespace

std::vector<Question> questionsFromJson(const std::string& text)
{
    json doc;
    try {
        doc = json::parse(text);
    } catch (const json::parse_error& e) {
        throw InputError(std::string("Geçerli bir JSON değil: ") + e.what());
    }
    if (!doc.is_array())
        throw InputError("JSON bir soru dizisi ([...]) olmalı");
    std::vector<Question> out;
    out.reserve(doc.size());
    for (std::size_t i = 0; i < doc.size(); ++i)
        out.push_back(questionFromJson(doc[i], i));
    return out;
}

std::string questionsToJson(const std::vector<Question>& questions)
{
    json doc = json::array();
    for (const Question& q : questions) {
        json obj;
        obj[fld::SORUNO] = std::llround(q.number);
        if (std::holds_alternative<bool>(q.active))
            obj[fld::AKTIF] = std::get<bool>(q.active);
        else
            obj[fld::AKTIF] = nullptr;
        obj[fld::SORUKOKU] = q.stem;
        for (int i = 0; i < 5; ++i)
            obj[fld::YANIT[i]] = q.answers[i];
        obj[fld::DOGRUYANIT] = q.correct;
        doc.push_back(std::move(obj));
    }
    return doc.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream in(fsPath(path), std::ios::binary);
    if (!in)
        throw InputError("Dosya okunamadı: " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void createQuestionFileFromJson(const std::string& path, const std::string& jsonPath)
{
    createQuestionFileWith(path, questionsFromJson(readWholeFile(jsonPath)));
}

void createQuestionFileWith(const std::string& path, const std::vector<Question>& questions)
{
    createTable(path, questionLayout(), questionIndex());
    try {
        Table table;
        table.setTableName(path);
        table.open();
        appendQuestions(table, questions);
    } catch (...) {
        // A half-made bank would look like an empty one; better none at all.
        std::error_code ec;
        std::filesystem::remove(fsPath(path), ec);
        throw;
    }
}

} // namespace tovek
