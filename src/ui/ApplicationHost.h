#pragma once

namespace lumivar::ui {

class Dialog;

/// What RunMainDialog returns for a main window it could not create.
inline constexpr int kMainDialogNotCreated = -1;

/// What the application start-up needs from a window system.
class ApplicationHost {
public:
    virtual ~ApplicationHost() = default;

    /// Makes `dialog` the application's main window (the owner of every later
    /// window, the tray menu's owner) and runs it modally until it ends.
    /// Returns its result, or kMainDialogNotCreated.
    virtual int RunMainDialog(Dialog& dialog) = 0;
};

} // namespace lumivar::ui
