#pragma once
// Base64 with the standard alphabet, '=' fill and no line breaks, as SMTP's
// AUTH LOGIN takes the account name and password.
#include <optional>
#include <string>
#include <string_view>

std::string Base64Encode(std::string_view bytes);

// The bytes a Base64 text stands for. White space (codes 7 to 13 and the
// blank) is passed over, and an alphabet character with its high bit set
// counts as the character itself. A last group may leave out its fill.
// Nothing when the text holds any other character, fill anywhere but at the
// end, or a lone character in its last group.
std::optional<std::string> Base64Decode(std::string_view text);
