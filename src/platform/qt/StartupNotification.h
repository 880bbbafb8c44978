#pragma once

#include <string>

namespace lumivar::qt {

/// Ends an X11 launch's startup notification (the launcher's busy cursor or
/// entry) for `id`, as the window of the start it stood for would have on
/// showing. Nothing for an empty id or off X11.
void EndStartupNotification(const std::string& id);

/// The "remove" message for `id`, quoted as the startup-notification
/// protocol wants values with blanks, quotes or backslashes.
std::string StartupRemoveMessage(const std::string& id);

} // namespace lumivar::qt
