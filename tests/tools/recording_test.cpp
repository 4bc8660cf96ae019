// The recording size calculators: rates from the settings as typed, the rows' factors, and
// the conversion through the grid.
#include "tools/Recording.h"
#include "tools/UnitGrid.h"

#include <gtest/gtest.h>

using namespace qm;

namespace {

// `typed` into row `from` of the calculator's grid, Enter, then the text of row `to`.
std::string Calc(UnitGrid &grid, int category, const char *from, const char *typed, const char *to) {
    grid.SelectCategory(category);
    const int row = grid.FindRow(from), target = grid.FindRow(to);
    EXPECT_GE(row, 0) << from;
    EXPECT_GE(target, 0) << to;
    grid.SetValue(row, typed);
    grid.ConvertFrom(row, 1);
    return grid.Rows()[size_t(target)].value;
}

}  // namespace

TEST(RecordingRates, IntegerReadingAndIntegerDivision) {
    const struct {
        const char *rate;
        int bits, channels;
        long long mp3, raw, compressed;
    } audio[] = {
        {"44100", 16, 2, 128000, 176400, 16000},   // the defaults
        {" 44100abc", 16, 2, 128000, 176400, 16000},
        {"11025", 12, 1, 8000, 16537, 1000},       // 132300 bits: 16537.5 bytes
        {"", 16, 2, 128000, 1, 16000},             // no rate: 1 byte per second
        {"0", 32, 2, 256000, 1, 32000},
        {"-44100", 16, 2, 128000, 1, 16000},
        {"1", 8, 1, 7, 1, 1},                      // 7 bits or less count as 1 byte
        {"99999999999", 32, 2, 8000, 799999999992, 1000},  // no wrap at 32 bits
    };
    for (const auto &a : audio) {
        AudioSettings s;
        s.rate = a.rate, s.bitsPerSample = a.bits, s.channels = a.channels, s.mp3Bitrate = a.mp3;
        const RecordingRates r = AudioRates(s);
        EXPECT_EQ(r.raw, a.raw) << a.rate;
        EXPECT_EQ(r.compressed, a.compressed) << a.rate;
    }
    const struct {
        const char *w, *h, *fps;
        int bpp;
        const char *vb;
        bool withAudio;
        const char *ab;
        long long raw, compressed;
    } video[] = {
        {"320", "240", "25", 3, "700000", false, "64000", 5760000, 87500},
        {"320", "240", "25", 3, "700000", true, "64000", 5760000, 95500},
        {"3840", "2160", "120", 3, "15", false, "64000", 2985984000LL, 1},  // 15 / 8 = 1
        {"640", "480x", " 30", 1, "abc", true, "7", 9216000, 1},
        {"-320", "240", "25", 4, "-800", false, "", 1, 1},
        {"99999999999", "99999999999", "99999999999", 4, "8", false, "", 9223372036854775807LL, 1},
    };
    for (const auto &v : video) {
        VideoSettings s;
        s.width = v.w, s.height = v.h, s.fps = v.fps, s.bytesPerPixel = v.bpp;
        s.videoBitrate = v.vb, s.withAudio = v.withAudio, s.audioBitrate = v.ab;
        const RecordingRates r = VideoRates(s);
        EXPECT_EQ(r.raw, v.raw) << v.w << "x" << v.h;
        EXPECT_EQ(r.compressed, v.compressed) << v.vb;
    }
}

TEST(RecordingRows, NamesOrderAndFactors) {
    const auto audio = BuildAudioRows(AudioSettings{});
    ASSERT_EQ(audio.size(), 16u);
    EXPECT_EQ(audio[0].name, "Seconds of record");
    EXPECT_EQ(audio[0].row.kind, kUnitBase);
    EXPECT_EQ(audio[5].name, "Total record in Megabytes");
    EXPECT_EQ(audio[5].row.factor, 1048576.0 / 176400);
    EXPECT_EQ(audio[8].name, "(MP3) record in Megabytes");
    EXPECT_EQ(audio[12].name, "(MP3) record in Bits");
    EXPECT_EQ(audio[12].row.factor, 0.125 / 16000);
    EXPECT_EQ(audio[14].name, "(MP3) record in Megabits");
    EXPECT_EQ(audio[15].name, "CD-Rom Speed (X)");
    const auto video = BuildVideoRows(VideoSettings{});
    ASSERT_EQ(video.size(), 15u);
    EXPECT_EQ(video[6].name, "Compressed record in Bytes");
    EXPECT_EQ(video[11].name, "Total record in Megabits");
    EXPECT_EQ(video[14].name, "Compressed record in Megabits");
    EXPECT_EQ(video[11].row.factor, 131072.0 / 5760000);
}

TEST(RecordingGrid, CalculatesSizesAndTimes) {
    UnitGrid grid;
    EXPECT_EQ(Calc(grid, kAudioCategory, "Seconds of record", "60", "Total record in Megabytes"), "10,0937");
    EXPECT_EQ(Calc(grid, kAudioCategory, "Seconds of record", "60", "(MP3) record in Megabytes"), "0,915527");
    EXPECT_EQ(Calc(grid, kAudioCategory, "Hours of record", "1", "Total record in Bytes"), "635040000");
    EXPECT_EQ(Calc(grid, kAudioCategory, "Hours of record", "1", "(MP3) record in Bytes"), "57600000");
    EXPECT_EQ(Calc(grid, kAudioCategory, "(MP3) record in Megabytes", "4", "Minutes of record"), "4,3691");
    EXPECT_EQ(Calc(grid, kAudioCategory, "Seconds of record", "1", "Total record in Bits"), "1411200");
    grid.audio.rate = "153600", grid.audio.channels = 1, grid.audio.bitsPerSample = 8;
    EXPECT_EQ(Calc(grid, kAudioCategory, "Seconds of record", "90", "CD-Rom Speed (X)"), "90");
    EXPECT_EQ(Calc(grid, kVideoCategory, "Seconds of record", "1", "Total record in Bytes"), "5760000");
    EXPECT_EQ(Calc(grid, kVideoCategory, "Seconds of record", "1", "Compressed record in Bytes"), "87500");
    EXPECT_EQ(Calc(grid, kVideoCategory, "Compressed record in Megabytes", "700", "Hours of record"), "2,3302");
}

TEST(RecordingGrid, ASettingChangeKeepsTheValuesUntilEnter) {
    UnitGrid grid;
    grid.SelectCategory(kVideoCategory);
    grid.ConvertFrom(0, 1);
    const int compressed = grid.FindRow("Compressed record in Bytes");
    ASSERT_EQ(grid.Rows()[size_t(compressed)].value, "87500");
    grid.video.withAudio = true;
    grid.RebuildCalculator();
    EXPECT_EQ(grid.Rows()[size_t(compressed)].value, "87500");
    EXPECT_EQ(grid.Rows()[0].value, "1");
    grid.ConvertFrom(0, 1);
    EXPECT_EQ(grid.Rows()[size_t(compressed)].value, "95500");

    // A physical category is not touched by a calculator's rebuild.
    grid.SelectCategory(0);
    grid.RebuildCalculator();
    EXPECT_EQ(grid.Rows().size(), 11u);
}
