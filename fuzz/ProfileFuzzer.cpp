// Fuzzes Setup.ini handling through the real file functions. The input is a
// few selector bytes followed by a value and the file's bytes:
//   [section] [key] [capacity] [value length] value... file...
// and the checks are the promises the rest of the program relies on.
#include "ProfileBatchRead.h"
#include "ProfileFile.h"
#include "SettingsStore.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using lumivar::kSettingKeys;
using lumivar::profile::GetString;
using lumivar::profile::WriteString;

// The program's own names first, then the corners: case, blanks, characters
// that end a name early, and empty names.
constexpr std::array<std::string_view, 10> kSections = {"WORK", "REST",   "USER", "NOTICE", "MODE",
                                                        "work", " MODE ", "A]B",  "",       "[X"};
constexpr std::array<std::string_view, 10> kKeys = {"Hour", "Minute", "Second", "Show", "Mode",
                                                    "HOUR", "k=v",    ";c",     "",     " Mode"};
constexpr std::array<std::size_t, 8> kCapacities = {0, 1, 2, 4, 8, 16, 256, 1 << 20};

constexpr std::size_t kWhole = 1 << 24; // larger than any file the fuzzer makes
constexpr std::string_view kMissing = "\x01missing";

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void WriteFile(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Same name as far as the file format is concerned: blanks around and ASCII
// case do not count.
bool SameName(std::string_view a, std::string_view b) {
    const auto trim = [](std::string_view s) {
        const auto first = s.find_first_not_of(" \t");
        if (first == std::string_view::npos)
            return std::string_view{};
        return s.substr(first, s.find_last_not_of(" \t") - first + 1);
    };
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

const fs::path& WorkDirectory() {
    static const fs::path dir = [] {
        std::string name = (fs::temp_directory_path() / "lumivar-fuzz-XXXXXX").string();
        if (!::mkdtemp(name.data()))
            Fail("no temporary directory");
        return fs::path(name);
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    const std::string_view section = kSections[data[0] % kSections.size()];
    const std::string_view key = kKeys[data[1] % kKeys.size()];
    const std::size_t capacity = kCapacities[data[2] % kCapacities.size()];
    std::string_view rest(reinterpret_cast<const char*>(data) + 4, size - 4);
    const std::size_t valueSize = std::min<std::size_t>(data[3] % 16, rest.size());
    const std::string_view value = rest.substr(0, valueSize);
    const std::string_view content = rest.substr(valueSize);

    const fs::path file = WorkDirectory() / "Setup.ini";
    WriteFile(file, content);

    // The reader never hands back more than fits the caller's buffer.
    const std::string got = GetString(file, section, key, value, capacity);
    if (got.size() + 1 > std::max<std::size_t>(capacity, 1))
        Fail("GetString exceeded its capacity");

    (void)lumivar::SettingsStore([&] { return file; }).Load();

    // One reading for many keys gives what one reading per key gives.
    std::array<lumivar::profile::KeyRequest, kSettingKeys.size() + 1> requests;
    for (std::size_t i = 0; i < kSettingKeys.size(); ++i)
        requests[i] = {kSettingKeys[i].section, kSettingKeys[i].key, kMissing, kWhole};
    requests.back() = {section, key, value, capacity};
    const std::vector<std::string> before = lumivar::profile::GetStrings(file, requests);
    for (std::size_t i = 0; i < requests.size(); ++i)
        if (before[i] != GetString(file, requests[i].section, requests[i].key,
                                   requests[i].defaultText, requests[i].capacity))
            Fail("GetStrings and GetString disagree");

    lumivar::Failure why;
    if (!WriteString(file, section, key, value, &why)) {
        if (ReadFile(file) != content)
            Fail("a refused store changed the file");
        if (why.detail.empty() || why.detail.find_first_of("\r\n") != std::string::npos)
            Fail("a refused store did not say why in one line");
        return 0;
    }

    // The stored key reads back as it would from a file holding nothing else.
    const fs::path clean = WorkDirectory() / "Clean.ini";
    WriteFile(clean, "[" + std::string(section) + "]\r\n" + std::string(key) + "=" +
                         std::string(value) + "\r\n");
    if (GetString(file, section, key, kMissing, kWhole) !=
        GetString(clean, section, key, kMissing, kWhole))
        Fail("a stored value does not read back");

    // Every other setting reads as it did before the store.
    for (std::size_t i = 0; i < kSettingKeys.size(); ++i) {
        if (SameName(kSettingKeys[i].section, section) && SameName(kSettingKeys[i].key, key))
            continue;
        if (GetString(file, kSettingKeys[i].section, kSettingKeys[i].key, kMissing, kWhole) !=
            before[i])
            Fail("a store changed another setting");
    }
    (void)lumivar::SettingsStore([&] { return file; }).Load();
    return 0;
}
