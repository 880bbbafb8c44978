#pragma once

#include "Failure.h"

#include <optional>

namespace lumivar {

/// What became of one store into the settings file.
struct StoreResult {
    /// What kept it from being saved, with the file and the system's reason
    /// as its detail; nothing when saved.
    std::optional<Failure> failure;

    explicit operator bool() const { return !failure; }
};

} // namespace lumivar
