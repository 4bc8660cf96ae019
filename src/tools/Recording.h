#pragma once
// The recording size calculators: their settings (as typed), the rates derived from them
// and the grid rows whose factors follow from the rates. The base unit is one second of
// recording.
#include "tools/Units.h"

#include <array>
#include <string>
#include <vector>

namespace qm {

inline constexpr std::array<int, 6> kAudioPrecisions = {8, 12, 16, 20, 24, 32};  // bits per sample
inline constexpr std::array<long long, 13> kMp3Bitrates = {256000, 192000, 160000, 128000, 96000, 80000, 64000,
                                                           56000,  48000,  32000,  20000,  16000,  8000};
struct ColorDepth {
    const char *caption;
    int bytesPerPixel;
};
inline constexpr std::array<ColorDepth, 3> kColorDepths = {{{"RGB", 3}, {"Gray", 1}, {"CMYK", 4}}};

struct AudioSettings {
    std::string rate = "44100";  // Hz, as typed
    int bitsPerSample = 16;
    int channels = 2;
    long long mp3Bitrate = 128000;  // bits per second
};

struct VideoSettings {
    std::string width = "320", height = "240", fps = "25";  // as typed
    int bytesPerPixel = 3;
    std::string videoBitrate = "700000";  // bits per second, as typed
    bool withAudio = false;               // "Audio Bitrate" ticked
    std::string audioBitrate = "64000";
};

// Bytes per second of the raw and of the compressed recording; never below 1. Computed in
// 64 bits, saturating instead of wrapping.
struct RecordingRates {
    long long raw = 1;
    long long compressed = 1;
};
RecordingRates AudioRates(const AudioSettings &s);
RecordingRates VideoRates(const VideoSettings &s);

// 1X of a CD-ROM drive, bytes per second. The audio row "CD-Rom Speed (X)" counts the raw
// recording in seconds of reading at 1X: one "Seconds of record" shows the drive speed
// that reads the raw stream in real time.
inline constexpr double kCdRomBytesPerSecond = 153600;

// The 16 audio rows and the 15 video rows, names and factors (seconds per unit).
std::vector<UnitDef> BuildAudioRows(const AudioSettings &s);
std::vector<UnitDef> BuildVideoRows(const VideoSettings &s);

}  // namespace qm
