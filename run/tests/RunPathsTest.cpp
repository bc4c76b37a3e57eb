#include "RunPaths.h"

#include <gtest/gtest.h>

namespace rillo::run {
namespace {

RunInputs deck(const std::string& name) { return RunInputs{"/data/", name, "", "", "", "", ""}; }

TEST(RunPaths, DeckNameGivesEveryOutputInTheDeckFolder) {
    const RunPaths p = deriveRunPaths(deck("basin.sin"));
    EXPECT_EQ(p.deck, "/data/basin.sin");
    EXPECT_EQ(p.mainOutput, "/data/basin.sot");
    EXPECT_EQ(p.gutterOutput, "/data/basingut.ssb");
    EXPECT_EQ(p.subcatchmentOutput, "/data/basinsub.ssb");
    EXPECT_EQ(p.hydrographInput, "");
}

TEST(RunPaths, BaseNameDropsOnlyAThreeLetterExtension) {
    EXPECT_EQ(deckBaseName("basin.sin"), "basin");
    EXPECT_EQ(deckBaseName("basin"), "basin");
    EXPECT_EQ(deckBaseName("run1.dat"), "run1");
    EXPECT_EQ(deckBaseName("a.b"), "a.b");          // too short for an extension of three
    EXPECT_EQ(deckBaseName("ab"), "ab");
    EXPECT_EQ(deckBaseName("deck.sinx"), "deck.sinx");
    EXPECT_EQ(deckBaseName("my.deck.sin"), "my.deck");
    EXPECT_EQ(deriveRunPaths(deck("run1.dat")).mainOutput, "/data/run1.sot");
    EXPECT_EQ(deriveRunPaths(deck("basin")).gutterOutput, "/data/basingut.ssb");
}

TEST(RunPaths, TypedNamesAreTrimmedAndKeepTheirOwnExtension) {
    RunInputs in = deck("  basin.sin ");
    in.mainOutputName = "  out.txt  ";
    in.gutterOutputName = " g1 ";
    in.subcatchmentOutputName = "\ts2";
    const RunPaths p = deriveRunPaths(in);
    EXPECT_EQ(p.deck, "/data/basin.sin");
    EXPECT_EQ(p.mainOutput, "/data/out.txt.sot");
    EXPECT_EQ(p.gutterOutput, "/data/g1gut.ssb");
    EXPECT_EQ(p.subcatchmentOutput, "/data/s2sub.ssb");
    EXPECT_EQ(p.mainOutputName, "out.txt.sot");
}

TEST(RunPaths, BlankTypedNameFallsBackToTheBaseName) {
    RunInputs in = deck("basin.sin");
    in.mainOutputName = "    ";
    in.subcatchmentOutputName = "peak";
    const RunPaths p = deriveRunPaths(in);
    EXPECT_EQ(p.mainOutput, "/data/basin.sot");
    EXPECT_EQ(p.gutterOutput, "/data/basingut.ssb");
    EXPECT_EQ(p.subcatchmentOutput, "/data/peaksub.ssb");
}

TEST(RunPaths, HydrographPathOnlyWhenAFileWasChosen) {
    RunInputs in = deck("basin.sin");
    in.hydrographFolder = "/korva/";
    EXPECT_EQ(deriveRunPaths(in).hydrographInput, "") << "a folder alone is no hydrograph file";
    in.hydrographFileName = " storm.kvd ";
    EXPECT_EQ(deriveRunPaths(in).hydrographInput, "/korva/storm.kvd");
}

TEST(RunPaths, OutputNamesWithAFolderAreRecognised) {
    EXPECT_TRUE(namesAFolder("../out"));
    EXPECT_TRUE(namesAFolder("sub/out"));
    EXPECT_TRUE(namesAFolder("c:\\out"));
    EXPECT_FALSE(namesAFolder("out.txt"));
    EXPECT_FALSE(namesAFolder(""));
}

}  // namespace
}  // namespace rillo::run
