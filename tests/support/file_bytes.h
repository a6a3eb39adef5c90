// Settings files built from first principles, as the camera reads them, for every suite that
// checks bytes on disk: never by calling the code under test.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "config/record.h"

namespace ostrova::testing {

using Bytes = std::vector<std::uint8_t>;

// The cipher adds the key digit of position i mod 4 and i mod 256 to each byte; the checksum
// closes the file: the ciphered bytes' sum plus 5, then its complement.
inline Bytes CfgFile(Bytes file) {
    const std::string key = OSTROVA_CONFIG_KEY;
    unsigned sum = 0;
    for (std::size_t i = 0; i < file.size(); ++i)
        sum += file[i] = static_cast<std::uint8_t>(file[i] + key[i % 4] + i % 256);
    const auto high = static_cast<std::uint8_t>((sum + 5) % 256);
    file.push_back(high);
    file.push_back(static_cast<std::uint8_t>(255 - high));
    return file;
}

// The record a wireless.cfg holds, the cipher taken off.
inline ConfigRecord RecordOfCfgFile(Bytes file) {
    const std::string key = OSTROVA_CONFIG_KEY;
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<std::uint8_t>(file[i] - key[i % 4] - i % 256);
    ConfigRecord r{};
    std::memcpy(&r, file.data(), std::min(file.size(), std::size_t{2046}));
    return r;
}

inline Bytes Of(const ConfigRecord& r) {
    return Bytes(r.bytes().begin(), r.bytes().end());
}
inline Bytes CfgFileOf(const ConfigRecord& r) {
    return CfgFile(Bytes(r.bytes().begin(), r.bytes().begin() + 2046));
}
inline Bytes BinFileOf(const ConfigRecord& r) {
    return Bytes(r.bytes().begin(), r.bytes().begin() + 868);
}

// A recognisable payload: every byte differs from its neighbours.
inline Bytes Pattern(std::size_t n, std::uint8_t seed = 1) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7);
    return b;
}

inline void WriteBytes(const std::filesystem::path& p, const Bytes& b) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}
inline Bytes ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

}  // namespace ostrova::testing
