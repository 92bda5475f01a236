#pragma once
// One outgoing mail for one recipient: its lines, header lines first. The
// mail server adds the envelope and sends it.
#include <string>
#include <utility>
#include <vector>

class CEmailMessage {
public:
    explicit CEmailMessage(std::string recipient) : recipient_(std::move(recipient)) {}
    virtual ~CEmailMessage() = default;

    void AddLine(std::string line) { lines_.push_back(std::move(line)); }
    const std::string& GetRecipient() const { return recipient_; }
    const std::vector<std::string>& GetLines() const { return lines_; }

private:
    std::string recipient_;
    std::vector<std::string> lines_;
};
