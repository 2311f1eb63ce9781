#include "platform/ole/ClipboardFormat.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(ClipboardFormat, NameGivesTheSameIdHoweverItIsSpelledInCode) {
    const UINT id = RegisterClipboardFormatW(L"Tav.Swoop");
    EXPECT_GE(id, 0xC000u);
    EXPECT_LE(id, 0xFFFFu);
    EXPECT_EQ(RegisterClipboardFormatW(L"Tav.Swoop"), id);
    EXPECT_EQ(RegisterClipboardFormat("Tav.Swoop"), id);
    EXPECT_EQ(ClipboardFormatName(CLIPFORMAT(id)), "Tav.Swoop");
}

TEST(ClipboardFormat, IdDependsOnTheNameAloneSoOtherProcessesAgree) {
    // The id is a fixed function of the name: a value computed once must never change, or
    // copies of different builds would stop understanding each other.
    EXPECT_EQ(RegisterClipboardFormat("Tav.Swoop"), 0xF78Eu);
    EXPECT_NE(RegisterClipboardFormat("Tav.Swoop"), RegisterClipboardFormat("tav.swoop"));
    EXPECT_NE(RegisterClipboardFormat("Tav.Swoop"), RegisterClipboardFormat("Tav.Swoop2"));
}

TEST(ClipboardFormat, ManyNamesGetDistinctIds) {
    std::set<UINT> ids;
    for (int i = 0; i < 2000; ++i)
        ids.insert(RegisterClipboardFormat(("format " + std::to_string(i)).c_str()));
    EXPECT_EQ(ids.size(), 2000u);
    EXPECT_EQ(ids.count(0), 0u);
    for (int i = 0; i < 2000; ++i)
        EXPECT_EQ(ClipboardFormatName(
                      CLIPFORMAT(RegisterClipboardFormat(("format " + std::to_string(i)).c_str()))),
                  "format " + std::to_string(i));
}

TEST(ClipboardFormat, EmptyMissingOrOverlongNamesAreRefused) {
    EXPECT_EQ(RegisterClipboardFormat(""), 0u);
    EXPECT_EQ(RegisterClipboardFormat(nullptr), 0u);
    EXPECT_EQ(RegisterClipboardFormatW(nullptr), 0u);
    EXPECT_EQ(RegisterClipboardFormat(std::string(256, 'x').c_str()), 0u);
    EXPECT_NE(RegisterClipboardFormat(std::string(255, 'x').c_str()), 0u);
    EXPECT_EQ(ClipboardFormatName(CF_DIB), "");
}
