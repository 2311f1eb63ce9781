#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Action = CommandLine::Action;
using Format = CommandLine::Format;

struct Row {
    std::vector<std::string> args;
    Action action;
};

std::string Joined(const std::vector<std::string>& args) {
    std::string text;
    for (const auto& arg : args)
        text += "[" + arg + "]";
    return text;
}

} // namespace

// No argument, one file, several files and Qt's own options all start the window, untouched:
// the framework reads them as it always has.
TEST(CommandLine, WindowFormsAndQtOptionsStartTheWindow) {
    const std::vector<Row> rows = {
        {{}, Action::OpenWindow},
        {{"drawing"}, Action::OpenWindow},
        {{"one", "two"}, Action::OpenWindow},
        {{"-"}, Action::OpenWindow},
        {{"--", "-o"}, Action::OpenWindow},
        {{"--", "--help"}, Action::OpenWindow},
        {{"-platform", "offscreen", "drawing"}, Action::OpenWindow},
        {{"--platform", "wayland"}, Action::OpenWindow},
        {{"-style=fusion", "-reverse", "drawing"}, Action::OpenWindow},
        {{"-display", ":1", "-geometry", "640x480+0+0"}, Action::OpenWindow},
    };
    for (const Row& row : rows) {
        const CommandLine result = CommandLine::Parse(row.args);
        EXPECT_EQ(result.m_action, row.action) << Joined(row.args) << ": " << result.m_strError;
    }
}

TEST(CommandLine, HelpAndVersionWinWhereTheyStand) {
    const std::vector<Row> rows = {
        {{"--help"}, Action::ShowHelp},
        {{"-h"}, Action::ShowHelp},
        {{"drawing", "--help"}, Action::ShowHelp},
        {{"--version"}, Action::ShowVersion},
        {{"--version", "--bogus"}, Action::ShowVersion},
        {{"--bogus", "--version"}, Action::Misuse},
        {{"--help=yes"}, Action::ShowHelp},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CommandLine::Parse(row.args).m_action, row.action) << Joined(row.args);
}

TEST(CommandLine, WrongCommandLinesAreMisuseWithAReason) {
    const std::vector<std::vector<std::string>> rows = {
        {"--bogus"},
        {"-x", "drawing"},
        {"-oout.png", "drawing"},
        {"-o"},
        {"-o", "out.png"},
        {"-o", "", "drawing"},
        {"-o", "out.png", "one", "two"},
        {"-o", "a.png", "-o", "b.png", "drawing"},
        {"-o", "out.txt", "drawing"},
        {"-o", "out", "drawing"},
        {"-o", "out.png", "--export-type", "gif", "drawing"},
        {"-o", "out.png", "--export-type"},
        {"--export-type", "png", "drawing"},
        {"--export-area", "0:0:10:10", "drawing"},
        {"-o", "out.png", "--export-area", "0:0:10", "drawing"},
        {"-o", "out.png", "--export-area", "0:0:10:10:10", "drawing"},
        {"-o", "out.png", "--export-area", "10:0:10:10", "drawing"},
        {"-o", "out.png", "--export-area", "0:10:10:5", "drawing"},
        {"-o", "out.png", "--export-area", "0:0:1e3:10", "drawing"},
        {"-o", "out.png", "--export-area", "0:0:2147483648:10", "drawing"},
        {"-o", "out.png", "--export-area", "0::10:10", "drawing"},
        {"-platform"},
    };
    for (const auto& args : rows) {
        const CommandLine result = CommandLine::Parse(args);
        EXPECT_EQ(result.m_action, Action::Misuse) << Joined(args);
        EXPECT_FALSE(result.m_strError.empty()) << Joined(args);
    }
}

TEST(CommandLine, UnknownOptionIsNamedInTheReason) {
    EXPECT_NE(CommandLine::Parse({"drawing", "--frobnicate"}).m_strError.find("--frobnicate"),
              std::string::npos);
}

TEST(CommandLine, ExportTakesItsFormatFromTheTypeOrTheExtension) {
    struct FormatRow {
        std::vector<std::string> args;
        Format format;
    };
    const std::vector<FormatRow> rows = {
        {{"-o", "out.png", "in"}, Format::Png},
        {{"-o", "out.SVG", "in"}, Format::Svg},
        {{"in", "--export-filename", "dir.d/out.pdf"}, Format::Pdf},
        {{"--export-filename=out.pdf", "in"}, Format::Pdf},
        {{"-o", "out", "--export-type", "svg", "in"}, Format::Svg},
        {{"-o", "out.png", "--export-type=PDF", "in"}, Format::Pdf},
    };
    for (const FormatRow& row : rows) {
        const CommandLine result = CommandLine::Parse(row.args);
        ASSERT_EQ(result.m_action, Action::Export) << Joined(row.args) << ": " << result.m_strError;
        EXPECT_EQ(result.m_format, row.format) << Joined(row.args);
        EXPECT_EQ(result.m_strInput, "in") << Joined(row.args);
    }
}

TEST(CommandLine, ExportKeepsItsFilesAndArea) {
    const CommandLine result = CommandLine::Parse(
        {"--export-area", "-20:-30:+40:2147483647", "-o", "pic.png", "--", "-drawing"});
    ASSERT_EQ(result.m_action, Action::Export) << result.m_strError;
    EXPECT_EQ(result.m_strOutput, "pic.png");
    EXPECT_EQ(result.m_strInput, "-drawing");
    EXPECT_TRUE(result.m_bHasArea);
    EXPECT_EQ(result.m_area, CRect(-20, -30, 40, 2147483647));

    const CommandLine plain = CommandLine::Parse({"-o", "pic.png", "drawing"});
    ASSERT_EQ(plain.m_action, Action::Export);
    EXPECT_FALSE(plain.m_bHasArea);
    // A file named like an option after the output's name is still the output's name.
    const CommandLine dashed = CommandLine::Parse({"-o", "--help.svg", "drawing"});
    ASSERT_EQ(dashed.m_action, Action::Export);
    EXPECT_EQ(dashed.m_strOutput, "--help.svg");
}
