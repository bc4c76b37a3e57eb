#include "ConsoleUi.h"
#include "ScriptedUi.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace rillo;
using rillo::testing::ScriptedUi;

TEST(UiServices, MessageWithoutTitleGetsTheApplicationTitle) {
    ScriptedUi ui;
    ui.message("Hello");
    ui.message("Careful", "Warning", Icon::Exclamation);
    ui.yes();
    EXPECT_TRUE(ui.ask("Go on?", "Rillo 2000"));
    EXPECT_EQ(ui.dialogue(), (std::vector<std::string>{
                                 "Rillo2000|None|Hello|OK",
                                 "Warning|Exclamation|Careful|OK",
                                 "Rillo 2000|None|Go on?|YesNo -> Yes",
                             }));
}

TEST(UiServices, TrapErrorsReportsTheDescriptionAndCancelIsSilent) {
    ScriptedUi ui;
    trapErrors(ui, [] { throw RuntimeError("Disk full"); });
    trapErrors(ui, [] { throw CancelError(); });
    trapErrors(ui, [] { throw RuntimeError("Bad path"); }, "cmdRun_Click", Icon::Critical);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{
                                 "Rillo2000|None|Disk full|OK",
                                 "cmdRun_Click|Critical|Bad path|OK",
                             }));
}

TEST(UiServices, FileDialogCancelIsADistinctError) {
    ScriptedUi ui;
    ui.fileCancel().fileName("/tmp/a.sin");
    EXPECT_THROW(ui.openFileName({"Open Files", "", 0, "", ""}), CancelError);
    EXPECT_EQ(ui.saveFileName({"Save Rillo File", "", 0, "", ""}), "/tmp/a.sin");
    try {
        throw CancelError();
    } catch (const RuntimeError& e) {
        EXPECT_NE(dynamic_cast<const CancelError*>(&e), nullptr);
    }
}

TEST(ConsoleUi, PrintsTheTextsFirstLineAfterItsTitleTheRestIndentedAndAnswersQuestions) {
    std::ostringstream out;
    ConsoleUi ui(out);
    ui.message("Line one\r\nLine two\n\nLine three\rLine four", "Rillo 2000");
    EXPECT_FALSE(ui.ask("Sure?", "Warning"));
    ui.setAnswerYes(true);
    EXPECT_TRUE(ui.ask("Really?"));
    EXPECT_EQ(out.str(), "Rillo 2000: Line one\n  Line two\n  Line three\n  Line four\nWarning: Sure?\nNo\n"
                         "Rillo2000: Really?\nYes\n");
    EXPECT_THROW(ui.saveFileName({}), CancelError);
}

TEST(Folders, FolderPartKeepsItsSeparator) {
    EXPECT_EQ(folderOf("/home/eng/decks/basin.sin"), "/home/eng/decks/");
    EXPECT_EQ(folderOf("basin.sin"), "");
    // A backslash separates folders only where the platform says so; elsewhere
    // it belongs to the file's name.
    const bool backslashSeparates = std::filesystem::path::preferred_separator == L'\\';
    EXPECT_EQ(folderOf("C:\\decks\\basin.sin"), backslashSeparates ? "C:\\decks\\" : "");
    EXPECT_EQ(folderOf("/home/eng/a\\b.sin"), backslashSeparates ? "/home/eng/a\\" : "/home/eng/");
    EXPECT_EQ(isFolderSeparator('\\'), backslashSeparates);
    EXPECT_TRUE(isFolderSeparator(defaultFolder().back())) << defaultFolder();
}
