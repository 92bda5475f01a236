#pragma once
// One outgoing mail for one recipient: its own header lines ("Subject: ...")
// and its body lines. The mail server adds the envelope, the address and
// date headers and the empty line that ends the headers, and sends it.
#include <string>
#include <utility>
#include <vector>

class CEmailMessage {
public:
    explicit CEmailMessage(std::string recipient) : recipient_(std::move(recipient)) {}
    virtual ~CEmailMessage() = default;

    void AddHeader(std::string line) { headers_.push_back(std::move(line)); }
    void AddLine(std::string line) { lines_.push_back(std::move(line)); }
    const std::string& GetRecipient() const { return recipient_; }
    const std::vector<std::string>& GetHeaders() const { return headers_; }
    const std::vector<std::string>& GetLines() const { return lines_; }

private:
    std::string recipient_;
    std::vector<std::string> headers_;
    std::vector<std::string> lines_;
};
