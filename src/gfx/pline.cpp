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
    if (n <= capacity_)
        return 1;
    if (n > kMaxPoints)
        return 0;
    const int capacity = std::min((n / 64 + 1) * 64, kMaxPoints);
    auto xs = NewArray(capacity);
    auto ys = NewArray(capacity);
    if (!xs || !ys)
        return 0;
    std::copy_n(xs_.get(), count_, xs.get());
    std::copy_n(ys_.get(), count_, ys.get());
    xs_ = std::move(xs);
    ys_ = std::move(ys);
    capacity_ = static_cast<uint16_t>(capacity);
    return 1;
}

int CPLine::AddPoint(int16_t x, int16_t y) {
    if (!Reserve(count_ + 1))
        return 0;
    xs_[count_] = x;
    ys_[count_] = y;
    ++count_;
    return 1;
}

int16_t CPLine::GetX(int index) const {
    if (index < 0 || index >= count_) {
        ReportAssert(kSource, __LINE__, 1);
        return 0;
    }
    return xs_[index];
}

int16_t CPLine::GetY(int index) const {
    if (index < 0 || index >= count_) {
        ReportAssert(kSource, __LINE__, 1);
        return 0;
    }
    return ys_[index];
}

int CPLine::Write(CZVMSG* msg) const {
    if (!msg->WriteInt(count_))
        return 0;
    for (int i = 0; i < count_; ++i) {
        if (!msg->WriteShort(xs_[i]) || !msg->WriteShort(ys_[i]))
            return 0;
    }
    return 1;
}

int CPLine::Read(CZVMSG* msg) {
    xs_.reset();
    ys_.reset();
    count_ = capacity_ = 0;
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
    xs_ = std::move(xs);
    ys_ = std::move(ys);
    count_ = capacity_ = static_cast<uint16_t>(count);
    return 1;
}

CPLineList::~CPLineList() { RemoveAll(); }

CPLine* CPLineList::AddNew() {
    auto* line = new (std::nothrow) CPLine;
    if (line && !lines_.AddTail(line)) {
        delete line;
        return nullptr;
    }
    return line;
}

CPLine* CPLineList::GetAt(int index) const {
    ZVPOSITION position = lines_.FindIndex(index);
    if (!position) {
        ReportAssert(kSource, __LINE__, 1);
        return nullptr;
    }
    return static_cast<CPLine*>(lines_.GetAt(position));
}

void CPLineList::RemoveAll() {
    while (!lines_.IsEmpty())
        delete static_cast<CPLine*>(lines_.RemoveHead());
}

int CPLineList::Write(CZVMSG* msg) const {
    if (!msg->WriteInt(lines_.GetCount()))
        return 0;
    for (ZVPOSITION position = lines_.GetHeadPosition(); position;) {
        if (!static_cast<const CPLine*>(lines_.GetNext(position))->Write(msg))
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
