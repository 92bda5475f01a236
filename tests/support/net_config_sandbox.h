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
        SetNetConfig(saved_);
        platform::SetProgramName(previousName_);
    }
    NetConfigSandbox(const NetConfigSandbox&) = delete;
    NetConfigSandbox& operator=(const NetConfigSandbox&) = delete;

    const ZVNetConfig& Saved() const { return saved_; }
    const std::string& SettingsDir() const { return dir_.Path(); }

private:
    const ZVNetConfig saved_ = GetNetConfig();
    const std::string previousName_ = platform::GetProgramName();
    TempDir dir_;
    ScopedEnv config_{"ZAVORO_CONFIG_DIR", dir_.Path().c_str()};
};

}  // namespace testsupport
