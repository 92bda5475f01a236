#include "core/syscomponent.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_link.h"

using ::testing::ElementsAre;

namespace {

TEST(AddressRecordTest, TextAndByteForms)
{
    CAddressRecord address;
    auto bytes = MsgBuilder(1).Byte(192).Byte(168).Byte(1).Byte(20).Take();
    ASSERT_TRUE(address.ReadBytes(*bytes));
    EXPECT_EQ(address.ToText(), "192.168.1.20");

    CZVMSG out(0, 1);
    address.port = 80;
    ASSERT_TRUE(address.WriteBytes(out));
    ASSERT_TRUE(address.WriteInts(out, 1));
    out.ResetPosition();
    CAddressRecord copy;
    ASSERT_TRUE(copy.ReadBytes(out));
    ASSERT_TRUE(copy.ReadInts(out, 1));
    EXPECT_EQ(copy.ToText(), "192.168.1.20");
    EXPECT_EQ(copy.port, 80);

    auto shorts = MsgBuilder(1).Short(0x10A).Short(2).Short(3).Short(0xFF04).Take();
    ASSERT_TRUE(copy.ReadShorts(*shorts));
    EXPECT_EQ(copy.ToText(), "10.2.3.4");
    EXPECT_EQ(copy.port, 0);

    copy.Clear();
    EXPECT_EQ(copy.ToText(), "0.0.0.0");
}

TEST(AddressRecordTest, ReadsReportAMissingValueAndKeepTheRecord)
{
    CAddressRecord address{10, 0, 0, 1, 8080};
    auto ints = MsgBuilder(1).Int(192).Int(168).Int(1).Int(20).Take();
    EXPECT_FALSE(address.ReadInts(*ints, 1));
    EXPECT_EQ(address.ToText(), "10.0.0.1");
    EXPECT_EQ(address.port, 8080);

    auto three = MsgBuilder(1).Byte(1).Byte(2).Byte(3).Take();
    EXPECT_FALSE(address.ReadBytes(*three));
    auto shorts = MsgBuilder(1).Short(1).Short(2).Short(3).Take();
    EXPECT_FALSE(address.ReadShorts(*shorts));
    EXPECT_EQ(address.ToText(), "10.0.0.1");

    // Ints are cut to their low byte, the port to 16 bits.
    auto wide = MsgBuilder(1).Int(0x1C0).Int(168).Int(1).Int(20).Int(0x10050).Take();
    ASSERT_TRUE(address.ReadInts(*wide, 1));
    EXPECT_EQ(address.ToText(), "192.168.1.20");
    EXPECT_EQ(address.port, 0x50);
}

std::unique_ptr<CZVMSG> Creating(int32_t kind)
{
    // name, value B, id, value A, kind, value E, value F, value C
    return MsgBuilder(1).String("Gate").Int(2).Int(31).Int(3).Int(kind).Int(4).Int(5).Int(6).Take();
}

TEST(SystemComponentTest, ConstructorReadsTheCreatingMessage)
{
    FakeLink link;
    CSystemComponent component(link, ZVVariant::Config, 3, *Creating(2));
    EXPECT_EQ(component.name, "Gate");
    EXPECT_EQ(component.valueB, 2);
    EXPECT_EQ(component.id, 31);
    EXPECT_EQ(component.valueA, 3);
    EXPECT_EQ(component.kind, 2);
    EXPECT_EQ(component.valueE, 4);
    EXPECT_EQ(component.valueF, 5);
    EXPECT_EQ(component.valueC, 6);
    EXPECT_EQ(component.valueG, 256);
    EXPECT_EQ(component.type, 3);
    EXPECT_EQ(component.address.ToText(), "0.0.0.0");
}

TEST(SystemComponentTest, RefreshReadsTheAnswerByKind)
{
    FakeLink link;
    CSystemComponent network(link, ZVVariant::Config, 1, *Creating(2));
    EXPECT_FALSE(network.Refresh());
    link.Answer(ZVM_SYSCONFIG_GETCOMPONENTQ, MsgBuilder(ZVM_SYSCONFIG_GETCOMPONENTA)
                                                 .String("Camera NVR").Int(10).Int(11)
                                                 .Int(10).Int(1).Int(2).Int(3).Int(554).Take());
    ASSERT_TRUE(network.Refresh());
    EXPECT_THAT(IntsOf(*link.asked.back().message), ElementsAre(31));
    EXPECT_EQ(network.name, "Camera NVR");
    EXPECT_EQ(network.valueB, 10);
    EXPECT_EQ(network.valueD, 11);
    EXPECT_EQ(network.address.ToText(), "10.1.2.3");
    EXPECT_EQ(network.address.port, 554);

    CSystemComponent plain(link, ZVVariant::Config, 1, *Creating(4));
    link.Answer(ZVM_SYSCONFIG_GETCOMPONENTQ, MsgBuilder(ZVM_SYSCONFIG_GETCOMPONENTA)
                                                 .String("Relay").Int(1).Int(2).Int(7).Int(8).Int(9).Take());
    ASSERT_TRUE(plain.Refresh());
    EXPECT_EQ(plain.valueE, 7);
    EXPECT_EQ(plain.valueF, 8);
    EXPECT_EQ(plain.valueG, 9);

    // Kind 7 has nothing after value D.
    CSystemComponent other(link, ZVVariant::Config, 1, *Creating(7));
    link.Answer(ZVM_SYSCONFIG_GETCOMPONENTQ,
                MsgBuilder(ZVM_SYSCONFIG_GETCOMPONENTA).String("Other").Int(1).Int(2).Take());
    ASSERT_TRUE(other.Refresh());
    EXPECT_EQ(other.valueD, 2);
    EXPECT_EQ(other.valueE, 4);

    // An answer cut short is no refresh.
    link.Answer(ZVM_SYSCONFIG_GETCOMPONENTQ,
                MsgBuilder(ZVM_SYSCONFIG_GETCOMPONENTA).String("Short").Int(1).Int(2).Int(3).Take());
    EXPECT_FALSE(plain.Refresh());
}

TEST(SystemComponentTest, StoreWritesTheFieldsByKind)
{
    FakeLink link;
    CSystemComponent network(link, ZVVariant::Config, 1, *Creating(2));
    network.valueD = 9;
    network.address = CAddressRecord{192, 168, 0, 7, 8000};
    EXPECT_FALSE(network.Store());
    link.Acknowledge(ZVM_SYSCONFIG_SETCOMPONENTQ);
    ASSERT_TRUE(network.Store());

    CZVMSG& request = *link.asked.back().message;
    EXPECT_EQ(request.GetId(), ZVM_SYSCONFIG_SETCOMPONENTQ);
    int32_t id = 0, b = 0, d = 0;
    std::string name;
    ASSERT_TRUE(request.ReadInt(id) && request.ReadString(name) && request.ReadInt(b) && request.ReadInt(d));
    EXPECT_EQ(id, 31);
    EXPECT_EQ(name, "Gate");
    EXPECT_EQ(b, 2);
    EXPECT_EQ(d, 9);
    CAddressRecord sent;
    ASSERT_TRUE(sent.ReadInts(request, 1));
    EXPECT_EQ(sent.ToText(), "192.168.0.7");
    EXPECT_EQ(sent.port, 8000);
    EXPECT_FALSE(request.ReadInt(id));

    // Plain kinds send values E and F; value G is never stored.
    CSystemComponent plain(link, ZVVariant::Config, 1, *Creating(0));
    link.Acknowledge(ZVM_SYSCONFIG_SETCOMPONENTQ);
    ASSERT_TRUE(plain.Store());
    CZVMSG& second = *link.asked.back().message;
    ASSERT_TRUE(second.ReadInt(id) && second.ReadString(name) && second.ReadInt(b) && second.ReadInt(d));
    int32_t e = 0, f = 0;
    ASSERT_TRUE(second.ReadInt(e) && second.ReadInt(f));
    EXPECT_EQ(e, 4);
    EXPECT_EQ(f, 5);
    EXPECT_FALSE(second.ReadInt(e));
}

TEST(VideoCameraTest, RefreshAndStoreKeepTheWireOrder)
{
    FakeLink link;
    CVideoCamera camera(link, ZVVariant::Config, *Creating(3));
    EXPECT_EQ(camera.type, 8);
    EXPECT_EQ(camera.value, 0);

    MsgBuilder answer(ZVM_VIDEO_GETCAMERAA);
    answer.Int(5).String("Front").String("rtsp");
    for (int32_t v : {2, 3, 1, 4, 5, 6, 7, 8, 9, 10})
        answer.Int(v * 100);
    link.Answer(ZVM_VIDEO_GETCAMERAQ, answer.Take());
    ASSERT_TRUE(camera.Refresh());
    EXPECT_EQ(camera.value, 5);
    EXPECT_EQ(camera.text1, "Front");
    EXPECT_EQ(camera.text2, "rtsp");
    EXPECT_THAT(camera.cameraValues, ElementsAre(100, 200, 300, 400, 500, 600, 700, 800, 900, 1000));

    link.Acknowledge(ZVM_VIDEO_SETCAMERAQ);
    ASSERT_TRUE(camera.Store());
    CZVMSG& request = *link.asked.back().message;
    int32_t id = 0;
    std::string text1, text2;
    ASSERT_TRUE(request.ReadInt(id) && request.ReadString(text1) && request.ReadString(text2));
    EXPECT_EQ(id, 31);
    std::vector<int32_t> values;
    int32_t v = 0;
    while (request.ReadInt(v))
        values.push_back(v);
    EXPECT_THAT(values, ElementsAre(200, 300, 100, 400, 500, 600, 700, 800, 900, 1000));

    link.Answer(ZVM_VIDEO_GETCAMERAQ, MsgBuilder(ZVM_VIDEO_GETCAMERAA).Int(5).String("x").Take());
    EXPECT_FALSE(camera.Refresh());
}

// Payload and string limits differ between the programs, so every request is
// built for the program that sends it.
TEST(SystemComponentTest, RequestsAreBuiltForTheirProgram)
{
    for (ZVVariant variant : {ZVVariant::Tablet, ZVVariant::Config, ZVVariant::Monitor}) {
        FakeLink link;
        CSystemComponent component(link, variant, 1, *Creating(2));
        CVideoCamera camera(link, variant, *Creating(3));
        component.Refresh();
        component.Store();
        camera.Refresh();
        camera.Store();
        ASSERT_THAT(link.AskedIds(), ElementsAre(ZVM_SYSCONFIG_GETCOMPONENTQ, ZVM_SYSCONFIG_SETCOMPONENTQ,
                                                 ZVM_VIDEO_GETCAMERAQ, ZVM_VIDEO_SETCAMERAQ));
        for (const AskedRequest& request : link.asked)
            EXPECT_EQ(request.message->GetVariant(), variant) << request.message->GetId();
    }
}

TEST(DeviceRecordTest, RoundTripThroughAMessage)
{
    CDeviceRecord device(12);
    EXPECT_EQ(device.name, "New Device");
    const uint8_t bytes[] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(device.Append(bytes, 5));
    ASSERT_TRUE(device.Append(bytes, 2));
    EXPECT_EQ(device.length, 7);

    CZVMSG message(0, 1);
    ASSERT_TRUE(device.Write(message));
    EXPECT_EQ(message.GetLength(), 4 + 4 + 12 + 4 + 8);  // the data padded to 8
    message.ResetPosition();
    CDeviceRecord copy(0);
    ASSERT_TRUE(copy.Read(message));
    EXPECT_EQ(copy.id, 12);
    EXPECT_EQ(copy.name, "New Device");
    EXPECT_EQ(copy.length, 7);
    EXPECT_THAT(std::vector<uint8_t>(copy.data.begin(), copy.data.begin() + 7), ElementsAre(1, 2, 3, 4, 5, 1, 2));
}

TEST(DeviceRecordTest, NothingGoesPastTheDataBlock)
{
    CDeviceRecord device(1);
    std::vector<uint8_t> block(CDeviceRecord::kDataSize, 0xAB);
    ASSERT_TRUE(device.Append(block.data(), 1000));
    EXPECT_FALSE(device.Append(block.data(), 25));
    EXPECT_EQ(device.length, 1000);
    ASSERT_TRUE(device.Append(block.data(), 24));
    EXPECT_EQ(device.length, CDeviceRecord::kDataSize);
    EXPECT_FALSE(device.Append(block.data(), 1));

    // A length beyond the block, with the bytes present, is refused whole.
    MsgBuilder big(1);
    big.Int(2).String("Big").Int(CDeviceRecord::kDataSize + 1).Bytes(std::vector<uint8_t>(1028, 1));
    CDeviceRecord target(5);
    EXPECT_FALSE(target.Read(*big.Take()));
    EXPECT_EQ(target.id, 5);
    EXPECT_EQ(target.name, "New Device");
    EXPECT_EQ(target.length, 0);

    // Reduced to 16 bits first: 0x10004 is a length of 4.
    MsgBuilder wrapped(1);
    wrapped.Int(2).String("Wrap").Int(0x10004).Bytes({9, 8, 7, 6});
    ASSERT_TRUE(target.Read(*wrapped.Take()));
    EXPECT_EQ(target.length, 4);
    EXPECT_EQ(target.data[3], 6);

    MsgBuilder cut(1);
    cut.Int(2).String("Cut").Int(8).Bytes({1, 2, 3});
    EXPECT_FALSE(target.Read(*cut.Take()));
    EXPECT_EQ(target.name, "Wrap");
}

}  // namespace
