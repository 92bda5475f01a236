#pragma once
// One outgoing mail for one recipient: its own header lines ("Subject: ...")
// and its body lines. The mail server adds the envelope, the address and
// date headers and the empty line that ends the headers, and sends it.
#include <string>
#include <utility>
#include <vector>

class CEmailMessage {
public:
    explicit CEmailMessage(std::string recipient) : m_recipient(std::move(recipient)) {}
    virtual ~CEmailMessage() = default;

    void AddHeader(std::string line) { m_headers.push_back(std::move(line)); }
    void AddLine(std::string line) { m_lines.push_back(std::move(line)); }
    const std::string& GetRecipient() const { return m_recipient; }
    const std::vector<std::string>& GetHeaders() const { return m_headers; }
    const std::vector<std::string>& GetLines() const { return m_lines; }

private:
    std::string m_recipient;
    std::vector<std::string> m_headers;
    std::vector<std::string> m_lines;
};
