// The sample template project the tool carries inside it: a small C++
// program named after the keyword "Sample", in names and in texts.
#pragma once

#include <cstddef>
#include <string>

namespace cbasis {

struct SampleFile {
    const char* path;  // relative to the template root: "Sample/src/SampleApp.cpp"
    const unsigned char* data;
    std::size_t size;
};

extern const SampleFile kSampleFiles[];
extern const std::size_t kSampleFileCount;

// The keyword of the sample: the name of its top directory.
constexpr const char* kSampleKeyword = "Sample";

// Writes the sample below the POSIX directory root (as root/Sample/...).
// False with the reason when a file cannot be written.
bool WriteSample(const std::string& root, std::string& error);

}  // namespace cbasis
