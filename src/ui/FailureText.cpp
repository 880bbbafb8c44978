#include "FailureText.h"

#include <ostream>

namespace lumivar::ui {
namespace {

struct KindText {
    std::string_view chinese; // for the user, in the box
    std::string_view english; // for standard error
};

// Each kind worded once, for both programs. A switch, so that a kind added
// without its words does not build quietly.
KindText TextOf(FailureKind kind) {
    switch (kind) {
    case FailureKind::NoSystemBus:
        return {"找不到系统总线,无法向 systemd-logind 请求关机。",
                "no system bus to reach logind on"};
    case FailureKind::NoLogind:
        return {"systemd-logind 没有运行或没有应答,无法请求关机。",
                "logind is not there or does not answer"};
    case FailureKind::NeedsAuthorisation:
        return {"关机需要管理员授权:须有人在场输入管理员密码。",
                "an administrator's authorisation is needed"};
    case FailureKind::Refused:
        return {"系统不允许本用户关机。", "logind does not allow this user to power off"};
    case FailureKind::NotSupported:
        return {"本系统不支持关机。", "the system cannot power off"};
    case FailureKind::PrivilegeNotGranted:
        return {"本用户没有关闭系统的权限。", "the shutdown privilege was not granted"};
    case FailureKind::ShutdownRefused:
        return {"系统拒绝了关机请求。", "the system turned the shutdown down"};
    case FailureKind::NotWritable:
        return {"设置文件或它所在的文件夹不允许写入。",
                "the file or its folder may not be written"};
    case FailureKind::TooLarge:
        return {"设置文件过大,不像是本程序的设置文件,因此保持原样。",
                "the file is too large to be a settings file; left as it is"};
    case FailureKind::Unreadable:
        return {"设置文件无法读取,为免丢失其中的内容而没有改写。",
                "the file cannot be read, so it is not rewritten"};
    case FailureKind::WriteFailed:
        return {"写入设置文件时出错。", "the write failed"};
    }
    return {"出现错误。", "failed"};
}

} // namespace

std::string DescribeFailure(const Failure& failure) {
    std::string text(TextOf(failure.kind).chinese);
    if (!failure.detail.empty())
        text.append("\n").append(failure.detail);
    return text;
}

void LogFailure(std::ostream& errors, std::string_view what, const Failure& failure) {
    errors << "lumivar: " << what << ": " << TextOf(failure.kind).english;
    if (!failure.detail.empty())
        errors << " (" << failure.detail << ')';
    errors << std::endl;
}

} // namespace lumivar::ui
