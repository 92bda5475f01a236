#pragma once
// Reads a house file's text into a House, line by line, stopping at the first line that
// breaks a rule of the format (see house.h).
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "samplegateway/house.h"

namespace samplegateway {

class HouseReader {
public:
    explicit HouseReader(HouseError* error) : error_(error) {}
    std::optional<House> Read(std::string_view text);

private:
    struct Token {
        std::string text;
        bool quoted = false;
    };

    bool Fail(std::string message, int line = -1);
    bool Line(std::string_view line);
    bool Tokenize(std::string_view line, std::vector<Token>* tokens);
    bool Section(std::string_view header);
    bool CloseSection();
    bool Switch(const std::vector<Token>& tokens);
    bool When(const std::vector<Token>& tokens);
    bool End();
    bool List(const std::vector<Token>& tokens);
    bool Record(const std::vector<Token>& tokens);
    bool Fields(FieldType type, const std::vector<Token>& tokens);
    bool Block(const std::vector<Token>& tokens, Bytes* block);
    bool Value(FieldType type, const Token& token, samplegateway::Value* value);
    bool Add(Item item);
    bool Grow(size_t bytes);
    bool Resolve();

    HouseError* error_;
    House house_;
    int line_ = 0;
    Answer* answer_ = nullptr;  // the section being read
    uint16_t answer_id_ = 0;
    size_t answer_size_ = 0;
    Item* list_ = nullptr;  // the list being read
    std::string when_;      // the switch of the open `when`
    bool unless_ = false;   // its `not`
    int when_line_ = 0;
    std::set<std::string> list_names_;
    std::vector<std::pair<int, std::string>> counts_;  // line and list of each count
};

}  // namespace samplegateway
