#pragma once

#include "SecondStart.h"
#include "Win32Api.h"

#include <optional>
#include <string>

namespace lumivar::win32 {

/// A second start hands the running copy's main window its request in a
/// WM_COPYDATA with this tag; the window answers kSameRun or kOtherRun.
inline constexpr ULONG_PTR kSecondStartTag = 0x4C4D5653; // "LMVS"
inline constexpr LRESULT kSameRun = 1;
inline constexpr LRESULT kOtherRun = 2;

/// The message the running copy's main window posts itself to act on a
/// second start once its answer has gone back; 0 if it could not be
/// registered.
UINT SecondStartMessage();

/// Makes `window` the main window a second start finds (`mark`), hidden in
/// the tray or not, and lets a second start's request through to it from a
/// process of lower integrity; or takes the mark away before it is destroyed.
void MarkMainWindow(HWND window, bool mark);

/// What CreateMutexW's outcome says of the session: whether it returned a
/// handle, and the last error then.
ui::SessionCopy::Claim ClaimFromMutex(bool handle, DWORD error);

/// A request as WM_COPYDATA carries it, and back: nothing for bytes that are
/// not one. The launch tokens are Linux's and stay behind.
std::wstring EncodeStartRequest(const ui::StartRequest& request);
std::optional<ui::StartRequest> DecodeStartRequest(const void* data, DWORD size);

/// One copy per desktop session: the mutex Local\Lumivar-... held for the
/// process's life, and the marked main window of the copy that holds it.
class Win32SessionCopy final : public ui::SessionCopy {
public:
    Claim ClaimSession() override;
    Answer HandOver(const ui::StartRequest& request, std::chrono::milliseconds patience) override;

private:
    // Never closed: held, or waited on, until the process exits.
    HANDLE m_mutex = nullptr;
};

} // namespace lumivar::win32
