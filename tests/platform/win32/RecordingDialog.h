#pragma once

#include "Dialog.h"

#include <functional>
#include <utility>
#include <vector>

namespace lumivar::test {

/// A dialog behaviour whose `body` runs at the first tick of timer
/// kBodyTimer, inside the live window's message loop; the window then ends
/// with `result`.
template <class Behaviour> class WithBody : public Behaviour {
public:
    using Behaviour::Behaviour;
    static constexpr int kBodyTimer = 99;

    std::function<void()> body;
    int result = 0;
    bool endAfterBody = true;

    bool OnInitDialog() override {
        if (body)
            this->Host().SetTimer(kBodyTimer, std::chrono::milliseconds(10));
        return Behaviour::OnInitDialog();
    }
    void OnTimer(int id) override {
        if (id != kBodyTimer)
            return Behaviour::OnTimer(id);
        this->Host().KillTimer(kBodyTimer);
        body();
        if (endAfterBody)
            this->Host().EndDialog(result);
    }
};

/// A dialog behaviour that records what its host routes to it.
class Recording : public ui::Dialog {
public:
    explicit Recording(int templateId, bool* destroyed = nullptr)
        : Dialog(templateId), m_destroyed(destroyed) {}
    ~Recording() override {
        if (m_destroyed)
            *m_destroyed = true;
    }

    int spinAnswer = 0;
    /// Also told of every command: outlives a dialog its window frees.
    std::function<void(int)> onCommand;

    std::vector<int> commands;
    std::vector<std::pair<int, int>> spins;
    std::vector<std::pair<std::uintptr_t, std::intptr_t>> trayCallbacks;
    int closes = 0;
    int initDialogs = 0;

    bool OnInitDialog() override {
        ++initDialogs;
        return true;
    }
    void OnCommand(int id) override {
        commands.push_back(id);
        if (onCommand)
            onCommand(id);
        Dialog::OnCommand(id);
    }
    bool OnClose() override {
        ++closes;
        return false;
    }
    int OnSpinDelta(int id, int delta) override {
        spins.emplace_back(id, delta);
        return spinAnswer;
    }
    void OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        if (message == 0x0401)
            trayCallbacks.emplace_back(wParam, lParam);
    }

private:
    bool* m_destroyed;
};

using RecordingDialog = WithBody<Recording>;

} // namespace lumivar::test
