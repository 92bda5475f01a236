#include "vistrel/media/dvr/clipmap.h"

#include <algorithm>

#include "core/msgreader.h"

int CClipMap::Read(CZVMSG& message) {
    m_cells.clear();
    m_cellCount = 0;
    int32_t byteCount = 0;
    if (!CMsgReader(message).Int(m_cellCount).Int(byteCount)) return 0;
    if (byteCount < 0) return 1;
    bool cut = false;
    const int32_t held = BoundCount(byteCount, message, 1, &cut);
    m_cells.resize(static_cast<size_t>(held));
    if (held > 0 && !message.ReadBytes(m_cells.data(), held)) m_cells.clear();
    return cut ? 0 : 1;
}

int CClipMap::Get(int index) const {
    if (index < 0 || static_cast<size_t>(index / 2) >= m_cells.size()) return 0;
    return (m_cells[static_cast<size_t>(index / 2)] >> (4 * (index % 2))) & 0xF;
}
