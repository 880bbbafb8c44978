#pragma once

#include "IdleSleepInhibitor.h"
#include "PowerOff.h"

#include <optional>
#include <string>
#include <vector>

namespace lumivar::test {

/// Records the power-off steps; never powers anything off. A test can have
/// the request fail, or the check before arming expect a refusal.
class RecordingPowerOff final : public PowerOff {
public:
    void AcquirePowerOffPrivilege() override { calls.push_back("privilege"); }
    void RequestPowerOff() override {
        calls.push_back("request");
        if (failure)
            ReportFailure(*failure);
    }
    std::optional<Failure> LikelyRefusal() override { return likelyRefusal; }

    std::vector<std::string> calls;
    std::optional<Failure> failure;       // reported by each request
    std::optional<Failure> likelyRefusal; // answered before arming
};

/// Counts what the window asked of the guard against idle sleep.
class RecordingIdleSleep final : public IdleSleepInhibitor {
public:
    void Inhibit() override { held = true, ++inhibits; }
    void Release() override { held = false; }

    bool held = false;
    int inhibits = 0;
};

} // namespace lumivar::test
