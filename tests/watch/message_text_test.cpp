#include "watch/message_text.h"

#include "platform/services.h"
#include "support/temp_folder.h"
#include "text/error.h"

#include <gtest/gtest.h>

namespace zorvant::watch {
namespace {

TEST(MessageText, EveryLineFollowsOneSpace) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},         {"A\r\nB\r\n", " A B"},      {"A\r\nB", " A B"}, {"A\nB\n", " A B"},
        {"A\rB", " A B"}, {"A\r\n\r\nB\r\n", " A  B"}, {"\r\n", " "},      {"  padded  \r\n", "   padded  "},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(joinMessageLines(bytes), text) << testing::visible(bytes);
}

TEST(MessageText, IsReadFromTheFileAsItStands) {
    testing::TempFolder folder;
    folder.write("m.txt", "\xD1\xE8\xE3\xED\xE0\xEB SBER\r\n2\r\n");
    EXPECT_EQ(ReadMessageText(platform::systemServices(), folder.file("m.txt")),
              " \xD1\xE8\xE3\xED\xE0\xEB SBER 2");
    EXPECT_THROW(ReadMessageText(platform::systemServices(), folder.file("missing.txt")), Error);
}

TEST(MessageText, ReplacesOnlyTheFirstPlaceholder) {
    const std::string placeholder(kPlaceholder);
    EXPECT_EQ(substitutePlaceholder("C:\\bin\\notify.exe " + placeholder, " A B"),
              "C:\\bin\\notify.exe  A B");
    EXPECT_EQ(substitutePlaceholder("n.exe " + placeholder + "/x", " A"), "n.exe  A/x");
    EXPECT_EQ(substitutePlaceholder("n.exe " + placeholder + " " + placeholder, ""), "n.exe  " + placeholder);
    EXPECT_EQ(substitutePlaceholder("n.exe", " A"), "n.exe");
    // Inserted as it stands: nothing quoted or escaped.
    EXPECT_EQ(substitutePlaceholder(placeholder, " \"a\" & b"), " \"a\" & b");
    // A near miss is no placeholder.
    EXPECT_EQ(substitutePlaceholder("%TEKCT%", " A"), "%TEKCT%");
}

TEST(MessageText, CopyNameGetsTheSuffixBeforeTheExtension) {
    EXPECT_EQ(copyNameFor("/data/msg/sig.txt"), "/data/msg/sig_mess.txt");
    EXPECT_EQ(copyNameFor("/data/msg/sig"), "/data/msg/sig_mess");
    EXPECT_EQ(copyNameFor("/data/msg.d/sig"), "/data/msg.d/sig_mess");
    EXPECT_EQ(copyNameFor("/data/a.b.txt"), "/data/a.b_mess.txt");
    EXPECT_EQ(copyNameFor("sig.txt"), "sig_mess.txt");
}

TEST(MessageText, DropsOnlyTheQuotesOfAQuotedPath) {
    EXPECT_EQ(unquoted("\"/my sounds/a.wav\""), "/my sounds/a.wav");
    EXPECT_EQ(unquoted("/sounds/a.wav"), "/sounds/a.wav");
    EXPECT_EQ(unquoted("\"/p/n.exe\" arg"), "\"/p/n.exe\" arg");
    EXPECT_EQ(unquoted("\""), "\"");
}

} // namespace
} // namespace zorvant::watch
