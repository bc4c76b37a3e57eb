#include "CheckCommand.h"
#include "DeckBuilder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace rillo;
using namespace rillo::testdata;

TEST(CheckCommand, ExitStatusTellsReadRefusedAndPassed) {
    TempDir dir;
    std::mt19937 rng(3);
    DeckShape shape;
    const std::string deck = generateDeck(shape, rng);
    writeFile(dir.file("good.sin"), deck);

    std::ostringstream out;
    EXPECT_EQ(RunCheck({dir.file("good.sin"), std::nullopt, false}, out), 0);
    EXPECT_EQ(out.str(), "Rillo 2000: Save Complete!\n");
    EXPECT_EQ(dir.path().begin() == dir.path().end(), false);

    std::ostringstream written;
    EXPECT_EQ(RunCheck({dir.file("good.sin"), dir.file("copy.sin"), false}, written), 0);
    EXPECT_EQ(readFile(dir.file("copy.sin")), deck);

    std::ostringstream unread;
    EXPECT_EQ(RunCheck({dir.file("absent.sin"), std::nullopt, false}, unread), 2);
    EXPECT_EQ(unread.str().rfind("Rillo2000: Error reading the file. Please check the file for data validity.", 0), 0u);
    EXPECT_NE(unread.str().find("absent.sin does not exist."), std::string::npos);

    // An element whose downstream element is missing: the question is answered No, or Yes with --yes.
    writeFile(dir.file("bad.sin"), joinLines({"   2   1   1   2", "   3   4", "WATERSHED   1", "", "",
                                              card22("60", "1", "2", "30.0", "1"), "",
                                              "    0    7    9  0 1", "", "    0", "    0    0", "ENDPROGRAM"}));
    std::ostringstream no;
    EXPECT_EQ(RunCheck({dir.file("bad.sin"), dir.file("bad-out.sin"), false}, no), 1);
    EXPECT_NE(no.str().find("Warning: This conveyance element 7 is not connected"), std::string::npos);
    EXPECT_NE(no.str().find("\nNo\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad-out.sin")));
    std::ostringstream yes;
    EXPECT_EQ(RunCheck({dir.file("bad.sin"), std::nullopt, true}, yes), 0);
    EXPECT_NE(yes.str().find("\nYes\nRillo 2000: Save Complete!\n"), std::string::npos);
}
