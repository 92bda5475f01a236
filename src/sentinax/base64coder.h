#pragma once
// Base64 with the standard alphabet, '=' fill and no line breaks, as SMTP's
// AUTH LOGIN takes the account name and password.
#include <string>
#include <string_view>

std::string Base64Encode(std::string_view bytes);
