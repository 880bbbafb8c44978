#pragma once

#include <QString>

namespace lumivar::qt {

/// Shows a desktop notification of critical urgency, which stays until the
/// user dismisses it (org.freedesktop.Notifications on the session bus).
/// Sent without waiting for an answer: nothing is done if no notification
/// server takes it.
void SendUrgentNotification(const QString& summary, const QString& body);

} // namespace lumivar::qt
