#pragma once
#include <string>

namespace rillo {

/// The system clipboard, as text.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(const std::string& text) = 0;
};

}  // namespace rillo
