#pragma once

#include "Dialog.h"

#include <functional>
#include <utility>
#include <vector>

namespace lumivar::test {

/// A dialog behaviour that records what its host routes to it. `body` runs
/// at the first tick of timer kBodyTimer, inside the live window's message
/// loop, and the window then ends with `result`.
class RecordingDialog : public ui::Dialog {
public:
    static constexpr int kBodyTimer = 99;

    explicit RecordingDialog(int templateId, bool* destroyed = nullptr)
        : Dialog(templateId), m_destroyed(destroyed) {}
    ~RecordingDialog() override {
        if (m_destroyed)
            *m_destroyed = true;
    }

    std::function<void()> body;
    int result = 0;
    int spinAnswer = 0;
    bool closeHandled = false;
    bool endAfterBody = true;
    /// Also told of every command: outlives a dialog its window frees.
    std::function<void(int)> onCommand;

    std::vector<int> commands;
    std::vector<std::pair<int, int>> spins;
    std::vector<unsigned> messages;
    std::vector<std::pair<std::uintptr_t, std::intptr_t>> trayCallbacks;
    int closes = 0;
    int initDialogs = 0;

    ui::DialogHost& Window() const { return Host(); }

    bool OnInitDialog() override {
        ++initDialogs;
        if (body)
            Host().SetTimer(kBodyTimer, std::chrono::milliseconds(10));
        return true;
    }
    void OnCommand(int id) override {
        commands.push_back(id);
        if (onCommand)
            onCommand(id);
        Dialog::OnCommand(id);
    }
    void OnTimer(int id) override {
        if (id != kBodyTimer)
            return;
        Host().KillTimer(kBodyTimer);
        body();
        if (endAfterBody)
            Host().EndDialog(result);
    }
    bool OnClose() override {
        ++closes;
        return closeHandled;
    }
    int OnSpinDelta(int id, int delta) override {
        spins.emplace_back(id, delta);
        return spinAnswer;
    }
    void OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        messages.push_back(message);
        if (message == 0x0401)
            trayCallbacks.emplace_back(wParam, lParam);
    }

private:
    bool* m_destroyed;
};

} // namespace lumivar::test
