#include "gfx/zvregistry.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/program.h"
#include "support/temp_dir.h"

namespace {

class ZVRegistry : public testing::Test {
protected:
    ZVRegistry() { platform::SetProgramName("vistrel"); }
    ~ZVRegistry() override { platform::SetProgramName(m_previousName); }

    std::string File() const { return m_dir.File("vistrel.ini"); }

    std::string m_previousName = platform::GetProgramName();
    testsupport::TempDir m_dir;
    testsupport::ScopedEnv m_config{"ZAVORO_CONFIG_DIR", m_dir.Path().c_str()};
};

TEST_F(ZVRegistry, MissingValuesLeaveTheDefaults) {
    CZVRegistry registry("UserInterface");
    EXPECT_EQ(registry.Open(true), 0);  // no settings file yet
    EXPECT_EQ(registry.Open(false), 1);
    CZVString font("Arial");
    int port = 80;
    EXPECT_EQ(registry.ReadString("DefaultFont", &font), 0);
    EXPECT_EQ(registry.ReadDword("BasePort", &port), 0);
    EXPECT_STREQ(font.GetAnsi(), "Arial");
    EXPECT_EQ(port, 80);
}

TEST_F(ZVRegistry, ValuesRoundTripInTheProgramsFile) {
    ASSERT_EQ(CZVRegistry("UserInterface").WriteString("DefaultFont", "Caf\xe9 Sans"), 1);
    testsupport::WriteFileText(File(),
                               testsupport::ReadFileText(File()) + "[ProgramDefaults]\nBasePort=8080\nName=abc\n");

    CZVString font("Arial");
    EXPECT_EQ(CZVRegistry("UserInterface").ReadString("DefaultFont", &font), 1);
    EXPECT_STREQ(font.GetAnsi(), "Caf\xe9 Sans");

    CZVString wide(CZVString::kWide);
    EXPECT_EQ(CZVRegistry("UserInterface").ReadString("DefaultFont", &wide), 1);
    EXPECT_EQ(wide.GetKind(), CZVString::kWide);
    EXPECT_EQ(std::u16string(wide.GetWide()), u"Caf\u00e9 Sans");

    CZVRegistry defaults("ProgramDefaults");
    int port = 80;
    EXPECT_EQ(defaults.ReadDword("BasePort", &port), 1);
    EXPECT_EQ(port, 8080);
    // A value that is not a number is not a DWORD.
    EXPECT_EQ(defaults.ReadDword("Name", &port), 0);
    EXPECT_EQ(port, 8080);
    // Sections are apart.
    EXPECT_EQ(defaults.ReadString("DefaultFont", &font), 0);
}

TEST_F(ZVRegistry, ValueTooLongForAStringFailsUntouched) {
    testsupport::WriteFileText(File(), "[UserInterface]\nLong=" + std::string(10000, 'x') + "\nLongest=" +
                                           std::string(9999, 'y') + "\nWide=" + std::string(5000, 'z') + "\n");
    CZVRegistry registry("UserInterface");
    CZVString value("Arial");
    EXPECT_EQ(registry.ReadString("Long", &value), 0);
    EXPECT_STREQ(value.GetAnsi(), "Arial");
    EXPECT_EQ(registry.ReadString("Longest", &value), 1);
    EXPECT_EQ(value.GetLength(), 9999);

    CZVString wide = CZVString(u"Arial", u"");
    EXPECT_EQ(registry.ReadString("Wide", &wide), 0);  // 5,000 16-bit characters do not fit
    EXPECT_EQ(std::u16string(wide.GetWide()), u"Arial");
}

TEST_F(ZVRegistry, TextWithoutAn8BitFormIsNotWritten) {
    CZVRegistry registry("UserInterface");
    EXPECT_EQ(registry.WriteString("DefaultFont", CZVString(u"\u4e2d", u"")), 0);
    EXPECT_EQ(registry.WriteString(CZVString(u"\u4e2d", u""), "Arial"), 0);
    EXPECT_EQ(CZVRegistry(CZVString(u"\u4e2d", u"")).WriteString("DefaultFont", "Arial"), 0);
    EXPECT_EQ(testsupport::ReadFileText(File()), "");
}

}  // namespace
