#pragma once
// Writes a minimal PE image (headers and section bodies) with chosen sections and build time stamp,
// for the image-length reader and the build checks.
#include <cstdint>
#include <vector>

struct TestPeSection {
    uint32_t RawPointer = 0;
    uint32_t RawSize = 0;
    uint32_t Characteristics = 0x60000020;  // code, readable, executable
    uint32_t RelocationPointer = 0;         // non-zero marks a section that is not part of the image
};

struct TestPeImage {
    uint32_t TimeStamp = 0x5F000000;
    bool Pe32Plus = true;
    // Empty: a header page, then .text and .data of 0x200 bytes each.
    std::vector<TestPeSection> Sections;
};

constexpr uint32_t kTestPeHeaderOffset = 0x80;

// The file is as long as the furthest section body; section bodies hold a non-zero pattern.
std::vector<uint8_t> WritePeImage(const TestPeImage &image = TestPeImage{});
