// quillmar-cli recording audio|video [settings] -- VALUE UNIT: the recording size calculators.
// Settings are read as typed, like the page's boxes; VALUE is typed into UNIT's row and Enter
// pressed. The output is that of "units" plus the two rates in bytes per second.
#include "cli/WebCli.h"
#include "toolkit/Misc.h"
#include "tools/UnitGrid.h"

#include <cstdio>

namespace {

constexpr const char *kUsage =
    "audio [--rate TEXT] [--precision 8|12|16|20|24|32] [--channels mono|stereo] [--mp3 BITRATE]\n"
    "               | video [--width TEXT] [--height TEXT] [--fps TEXT] [--color rgb|gray|cmyk]\n"
    "                 [--video-bitrate TEXT] [--audio-bitrate TEXT] [--audio]\n"
    "               [--format json|tsv] -- VALUE UNIT";

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli recording: %s\nusage: quillmar-cli recording %s\n", message.c_str(), kUsage);
    return 2;
}

int RunRecording(const qm::cli::GlobalOptions &, std::vector<std::string> args) {
    qm::UnitGrid grid;
    std::string format = "json";
    bool audioOnly = false, videoOnly = false;
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args,
        {"--rate", "--precision", "--channels", "--mp3", "--width", "--height", "--fps", "--color", "--video-bitrate",
         "--audio-bitrate", "--format"},
        {"--audio"},
        [&](const std::string &a, const std::string &v) -> std::string {
            qm::AudioSettings &au = grid.audio;
            qm::VideoSettings &vi = grid.video;
            if (a == "--format") {
                format = v;
                return "";
            }
            const bool audio = a == "--rate" || a == "--precision" || a == "--channels" || a == "--mp3";
            (audio ? audioOnly : videoOnly) = true;
            if (a == "--rate") au.rate = v;
            else if (a == "--precision") {
                bool known = false;
                for (int bits : qm::kAudioPrecisions)
                    if (v == std::to_string(bits)) au.bitsPerSample = bits, known = true;
                if (!known) return "unknown precision " + v;
            } else if (a == "--channels") {
                if (v == "mono") au.channels = 1;
                else if (v == "stereo") au.channels = 2;
                else return "unknown channels " + v;
            } else if (a == "--mp3") au.mp3Bitrate = qm::Atol(v);
            else if (a == "--width") vi.width = v;
            else if (a == "--height") vi.height = v;
            else if (a == "--fps") vi.fps = v;
            else if (a == "--color") {
                bool known = false;
                for (const auto &c : qm::kColorDepths)
                    if (qm::SameTextNoCase(v, c.caption)) vi.bytesPerPixel = c.bytesPerPixel, known = true;
                if (!known) return "unknown color " + v;
            } else if (a == "--video-bitrate") vi.videoBitrate = v;
            else if (a == "--audio-bitrate") vi.audioBitrate = v;
            else if (a == "--audio") vi.withAudio = true;
            return "";
        },
        words);
    if (!error.empty()) return Fail(error);
    if (format != "json" && format != "tsv") return Fail("unknown format " + format);
    if (words.size() != 3 || (words[0] != "audio" && words[0] != "video")) return Fail("expected audio|video VALUE UNIT");
    const bool audio = words[0] == "audio";
    if (audio ? videoOnly : audioOnly) return Fail("settings of the other calculator");
    grid.SelectCategory(audio ? qm::kAudioCategory : qm::kVideoCategory);
    const int row = grid.FindRow(words[2]);
    if (row < 0) return Fail("no row \"" + words[2] + "\" in " + qm::UnitCategories()[size_t(grid.Category())].caption);
    grid.SetValue(row, words[1]);
    grid.ConvertFrom(row, 1);
    const qm::RecordingRates rates = audio ? qm::AudioRates(grid.audio) : qm::VideoRates(grid.video);
    std::string out;
    if (format == "json") {
        out = qm::UnitGridJson(grid, words[2], words[1]) + ", \"rates\": {\"raw\": " + std::to_string(rates.raw) +
              ", \"compressed\": " + std::to_string(rates.compressed) + "}}\n";
    } else {
        out = qm::UnitGridTsv(grid) + "raw rate\t" + std::to_string(rates.raw) + "\ncompressed rate\t" +
              std::to_string(rates.compressed) + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

qm::cli::CommandRegistration registration("recording", "audio|video [SETTINGS] [--format json|tsv] -- VALUE UNIT",
                                          RunRecording);

}  // namespace
