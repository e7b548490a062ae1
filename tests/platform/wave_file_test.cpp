#include "platform/wave_file.h"

#include "silent_wave.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/error.h"

#include <gtest/gtest.h>

namespace zorvant::platform {
namespace {
using testing::silentWave;

// The error's text, in UTF-8, or nothing when the check passed.
std::string refusal(std::string_view name) {
    try {
        requireWaveFile(name);
        return {};
    } catch (const Error& error) {
        return text::toUtf8(error.what());
    }
}

TEST(WaveFile, AcceptsARiffWaveFileWhateverItsName) {
    testing::TempFolder temp;
    temp.write("звонок.wav", silentWave());
    EXPECT_EQ(refusal(temp.file("звонок.wav")), "");
    temp.write("звонок.dat", silentWave()); // the extension does not matter
    EXPECT_EQ(refusal(temp.file("звонок.dat")), "");
}

TEST(WaveFile, RefusesWhatThePlayerCouldNotUseAndNamesTheFile) {
    testing::TempFolder temp;
    const std::string wave = silentWave();
    temp.write("текст.wav", "Сигнал: покупка\r\n");
    temp.write("обрывок.wav", wave.substr(0, 11));
    temp.write("пустой.wav", "");
    temp.write("видео.avi", "RIFF" + wave.substr(4, 4) + "AVI " + wave.substr(12));
    const std::string folder = temp.file("");
    for (const char* name : {"нет.wav", "текст.wav", "обрывок.wav", "пустой.wav", "видео.avi"}) {
        const std::string why = refusal(temp.file(name));
        EXPECT_NE(why.find(name), std::string::npos) << name << ": " << why;
        EXPECT_TRUE(why.starts_with("Не удаётся открыть звуковой файл") ||
                    why.ends_with(" не является звуком WAV"))
            << why;
    }
    EXPECT_TRUE(refusal(temp.file("нет.wav")).starts_with("Не удаётся открыть звуковой файл"));
    EXPECT_EQ(refusal(temp.file("видео.avi")),
              "Файл " + text::toUtf8(temp.file("видео.avi")) + " не является звуком WAV");
    EXPECT_TRUE(refusal(folder).starts_with("Не удаётся открыть звуковой файл")); // a folder
    EXPECT_NE(refusal(""), "");
}

} // namespace
} // namespace zorvant::platform
