#include "samplegateway/house_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <charconv>
#include <map>

#include "platform/fileio.h"

namespace samplegateway {
namespace {

const std::map<std::string_view, FieldType> kTypes = {{"i32", FieldType::kI32},     {"u16", FieldType::kU16},
                                                      {"u8", FieldType::kU8},       {"string", FieldType::kString},
                                                      {"block", FieldType::kBlock}, {"count", FieldType::kCount}};

bool IsName(const std::string& text) {
    if (text.empty() || !(std::isalpha(static_cast<unsigned char>(text[0])) || text[0] == '_')) return false;
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

// A decimal number with an optional minus, or a hexadecimal one after "0x".
std::optional<int64_t> Number(std::string_view text) {
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.remove_prefix(1);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, problem] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || problem != std::errc() || stop != end || value < 0) return std::nullopt;
    return negative ? -value : value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<House> House::Read(std::string_view text, HouseError* error) { return HouseReader(error).Read(text); }

std::optional<House> House::Load(const std::string& path, std::string* error) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = path + ": cannot be opened";
        return std::nullopt;
    }
    std::string text(kMaxFileSize + 1, '\0');
    const ssize_t got = platform::ReadFully(fd, text.data(), text.size());
    close(fd);
    if (got < 0) {
        *error = path + ": cannot be read";
        return std::nullopt;
    }
    text.resize(static_cast<size_t>(got));
    HouseError problem;
    std::optional<House> house = Read(text, &problem);
    if (!house)
        *error = path + ":" + (problem.line > 0 ? std::to_string(problem.line) + ":" : "") + " " + problem.message;
    return house;
}

bool HouseReader::Fail(std::string message, int line) {
    m_error->line = line < 0 ? m_line : line;
    m_error->message = std::move(message);
    return false;
}

std::optional<House> HouseReader::Read(std::string_view text) {
    if (text.size() > House::kMaxFileSize) {
        Fail("larger than " + std::to_string(House::kMaxFileSize) + " bytes", 0);
        return std::nullopt;
    }
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        ++m_line;
        if (!Line(text.substr(0, end))) return std::nullopt;
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    if (!CloseSection() || !Resolve()) return std::nullopt;
    return std::move(m_house);
}

bool HouseReader::Line(std::string_view line) {
    if (line.size() > House::kMaxLineLength)
        return Fail("longer than " + std::to_string(House::kMaxLineLength) + " characters");
    if (Trim(line).substr(0, 1) == "[") return Section(Trim(line));
    std::vector<Token> tokens;
    if (!Tokenize(line, &tokens)) return false;
    if (tokens.empty()) return true;
    const std::string word = tokens[0].quoted ? std::string() : tokens[0].text;
    if (m_list && word != "end") return Record(tokens);
    if (word == "switch") return Switch(tokens);
    if (word == "end") return End();
    if (!m_answer) return Fail("\"" + tokens[0].text + "\" outside an answer");
    if (word == "when") return When(tokens);
    if (word == "list") return List(tokens);
    auto type = kTypes.find(word);
    if (type == kTypes.end()) return Fail("unknown word \"" + tokens[0].text + "\"");
    return Fields(type->second, tokens);
}

// Words split by white space, strings in double quotes with their escapes undone, up to a
// '#' outside quotes.
bool HouseReader::Tokenize(std::string_view line, std::vector<Token>* tokens) {
    size_t at = 0;
    while (at < line.size()) {
        const char c = line[at];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++at;
        } else if (c == '#') {
            break;
        } else if (c != '"') {
            const size_t start = at;
            while (at < line.size() && !std::isspace(static_cast<unsigned char>(line[at])) && line[at] != '#' &&
                   line[at] != '"')
                ++at;
            tokens->push_back({std::string(line.substr(start, at - start)), false});
        } else {
            Token token{"", true};
            for (++at;; ++at) {
                if (at >= line.size()) return Fail("string without its closing quote");
                if (line[at] == '"') break;
                if (line[at] != '\\') {
                    token.text += line[at];
                } else if (at + 1 < line.size() && (line[at + 1] == '"' || line[at + 1] == '\\')) {
                    token.text += line[++at];
                } else if (at + 3 < line.size() && line[at + 1] == 'x' && HexDigit(line[at + 2]) >= 0 &&
                           HexDigit(line[at + 3]) >= 0) {
                    token.text += static_cast<char>(HexDigit(line[at + 2]) * 16 + HexDigit(line[at + 3]));
                    at += 3;
                } else {
                    return Fail("unknown escape in a string (\\\", \\\\ and \\xHH are known)");
                }
            }
            ++at;
            tokens->push_back(std::move(token));
        }
    }
    return true;
}

