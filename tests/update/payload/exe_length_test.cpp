#include <gtest/gtest.h>

#include <vector>

#include "tests/support/PeImageWriter.h"
#include "tests/support/RecordingLog.h"
#include "update/payload/ByteSource.h"
#include "update/payload/ExeLength.h"

namespace {

uint64_t LengthOf(const std::vector<uint8_t> &bytes, RecordingLog *log = nullptr)
{
    TMemorySource source(bytes);
    uint64_t size = 0;
    const uint64_t length = GetRealExeLength(source, size, log);
    EXPECT_EQ(bytes.size(), size);
    return length;
}

}  // namespace

TEST(ExeLength, EndsAfterTheLastSectionInPe32AndPe32Plus)
{
    for (bool plus : {true, false}) {
        TestPeImage image;
        image.Pe32Plus = plus;
        std::vector<uint8_t> bytes = WritePeImage(image);
        EXPECT_EQ(0x800u, LengthOf(bytes));
        bytes.resize(bytes.size() + 100, 0xAB);  // appended data is not part of the image
        EXPECT_EQ(0x800u, LengthOf(bytes));
    }
}

TEST(ExeLength, ASectionWithRawPointerZeroDoesNotSetTheStart)
{
    TestPeImage image;
    image.Sections = {{0, 0, 0xC0000080, 0}, {0x400, 0x300, 0x60000020, 0}, {0x700, 0x100, 0x40000040, 0}};
    EXPECT_EQ(0x800u, LengthOf(WritePeImage(image)));
}

TEST(ExeLength, StopsAtTheFirstSectionThatIsNotPartOfTheImage)
{
    TestPeImage image;
    image.Sections = {{0x400, 0x200, 0x60000020, 0}, {0x600, 0x200, 0x60000020, 0x700}, {0x800, 0x200, 0x40000040, 0}};
    EXPECT_EQ(0x600u, LengthOf(WritePeImage(image)));
    image.Sections = {{0x400, 0x200, 0x60000020, 0}, {0x600, 0x200, 0, 0}};
    EXPECT_EQ(0x600u, LengthOf(WritePeImage(image)));
}

TEST(ExeLength, ShortOrForeignFilesGiveZero)
{
    EXPECT_EQ(0u, LengthOf({'M', 'Z', 0}));

    RecordingLog log;
    std::vector<uint8_t> bytes = WritePeImage();
    bytes.resize(kTestPeHeaderOffset + 10);  // the file header is cut off
    EXPECT_EQ(0u, LengthOf(bytes, &log));
    ASSERT_EQ(1u, log.Lines.size());
    EXPECT_EQ(0u, log.Lines[0].rfind("#26 ", 0));

    bytes = WritePeImage();
    bytes.resize(kTestPeHeaderOffset + 24 + 240 + 40);  // the second section header is cut off
    EXPECT_EQ(0u, LengthOf(bytes));

    bytes = WritePeImage();
    bytes[0] = 'X';
    EXPECT_EQ(0u, LengthOf(bytes));
    bytes = WritePeImage();
    bytes[kTestPeHeaderOffset + 1] = 'X';
    EXPECT_EQ(0u, LengthOf(bytes));

    bytes = WritePeImage();
    bytes[60] = 0xFF;  // e_lfanew far beyond the file
    bytes[63] = 0x7F;
    EXPECT_EQ(0u, LengthOf(bytes));
}
