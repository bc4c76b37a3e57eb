#include "TestShell.h"

namespace rillo::testing {

CardEditor& EditorTestHost::editorWindow() {
    if (!editor) editor = std::make_unique<CardEditor>(shell_);
    return *editor;
}

void EditorTestHost::setEditorCaption(const std::string& caption) {
    editorWindow().setWindowTitle(QString::fromStdString(caption));
}

void EditorTestHost::showEditor() {
    CardEditor& e = editorWindow();
    e.resize(1280, 900);
    e.show();
}

}  // namespace rillo::testing
