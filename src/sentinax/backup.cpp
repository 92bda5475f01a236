#include "sentinax/backup.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

#include "core/zvfile.h"
#include "platform/fileio.h"
#include "platform/program.h"
#include "sentinax/configfile.h"
#include "sentinax/replacefile.h"

namespace {

constexpr int32_t kCopyPiece = 64 * 1024;
constexpr char kHistoryEnding[] = ".LOG";
constexpr size_t kHistoryEndingLength = sizeof kHistoryEnding - 1;
// The header, and the least an entry of the table takes: an empty name's
// count and the size.
constexpr int64_t kHeaderBytes = 8;
constexpr int64_t kLeastEntryBytes = 8;

bool IsConfigName(const std::string& name) { return strcasecmp(name.c_str(), kConfigFileName) == 0; }

bool EndsInHistory(const std::string& name) {
    return name.size() > kHistoryEndingLength &&
           strcasecmp(name.c_str() + name.size() - kHistoryEndingLength, kHistoryEnding) == 0;
}

// What a restore writes: the configuration and history files, nothing else
// (a file such as the discovery override would redirect the program).
bool IsRestored(const CArchiveEntry& entry) { return entry.name == kConfigFileName || EndsInHistory(entry.name); }

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name[0] != '.' && name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

// Exactly `size` bytes from one open file to the other.
bool CopyBytes(CZVFile& from, CZVFile& to, uint32_t size) {
    std::vector<uint8_t> piece(static_cast<size_t>(std::min<uint32_t>(size, kCopyPiece)));
    for (uint32_t left = size; left > 0;) {
        const int32_t count = static_cast<int32_t>(std::min<uint32_t>(left, kCopyPiece));
        if (!from.Read(piece.data(), count) || !to.WriteChecked(piece.data(), count))
            return false;
        left -= static_cast<uint32_t>(count);
    }
    return true;
}

bool ReadTable(CZVFile& archive, std::vector<CArchiveEntry>& entries) {
    int32_t version = 0, count = 0;
    if (!archive.ReadInt(version) || !archive.ReadInt(count))
        return false;
    const int64_t length = archive.GetLength();
    if (count < 0 || count > (length - kHeaderBytes) / kLeastEntryBytes)
        return false;
    int64_t bodies = 0;
    std::set<std::string> names;
    for (int32_t i = 0; i < count; ++i) {
        CArchiveEntry entry;
        int32_t size = 0;
        if (!archive.ReadString(&entry.name) || !archive.ReadInt(size))
            return false;
        if (IsConfigName(entry.name))
            entry.name = kConfigFileName;
        if (!IsPlainFileName(entry.name) || !names.insert(entry.name).second)
            return false;
        entry.size = static_cast<uint32_t>(size);
        bodies += entry.size;
        entries.push_back(std::move(entry));
    }
    return archive.GetPosition() + bodies <= length;
}

// The configuration holds passwords: its file is made private before a byte goes in.
bool CreatePrivate(const std::string& path) {
    const int fd = platform::OpenPrivateFile(path, O_WRONLY | O_CREAT | O_TRUNC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

void RemoveTemporaries(const std::string& folder, const std::vector<CArchiveEntry>& entries) {
    for (const CArchiveEntry& entry : entries)
        ::unlink(TemporaryNameFor(folder + "/" + entry.name).c_str());
}

}  // namespace

bool ListBackupFiles(const std::string& folder, bool withHistory, std::vector<CArchiveEntry>& entries) {
    entries.clear();
    DIR* listing = ::opendir(folder.c_str());
    if (!listing)
        return false;
    bool fits = true;
    while (const dirent* item = ::readdir(listing)) {
        const std::string name = item->d_name;
        if (name[0] == '.' || !(IsConfigName(name) || (withHistory && EndsInHistory(name))))
            continue;
        struct stat status{};
        if (::lstat((folder + "/" + name).c_str(), &status) != 0 || !S_ISREG(status.st_mode))
            continue;
        if (status.st_size > static_cast<off_t>(UINT32_MAX))
            fits = false;
        entries.push_back({name, static_cast<uint32_t>(status.st_size)});
    }
    ::closedir(listing);
    std::sort(entries.begin(), entries.end(),
              [](const CArchiveEntry& a, const CArchiveEntry& b) { return a.name < b.name; });
    return fits;
}

bool CreateBackup(const std::string& folder, const std::string& archivePath, bool withHistory) {
    std::vector<CArchiveEntry> entries;
    if (!ListBackupFiles(folder, withHistory, entries))
        return false;
    return WriteFileReplacing(archivePath, true, [&](CZVFile& archive) {
        bool ok = archive.WriteInt(kArchiveVersion) && archive.WriteInt(static_cast<int32_t>(entries.size()));
        for (const CArchiveEntry& entry : entries)
            ok = ok && archive.WriteString(entry.name) && archive.WriteInt(static_cast<int32_t>(entry.size));
        // A history file may grow while it is copied; the archive takes the
        // size listed. One that shrank fails the backup.
        for (const CArchiveEntry& entry : entries) {
            CZVFile file(folder + "/" + entry.name, ZVVariant::Monitor);
            ok = ok && file.Open(CZVFile::kRead) && CopyBytes(file, archive, entry.size);
        }
        return ok;
    });
}

bool RestoreBackup(const std::string& archivePath, const std::string& folder) {
    CZVFile archive(archivePath, ZVVariant::Monitor);
    std::vector<CArchiveEntry> entries;
    if (!archive.Open(CZVFile::kRead) || !ReadTable(archive, entries))
        return false;
    std::vector<CArchiveEntry> restored;
    for (const CArchiveEntry& entry : entries) {
        if (!IsRestored(entry)) {
            if (archive.Seek(entry.size, SEEK_CUR) < 0) {
                RemoveTemporaries(folder, restored);
                return false;
            }
            continue;
        }
        restored.push_back(entry);
        const std::string path = folder + "/" + entry.name;
        bool written = entry.name != kConfigFileName || CreatePrivate(TemporaryNameFor(path));
        {
            CZVFile out(TemporaryNameFor(path), ZVVariant::Monitor);
            written = written && out.Open(CZVFile::kCreate) && CopyBytes(archive, out, entry.size);
            written = out.Close() && written;
        }
        if (!written) {
            RemoveTemporaries(folder, restored);
            return false;
        }
    }
    bool committed = true;
    for (const CArchiveEntry& entry : restored) {
        const std::string path = folder + "/" + entry.name;
        committed = platform::CommitReplacement(TemporaryNameFor(path), path) && committed;
    }
    return committed;
}
