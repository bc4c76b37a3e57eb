#include "EditorPages.h"
#include "HelpTexts.h"
#include "IsBlankOrZero.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace rillo;

TEST(IsBlankOrZero, BlankAndNumericZeroOnly) {
    for (const char* yes : {"", "0", "0.0000", " -0 ", "+0.", "0.000000000"}) EXPECT_TRUE(isBlankOrZero(yes)) << yes;
    for (const char* no : {"1", "0.0001", "-2", "abc", "0x", "   ", "0 0", "."}) EXPECT_FALSE(isBlankOrZero(no)) << no;
}

TEST(HelpTexts, CaptionsAndTextsAreKeptApartByCarriageReturns) {
    EXPECT_EQ(pageCaption(6), "Job Titles & Calculating Time Steps (2.1 - 2.2)");
    EXPECT_EQ(pageCaption(12), "Help");
    EXPECT_EQ(pageCaption(13), "");
    EXPECT_EQ(helpText(-1), "");
    EXPECT_EQ(helpText(12), "");
    EXPECT_EQ(helpText(4), "Checking this box saves all subbasins that were entered on the previous card.");
    // A title and its text are one line apart, entries a blank line.
    EXPECT_EQ(helpText(2).substr(0, 71), "Enter the value of rainfall intensity in inches/hour for the hyetograph");
    EXPECT_NE(helpText(2).find("previous card.\r\r**Rainfall depth:\r value of rainfall"), std::string::npos);
    // The card 3.1 text ends with a paragraph that has no title, one line down.
    EXPECT_NE(helpText(8).find("coefficient.(max 8 numeric characters)\rDepth of channel"), std::string::npos);
    // The time-step text of card 2.2 differs from that of card 1.2; the rest is shared.
    EXPECT_NE(helpText(6).find("Enter the number of integration to calculate."), std::string::npos);
    EXPECT_EQ(helpText(6).find("**Number of Hyetographs:"), std::string::npos);
    EXPECT_EQ(helpText(1).substr(0, 200), helpText(6).substr(0, 200));
    for (int g = 0; g < HelpGroupCount; ++g) {
        const std::string t = helpText(g);
        EXPECT_FALSE(t.empty()) << "page " << g << " has no help";
        EXPECT_EQ(t.find('\n'), std::string::npos) << g;
        EXPECT_EQ(t.find("\r\r\r"), std::string::npos) << g;
    }
}

TEST(EditorPages, EveryFieldAndGridOfTheDeckIsOnExactlyOnePage) {
    // A field or grid on no page could not be typed in; on two, two
    // controls would show one value.
    std::array<int, FieldCount> fields{};
    std::array<int, GridCount> grids{};
    for (const EditorPage& page : kEditorPages) {
        for (Field f : page.fields) ++fields[static_cast<std::size_t>(f)];
        if (page.grid) ++grids[static_cast<std::size_t>(*page.grid)];
        if (page.hiddenGrid) ++grids[static_cast<std::size_t>(*page.hiddenGrid)];
    }
    for (int i = 0; i < FieldCount; ++i) EXPECT_EQ(fields[static_cast<std::size_t>(i)], 1) << fieldInfo(static_cast<Field>(i)).name;
    for (int i = 0; i < GridCount; ++i) EXPECT_EQ(grids[static_cast<std::size_t>(i)], 1) << i;
    // Only the help page shows neither fields nor a grid.
    for (const EditorPage& page : kEditorPages)
        EXPECT_EQ(page.fields.empty() && !page.grid, page.page == Page::Help) << page.caption;
}
