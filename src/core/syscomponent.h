#pragma once
// Small records that describe equipment behind the gateway: a network
// address, a system component fetched from and stored to the gateway, a
// video camera, and a device record with a block of opaque data.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/gatewaylink.h"
#include "core/zvmsg.h"
#include "core/messages/coremessages.h"

class CAddressRecord {
public:
    void Clear();
    // Four ints reduced to bytes, then with withPort an int port; 0 when one
    // is missing, and the record keeps its old value.
    int ReadInts(CZVMSG& message, int withPort);
    int WriteInts(CZVMSG& message, int withPort) const;
    int ReadBytes(CZVMSG& message);
    int ReadShorts(CZVMSG& message);
    int WriteBytes(CZVMSG& message) const;
    std::string ToText() const;

    uint8_t a = 0, b = 0, c = 0, d = 0;
    uint16_t port = 0;
};

class CSystemComponent {
public:
    // Reads name, value B, id, value A, kind, values E and F and value C.
    // Requests are built for the variant's program, as its link expects.
    CSystemComponent(CGatewayLink& link, ZVVariant variant, int32_t type, CZVMSG& message);
    virtual ~CSystemComponent() = default;

    // Asks the gateway; 1 when the answer came and read whole.
    int Refresh();
    int Store();

    std::string name;
    int32_t id = 0;
    int32_t type;
    int32_t valueA = 0;
    int32_t kind = 0;  // 2: network address; 0, 1, 3, 4: three plain values
    int32_t valueB = 0;
    int32_t valueC = 0;
    int32_t valueD = 0;
    CAddressRecord address;
    int32_t valueE = -1, valueF = -1, valueG = 256;

protected:
    // A request of this program about this component: its id comes first.
    std::unique_ptr<CZVMSG> MakeRequest(uint16_t messageId) const;

    CGatewayLink& m_link;
    ZVVariant m_variant;

private:
    int HasPlainValues() const { return kind == 0 || kind == 1 || kind == 3 || kind == 4; }
};

class CVideoCamera : public CSystemComponent {
public:
    static constexpr int32_t kType = 8;
    static constexpr int kValueCount = 10;

    CVideoCamera(CGatewayLink& link, ZVVariant variant, CZVMSG& message)
        : CSystemComponent(link, variant, kType, message) {}

    int Refresh();
    int Store();

    int32_t value = 0;
    std::string text1, text2;
    std::array<int32_t, kValueCount> cameraValues{};  // camera values 1 to 10
};

class CDeviceRecord {
public:
    static constexpr int kDataSize = 1024;

    explicit CDeviceRecord(int32_t id) : id(id) {}

    // Appends n bytes; 0, appending nothing, when they do not fit the block.
    int Append(const uint8_t* bytes, int n);
    // id, name, length, the data; 0 when a value is missing or the data does
    // not fit the block, and the record keeps its old content.
    int Read(CZVMSG& message);
    int Write(CZVMSG& message) const;

    std::string name = "New Device";
    int32_t id;
    std::array<uint8_t, kDataSize> data{};
    uint16_t length = 0;
};
