// Sound files that are not sounds: the player refuses each with an error naming the file, and the
// watcher keeps the message until the sound is mended, reporting the error once.
#include "platform/wave_file.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "text/error.h"
#include "watch/watcher.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zorvant::watch {
namespace {
namespace fs = std::filesystem;

const std::string kTone("RIFF\x28\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1F\x00\x00"
                        "\x40\x1F\x00\x00\x01\x00\x08\x00"
                        "data\x04\x00\x00\x00\x80\x90\x80\x70",
                        48);

// The real check of the sound file, with the playing itself recorded.
class CheckingServices : public testing::RecordingServices {
public:
    void playSound(std::string_view wavFile) override {
        platform::requireWaveFile(wavFile);
        played.emplace_back(wavFile);
    }
};

TEST(WavFaults, EveryKindOfNonSoundIsRefusedByName) {
    testing::TempFolder folder;
    const std::pair<const char*, std::string> broken[] = {
        {"text.wav", "just some text, not a sound"},
        {"empty.wav", ""},
        {"bare_header.wav", kTone.substr(0, 12)},
        {"no_data.wav", kTone.substr(0, 36)},
        {"no_format.wav", kTone.substr(0, 12) + kTone.substr(36)},
        {"zero_channels.wav", kTone.substr(0, 22) + std::string(2, '\0') + kTone.substr(24)},
        {"short_format.wav", kTone.substr(0, 16) + std::string("\x08\x00\x00\x00", 4) + kTone.substr(20)},
        {"huge_chunk.wav", kTone.substr(0, 12) + "LIST\xFF\xFF\xFF\xFF" + kTone.substr(12)},
        {"mp3.wav", "ID3\x03\x00\x00\x00\x00\x00\x00 mp3 frames"},
    };
    for (const auto& [name, bytes] : broken) {
        folder.write(name, bytes);
        try {
            platform::requireWaveFile(folder.file(name));
            ADD_FAILURE() << name << " taken for a sound";
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(folder.file(name)), std::string::npos) << name;
        }
    }
    folder.write("tone.wav", kTone);
    EXPECT_NO_THROW(platform::requireWaveFile(folder.file("tone.wav")));
    folder.write("padded.wav", kTone.substr(0, 12) +
                                   std::string("LIST\x03\x00\x00\x00"
                                               "abc\x00",
                                               12) +
                                   kTone.substr(12));
    EXPECT_NO_THROW(platform::requireWaveFile(folder.file("padded.wav")));
}

TEST(WavFaults, TheMessageWaitsUntilTheSoundIsMended) {
    testing::TempFolder folder;
    CheckingServices system;
    testing::RecordingMailSender mail;
    Watcher watcher(system, {{kSendMail, &mail}});
    folder.write("alarm.wav", "not a sound");
    folder.write("m.txt", "A\r\n");
    const TickInput input{{{folder.file("m.txt"), std::string(kPlaySound), folder.file("alarm.wav")}},
                          {},
                          std::chrono::seconds(1)};

    std::vector<TickReport> errors;
    for (int i = 0; i < 3; ++i) {
        const auto reports = watcher.tick(input);
        ASSERT_TRUE(reports.has_value());
        for (const auto& report : *reports) {
            EXPECT_EQ(report.kind, TickReport::Kind::Error) << "played a sound that is no sound";
            errors.push_back(report);
        }
    }
    ASSERT_EQ(errors.size(), 1u) << "a lasting error is reported once";
    EXPECT_NE(errors[0].text.find(folder.file("alarm.wav")), std::string::npos);
    EXPECT_TRUE(system.played.empty());

    folder.write("alarm.wav", kTone);
    watcher.tick(input);
    EXPECT_EQ(system.played, std::vector<std::string>{folder.file("alarm.wav")});
    for (const auto& item : fs::directory_iterator(folder.path()))
        EXPECT_EQ(item.path().filename(), "alarm.wav") << "the message was not consumed";
}

} // namespace
} // namespace zorvant::watch
