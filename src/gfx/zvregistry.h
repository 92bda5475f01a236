#pragma once
// The tablet's few local settings, one section of the program's settings
// store per object. Each user makes a short-lived object for one access.
// Every failure is a 0 result that leaves the output untouched, so callers
// keep their defaults.
#include <string>

#include "gfx/zvstring.h"

class CZVRegistry {
public:
    // The program's own settings (named after the running program); opens nothing.
    explicit CZVRegistry(CZVString section);
    virtual ~CZVRegistry() = default;

    // 1 when the store can be used: for reading, the program's settings
    // file exists; for writing, its place is known.
    int Open(bool read);
    // 1 and the text when the value exists and `value` can hold it (in its
    // own form); otherwise 0 and `value` unchanged.
    int ReadString(CZVString name, CZVString* value);
    // 1 and the number when the value exists and is a 32-bit number.
    int ReadDword(CZVString name, int* value);
    // Writes the value's 8-bit text; 0 when it has a character that 8-bit
    // text cannot hold, or the store cannot be written.
    int WriteString(CZVString name, CZVString value);

private:
    std::string m_section;
};
