#pragma once
// Writing one of the monitor's files through CZVFile so that no reader, and
// no failure half-way, ever finds half of it (see platform::ReplaceFile).
#include <functional>
#include <string>

#include "core/zvfile.h"

// "<path>.new".
std::string TemporaryNameFor(const std::string& path);

// Creates the temporary file (mode 0600 when `secret`, since it holds a
// password), lets `write` fill it and puts it in place of `path`. On any
// failure the temporary file is removed and `path` is left as it was.
bool WriteFileReplacing(const std::string& path, const std::string& temporary, bool secret,
                        const std::function<bool(CZVFile&)>& write);
// The same through TemporaryNameFor(path).
bool WriteFileReplacing(const std::string& path, bool secret, const std::function<bool(CZVFile&)>& write);
