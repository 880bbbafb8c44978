#pragma once

#include <string>
#include <utility>

namespace lumivar {

/// What became of one store into the settings file.
struct StoreResult {
    bool saved = true;
    /// Why it was not saved, one line of UTF-8 (the file and the system's
    /// reason); empty when saved.
    std::string reason;

    explicit operator bool() const { return saved; }

    static StoreResult Failed(std::string why) { return {false, std::move(why)}; }
};

} // namespace lumivar