bool HouseReader::Section(std::string_view header) {
    if (!CloseSection()) return false;
    if (header.back() != ']') return Fail("section header without its closing ']'");
    header = Trim(header.substr(1, header.size() - 2));
    const size_t kind_end = std::min(header.find(' '), header.size());
    const std::string_view kind = header.substr(0, kind_end);
    if (kind != "answer" && kind != "slice" && kind != "keyed")
        return Fail("unknown section \"" + std::string(kind) + "\" (answer, slice or keyed)");
    std::string_view rest = Trim(header.substr(kind_end));
    const std::string_view id_text = rest.substr(0, std::min(rest.find(' '), rest.size()));
    const std::optional<int64_t> id = Number(id_text);
    if (!id || *id > UINT16_MAX) return Fail("\"" + std::string(id_text) + "\" is no message id");
    m_answerId = static_cast<uint16_t>(*id);
    if (kind == "keyed") {
        rest = Trim(rest.substr(id_text.size()));
        std::vector<int32_t> key;
        std::string key_text;
        // One or two numbers, then the name.
        while (key.size() < 2 && !rest.empty()) {
            const std::string_view word = rest.substr(0, std::min(rest.find(' '), rest.size()));
            const std::optional<int64_t> number = Number(word);
            if (!number || *number < INT32_MIN || *number > INT32_MAX) {
                if (key.empty()) return Fail("\"" + std::string(word) + "\" is no key");
                break;
            }
            key.push_back(static_cast<int32_t>(*number));
            key_text += (key_text.empty() ? "" : " ") + std::string(word);
            rest = Trim(rest.substr(word.size()));
        }
        if (key.empty()) return Fail("a keyed answer with no key");
        auto [entry, added] = m_house.m_keyed.try_emplace({m_answerId, key});
        if (!added)
            return Fail("a second answer for " + std::string(id_text) + " key " + key_text + " (the first is on line " +
                        std::to_string(entry->second.line) + ")");
        m_answer = &entry->second;
    } else {
        auto [entry, added] = m_house.m_answers.try_emplace(m_answerId);
        if (!added)
            return Fail("a second answer for " + std::string(id_text) + " (the first is on line " +
                        std::to_string(entry->second.line) + ")");
        m_answer = &entry->second;
    }
    m_answer->line = m_line;
    m_answer->slice = kind == "slice";
    m_answerSize = 0;
    return true;
}

bool HouseReader::CloseSection() {
    if (m_list) return Fail("list \"" + m_list->list_name + "\" without its end", m_list->line);
    if (!m_when.empty()) return Fail("when " + m_when + " without its end", m_whenLine);
    if (m_answer && m_answer->slice && m_answer->items.empty())
        return Fail("a slice holds one list and nothing else", m_answer->line);
    return true;
}

bool HouseReader::Switch(const std::vector<Token>& tokens) {
    if (m_answer) return Fail("switches belong before the first answer");
    if (tokens.size() != 3 || !IsName(tokens[1].text) || tokens[1].quoted ||
        (tokens[2].text != "on" && tokens[2].text != "off"))
        return Fail("a switch reads: switch <name> on|off");
    if (!m_house.m_switches.emplace(tokens[1].text, tokens[2].text == "on").second)
        return Fail("switch " + tokens[1].text + " given twice");
    return true;
}

bool HouseReader::When(const std::vector<Token>& tokens) {
    if (!m_when.empty()) return Fail("when inside when");
    const bool unless = tokens.size() == 3 && !tokens[1].quoted && tokens[1].text == "not";
    if ((tokens.size() != 2 && !unless) || tokens.back().quoted) return Fail("a when reads: when [not] <switch>");
    const std::string& name = tokens.back().text;
    if (!m_house.m_switches.count(name)) return Fail("unknown switch \"" + name + "\"");
    m_when = name;
    m_unless = unless;
    m_whenLine = m_line;
    return true;
}

bool HouseReader::End() {
    if (m_list)
        m_list = nullptr;
    else if (!m_when.empty())
        m_when.clear();
    else
        return Fail("end without a list or when");
    return true;
}

bool HouseReader::List(const std::vector<Token>& tokens) {
    if (tokens.size() < 3 || tokens[1].quoted || !IsName(tokens[1].text))
        return Fail("a list reads: list <name> <field types>");
    Item item{.line = m_line, .is_list = true, .list_name = tokens[1].text};
    for (size_t i = 2; i < tokens.size(); ++i) {
        auto type = kTypes.find(tokens[i].text);
        if (tokens[i].quoted || type == kTypes.end() || type->second == FieldType::kBlock ||
            type->second == FieldType::kCount)
            return Fail("\"" + tokens[i].text + "\" is no record field type (i32, u16, u8 or string)");
        item.layout.push_back(type->second);
    }
    if (!m_listNames.insert(item.list_name).second) return Fail("a second list \"" + item.list_name + "\"");
    if (!Add(std::move(item)) || !Grow(4)) return false;
    m_list = &m_answer->items.back();
    return true;
}

