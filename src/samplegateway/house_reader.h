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
    explicit HouseReader(HouseError* error) : m_error(error) {}
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

    HouseError* m_error;
    House m_house;
    int m_line = 0;
    Answer* m_answer = nullptr;  // the section being read
    uint16_t m_answerId = 0;
    size_t m_answerSize = 0;
    Item* m_list = nullptr;  // the list being read
    std::string m_when;      // the switch of the open `when`
    bool m_unless = false;   // its `not`
    int m_whenLine = 0;
    std::set<std::string> m_listNames;
    std::vector<std::pair<int, std::string>> m_counts;  // line and list of each count
};

}  // namespace samplegateway
