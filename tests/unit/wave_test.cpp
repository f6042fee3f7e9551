// The Linux wave reader: the shared corpus with its expected results, and
// reading behaviour that the corpus lines do not show.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/common/wave_describe.h"
#include "tests/unit/wave_builder.h"

namespace {

std::string source_dir() {
    // The test program lives in <build>/bin; the sources are found from this file.
    std::string here = __FILE__;
    return here.substr(0, here.rfind("/tests/unit/"));
}

TEST(WaveCorpus, EveryFileReadsAsExpected) {
    const std::string dir = source_dir() + "/tests/data/wave/";
    std::ifstream expected(dir + "expected.txt");
    ASSERT_TRUE(expected) << "missing " << dir << "expected.txt";
    std::string line;
    int files = 0;
    while (std::getline(expected, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::string name = line.substr(0, line.find(':'));
        SCOPED_TRACE(name);
        EXPECT_EQ(describe_wave_file((dir + "corpus/" + name).c_str(), name), line);
        ++files;
    }
    EXPECT_GE(files, 30);
}

class WaveReader : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/quillmar-wave-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir_ = name;
    }
    void TearDown() override {
        std::string command = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    std::string write(const std::string& name, const Bytes& bytes) {
        std::string path = dir_ + "/" + name;
        EXPECT_TRUE(write_file(path, bytes));
        return path;
    }
    std::string dir_;
};

TEST_F(WaveReader, ReadsInPiecesAcrossTheReadBufferAndStopsAtTheChunkEnd) {
    const PcmFormat f{1, 1, 22050, 16};
    const Bytes data = pattern(20001, 9);
    // A chunk after the data shows that reads stop at the data chunk's end.
    const std::string path =
        write("pieces.wav", riff({chunk("fmt ", fmt_fields(f)), chunk("data", data),
                                  chunk("LIST", pattern(64, 4))}));
    WaveFile* file = nullptr;
    WaveFormat* format = nullptr;
    WaveChunk riff_chunk{}, data_chunk{};
    ASSERT_EQ(open_wave_file(path.c_str(), &file, &format, &riff_chunk), 0u);
    ASSERT_EQ(start_wave_data(file, &riff_chunk, &data_chunk), 0u);
    EXPECT_EQ(data_chunk.data_offset, 44u);

    Bytes got;
    uint8_t piece[999];
    for (;;) {
        uint32_t copied = 0;
        ASSERT_EQ(read_wave_data(file, sizeof piece, piece, &data_chunk, &copied), 0u);
        if (copied == 0) break;
        got.insert(got.end(), piece, piece + copied);
        EXPECT_EQ(data_chunk.size, data.size() - got.size());
    }
    EXPECT_EQ(got, data);
    close_wave_file(&file, &format);
    EXPECT_EQ(file, nullptr);
    EXPECT_EQ(format, nullptr);
}

TEST_F(WaveReader, FindsFilesNamedWithBackslashes) {
    ASSERT_EQ(mkdir((dir_ + "/Sound").c_str(), 0755), 0);
    write("Sound/kT93_Test.wav", pcm_wave({1, 1, 11025, 8}, pattern(10)));
    const std::string name = dir_ + "/Sound\\kT93_Test.wav";
    WaveFile* file = nullptr;
    WaveFormat* format = nullptr;
    WaveChunk riff_chunk{};
    ASSERT_EQ(open_wave_file(name.c_str(), &file, &format, &riff_chunk), 0u);
    EXPECT_EQ(format->samples_per_second, 11025u);
    close_wave_file(&file, &format);
}

TEST_F(WaveReader, FailedOpenLeavesNothingOpen) {
    const std::string path = write("short.wav", riff({chunk("fmt ", pattern(10))}));
    int marker = 0;
    WaveFile* file = reinterpret_cast<WaveFile*>(&marker);
    WaveFormat* format = reinterpret_cast<WaveFormat*>(&marker);
    WaveChunk riff_chunk{};
    EXPECT_EQ(open_wave_file(path.c_str(), &file, &format, &riff_chunk), WAVE_ERROR_NOT_WAVE);
    EXPECT_EQ(file, nullptr);
    EXPECT_EQ(format, nullptr);
    EXPECT_EQ(open_wave_file((dir_ + "/absent.wav").c_str(), &file, &format, &riff_chunk),
              WAVE_ERROR_OPEN);
    std::string long_name(2000, 'a');
    EXPECT_EQ(open_wave_file(long_name.c_str(), &file, &format, &riff_chunk), WAVE_ERROR_OPEN);
}

// Chunk sizes near 4 GB would wrap a 32-bit file position back to an earlier
// chunk; here they skip past the end of the file and the search ends.
TEST_F(WaveReader, HugeChunkSizesEndTheSearchInsteadOfWrapping) {
    const PcmFormat f{1, 1, 22050, 16};
    for (uint32_t size : {0xFFFFFFFFu, 0xFFFFFFF0u, 0xFFFFFFE4u, 0x80000000u}) {
        SCOPED_TRACE(size);
        Bytes content;
        put_id(content, "WAVE");
        Bytes fmt = chunk("fmt ", fmt_fields(f));
        content.insert(content.end(), fmt.begin(), fmt.end());
        put_id(content, "junk");
        put32(content, size);
        Bytes data = chunk("data", pattern(40));
        content.insert(content.end(), data.begin(), data.end());
        const std::string path = write("huge.wav", chunk("RIFF", content, 0xFFFFFFF0u));
        WaveFile* file = nullptr;
        WaveFormat* format = nullptr;
        WaveChunk riff_chunk{}, data_chunk{};
        ASSERT_EQ(open_wave_file(path.c_str(), &file, &format, &riff_chunk), 0u);
        EXPECT_EQ(start_wave_data(file, &riff_chunk, &data_chunk), WAVE_ERROR_NO_CHUNK);
        close_wave_file(&file, &format);
    }
}

TEST_F(WaveReader, SearchStaysInsideTheRiffForm) {
    // The RIFF size covers only the format chunk; the data chunk behind it
    // is outside the form.
    const PcmFormat f{1, 1, 22050, 16};
    Bytes content;
    put_id(content, "WAVE");
    Bytes fmt = chunk("fmt ", fmt_fields(f));
    content.insert(content.end(), fmt.begin(), fmt.end());
    Bytes file_bytes = chunk("RIFF", content);
    Bytes data = chunk("data", pattern(40));
    file_bytes.insert(file_bytes.end(), data.begin(), data.end());
    const std::string path = write("outside.wav", file_bytes);
    WaveFile* file = nullptr;
    WaveFormat* format = nullptr;
    WaveChunk riff_chunk{}, data_chunk{};
    ASSERT_EQ(open_wave_file(path.c_str(), &file, &format, &riff_chunk), 0u);
    EXPECT_EQ(start_wave_data(file, &riff_chunk, &data_chunk), WAVE_ERROR_NO_CHUNK);
    close_wave_file(&file, &format);
}

}  // namespace

#endif
