#include "vistrel/media/audio/auddata.h"

#include <string>

#include "core/msgreader.h"
#include "platform/report.h"

namespace {

constexpr const char* kSource = "auddata";

}  // namespace

CAudDataList::CAudDataList(CZVMSG* message) {
    int32_t sent = 0;
    if (!message || !message->ReadInt(sent)) return;
    bool cut = false;
    const int32_t count = BoundCount(sent, *message, CAudDataEntry::kMinWireSize, &cut);
    m_ok = !cut && sent >= 0;
    for (int32_t i = 0; i < count; ++i) {
        int32_t id = 0, kind = 0;
        std::string name;
        if (!CMsgReader(*message).Int(id).String(name).Int(kind)) {
            m_ok = false;
            return;
        }
        m_entries.push_back(CAudDataEntry{id, kind, CZVString(name.c_str())});
    }
}

const CAudDataEntry* CAudDataList::GetAt(int index) const {
    if (index < 0 || index >= GetCount()) {
        ReportAssert(kSource, __LINE__, 1);
        return nullptr;
    }
    return &m_entries[static_cast<size_t>(index)];
}

bool CAudDataList::IsSame(const CAudDataList& other) const {
    if (m_entries.size() != other.m_entries.size()) return false;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const CAudDataEntry& a = m_entries[i];
        const CAudDataEntry& b = other.m_entries[i];
        const bool bothDirectory = a.kind == CAudDataEntry::kRadioDirectory && b.kind == CAudDataEntry::kRadioDirectory;
        if (a.id != b.id && !bothDirectory) return false;
    }
    return true;
}

void CAudioZone::AddSource(int id, int kind, CZVString name, CZVString iconName) {
    m_sources.emplace_back(id, kind, name, iconName);
}

const CAudioSource* CAudioZone::GetSource(int index) const {
    if (index < 0 || index >= GetSourceCount()) {
        ReportAssert(kSource, __LINE__, 1);
        return nullptr;
    }
    return &m_sources[static_cast<size_t>(index)];
}
