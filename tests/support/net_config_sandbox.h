#pragma once
// A program name, an empty settings folder and the network settings as they
// were, all put back when the object goes: for tests that load or change the
// network settings.
#include <string>

#include "core/zvsock.h"
#include "platform/program.h"
#include "support/temp_dir.h"

namespace testsupport {

class NetConfigSandbox {
public:
    explicit NetConfigSandbox(const char* programName) { platform::SetProgramName(programName); }
    ~NetConfigSandbox() {
        SetNetConfig(m_saved);
        platform::SetProgramName(m_previousName);
    }
    NetConfigSandbox(const NetConfigSandbox&) = delete;
    NetConfigSandbox& operator=(const NetConfigSandbox&) = delete;

    const ZVNetConfig& Saved() const { return m_saved; }
    const std::string& SettingsDir() const { return m_dir.Path(); }

private:
    const ZVNetConfig m_saved = GetNetConfig();
    const std::string m_previousName = platform::GetProgramName();
    TempDir m_dir;
    ScopedEnv m_config{"ZAVORO_CONFIG_DIR", m_dir.Path().c_str()};
};

}  // namespace testsupport
