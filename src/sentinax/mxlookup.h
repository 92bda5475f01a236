#pragma once
// The mail exchangers of a domain, from a DNS MX query through the C
// library's resolver.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CMxResolver {
public:
    virtual ~CMxResolver() = default;
    // The exchange host names of the answer's MX records, the most preferred
    // (lowest preference value) first. False when the query failed; `error` then gets the
    // resolver's status (h_errno's values).
    virtual bool QueryMx(const std::string& domain, std::vector<std::string>& hosts, int& error) = 0;
};

// res_nquery on the machine's resolver configuration.
class CDnsMxResolver final : public CMxResolver {
public:
    bool QueryMx(const std::string& domain, std::vector<std::string>& hosts, int& error) override;
};

// The exchange names of the MX records in a DNS answer of `length` bytes,
// by preference (lowest first; equal ones in the answer's order); records of
// other types are passed over. False, with `hosts` empty, when
// the answer is not well formed.
bool ParseMxAnswer(const uint8_t* answer, size_t length, std::vector<std::string>& hosts);
