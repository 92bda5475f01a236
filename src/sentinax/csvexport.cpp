#include "sentinax/csvexport.h"

#include "sentinax/replacefile.h"

std::string FormatCsvField(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string FormatCsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i)
        line += FormatCsvField(fields[i]) + (i + 1 < fields.size() ? "," : "\r\n");
    return line;
}

bool WriteCsvFile(const std::string& path, const std::vector<std::string>& titles,
                  const std::vector<std::vector<std::string>>& rows) {
    return WriteFileReplacing(path, false, [&](CZVFile& file) {
        const auto put = [&file](const std::string& line) {
            return line.size() <= INT32_MAX && file.WriteChecked(line.data(), static_cast<int32_t>(line.size()));
        };
        bool ok = put(FormatCsvLine(titles));
        for (const auto& row : rows)
            ok = ok && put(FormatCsvLine(row));
        return ok;
    });
}
