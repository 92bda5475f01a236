#include "gfx/pline.h"

#include <algorithm>
#include <new>

#include "core/zvmsg.h"
#include "platform/report.h"

namespace {

constexpr const char* kSource = "pline";
constexpr int kPointBytes = 4;

std::unique_ptr<int16_t[]> NewArray(int size) {
    return std::unique_ptr<int16_t[]>(new (std::nothrow) int16_t[size]);
}

int16_t Little16(const uint8_t* bytes) {
    return static_cast<int16_t>(bytes[0] | bytes[1] << 8);
}

}  // namespace

int CPLine::Reserve(int n) {
    if (n <= m_capacity)
        return 1;
    if (n > kMaxPoints)
        return 0;
    const int capacity = std::min((n / 64 + 1) * 64, kMaxPoints);
    auto xs = NewArray(capacity);
    auto ys = NewArray(capacity);
    if (!xs || !ys)
        return 0;
    std::copy_n(m_xs.get(), m_count, xs.get());
    std::copy_n(m_ys.get(), m_count, ys.get());
    m_xs = std::move(xs);
    m_ys = std::move(ys);
    m_capacity = static_cast<uint16_t>(capacity);
    return 1;
}

int CPLine::AddPoint(int16_t x, int16_t y) {
    if (!Reserve(m_count + 1))
        return 0;
    m_xs[m_count] = x;
    m_ys[m_count] = y;
    ++m_count;
    return 1;
}

int16_t CPLine::GetX(int index) const {
    if (index < 0 || index >= m_count) {
        ReportAssert(kSource, __LINE__, 1);
        return 0;
    }
    return m_xs[index];
}

int16_t CPLine::GetY(int index) const {
    if (index < 0 || index >= m_count) {
        ReportAssert(kSource, __LINE__, 1);
        return 0;
    }
    return m_ys[index];
}

int CPLine::Write(CZVMSG* msg) const {
    if (!msg->WriteInt(m_count))
        return 0;
    for (int i = 0; i < m_count; ++i) {
        if (!msg->WriteShort(m_xs[i]) || !msg->WriteShort(m_ys[i]))
            return 0;
    }
    return 1;
}

int CPLine::Read(CZVMSG* msg) {
    m_xs.reset();
    m_ys.reset();
    m_count = m_capacity = 0;
    int32_t count = 0;
    if (!msg->ReadInt(count) || count < 0 || count > kMaxPoints)
        return 0;
    if (count == 0)
        return 1;
    // The points are read in one block, which fails when the message holds
    // fewer than the count says.
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[count * kPointBytes]);
    auto xs = NewArray(count);
    auto ys = NewArray(count);
    if (!bytes || !xs || !ys || !msg->ReadBytes(bytes.get(), count * kPointBytes))
        return 0;
    for (int i = 0; i < count; ++i) {
        xs[i] = Little16(&bytes[i * kPointBytes]);
        ys[i] = Little16(&bytes[i * kPointBytes + 2]);
    }
    m_xs = std::move(xs);
    m_ys = std::move(ys);
    m_count = m_capacity = static_cast<uint16_t>(count);
    return 1;
}

CPLineList::~CPLineList() { RemoveAll(); }

CPLine* CPLineList::AddNew() {
    auto* line = new (std::nothrow) CPLine;
    if (line && !m_lines.AddTail(line)) {
        delete line;
        return nullptr;
    }
    return line;
}

CPLine* CPLineList::GetAt(int index) const {
    ZVPOSITION position = m_lines.FindIndex(index);
    if (!position) {
        ReportAssert(kSource, __LINE__, 1);
        return nullptr;
    }
    return static_cast<CPLine*>(m_lines.GetAt(position));
}

void CPLineList::RemoveAll() {
    while (!m_lines.IsEmpty())
        delete static_cast<CPLine*>(m_lines.RemoveHead());
}

int CPLineList::Write(CZVMSG* msg) const {
    if (!msg->WriteInt(m_lines.GetCount()))
        return 0;
    for (ZVPOSITION position = m_lines.GetHeadPosition(); position;) {
        if (!static_cast<const CPLine*>(m_lines.GetNext(position))->Write(msg))
            return 0;
    }
    return 1;
}

int CPLineList::Read(CZVMSG* msg) {
    RemoveAll();
    int32_t count = 0;
    if (!msg->ReadInt(count) || count < 0 || count > kMaxLines)
        return 0;
    for (int i = 0; i < count; ++i) {
        CPLine* line = AddNew();
        if (!line || !line->Read(msg)) {
            RemoveAll();
            return 0;
        }
    }
    return 1;
}
