// What the fuzz targets share: a private scratch folder for the files a reader takes by name.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "tests/support/file_reading.h"
#include "tests/support/temp_folder.h"

namespace fuzz {

// A folder of this process's own, removed when the process ends; in memory where the
// machine has /dev/shm, as the readers write and flush files for every input.
class Scratch : public test_support::TempFolder {
public:
    Scratch() : TempFolder("varnotel-fuzz", inMemory()) {}

    // Writes `bytes` to the file `name` in the folder and returns its path.
    std::string put(const std::string& name, std::string_view bytes) const {
        const auto p = file(name);
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) std::abort();
        return p;
    }

private:
    static std::string inMemory() {
        std::error_code ec;
        return std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : "";
    }
};

// The one scratch folder of this process (libFuzzer calls the target many times).
inline Scratch& scratch() {
    static Scratch s;
    return s;
}

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

using test_support::readFile;

// Stops the run with a message libFuzzer reports as a crash: a property of the reader broke.
[[noreturn]] inline void fail(const char* what) {
    std::fputs(what, stderr);
    std::fputc('\n', stderr);
    std::abort();
}

}  // namespace fuzz
