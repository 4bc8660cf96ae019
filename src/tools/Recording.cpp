#include "tools/Recording.h"

#include "toolkit/Misc.h"

#include <climits>

namespace qm {

namespace {

long long SatMul(long long a, long long b) {
    long long r;
    if (__builtin_mul_overflow(a, b, &r)) return (a < 0) != (b < 0) ? LLONG_MIN : LLONG_MAX;
    return r;
}

long long SatAdd(long long a, long long b) {
    long long r;
    if (__builtin_add_overflow(a, b, &r)) return a < 0 ? LLONG_MIN : LLONG_MAX;
    return r;
}

long long AtLeastOne(long long v) { return v > 0 ? v : 1; }

// Seconds, minutes, hours, then the six rows of one rate: bytes, kilobytes, megabytes.
void SizeRows(std::vector<UnitDef> &rows, const char *prefix, long long rate, bool bits) {
    const double perByte = 1.0 / double(rate);
    const double unit = bits ? perByte * 0.125 : perByte;
    const char *what[] = {bits ? "Bits" : "Bytes", bits ? "Kilobits" : "Kilobytes", bits ? "Megabits" : "Megabytes"};
    double f = unit;
    for (const char *w : what) {
        rows.push_back({std::string(prefix) + w, {f, kUnitLinear}});
        f *= 1024;
    }
}

void TimeRows(std::vector<UnitDef> &rows) {
    rows.push_back({"Seconds of record", {1, kUnitBase}});
    rows.push_back({"Minutes of record", {60, kUnitLinear}});
    rows.push_back({"Hours of record", {3600, kUnitLinear}});
}

}  // namespace

RecordingRates AudioRates(const AudioSettings &s) {
    const long long bits = SatMul(SatMul(Atol(Trim(s.rate)), s.channels), s.bitsPerSample);
    RecordingRates r;
    r.raw = bits > 7 ? bits / 8 : 1;
    r.compressed = s.mp3Bitrate > 7 ? s.mp3Bitrate / 8 : 1;
    return r;
}

RecordingRates VideoRates(const VideoSettings &s) {
    RecordingRates r;
    r.raw = AtLeastOne(SatMul(SatMul(SatMul(Atol(s.width), Atol(s.height)), Atol(s.fps)), s.bytesPerPixel));
    long long c = Atol(s.videoBitrate) / 8;
    if (s.withAudio) c = SatAdd(c, Atol(s.audioBitrate) / 8);
    r.compressed = AtLeastOne(c);
    return r;
}

std::vector<UnitDef> BuildAudioRows(const AudioSettings &s) {
    const RecordingRates r = AudioRates(s);
    std::vector<UnitDef> rows;
    TimeRows(rows);
    SizeRows(rows, "Total record in ", r.raw, false);
    SizeRows(rows, "(MP3) record in ", r.compressed, false);
    SizeRows(rows, "Total record in ", r.raw, true);
    SizeRows(rows, "(MP3) record in ", r.compressed, true);
    rows.push_back({"CD-Rom Speed (X)", {kCdRomBytesPerSecond / double(r.raw), kUnitLinear}});
    return rows;
}

std::vector<UnitDef> BuildVideoRows(const VideoSettings &s) {
    const RecordingRates r = VideoRates(s);
    std::vector<UnitDef> rows;
    TimeRows(rows);
    SizeRows(rows, "Total record in ", r.raw, false);
    SizeRows(rows, "Compressed record in ", r.compressed, false);
    SizeRows(rows, "Total record in ", r.raw, true);
    SizeRows(rows, "Compressed record in ", r.compressed, true);
    return rows;
}

}  // namespace qm
