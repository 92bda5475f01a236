#pragma once
// Stored text is either 8-bit (Windows-1252) or, where a count says so,
// UTF-16LE; these put either form into the caller's kind of string.
#include <cstdint>
#include <span>
#include <string>

void AssignText(std::string& out, std::span<const uint8_t> bytes, bool wide);
void AssignText(std::u16string& out, std::span<const uint8_t> bytes, bool wide);
