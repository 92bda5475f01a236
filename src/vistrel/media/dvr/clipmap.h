#pragma once
// CClipMap: where a recorder holds recordings, as the gateway sends it for a
// stretch of time: one 4-bit cell per column of the time line, two cells a
// byte, the lower 4 bits first.
#include <cstdint>
#include <vector>

#include "core/zvmsg.h"

class CClipMap {
public:
    // Reads the cell count, the byte count and the bytes. A byte count larger
    // than what the message holds is cut to it (the missing cells read 0);
    // 0 when the message was short.
    int Read(CZVMSG& message);
    // The cell's value; 0 for a cell outside the bytes held.
    int Get(int index) const;

    int GetCellCount() const { return m_cellCount; }
    int GetByteCount() const { return static_cast<int>(m_cells.size()); }

private:
    int32_t m_cellCount = 0;
    std::vector<uint8_t> m_cells;
};
