#pragma once
// The CSV export of a history list: the column titles, then one line per
// record; fields joined by ',', each line ended by "\r\n", as RFC 4180 has
// it: a field holding a comma, a quote or a line break is put in quotes,
// its quotes doubled. Texts are the program's 8-bit texts.
#include <string>
#include <vector>

std::string FormatCsvField(const std::string& field);
std::string FormatCsvLine(const std::vector<std::string>& fields);
// The whole file, written under a temporary name and renamed into place.
bool WriteCsvFile(const std::string& path, const std::vector<std::string>& titles,
                  const std::vector<std::vector<std::string>>& rows);
