#include "core/syscomponent.h"

#include <cstdio>
#include <cstring>

#include "core/msgreader.h"

namespace {

// Camera values go on the wire in the order 2, 3, 1, 4 to 10.
constexpr int kCameraWireOrder[CVideoCamera::kValueCount] = {1, 2, 0, 3, 4, 5, 6, 7, 8, 9};

}  // namespace

void CAddressRecord::Clear()
{
    *this = CAddressRecord();
}

int CAddressRecord::ReadInts(CZVMSG& message, int withPort)
{
    int32_t values[5] = {0, 0, 0, 0, 0};
    CMsgReader in(message);
    in.Int(values[0]).Int(values[1]).Int(values[2]).Int(values[3]);
    if (withPort)
        in.Int(values[4]);
    if (!in)
        return 0;
    a = static_cast<uint8_t>(values[0]);
    b = static_cast<uint8_t>(values[1]);
    c = static_cast<uint8_t>(values[2]);
    d = static_cast<uint8_t>(values[3]);
    if (withPort)
        port = static_cast<uint16_t>(values[4]);
    return 1;
}

int CAddressRecord::WriteInts(CZVMSG& message, int withPort) const
{
    int ok = message.WriteInt(a) && message.WriteInt(b) && message.WriteInt(c) &&
             message.WriteInt(d);
    if (ok && withPort)
        ok = message.WriteInt(port);
    return ok ? 1 : 0;
}

int CAddressRecord::ReadBytes(CZVMSG& message)
{
    uint8_t bytes[4];
    if (!CMsgReader(message).Byte(bytes[0]).Byte(bytes[1]).Byte(bytes[2]).Byte(bytes[3]))
        return 0;
    *this = CAddressRecord{bytes[0], bytes[1], bytes[2], bytes[3], 0};
    return 1;
}

int CAddressRecord::ReadShorts(CZVMSG& message)
{
    uint16_t values[4];
    if (!CMsgReader(message).Short(values[0]).Short(values[1]).Short(values[2]).Short(values[3]))
        return 0;
    *this = CAddressRecord{static_cast<uint8_t>(values[0]), static_cast<uint8_t>(values[1]),
                           static_cast<uint8_t>(values[2]), static_cast<uint8_t>(values[3]), 0};
    return 1;
}

int CAddressRecord::WriteBytes(CZVMSG& message) const
{
    return message.WriteByte(a) && message.WriteByte(b) && message.WriteByte(c) &&
                   message.WriteByte(d)
               ? 1
               : 0;
}

std::string CAddressRecord::ToText() const
{
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", a, b, c, d);
    return text;
}

CSystemComponent::CSystemComponent(CGatewayLink& link, ZVVariant variant, int32_t type,
                                   CZVMSG& message)
    : type(type), m_link(link), m_variant(variant)
{
    CMsgReader(message).String(name).Int(valueB).Int(id).Int(valueA).Int(kind).Int(valueE)
        .Int(valueF).Int(valueC);
}

std::unique_ptr<CZVMSG> CSystemComponent::MakeRequest(uint16_t messageId) const
{
    auto request = std::make_unique<CZVMSG>(0, messageId, 0, 1, m_variant);
    request->WriteInt(id);
    return request;
}

int CSystemComponent::Refresh()
{
    auto request = MakeRequest(ZVM_SYSCONFIG_GETCOMPONENTQ);
    auto answer = m_link.Ask(*request, kDefaultQueryTimeout);
    if (!answer)
        return 0;
    CMsgReader in(*answer);
    in.String(name).Int(valueB).Int(valueD);
    if (!in)
        return 0;
    if (kind == 2)
        return address.ReadInts(*answer, 1);
    if (HasPlainValues())
        in.Int(valueE).Int(valueF).Int(valueG);
    return in ? 1 : 0;
}

int CSystemComponent::Store()
{
    auto request = MakeRequest(ZVM_SYSCONFIG_SETCOMPONENTQ);
    request->WriteString(name);
    request->WriteInt(valueB);
    request->WriteInt(valueD);
    if (kind == 2) {
        address.WriteInts(*request, 1);
    } else if (HasPlainValues()) {
        request->WriteInt(valueE);
        request->WriteInt(valueF);
    }
    return m_link.Ask(*request, kDefaultQueryTimeout) != nullptr;
}

int CVideoCamera::Refresh()
{
    auto request = MakeRequest(ZVM_VIDEO_GETCAMERAQ);
    auto answer = m_link.Ask(*request, kDefaultQueryTimeout);
    if (!answer)
        return 0;
    CMsgReader in(*answer);
    in.Int(value).String(text1).String(text2);
    for (int slot : kCameraWireOrder)
        in.Int(cameraValues[static_cast<size_t>(slot)]);
    return in ? 1 : 0;
}

int CVideoCamera::Store()
{
    auto request = MakeRequest(ZVM_VIDEO_SETCAMERAQ);
    request->WriteString(text1);
    request->WriteString(text2);
    for (int slot : kCameraWireOrder)
        request->WriteInt(cameraValues[static_cast<size_t>(slot)]);
    return m_link.Ask(*request, kDefaultQueryTimeout) != nullptr;
}

int CDeviceRecord::Append(const uint8_t* bytes, int n)
{
    if (n < 0 || n > kDataSize - length)
        return 0;
    if (n > 0)
        std::memcpy(data.data() + length, bytes, static_cast<size_t>(n));
    length = static_cast<uint16_t>(length + n);
    return 1;
}

int CDeviceRecord::Read(CZVMSG& message)
{
    int32_t readId = 0, readLength = 0;
    std::string readName;
    if (!CMsgReader(message).Int(readId).String(readName).Int(readLength))
        return 0;
    const uint16_t size = static_cast<uint16_t>(readLength);
    if (size > kDataSize)
        return 0;
    std::array<uint8_t, kDataSize> block{};
    if (size > 0 && !message.ReadBytes(block.data(), size))
        return 0;
    id = readId;
    name = std::move(readName);
    data = block;
    length = size;
    return 1;
}

int CDeviceRecord::Write(CZVMSG& message) const
{
    int ok = message.WriteInt(id) && message.WriteString(name) && message.WriteInt(length);
    if (ok && length > 0)
        ok = message.WriteBytes(data.data(), length);
    return ok ? 1 : 0;
}
