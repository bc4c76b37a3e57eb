#include "RunPaths.h"

#include "FilePath.h"
#include "TestFiles.h"
#include "TestSystem.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    RunInputs in = deck("basin.sin");
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

TEST(RunPaths, PickedNamesAreUsedExactlyAsPicked) {
    // " basin.sin" and "basin.sin" are two files: the one picked is the one run.
    RunInputs in = deck(" basin.sin");
    in.hydrographFolder = "/korva/";
    in.hydrographFileName = " storm.kvd ";
    const RunPaths p = deriveRunPaths(in);
    EXPECT_EQ(p.deck, "/data/ basin.sin");
    EXPECT_EQ(p.hydrographInput, "/korva/ storm.kvd ");
    // Output names are trimmed, the ones made from the deck's name too.
    EXPECT_EQ(p.mainOutput, "/data/basin.sot");
    EXPECT_EQ(p.log, "/data/basin.sot.log");
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
    in.hydrographFileName = "storm.kvd";
    EXPECT_EQ(deriveRunPaths(in).hydrographInput, "/korva/storm.kvd");
}

TEST(RunPaths, OutputNamesWithAFolderAreRecognised) {
    EXPECT_TRUE(namesAFolder("../out"));
    EXPECT_TRUE(namesAFolder("sub/out"));
    // A backslash is a folder separator only where the platform says so.
    EXPECT_EQ(namesAFolder("c:\\out"), std::filesystem::path::preferred_separator == L'\\');
    EXPECT_FALSE(namesAFolder("out.txt"));
    EXPECT_FALSE(namesAFolder(""));
}

TEST(RunPaths, OutputsThatAreOneFileWithAnInputOrEachOtherAreFound) {
    testing::TempFolder folder;
    const std::string dir = folder.folder();
    auto inFolder = [&dir](const std::string& deckName, const std::string& hydrograph) {
        return deriveRunPaths({dir, deckName, hydrograph.empty() ? "" : dir, hydrograph, "", "", ""});
    };
    EXPECT_EQ(findPathClash(inFolder("basin.sin", "")), "");
    EXPECT_EQ(findPathClash(inFolder("korva.sin", "storm.kvd")), "");

    // The default subcatchment output of korva.sin is korvasub.ssb: the
    // hydrograph input picked from the same folder.
    const std::string hydrograph = findPathClash(inFolder("korva.sin", "korvasub.ssb"));
    EXPECT_NE(hydrograph.find("subcatchment hydrograph output file"), std::string::npos) << hydrograph;
    EXPECT_NE(hydrograph.find("KORVA input file itself: " + dir + "korvasub.ssb"), std::string::npos) << hydrograph;

    // A deck named x.sot is its own main output.
    const std::string deckClash = findPathClash(inFolder("x.sot", ""));
    EXPECT_NE(deckClash.find("main output file would be the RILLO input file itself"), std::string::npos)
        << deckClash;

    // The same file by another path: "." and "..", and a link.
    RunPaths roundabout = inFolder("korva.sin", "");
    roundabout.hydrographInput = dir + "sub/../korvasub.ssb";
    EXPECT_NE(findPathClash(roundabout), "");
    testing::writeFile(dir + "real/storm.kvd", "hydrographs");

    // Two outputs typed onto one file.
    RunPaths twice = inFolder("basin.sin", "");
    twice.gutterOutput = twice.mainOutput;
    EXPECT_NE(findPathClash(twice).find("main output file and the gutter hydrograph output file"),
              std::string::npos);

    // Last, the same folder through a symbolic link, where the system makes them.
    if (!rillo::testing::symbolicLinksWork(filePath(dir))) GTEST_SKIP() << "this system makes no symbolic links for us";
    std::filesystem::create_directory_symlink(filePath(dir + "real"), filePath(dir + "linked"));
    RunPaths linked = inFolder("storm.sin", "");
    linked.hydrographInput = dir + "real/storm.kvd";
    linked.gutterOutput = dir + "linked/storm.kvd";
    EXPECT_NE(findPathClash(linked).find("gutter hydrograph output file"), std::string::npos);
}

// Decks where Windows users keep them: a drive letter, backslashes, folders
// named with blanks, apostrophes and accents. The names go through whole.
TEST(RunPaths, WindowsFoldersWithBlanksApostrophesAndAccentsAreKeptWhole) {
    RunInputs in{"D:\\Projects\\it's a tést\\", "Basin 2.sin", "E:\\Storms of '98\\", "März storm.kvd",
                 "  Run 1  ", "", ""};
    const RunPaths p = deriveRunPaths(in);
    EXPECT_EQ(p.deck, "D:\\Projects\\it's a tést\\Basin 2.sin");
    EXPECT_EQ(p.mainOutput, "D:\\Projects\\it's a tést\\Run 1.sot");
    EXPECT_EQ(p.gutterOutput, "D:\\Projects\\it's a tést\\Basin 2gut.ssb");
    EXPECT_EQ(p.subcatchmentOutput, "D:\\Projects\\it's a tést\\Basin 2sub.ssb");
    EXPECT_EQ(p.hydrographInput, "E:\\Storms of '98\\März storm.kvd");
    EXPECT_EQ(p.log, "D:\\Projects\\it's a tést\\Run 1.sot.log");
    EXPECT_EQ(p.mainOutputName, "Run 1.sot");
    EXPECT_TRUE(findPathClash(p).empty()) << findPathClash(p);
}

// The same file spelled two ways in a real folder with an awkward name: with
// this system's other separator, through "..", and (where the file system
// ignores case, as Windows does) in other letters.
TEST(RunPaths, OneFileSpelledTwoWaysInAnAwkwardFolderIsStillOneFile) {
    testing::TempFolder root;
    const std::filesystem::path folder = root.path() / filePath("it's a tést");
    std::filesystem::create_directories(folder / "sub");
    const std::string native = fileText(folder / "RUN.SOT");
    testing::writeFile(native, "deck\r\n");
    const char other = isFolderSeparator('\\') ? '\\' : '/';
    std::string spelled = fileText(folder) + "/sub/.." + std::string(1, other) + "RUN.SOT";

    RunPaths p;
    p.deck = native;
    p.mainOutput = spelled;
    p.gutterOutput = fileText(folder / "g.ssb");
    p.subcatchmentOutput = fileText(folder / "s.ssb");
    p.log = spelled + ".log";
    EXPECT_NE(findPathClash(p), "") << spelled;

    const bool foldsCase = std::filesystem::exists(folder / "run.sot");
    p.mainOutput = fileText(folder / "run.sot");
    p.log = p.mainOutput + ".log";
    EXPECT_EQ(findPathClash(p).empty(), !foldsCase) << p.mainOutput;
}

TEST(RunPaths, AFolderIsShownWithoutItsFinalSeparatorUnlessItIsARoot) {
    const std::string sep(1, static_cast<char>(std::filesystem::path::preferred_separator));
    EXPECT_EQ(shownFolder("data" + sep), "data");
    EXPECT_EQ(shownFolder(sep + "data" + sep + "decks" + sep), sep + "data" + sep + "decks");
    EXPECT_EQ(shownFolder("data"), "data");
    EXPECT_EQ(shownFolder(""), "");
    // The root keeps its separator: "/" is no empty folder, and "C:\" is the
    // drive's root where "C:" is the drive's current folder.
    EXPECT_EQ(shownFolder(sep), sep);
    EXPECT_EQ(shownFolder("C:" + sep), "C:" + sep);
}

}  // namespace
}  // namespace rillo::run