bool HouseReader::Record(const std::vector<Token>& tokens) {
    if (tokens.size() != m_list->layout.size())
        return Fail("a record of " + m_list->list_name + " has " + std::to_string(m_list->layout.size()) +
                    " fields, not " + std::to_string(tokens.size()));
    std::vector<Field> record;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const FieldType type = m_list->layout[i];
        samplegateway::Value value;
        if (!Value(type, tokens[i], &value) || !Grow(WireSize(type, value, {}))) return false;
        record.push_back({.type = type, .value = std::move(value)});
    }
    m_list->records.push_back(std::move(record));
    return true;
}

bool HouseReader::Fields(FieldType type, const std::vector<Token>& tokens) {
    if (type == FieldType::kBlock) {
        Field field{.type = type};
        return Block(tokens, &field.block) && Add({.line = m_line, .field = std::move(field)});
    }
    if (type == FieldType::kCount) {
        if (tokens.size() != 2 || tokens[1].quoted || !IsName(tokens[1].text))
            return Fail("a count reads: count <list>");
        m_counts.emplace_back(m_line, tokens[1].text);
        return Add({.line = m_line, .field = {.type = type, .value = tokens[1].text}});
    }
    const bool named = tokens.size() > 1 && !tokens[1].quoted && IsName(tokens[1].text);
    const size_t first = named ? 2 : 1;
    if (tokens.size() == first || (named && tokens.size() != 3))
        return Fail(named ? "a named field takes one value" : "a field without a value");
    for (size_t i = first; i < tokens.size(); ++i) {
        Field field{.type = type, .name = named ? tokens[1].text : ""};
        if (!Value(type, tokens[i], &field.value) || !Add({.line = m_line, .field = std::move(field)})) return false;
    }
    return true;
}

// block <size> then bytes in hex, each "@<position>" moving to where the next one goes.
bool HouseReader::Block(const std::vector<Token>& tokens, Bytes* block) {
    const std::optional<int64_t> size = tokens.size() > 1 ? Number(tokens[1].text) : std::nullopt;
    if (!size || *size > House::kMaxBlockSize || tokens[1].quoted)
        return Fail("a block reads: block <size up to " + std::to_string(House::kMaxBlockSize) + "> <hex bytes>");
    block->assign(static_cast<size_t>(*size), 0);
    size_t at = 0;
    for (size_t i = 2; i < tokens.size(); ++i) {
        const std::string& text = tokens[i].text;
        if (!tokens[i].quoted && text.size() > 1 && text[0] == '@') {
            const std::optional<int64_t> position = Number(std::string_view(text).substr(1));
            if (!position || *position > *size) return Fail("\"" + text + "\" is no position in the block");
            at = static_cast<size_t>(*position);
            continue;
        }
        if (tokens[i].quoted || text.size() != 2 || HexDigit(text[0]) < 0 || HexDigit(text[1]) < 0)
            return Fail("\"" + text + "\" is no byte in hex");
        if (at >= block->size()) return Fail("more bytes than the block's size");
        (*block)[at++] = static_cast<uint8_t>(HexDigit(text[0]) * 16 + HexDigit(text[1]));
    }
    return true;
}

bool HouseReader::Value(FieldType type, const Token& token, samplegateway::Value* value) {
    if (type == FieldType::kString) {
        if (!token.quoted) return Fail("a string in double quotes where " + token.text + " stands");
        *value = token.text;
        return true;
    }
    const std::optional<int64_t> number = token.quoted ? std::nullopt : Number(token.text);
    if (!number) return Fail("\"" + token.text + "\" is no number");
    if (!Fits(type, *number)) return Fail(token.text + " is out of the field's range");
    *value = *number;
    return true;
}

bool HouseReader::Add(Item item) {
    item.when = m_when;
    item.unless = m_unless;
    if (!item.is_list && !Grow(WireSize(item.field.type, item.field.value, item.field.block))) return false;
    if (m_answer->slice && (!m_answer->items.empty() || !item.is_list || !item.when.empty()))
        return Fail("a slice holds one list and nothing else");
    m_answer->items.push_back(std::move(item));
    return true;
}

bool HouseReader::Grow(size_t bytes) {
    m_answerSize += bytes;
    if (m_answerSize > House::kMaxPayload)
        return Fail("the answer grows beyond " + std::to_string(House::kMaxPayload) + " bytes");
    return true;
}

bool HouseReader::Resolve() {
    for (const auto& [line, name] : m_counts)
        if (!m_listNames.count(name)) return Fail("count of an unknown list \"" + name + "\"", line);
    return true;
}

}  // namespace samplegateway
