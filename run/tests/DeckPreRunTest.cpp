#include "ComponentRegistry.h"
#include "DeckLines.h"
#include "DeckPreRun.h"
#include "ScriptedUi.h"
#include "TestFiles.h"
#include "UiServices.h"

#include <gtest/gtest.h>

namespace rillo::run {
namespace {

using testing::deckText;
using testing::TempFolder;
using testing::writeFile;

TEST(DeckLines, HeaderNeedsFourNumericFieldsInColumnsOneToTwenty) {
    EXPECT_TRUE(isDeckHeader("   2   1   1   2"));
    EXPECT_TRUE(isDeckHeader("    2    1    1  2.5 trailing text"));
    EXPECT_FALSE(isDeckHeader("WATERSHED   0"));
    EXPECT_FALSE(isDeckHeader("   2   1"));        // fields three and four missing
    EXPECT_FALSE(isDeckHeader("  1 2   1   1   2"));  // "1 2" is no number
    EXPECT_FALSE(isDeckHeader(""));
}

TEST(DeckLines, ImportedHydrographsOnlyForOneInColumnThirteen) {
    EXPECT_TRUE(wantsImportedHydrographs("WATERSHED   1"));
    EXPECT_FALSE(wantsImportedHydrographs("WATERSHED   0"));
    EXPECT_FALSE(wantsImportedHydrographs("WATERSHED    1"));
    EXPECT_FALSE(wantsImportedHydrographs("WATERSHED"));
}

TEST(DeckLines, ReadsLinesWithoutTheirEndsAndFailsOnMissingFiles) {
    TempFolder dir;
    writeFile(dir.file("a.sin"), "one\r\ntwo\nthree");
    EXPECT_EQ(readFirstLines(dir.file("a.sin"), 5), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(readFirstLines(dir.file("a.sin"), 2).size(), 2u);
    EXPECT_THROW(readFirstLines(dir.file("missing.sin"), 3), RuntimeError);
    EXPECT_THROW(readFirstLines(dir.folder(), 3), RuntimeError);
}

TEST(DeckPreRun, AcceptsADeckAndRejectsEverythingElseWithItsName) {
    TempFolder dir;
    writeFile(dir.file("basin.sin"), deckText('0'));
    writeFile(dir.file("notes.txt"), "Some notes\r\n");
    writeFile(dir.file("empty.sin"), "");

    DeckPreRun ok;
    ok.setInputFile(dir.file("basin.sin"));
    EXPECT_NO_THROW(ok.prepare());

    for (const std::string name : {"notes.txt", "empty.sin", "missing.sin"}) {
        DeckPreRun check;
        check.setInputFile(dir.file(name));
        try {
            check.prepare();
            ADD_FAILURE() << name << " was accepted";
        } catch (const RuntimeError& e) {
            EXPECT_NE(e.description().find(name), std::string::npos) << e.description();
        }
    }
    DeckPreRun none;
    EXPECT_THROW(none.prepare(), RuntimeError);
}

struct CountingPreRun : PreRunComponent {
    explicit CountingPreRun(int& made) { ++made; }
    void setInputFile(const std::string&) override {}
    void prepare() override {}
};

TEST(ComponentRegistry, MakesANewComponentPerCallAndNamesUnknownIdentities) {
    rillo::testing::ScriptedUi ui;
    const ComponentContext context{ui, "/app"};
    ComponentRegistry registry;
    int made = 0;
    registry.addPreRun("Site.Check", [&made](const ComponentContext&) { return std::make_unique<CountingPreRun>(made); });

    auto first = registry.createPreRun("Site.Check", context);
    auto second = registry.createPreRun("Site.Check", context);
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(made, 2);

    try {
        registry.createEngine("Site.Check", context);
        ADD_FAILURE() << "an identity registered for the other kind made an engine";
    } catch (const RuntimeError& e) {
        EXPECT_NE(e.description().find("Site.Check"), std::string::npos);
    }
    registry.addEngine("Null.Engine", [](const ComponentContext&) { return std::unique_ptr<EngineComponent>(); });
    EXPECT_THROW(registry.createEngine("Null.Engine", context), RuntimeError);
}

}  // namespace
}  // namespace rillo::run
