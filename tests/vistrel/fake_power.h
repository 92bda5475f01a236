#pragma once
// Mains or battery as a test says, a fixed charge, and a count of the
// suspends and keep-awake calls; installed for the test's lifetime.
#include "platform/power.h"

namespace vistreltest {

class FakePower : public platform::PowerSource {
public:
    FakePower() : m_previous(platform::InstallPowerSource(this)) {}
    ~FakePower() override { platform::InstallPowerSource(m_previous); }
    bool IsOnAc() override { return onAc; }
    int ReadBatteryPercent() override { return batteryPercent; }
    void KeepAwake() override { ++keepAwakes; }
    bool Suspend() override {
        ++suspends;
        return true;
    }
    bool onAc = true;
    int batteryPercent = 40;
    int suspends = 0;
    int keepAwakes = 0;

private:
    platform::PowerSource* m_previous;
};

}  // namespace vistreltest
